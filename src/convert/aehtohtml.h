// The HTML converter: writes pages of a hypertext as a small web site, one
// document per page with the generated style sheet and scripts, frameless
// versions and redirect files where needed, and copies of the images and
// files the pages use.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "convert/aehconv.h"
#include "convert/htmlimport.h"
#include "document/objectkinds.h"

namespace tarn::convert {

enum class TExpCSS { ecUseCSS, ecEmulateFF };

// Names of a page file: the main version, the version without its frame
// set, and (by separator only) file objects.
enum NameKind : int { kMainName = 0, kFramelessName = 1, kFileObjectName = 2 };

// What WriteBody writes of a text.
enum BodyMode : int { kTextOnly = 0, kBodyAndText = 1, kFooterText = 2, kBodyTagOnly = 6 };

// Script flags of a page: which generated functions its head needs.
enum ScriptFlag : int {
  kBrowserDetection = 1,
  kRollOverSupport = 2,
  kCloseWindowScript = 4,
  kOpenWindowScript = 8,
  kOpenBrowserScript = 16,
};

// A font as the writer compares it: what it has emitted, what the text
// asks for, and what the paragraph's style gives.
struct HtmlFont {
  std::uint32_t colour = 0;
  std::string face;
  std::int32_t size = 12;
  std::uint8_t flags = 0;     // 1 bold, 2 italic, 4 underline, 8 strike-through
  std::uint8_t position = 0;  // 0 normal, 1 subscript, 2 superscript
};

// What has been written so far in the open paragraph.
struct EmittedState {
  HtmlFont font;
  bool fontOpen = false;
  int alignment = 0;
  int listType = 0;
  int unit = 1;
  int lineHeight = -32000;
  int indent = 0;
  int leftMargin = 10;
  int rightMargin = 10;
  int topMargin = 0;
  int bottomMargin = 0;
  std::uint32_t linkColour = 0xFF0000;
  int linkSize = -1;
  std::uint8_t linkFlags = 4;
};

// The state of one text while it is written (one WriteBody call). Objects
// inside the text work on it too.
struct HtmlText {
  explicit HtmlText(std::string& output) : out(output) {}
  std::string& out;
  EmittedState emitted;
  // Saved states of the texts around nested tables.
  std::vector<EmittedState> stack;
  HtmlFont current;
  HtmlFont styleFont;
  int styleNumber = 0;
  std::uint32_t styleLinkColour = 0xFF0000;
  int styleLinkSize = -1;
  std::uint8_t styleLinkFlags = 4;
  bool paragraphOpen = false;
  bool formatPending = false;
  bool linkOpen = false;
  // The open link's start tag, written again after an anchor inside it.
  std::string linkStart;
  int listCounter = 1;
  bool lastWasBlank = false;
  // Tables being written (innermost last) and the cells opened in each.
  struct Table {
    const TAEHoggetto* record = nullptr;
    int cellsOpened = 0;
  };
  std::vector<Table> tables;
  int formCounter = 0;
};

// A page recognised by its marker comment.
struct PageMarker {
  bool found = false;
  int page = 0;
  std::string hypertext;  // empty unless it names an .AEH file
};

class TAEHtoHtml;
// The frame-set document of the frame map; its frames show the frameless
// versions of their pages, which are added to the frameless list.
bool WriteFrameSetDocument(TAEHtoHtml& converter, const TAEHoggetto& page, const TAEHoggetto& map, std::string& out,
                           RecordList* frameless);

class TAEHtoHtml : public TAEHconv {
 public:
  // Images and files go into the sub-folder "images".
  bool ExpSepImage = false;
  // Images and files keep their stored file names.
  bool ExpOrigName = false;
  // 0 ".htm", 1 ".html".
  int ExpTipoExt = 1;
  TExpCSS ExpCSS = TExpCSS::ecUseCSS;
  bool ImpPreview = false;
  // Automatic "alt" texts for map zones.
  bool AutoAlt = false;

  // Writes the frame-set document that stands ahead of a page with a frame
  // set (main version only) and answers whether it wrote one. Unset, pages
  // are written as if they had no frame set.
  std::function<bool(TAEHtoHtml& converter, const TAEHoggetto& page, const TAEHoggetto& map, std::string& out,
                     RecordList* frameless)>
      FrameSetWriter = WriteFrameSetDocument;

  // The base operations. HTML has no clipboard form.
  void ConvertText(std::string_view markup, std::string& out) override;
  bool ExportPageList(const std::vector<int>& pages) override;
  bool ExportSinglePage(int page, RecordList& files, RecordList& exportedPages) override;
  int ImportFiles(const std::vector<std::filesystem::path>& files, bool flag) override;
  void ConvertPaste(std::string_view source, std::string& container, int codeMode, int styleNumber) override;

  // Every page in record order, then the frameless versions; the caller
  // copies the files (CopyFiles).
  bool ExportAllPages(RecordList& files);
  // The run of the export dialog: style sheet, the listed pages each with its
  // redirect file, the frameless versions, then the files.
  bool ExportSite(const std::vector<int>& pages);
  // Writes the stored data of each record to its output file.
  bool CopyFiles(const RecordList& files);

