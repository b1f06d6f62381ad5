// The records an importer makes for what it reads: the new page with the
// import dialog's background, the page's lookup name, keywords. The RTF and
// text importers share these; the HTML importer makes the same records.
#pragma once

#include <cstdint>
#include <string_view>

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

// A new page for imported text: in slot 0 when the hypertext holds only its
// empty first page (a new hypertext), else at the first free slot or at the
// end. Its text is "<Z S0 >"; nothing when it cannot be registered. An
// importer that makes several pages before it fills them lets only its first
// take the empty first page's place.
document::TAEHoggetto* CreateImportText(document::TAEHset& set, const ImportBackground& background,
                                        bool mayReplaceEmptyFirst = true);

// Makes a page findable by name (TAEHset::FindPage): the name goes at the
// start of the page's extra data, as the page-properties editor keeps it.
void SetPageLookupName(document::TAEHoggetto& page, std::string_view name);

// Adds the keyword to the page, reusing an equal keyword record of the
// hypertext; false when the page has it already or all slots are used.
bool AddPageKeyword(document::TAEHset& set, document::TAEHoggetto& page, std::string_view keyword);

}  // namespace tarn::convert
