// One RTF import run (TRtfImp): the options of the import dialog, the pages,
// styles, images, links and objects the run creates in the hypertext, the
// index pages of heading cuts, links resolved once their targets are read,
// and the report of a WinHelp source import. In clipboard mode nothing is
// registered: the run collects one text with its own objects, written as the
// container that a text box inserts.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "convert/importrecords.h"

namespace tarn::document {
class TAEHset;
class TAEHoggetto;
}  // namespace tarn::document

namespace tarn::convert {

class TAEHconv;
class ExportProgress;

struct RtfImportOptions {
  // Many-pages mode: "\page" and "\sect" start new pages.
  bool manyPages = true;
  // WinHelp source mode: topic footnotes, hot spots, bitmap references.
  bool winHelp = false;
  // Every picture is stored as GIF.
  bool allToGif = false;
  // Headings cut the text into pages listed on an index page.
  bool headingsCut = false;
  bool commonIndex = false;
  // The highest heading level that cuts.
  int headingLimit = 4;
  int paragraphsPerPage = 100;
  ImportBackground background;
  // The clipboard: one text, objects numbered in its own list.
  bool clipboard = false;
};

// Lines of the WinHelp import report: 0 pages, 1 keywords, 2 links not imported.
struct ImportReportEntry {
  int kind = 0;
  std::string text;
};

class TRtfImp {
 public:
  // Progress (phase 10: one step of a moving bar) goes to progress, told as
  // coming from sender.
  TRtfImp(document::TAEHset& set, const RtfImportOptions& options, ExportProgress* progress = nullptr,
          const TAEHconv* sender = nullptr);
  ~TRtfImp();
  TRtfImp(const TRtfImp&) = delete;
  TRtfImp& operator=(const TRtfImp&) = delete;

  // Reads one RTF document (its whole text); relative file names in it are
  // taken from folder. False when the text is not RTF.
  bool ReadDocument(std::string_view rtf, const std::filesystem::path& folder, std::string_view name);
  // Ends the run: links to bookmarks are resolved, the common index stored.
  void Finish();

  // The page to show: the common index when there is one, else the first
  // page made; -1 when none was made.
  int FirstPage() const;
  int PagesMade() const { return m_records.PagesMade(); }
  bool CanMakePages(int count) const { return !m_options.clipboard && m_records.CanMakePages(count); }
  const std::vector<ImportReportEntry>& Report() const { return m_report; }
  // Characters that had no cp1252 code and became "?".
  std::size_t ReplacedCharacters() const { return m_replaced; }
  // Clipboard mode: the container a text box inserts. Without records it
  // carries the text and its formats only: the markup still names the links
  // and objects, which a box reading it without their records leaves out.
  std::string Container(bool withRecords = true) const;

  // ---- Used while reading ----
  const RtfImportOptions& Options() const { return m_options; }
  document::TAEHset& Set() { return m_set; }
  int PixelsPerInch() const { return m_pixelsPerInch; }
  void CountReplaced(std::size_t n) { m_replaced += n; }
  void Progress();
  void AddReport(int kind, std::string text) { m_report.push_back({kind, std::move(text)}); }

  // An object placed in the text: registered (stored form) or added to the
  // clipboard's list; answers its tag, empty when it could not be kept.
  std::string PlaceObject(std::unique_ptr<document::TAEHoggetto> object, document::TAEHoggetto** placed = nullptr);
  // A link to an address: an equal link record is reused.
  std::string UrlLinkTag(std::string_view url);
  // A picture's data as an image record (an equal image is reused).
  document::TAEHoggetto* AddImage(std::string bytes, std::string_view extension, bool transparent, int width,
                                  int height);
  // Clipboard mode: the image's place in the container's image list.
  int ClipboardImageIndex(const document::TAEHoggetto* image) const;
  // A picture file named in the document, relative to its folder (names
  // compared without case, as on the system that wrote them).
  document::TAEHoggetto* LoadImageFile(std::string_view name);

  // Adds a keyword to a page (WinHelp topics).
  bool AddKeyword(document::TAEHoggetto& page, std::string_view keyword) { return m_records.AddKeyword(page, keyword); }
  // A new page of the run, or the page a WinHelp context already names.
  document::TAEHoggetto* NewPage(std::string_view context = {});
  // A page of the document's text was stored (the first one is shown).
  void PageStored(int page);
  // The page a WinHelp context names, made empty when no page has it yet.
  int PageForContext(std::string_view context);
  // Bookmarks: where a name was set, and links that wait for it.
  void BookmarkAt(std::string_view name, int page);
  void LinkToBookmark(std::string_view name, int page, std::size_t offset);

  // Heading cuts: the index page of the current part and its lines.
  void StartIndex(std::string_view name);
  void IndexLine(int level, int page, std::string_view text);
  void FinishIndex();
  bool HasIndex() const { return m_index != nullptr; }
  // The link back to the index that ends each page of a cut text.
  std::string ContentsLink() const;

  // Clipboard mode: the text read.
  std::string clipboardMarkup;
  int clipboardParagraphs = 0;

 private:
  struct PendingLink {
    int page;
    std::size_t offset;
    std::string name;
  };
  void ResolveBookmarks();

  document::TAEHset& m_set;
  RtfImportOptions m_options;
  ImportRecords m_records;
  ExportProgress* m_progress;
  const TAEHconv* m_sender;
  int m_pixelsPerInch = 96;
  int m_firstPage = -1;
  int m_commonIndex = -1;
  int m_imageNumber = 0;
  std::size_t m_replaced = 0;
  std::size_t m_progressTicks = 0;
  std::vector<ImportReportEntry> m_report;
  // Context names of WinHelp topics (upper case) and their pages.
  std::unordered_map<std::string, int> m_contexts;
  // Pages made for hot spots whose topic has not been read (yet).
  std::unordered_map<int, std::string> m_placeholders;
  std::unordered_map<std::string, int> m_bookmarks;
  std::vector<PendingLink> m_pendingLinks;
  // The index of the current part: its page and its text so far.
  document::TAEHoggetto* m_index = nullptr;
  std::string m_indexMarkup;
  // Clipboard mode: records that travel in the container.
  std::vector<std::unique_ptr<document::TAEHoggetto>> m_images;
  std::vector<std::unique_ptr<document::TAEHoggetto>> m_objects;
  std::vector<std::unique_ptr<document::TAEHoggetto>> m_links;
  std::filesystem::path m_folder;
};

}  // namespace tarn::convert