  // Creates ExportPath when missing and writes the style sheet.
  bool WriteStyleSheet();
  std::string StyleSheetName() const;
  // ".htm" or ".html".
  std::string PageExtension() const;
  // The name, relative to ExportPath, under which a record is exported;
  // folders are separated by "/".
  std::string OutputFileName(const TAEHoggetto& record, int nameKind) const;
  // One complete HTML document for the page, appended to out.
  void ExportPage(TAEHoggetto& page, std::string& out, RecordList* frameless, RecordList& files, int nameKind);
  // Writes the redirect file of a page that has an additional HTML name and
  // answers its path; nothing for a page without one.
  std::string WriteRedirectPage(const TAEHoggetto& page, const std::filesystem::path& folder);
  // Recognises a file written by this converter.
  static PageMarker ReadPageMarker(const std::filesystem::path& file);
  // The record's extra HTML with its object references replaced.
  std::string ExpandObjectReferences(const TAEHoggetto& record);
  std::string ExpandObjectReferences(const TAEHoggetto& record, std::string_view text);
  // The body part of one page's text, appended to out.
  void WriteBody(std::string& out, int mode, TAEHoggetto& page);

  // Import (htmlimport.cpp). One page from bytes already read, as if read
  // from `name` (whose folder the page's references are taken from);
  // answers the page's index, -1 when none was made.
  int ImportHtmlSource(std::string_view bytes, const std::filesystem::path& name);
  // The HTML files reachable by links from the start file, the start file
  // not listed; `depth` counts the levels, the start file's included.
  void CollectLinkedFiles(const std::filesystem::path& start, std::vector<std::filesystem::path>& list, int depth);
  CrawlResult CollectLinkedFiles(const std::filesystem::path& start, const CrawlLimits& limits);
  // What the last import made and what it could not follow.
  const HtmlImportReport& ImportReport() const { return m_importReport; }
  // Reads the files an import needs (pages, style sheets); unset, from disk.
  std::function<bool(const std::filesystem::path&, std::string&)> ImportFileReader;

  // Script flags and roll-over images of the page being written.
  int ScriptFlags() const { return m_scriptFlags; }
  void SetScriptFlags(int flags) { m_scriptFlags |= flags; }
  RecordList& RollOverList() { return m_rollOver; }
  // The name kind of the page being written.
  int CurrentNameKind() const { return m_nameKind; }

 protected:
  // The objects placed in a text (tables, images, form controls, multimedia,
  // scripts and raw HTML) are converted here; the pending format has been
  // written. Anchors are handled; the other kinds write nothing yet.
  virtual void WriteEmbeddedObject(HtmlText& text, TAEHoggetto& record);
  // A "<T>" in the text: the boundary between two table cells.
  virtual void WriteCellBoundary(HtmlText& text);

  // Text-walk steps that object conversions reuse.
  void WritePendingFormat(HtmlText& text);
  void WriteClosingTags(HtmlText& text);
  void OpenLink(HtmlText& text, TAEHoggetto& record);
  // The target attributes of a link to the record (a page, file, URL or
  // special link), without its extra attributes.
  std::string LinkTargetAttributes(TAEHoggetto& record);
  // ",''" or ",'height=..,width=..,...'" from a special link's window description.
  std::string WindowFeatures(const TAEHoggetto& link) const;
  // Adds a record with data to copy (image or file) to the run's file list.
  void AddToFileList(TAEHoggetto* record);
  // The page file a link names: with its frame set, or the frameless version
  // (which then joins the frameless list).
  std::string LinkedPageName(TAEHoggetto& page, bool withFrameSet);

 private:
  void WalkText(HtmlText& text, std::string_view markup);
  void ParagraphStart(HtmlText& text, std::string_view tag);
  void CharacterFormat(HtmlText& text, std::string_view tag);
  void WriteObjectTag(HtmlText& text, document::ObjectId id);
  void CloseParagraph(HtmlText& text);
  std::string FontElement(const HtmlFont& font, const HtmlFont& base) const;
  std::string LinkDeclarations(const HtmlText& text) const;
  void WriteBodyTag(std::string& out, const TAEHoggetto& page);
  std::string StyleRules(const TAEHoggetto& style, int number) const;
  std::string HeadPart(TAEHoggetto& page);
  std::string ExternalLinkName(const TAEHoggetto& link) const;
  const TAEHoggetto* HeaderOrFooter(const TAEHoggetto& page, bool footer) const;
  int PixelsPerInch() const;

  // Run steps; each throws ExportError when a file cannot be written.
  void PrepareRun();
  void ExportMainPages(const std::vector<int>& pages, RecordList& frameless, RecordList& files, bool redirects,
                       RecordList* exported);
  void ExportFramelessPages(RecordList& frameless, RecordList& files, RecordList* exported);
  void CopyFileRecords(const RecordList& files);
  void WriteOutput(const std::string& relativeName, std::string_view bytes);
  void EnsureFolder(const std::filesystem::path& folder);
  std::string WriteRedirectFile(const TAEHoggetto& page, const std::filesystem::path& folder);
  std::filesystem::path OutputPath(const std::string& relativeName) const;
  template <typename Steps>
  bool Run(Steps steps);

  // The run's lists and the page document being written.
  RecordList* m_files = nullptr;
  RecordList* m_frameless = nullptr;
  RecordList m_rollOver;
  int m_nameKind = kMainName;
  int m_scriptFlags = 0;
  const TAEHoggetto* m_pageWritten = nullptr;
  // The folder last found or made during a run.
  std::filesystem::path m_readyFolder;
  // Pages being pulled in by "!RefP:", against a page that pulls in itself.
  std::vector<const TAEHoggetto*> m_pulledPages;
  HtmlImportReport m_importReport;
};

}  // namespace tarn::convert
