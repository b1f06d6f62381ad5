// Settings kept in memory: the store of tests, and the working copy of the
// settings file.
#pragma once

#include <map>
#include <string>

#include "platform/settings.h"

namespace tarn::platform {

class MemorySettings : public Settings {
 public:
  std::optional<std::string> Read(std::string_view key, std::string_view name) override;
  void Write(std::string_view key, std::string_view name, std::string_view value) override;
  std::vector<std::string> Subkeys(std::string_view key) override;
  void DeleteKey(std::string_view key) override;
  bool KeyExists(std::string_view key) override;

  // Every key (by its path as first written) with its values (name, value).
  template <typename Visit>
  void ForEach(Visit visit) const {
    for (const auto& [path, key] : m_keys) visit(key.path, key.values);
  }
  void Clear() { m_keys.clear(); }

 private:
  struct Key {
    std::string name;  // the last part of the path, as first written
    std::string path;  // the whole path, as first written
    std::map<std::string, std::pair<std::string, std::string>> values;  // upper name -> (name, value)
  };
  Key& Open(std::string_view key);
  std::map<std::string, Key> m_keys;  // normalized path -> key
};

}  // namespace tarn::platform
