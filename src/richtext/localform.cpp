// Stored and working forms of markup; see localform.h.
#include "richtext/localform.h"

#include <algorithm>
#include <cstdint>

#include "base/hex.h"
#include "markup/tokenizer.h"

namespace tarn::richtext {
namespace {

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
  std::size_t copied = 0;
  markup::ForEachReference(text, [&](const markup::Token& t) {
    if (!t.wellFormed) return;
    out.append(text.substr(copied, t.at + 2 - copied));
    base::AppendHex(out, visit(t.value), 8);
    out.push_back('>');
    copied = t.End();
  });
  out.append(text.substr(copied));
  return out;
}

WorkingForm ToWorkingForm(std::string_view stored) {
  WorkingForm form;
  form.markup = RewriteTags(stored, [&form](std::uint32_t value) {
    const int kind = static_cast<int>(value >> 24);
    const auto id = static_cast<document::ObjectId>(value);
    if (IsLinkKind(kind)) return (kLocalLinkKind << 24) | Number(form.links, id, 0);
    if (IsPlacedKind(kind)) return (kLocalObjectKind << 24) | Number(form.objects, id, 1);
    return value;
  });
  return form;
}

document::ObjectId StoredLinkValue(std::int32_t workingValue, const WorkingForm& lists) {
  const auto value = static_cast<std::uint32_t>(workingValue);
  if ((value >> 24) == kLocalLinkKind && (value & 0xFFFFFF) < lists.links.size())
    return lists.links[value & 0xFFFFFF];
  return workingValue;
}

std::string ToStoredForm(std::string_view working, const WorkingForm& lists) {
  return RewriteTags(working, [&lists](std::uint32_t value) {
    const std::uint32_t kind = value >> 24;
    const std::uint32_t n = value & 0xFFFFFF;
    if (kind == kLocalLinkKind && n < lists.links.size()) return static_cast<std::uint32_t>(lists.links[n]);
    if (kind == kLocalObjectKind && n >= 1 && n <= lists.objects.size()) {
      return static_cast<std::uint32_t>(lists.objects[n - 1]);
    }
    return value;
  });
}

}  // namespace tarn::richtext
