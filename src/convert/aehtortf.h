// The RTF converter: pages of a hypertext as Rich Text Format (all into one
// file, a file per page, or a file for the Windows help compiler with its
// topic footnotes, hot spots, macros and bitmaps by reference), a text
// selection as RTF for the clipboard, and RTF documents read back into pages
// or into the container a text box inserts.
//
// Outside the help compiler's form, links to addresses and to the pages of
// the same export are written as hyperlink fields (with a bookmark at the
// start of each page), so that word processors keep them.
#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "convert/aehconv.h"
#include "convert/rtfimp.h"
#include "richtext/styles.h"

namespace tarn::markup {
class TagCodes;
}

namespace tarn::convert {

// The help compiler's context string of a topic: the title's letters,
// digits, "." and "_", cut so that "_" and n fit in 20 characters.
std::string HelpContext(std::string_view title, int n);
// A window's context: its context string with n = 0, cut to 8 characters.
std::string WindowContext(std::string_view window);
// The bookmark that marks the start of a page in an exported file.
std::string PageBookmark(int page);

class TAEHtortf : public TAEHconv {
 public:
  TAEHtortf();
  ~TAEHtortf() override;

  // ---- Export settings ----
  bool WinHelp = false;
  // Set while a text is converted for the clipboard: no document
  // information, no help hot spots.
  bool TextMode = false;
  bool TitlesAsKeywords = false;
  // Paper and margins in twips (A4 by default).
  int PaperWidth = 11905;
  int PaperHeight = 16837;
  int TopMargin = 1417;
  int BottomMargin = 1417;
  int LeftMargin = 1417;
  int RightMargin = 1417;
  // The clock of the document information.
  std::function<std::tm()> Now;

  // A clipboard text's context: the box's placed objects (object tags
  // "<$FF...") and the page's working list of links (link values of kind
  // 111). Both may be absent.
  std::function<const TAEHoggetto*(std::int32_t number)> PlacedObject;
  std::function<const TAEHoggetto*(std::int32_t number)> WorkingLink;

  // ---- Import settings (the import dialog's) ----
  RtfImportOptions ImportOptions;
  int ParagraphsPerPage() const { return ImportOptions.paragraphsPerPage; }

  // ---- The converter's operations ----
  // The RTF of a markup text: header, body, "}" and a byte 0.
  void ConvertText(std::string_view markup, std::string& out) override;
  // The pages into ExportFileName.
  bool ExportPageList(const std::vector<int>& pages) override;
  // One page into ExportFileName.
  bool ExportSinglePage(int page, RecordList& files, RecordList& exportedPages) override;
  // Each page into its own file in ExportPath (PageFileName); answers the
  // names written.
  bool ExportPagesPerFile(const std::vector<int>& pages, std::vector<std::string>* written = nullptr);
  // The RTF files as pages; answers the page to show (-1 when none).
  int ImportFiles(const std::vector<std::filesystem::path>& files, bool manyPages) override;
  // RTF into the container a text box inserts.
  void ConvertPaste(std::string_view source, std::string& container, int codeMode, int styleNumber) override;
  // Set for a box that cannot take records: the pasted container carries
  // the text and its formats, without link, picture and table records.
  bool PasteTextOnly = false;

  std::string PageFileName(int page) const;
  // The header from the tables collected while the bodies were written.
  std::string WriteHeader();

  // ---- What a WinHelp export collects for the help project ----
  const std::vector<std::string>& WindowList() const { return m_windows; }
  // Writes the project file (".HPJ") of the help file exported last
  // (ExportFileName), for the pages of that export.
  bool WriteHelpProject(const std::filesystem::path& project, const std::vector<int>& pages);

  // ---- What the last import found ----
  const std::vector<ImportReportEntry>& ImportReport() const { return m_report; }
  std::size_t ReplacedCharacters() const { return m_replaced; }

 private:
  struct Table;
  struct Text;
  struct Paragraph;

  // Runs.
  void StartRun();
  bool ExportBody(const std::vector<int>& pages, std::string& bodyFile);
  bool WriteFile(const std::filesystem::path& path, std::string_view header, std::string_view body,
                 const std::filesystem::path* bodyFile);

  // The body of one text (a page, its header or footer page, a clipboard text).
  void WriteBody(std::string& out, TAEHoggetto& page, bool nested);
  void WriteMarkup(std::string& out, std::string_view markup);
  // "{\header ...}" or "{\footer ...}" of the page's choice; an export of
  // one page writes only those the page has.
  void WriteHeaderFooter(std::string& out, const TAEHoggetto& page, bool footer, bool onlyPresent = false);
  void WriteText(Text& t, std::string_view markup);
  void WriteTopicFootnotes(std::string& out, const TAEHoggetto& page);
  void ParagraphStart(Text& t, const markup::TagCodes& codes);
  void CharacterFormat(Text& t, const markup::TagCodes& codes);
  void WriteFont(Text& t, const richtext::TMyFont& font, bool full);
  // The format words of a paragraph ("\f" ... "\sa"), with the list's
  // item text for a paragraph of a page.
  std::string FormatWords(const Paragraph& p, bool withListText);
  static Paragraph ParagraphOf(const TAEHoggetto* style);
  richtext::TMyFont LinkFont(const Text& t, const richtext::TMyFont& font) const;
  std::string HyperlinkTarget(const TAEHoggetto& record) const;
  std::string HelpLinkEnd(const TAEHoggetto& record);
  std::string TopicContext(const TAEHoggetto* target) const;
  void BeforeContent(Text& t);
  void ObjectReference(Text& t, std::uint32_t value);
  void LinkStart(Text& t, TAEHoggetto& record);
  void LinkEnd(Text& t);
  void TableStart(Text& t, const TAEHoggetto& table);
  void CellBoundary(Text& t);
  void RowDefinition(Text& t, const TAEHoggetto& table);
  void Annotation(Text& t, const TAEHoggetto& comment);
  void Picture(Text& t, TAEHoggetto& record);

  // Tables of the header.
  int FontNumber(std::string_view face);
  int ColourNumber(std::uint32_t colour);
  int StyleNumber(int style);
  std::string StyleFormat(int style);
  const TAEHoggetto* StyleRecord(int style) const;
  int PixelsPerInch() const;
  int Twips(int pixels) const;

  // Export state.
  std::vector<std::string> m_fonts;
  std::unordered_map<std::string, int> m_fontIndex;
  std::vector<std::uint32_t> m_colours;
  std::unordered_map<std::uint32_t, int> m_colourIndex;
  std::vector<int> m_styles;
  std::unordered_map<int, int> m_styleIndex;
  std::vector<std::string> m_windows;
  std::unordered_set<int> m_exportedPages;
  bool m_perPage = false;
  // WinHelp bitmaps written: the file of each picture, and the names taken
  // (in lower case: help files do not tell case apart).
  std::unordered_map<const TAEHoggetto*, std::string> m_bitmapFiles;
  std::unordered_set<std::string> m_bitmapNamesTaken;
  const TAEHoggetto* m_page = nullptr;
  // The number of the next numbered paragraph.
  int m_listCounter = 1;

  // Import results.
  std::vector<ImportReportEntry> m_report;
  std::size_t m_replaced = 0;
};

}  // namespace tarn::convert
