// In-memory settings; see memorysettings.h.
#include "platform/memorysettings.h"

#include "base/cp1252.h"

namespace tarn::platform {

std::string NormalizeKey(std::string_view key) {
  std::string out;
  for (char c : key) {
    if (c == '\\' || c == '/') {
      if (!out.empty() && out.back() != '\\') out.push_back('\\');
    } else {
      out.push_back(base::Cp1252Upper(c));
    }
  }
  if (!out.empty() && out.back() == '\\') out.pop_back();
  return out;
}

MemorySettings::Key& MemorySettings::Open(std::string_view key) {
  // Opening a key creates it and every key above it; each keeps the
  // spelling of its name as first given.
  std::string path;
  std::string spelled;
  Key* opened = nullptr;
  std::size_t start = 0;
  while (start <= key.size()) {
    std::size_t end = key.find_first_of("\\/", start);
    if (end == std::string_view::npos) end = key.size();
    const std::string_view part = key.substr(start, end - start);
    if (!part.empty()) {
      if (!path.empty()) path += '\\';
      path += base::UpperCase(part);
      spelled += '\\';
      spelled += part;
      auto [it, created] = m_keys.try_emplace(path);
      if (created) {
        it->second.name = std::string(part);
        it->second.path = spelled;
      }
      opened = &it->second;
    }
    start = end + 1;
  }
  return opened != nullptr ? *opened : m_keys[std::string()];
}

std::optional<std::string> MemorySettings::Read(std::string_view key, std::string_view name) {
  Key& k = Open(key);
  auto it = k.values.find(base::UpperCase(name));
  if (it == k.values.end()) return std::nullopt;
  return it->second.second;
}

void MemorySettings::Write(std::string_view key, std::string_view name, std::string_view value) {
  Key& k = Open(key);
  auto& slot = k.values[base::UpperCase(name)];
  if (slot.first.empty()) slot.first = std::string(name);
  slot.second = std::string(value);
}

std::vector<std::string> MemorySettings::Subkeys(std::string_view key) {
  const std::string path = NormalizeKey(key);
  Open(key);
  std::vector<std::string> names;
  const std::string prefix = path + "\\";
  for (const auto& [name, k] : m_keys) {
    if (name.starts_with(prefix) && name.find('\\', prefix.size()) == std::string::npos) names.push_back(k.name);
  }
  return names;
}

void MemorySettings::DeleteKey(std::string_view key) {
  const std::string path = NormalizeKey(key);
  const std::string prefix = path + "\\";
  std::erase_if(m_keys, [&](const auto& entry) { return entry.first == path || entry.first.starts_with(prefix); });
}

bool MemorySettings::KeyExists(std::string_view key) { return m_keys.contains(NormalizeKey(key)); }

}  // namespace tarn::platform
