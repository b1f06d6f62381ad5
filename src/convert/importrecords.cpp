// Records made by importers; see importrecords.h.
#include "convert/importrecords.h"

#include <algorithm>

#include "base/bytes.h"
#include "base/cp1252.h"
#include "base/winpath.h"
#include "document/aehset.h"
#include "document/aehtesto.h"
#include "document/links.h"
#include "document/recordfields.h"

namespace tarn::convert {
namespace {

using namespace document;

// A new hypertext's first page holds "<Z S0 >" and its byte 0.
constexpr std::int64_t kEmptyPageBytes = 9;
constexpr int kKeywordCapacity = 79;
constexpr int kImageFileNameCapacity = 75;

}  // namespace

TAEHoggetto* NewImportPage(TAEHset& set, const ImportBackground& background, bool mayReplaceEmptyFirst,
                              std::size_t* cursor) {
  auto page = set.NewObject(testoHtml);
  page->SetI32(field::kPageBgColour, static_cast<std::int32_t>(background.colour));
  page->SetI32(field::kPageBgImage, background.image);
  const int count = set.CountOf(testoHtml);
  std::int64_t slot = -1;
  if (mayReplaceEmptyFirst) {
    int live = 0;
    const TAEHoggetto* first = nullptr;
    for (int i = 0; i < count && live < 2; ++i) {
      const TAEHoggetto* p = set.GetObject(testoHtml, i);
      if (p != nullptr && !p->IsFree() && ++live == 1) first = p;
    }
    if (live == 1 && first->Index() == 0 && first->ContentLength() <= kEmptyPageBytes) slot = 0;
  }
  if (slot < 0 && cursor != nullptr) slot = NextFreeSlot(set, testoHtml, *cursor);
  return set.Register(std::move(page), slot);
}

std::int64_t NextFreeSlot(const TAEHset& set, int kind, std::size_t& cursor) {
  const auto count = static_cast<std::size_t>(set.CountOf(kind));
  std::size_t i = cursor;
  while (i < count) {
    const TAEHoggetto* object = set.GetObject(kind, static_cast<std::int64_t>(i));
    if (object != nullptr && object->IsFree()) break;
    ++i;
  }
  cursor = i + 1;
  return static_cast<std::int64_t>(i);
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

std::unique_ptr<TAEHoggetto> NewImageRecord(TAEHset& set, std::string bytes, std::string_view fileName,
                                            bool transparent, int width, int height) {
  auto image = set.NewObject(immagine);
  image->SetStr(field::kImageFileName, kImageFileNameCapacity, fileName);
  image->SetName(base::ExtractBaseName(fileName));
  image->SetSubtype(base::SameText(base::ExtractFileExt(fileName), ".gif") ? 0 : 1);
  image->SetI32(field::kImageTransparency, transparent ? -1 : -2);
  image->SetI32(field::kImageLength, static_cast<std::int32_t>(bytes.size()));
  image->SetI16(field::kImageWidth, static_cast<std::int16_t>(std::clamp(width, 0, 32000)));
  image->SetI16(field::kImageHeight, static_cast<std::int16_t>(std::clamp(height, 0, 32000)));
  image->SetContent(std::move(bytes));
  return image;
}

ImportRecords::ImportRecords(TAEHset& set, ImportBackground background) : m_set(set), m_background(background) {}

TAEHoggetto* ImportRecords::Register(std::unique_ptr<TAEHoggetto> object) {
  if (!object) return nullptr;
  const int kind = object->Kind();
  return m_set.Register(std::move(object), NextFreeSlot(m_set, kind, m_cursors[kind]));
}

TAEHoggetto* ImportRecords::NewPage() {
  if (!CanMakePages(1)) return nullptr;
  TAEHoggetto* page = NewImportPage(m_set, m_background, m_pagesMade == 0, &m_cursors[testoHtml]);
  if (page != nullptr) ++m_pagesMade;
  return page;
}

TAEHoggetto* ImportRecords::PageNamed(std::string_view name) {
  if (!m_pagesIndexed) {
    m_pagesIndexed = true;
    for (int i = 0; i < m_set.CountOf(testoHtml); ++i) {
      const auto* page = dynamic_cast<const TAEHtesto*>(m_set.GetObject(testoHtml, i));
      if (page != nullptr && !page->IsFree() && !page->LookupName().empty()) {
        m_pages.emplace(base::UpperCase(page->LookupName()), i);
      }
    }
  }
  const auto found = m_pages.find(base::UpperCase(name));
  if (found == m_pages.end()) return nullptr;
  TAEHoggetto* page = m_set.GetObject(testoHtml, found->second);
  return page != nullptr && !page->IsFree() ? page : nullptr;
}

void ImportRecords::NamePage(TAEHoggetto& page, std::string_view name) {
  SetPageLookupName(page, name);
  PageNamed(name);  // the index exists before the name joins it
  m_pages.insert_or_assign(base::UpperCase(name), page.Index());
}

TAEHoggetto* ImportRecords::Link(std::string_view url) {
  if (!m_linksIndexed) {
    m_linksIndexed = true;
    for (int i = 0; i < m_set.CountOf(internetLink); ++i) {
      const TAEHoggetto* link = m_set.GetObject(internetLink, i);
      if (link != nullptr && !link->IsFree()) m_links.emplace(link->Str(field::kLinkUrl, field::kLinkUrlCapacity), i);
    }
  }
  auto link = m_set.NewLink(url);
  const std::string key = link->Str(field::kLinkUrl, field::kLinkUrlCapacity);
  const auto found = m_links.find(key);
  if (found != m_links.end()) {
    TAEHoggetto* existing = m_set.GetObject(internetLink, found->second);
    if (existing != nullptr && !existing->IsFree()) return existing;
  }
  TAEHoggetto* made = Register(std::move(link));
  if (made != nullptr) m_links.insert_or_assign(key, made->Index());
  return made;
}

bool ImportRecords::AddKeyword(TAEHoggetto& page, std::string_view keyword) {
  if (!m_keywordsIndexed) {
    m_keywordsIndexed = true;
    for (int i = 0; i < m_set.CountOf(document::keyword); ++i) {
      const TAEHoggetto* k = m_set.GetObject(document::keyword, i);
      if (k != nullptr && !k->IsFree()) m_keywords.emplace(k->GetCaption(), i);
    }
  }
  const std::string text(keyword.substr(0, kKeywordCapacity));
  int index = -1;
  const auto found = m_keywords.find(text);
  if (found != m_keywords.end()) index = found->second;
  if (index < 0) {
    auto record = m_set.NewObject(document::keyword);
    record->SetStr(field::kKeywordText, kKeywordCapacity, text);
    const TAEHoggetto* made = Register(std::move(record));
    if (made == nullptr) return false;
    index = made->Index();
    m_keywords.emplace(text, index);
  }
  return document::AddKeyword(page, index);
}

TAEHoggetto* ImportRecords::Image(std::string bytes, std::string_view extension, bool transparent, int width,
                                  int height, std::string_view stem) {
  if (!m_imagesIndexed) {
    m_imagesIndexed = true;
    for (int kind : {genLink, zipLink, immagine, mappaClic}) {
      for (int i = 0; i < m_set.CountOf(kind); ++i) {
        const TAEHoggetto* object = m_set.GetObject(kind, i);
        if (object == nullptr) continue;
        m_fileNames.insert(base::UpperCase(object->FileName()));
        if (kind == immagine && !object->IsFree()) m_imagesBySize[object->ContentLength()].push_back(i);
      }
    }
  }
  // An equal picture: same length first, then the same bytes.
  const auto size = static_cast<std::int64_t>(bytes.size());
  for (int index : m_imagesBySize[size]) {
    TAEHoggetto* image = m_set.GetObject(immagine, index);
    if (image == nullptr || image->IsFree()) continue;
    const auto content = image->ReadContent();
    if (content && *content == bytes) return image;
  }
  std::string fileName;
  do {
    fileName = std::string(stem) + std::to_string(++m_fileNumber) + std::string(extension);
  } while (m_fileNames.contains(base::UpperCase(fileName)));
  TAEHoggetto* made = Register(NewImageRecord(m_set, std::move(bytes), fileName, transparent, width, height));
  if (made != nullptr) {
    m_fileNames.insert(base::UpperCase(fileName));
    m_imagesBySize[size].push_back(made->Index());
  }
  return made;
}

}  // namespace tarn::convert
