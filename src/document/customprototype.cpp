// Custom component prototypes and their instances; see customprototype.h.
#include "document/customprototype.h"

#include <algorithm>
#include <charconv>
#include <span>

#include "base/bytes.h"
#include "base/cp1252.h"
#include "document/aehoggetto.h"

namespace tarn::document {
namespace {

// Calls visit(name, value) for each "name=value" line of the text.
template <typename Visit>
void ForEachPair(std::string_view text, Visit visit) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (line.ends_with('\r')) line.remove_suffix(1);
    const std::size_t equals = line.find('=');
    if (equals != std::string_view::npos && equals > 0 && !visit(line.substr(0, equals), line.substr(equals + 1))) return;
    start = end + 1;
  }
}

int ParseInt(std::string_view text, int fallback) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() ? value : fallback;
}

}  // namespace

PrototypeData ReadPrototype(const TAEHoggetto& prototype) {
  PrototypeData data;
  if (!prototype.Content().Present()) return data;
  const std::string content = prototype.ReadContent().value_or(std::string());
  if (content.size() < 4) return data;
  std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(content.data()), content.size());
  const std::int32_t count = base::GetI32(bytes, 0);
  // The count is bounded by the block, never trusted.
  const std::size_t listBytes = count > 0 ? static_cast<std::size_t>(count) / 4 * 4 : 0;
  const std::size_t available = std::min(listBytes, content.size() - 4) / 4 * 4;
  for (std::size_t at = 4; at < 4 + available; at += 4) data.files.push_back(base::GetI32(bytes, at));
  if (available < listBytes) return data;
  ForEachPair(std::string_view(content).substr(4 + listBytes), [&](std::string_view name, std::string_view type) {
    data.properties.push_back({std::string(name), static_cast<PropertyType>(ParseInt(type, 0))});
    return true;
  });
  return data;
}

std::optional<std::string> InstanceValue(const TAEHoggetto& instance, std::string_view name) {
  if (!instance.Content().Present()) return std::nullopt;
  const std::string content = instance.ReadContent().value_or(std::string());
  std::optional<std::string> found;
  ForEachPair(content, [&](std::string_view key, std::string_view value) {
    if (!base::SameText(key, name)) return true;
    found = std::string(value);
    return false;
  });
  return found;
}

bool IsRecordProperty(PropertyType type) {
  return type == PropertyType::kFile || type == PropertyType::kImage || type == PropertyType::kPage;
}

ObjectId RecordValue(std::string_view value) { return ParseInt(value, -1); }

}  // namespace tarn::document
