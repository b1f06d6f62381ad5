// The records an importer makes for what it reads: new pages with the import
// dialog's background, page lookup names, keywords, links and images, each
// equal record of the hypertext reused. The RTF and text importers share
// these; the HTML importer makes the same records.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace tarn::document {
class TAEHset;
class TAEHoggetto;
}  // namespace tarn::document

namespace tarn::convert {

// The background the import dialog gives new pages.
struct ImportBackground {
  std::uint32_t colour = 0xFFFFFF;
  int image = -1;  // index of an image record, -1 none
};

// A new page for imported text (what the converter base's CreateImportText
// makes): in slot 0 when the hypertext holds only its empty first page (a
// new hypertext), else at the first free slot or at the end. Its text is
// "<Z S0 >"; nothing when it cannot be registered. An importer that makes
// several pages before it fills them lets only its first take the empty
// first page's place. With a cursor, the search for a free slot goes on
// from where the last one ended, so that a run of many pages does not look
// at every page again for each.
document::TAEHoggetto* NewImportPage(document::TAEHset& set, const ImportBackground& background,
                                     bool mayReplaceEmptyFirst = true, std::size_t* cursor = nullptr);

// The first free slot of the kind at or after the cursor (the end of the
// list when there is none); the cursor moves past it.
std::int64_t NextFreeSlot(const document::TAEHset& set, int kind, std::size_t& cursor);

// Makes a page findable by name (TAEHset::FindPage): the name goes at the
// start of the page's extra data, as the page-properties editor keeps it.
void SetPageLookupName(document::TAEHoggetto& page, std::string_view name);

// An image record (unregistered) of a picture's data under the file name.
std::unique_ptr<document::TAEHoggetto> NewImageRecord(document::TAEHset& set, std::string bytes,
                                                      std::string_view fileName, bool transparent, int width,
                                                      int height);

// The records of one import run. Each lookup is indexed, so that a document
// with many links, keywords, pictures or topics costs no more per record
// than a small one; the indexes of the hypertext's records are made at their
// first use.
class ImportRecords {
 public:
  ImportRecords(document::TAEHset& set, ImportBackground background);

  // Registers the object at the first free slot of its kind; the search
  // goes on from where the last one for the kind ended.
  document::TAEHoggetto* Register(std::unique_ptr<document::TAEHoggetto> object);
  // An import makes at most this many pages: a document that asks for more
  // (a million page breaks in a few megabytes) goes on in the last page, so
  // that memory stays in proportion to real text.
  static constexpr int kMaxPages = 65536;
  bool CanMakePages(int count) const { return m_pagesMade + count <= kMaxPages; }
  // A new page (NewImportPage); the first of the run may take the empty
  // first page's place. Nothing beyond kMaxPages.
  document::TAEHoggetto* NewPage();
  // The live page whose lookup name is this (without case), or none.
  document::TAEHoggetto* PageNamed(std::string_view name);
  void NamePage(document::TAEHoggetto& page, std::string_view name);
  // The link record of an address, an equal one reused.
  document::TAEHoggetto* Link(std::string_view url);
  // Adds the keyword to the page, an equal keyword record reused; false
  // when the page has it already or all its slots are used.
  bool AddKeyword(document::TAEHoggetto& page, std::string_view keyword);
  // An image record of the picture's data, an equal image reused; its file
  // name is stem + a number + extension, unique among embedded files.
  document::TAEHoggetto* Image(std::string bytes, std::string_view extension, bool transparent, int width,
                               int height, std::string_view stem);
  int PagesMade() const { return m_pagesMade; }

 private:
  document::TAEHset& m_set;
  ImportBackground m_background;
  std::unordered_map<int, std::size_t> m_cursors;  // per kind
  int m_pagesMade = 0;
  bool m_pagesIndexed = false;
  std::unordered_map<std::string, int> m_pages;
  bool m_linksIndexed = false;
  std::unordered_map<std::string, int> m_links;
  bool m_keywordsIndexed = false;
  std::unordered_map<std::string, int> m_keywords;
  bool m_imagesIndexed = false;
  std::unordered_map<std::int64_t, std::vector<int>> m_imagesBySize;
  std::unordered_set<std::string> m_fileNames;
  int m_fileNumber = 0;
};

}  // namespace tarn::convert
