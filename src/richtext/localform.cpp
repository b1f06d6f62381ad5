// Stored and working forms of markup; see localform.h.
#include "richtext/localform.h"
#include "base/hex.h"

#include <algorithm>
#include <cstdint>

namespace tarn::richtext {
namespace {

constexpr std::uint32_t kLocalLink = 0x6F;
constexpr std::uint32_t kLocalObject = 0xFF;

bool IsLinkKind(int kind) { return kind == document::internetLink || kind == document::speclink; }
bool IsPlacedKind(int kind) {
  return kind == document::tabellaHtml || kind == document::shortObj || kind == document::dbloc ||
         kind == document::immagineNew || (kind >= document::inputStat && kind <= document::multiMedia);
}

std::uint32_t Number(std::vector<document::ObjectId>& list, document::ObjectId id, std::uint32_t first) {
  auto it = std::find(list.begin(), list.end(), id);
  if (it == list.end()) {
    list.push_back(id);
    it = list.end() - 1;
  }
  return static_cast<std::uint32_t>(it - list.begin()) + first;
}

}  // namespace

std::string RewriteTags(std::string_view text, const std::function<std::uint32_t(std::uint32_t)>& visit) {
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (true) {
    const std::size_t tag = text.find("<$", pos);
    if (tag == std::string_view::npos || tag + 11 > text.size()) break;
    std::uint32_t value = 0;
    bool ok = text[tag + 10] == '>';
    for (std::size_t i = 0; i < 8 && ok; ++i) {
      const char c = text[tag + 2 + i];
      const int d = base::HexDigitValue(c);
      ok = d >= 0;
      value = (value << 4) | static_cast<std::uint32_t>(d < 0 ? 0 : d);
    }
    if (!ok) {
      out.append(text.substr(pos, tag + 2 - pos));
      pos = tag + 2;
      continue;
    }
    const std::uint32_t replaced = visit(value);
    out.append(text.substr(pos, tag + 2 - pos));
    base::AppendHex(out, replaced, 8);
    out.push_back('>');
    pos = tag + 11;
  }
  out.append(text.substr(pos));
  return out;
}

WorkingForm ToWorkingForm(std::string_view stored) {
  WorkingForm form;
  form.markup = RewriteTags(stored, [&form](std::uint32_t value) {
    const int kind = static_cast<int>(value >> 24);
    const auto id = static_cast<document::ObjectId>(value);
    if (IsLinkKind(kind)) return (kLocalLink << 24) | Number(form.links, id, 0);
    if (IsPlacedKind(kind)) return (kLocalObject << 24) | Number(form.objects, id, 1);
    return value;
  });
  return form;
}

document::ObjectId StoredLinkValue(std::int32_t workingValue, const WorkingForm& lists) {
  const auto value = static_cast<std::uint32_t>(workingValue);
  if ((value >> 24) == kLocalLink && (value & 0xFFFFFF) < lists.links.size()) return lists.links[value & 0xFFFFFF];
  return workingValue;
}

std::string ToStoredForm(std::string_view working, const WorkingForm& lists) {
  return RewriteTags(working, [&lists](std::uint32_t value) {
    const std::uint32_t kind = value >> 24;
    const std::uint32_t n = value & 0xFFFFFF;
    if (kind == kLocalLink && n < lists.links.size()) return static_cast<std::uint32_t>(lists.links[n]);
    if (kind == kLocalObject && n >= 1 && n <= lists.objects.size()) {
      return static_cast<std::uint32_t>(lists.objects[n - 1]);
    }
    return value;
  });
}

}  // namespace tarn::richtext
