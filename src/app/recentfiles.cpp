// The recent-file list.
#include "app/recentfiles.h"

#include <algorithm>

#include "platform/registry.h"

namespace tarn::app {
namespace {
constexpr std::string_view kRecentKey = "RecentFile";
}

void RecentFiles::Add(const std::string& path) {
  m_last = path;
  if (m_excluded && m_excluded(path)) return;
  const auto found = std::find(m_entries.begin(), m_entries.end(), path);
  if (found != m_entries.end()) {
    m_entries.erase(found);
  } else if (m_entries.size() >= kMaximum) {
    m_entries.erase(m_entries.begin());
  }
  m_entries.push_back(path);
}

void RecentFiles::Remove(std::string_view path) {
  std::erase_if(m_entries, [&](const std::string& entry) { return entry == path; });
}

void RecentFiles::Load(platform::Registry& registry) {
  m_entries.clear();
  for (std::size_t i = 0; i < kMaximum; ++i) {
    std::string path = registry.ReadSubkeyValue(kRecentKey, std::to_string(i));
    if (!path.empty()) m_entries.push_back(std::move(path));
  }
}

void RecentFiles::Save(platform::Registry& registry) const {
  // Values beyond the list are cleared so that a shorter list does not
  // bring old entries back at the next start.
  for (std::size_t i = 0; i < kMaximum; ++i) {
    registry.WriteSubkeyValue(kRecentKey, std::to_string(i), i < m_entries.size() ? m_entries[i] : std::string());
  }
}

}  // namespace tarn::app
