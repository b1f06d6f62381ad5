// The recent-file list of the File menu: up to five paths, oldest first,
// kept under "RecentFile" as the values "0", "1", ... The window shows one
// menu item per entry, in list order.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tarn::platform {
class Registry;
}

namespace tarn::app {

class RecentFiles {
 public:
  static constexpr std::size_t kMaximum = 5;

  // Files for which this answers true (the examples) are never listed.
  explicit RecentFiles(std::function<bool(std::string_view)> excluded = {}) : m_excluded(std::move(excluded)) {}

  // Remembers the file as the last one; lists it at the end (moving it
  // there when listed, dropping the oldest when the list is full).
  void Add(const std::string& path);
  void Remove(std::string_view path);
  const std::vector<std::string>& Entries() const { return m_entries; }
  // The last file opened or saved, listed or not.
  const std::string& Last() const { return m_last; }

  // Reads the values "0" to "4"; empty values are skipped.
  void Load(platform::Registry& registry);
  // Writes the entries as "0", "1", ... (clearing the rest of the five).
  void Save(platform::Registry& registry) const;

 private:
  std::function<bool(std::string_view)> m_excluded;
  std::vector<std::string> m_entries;
  std::string m_last;
};

}  // namespace tarn::app
