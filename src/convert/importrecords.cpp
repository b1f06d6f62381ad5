// Records made by importers; see importrecords.h.
#include "convert/importrecords.h"

#include <string>

#include "base/bytes.h"
#include "document/aehset.h"
#include "document/links.h"
#include "document/recordfields.h"

namespace tarn::convert {
namespace {

using namespace document;

// A new hypertext's first page holds "<Z S0 >" and its byte 0.
constexpr std::int64_t kEmptyPageBytes = 9;
constexpr int kKeywordCapacity = 79;

}  // namespace

TAEHoggetto* CreateImportText(TAEHset& set, const ImportBackground& background, bool mayReplaceEmptyFirst) {
  auto page = set.NewObject(testoHtml);
  page->SetI32(field::kPageBgColour, static_cast<std::int32_t>(background.colour));
  page->SetI32(field::kPageBgImage, background.image);
  std::int64_t slot = -1;
  int live = 0;
  const TAEHoggetto* first = nullptr;
  for (int i = 0; i < set.CountOf(testoHtml); ++i) {
    const TAEHoggetto* p = set.GetObject(testoHtml, i);
    if (p == nullptr || p->IsFree()) continue;
    if (++live > 1) break;
    first = p;
  }
  if (mayReplaceEmptyFirst && live == 1 && first->Index() == 0 && first->ContentLength() <= kEmptyPageBytes) slot = 0;
  return set.Register(std::move(page), slot);
}

void SetPageLookupName(TAEHoggetto& page, std::string_view name) {
  // The block's length, the name's length, the name; the rest of an
  // existing block (the page-properties editor's data) is kept.
  std::string rest;
  const std::string_view old = page.Extra().View();
  if (old.size() >= 8) {
    std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(old.data()), old.size());
    const std::int32_t length = base::GetI32(bytes, 4);
    if (length >= 0 && static_cast<std::size_t>(length) <= old.size() - 8) rest = old.substr(8 + length);
  }
  std::string extra;
  base::AppendI32(extra, static_cast<std::int32_t>(name.size() + 4));
  base::AppendI32(extra, static_cast<std::int32_t>(name.size()));
  extra += name;
  extra += rest;
  page.SetExtra(std::move(extra));
}

bool AddPageKeyword(TAEHset& set, TAEHoggetto& page, std::string_view keyword) {
  auto record = set.NewObject(document::keyword);
  record->SetStr(field::kKeywordText, kKeywordCapacity, keyword);
  TAEHoggetto* found = set.FindEqual(*record);
  if (found == nullptr) found = set.Register(std::move(record));
  return found != nullptr && AddKeyword(page, found->Index());
}

}  // namespace tarn::convert
