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

#include "convert/htmlbody.h"
#include "convert/htmlobjects.h"
#include "convert/htmlimport.h"
#include "document/objectkinds.h"

namespace tarn::convert {

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

class TAEHtoHtml : public THtmlObjects {
 public:
  // Images and files go into the sub-folder "images".
  bool ExpSepImage = false;
  // Images and files keep their stored file names.
  bool ExpOrigName = false;
  // 0 ".htm", 1 ".html".
  int ExpTipoExt = 1;
  bool ImpPreview = false;
  // Pages, redirect files and the style sheet in UTF-8, the pages declaring
  // it, for sites served as UTF-8; off, they are written in the document's
  // own code page as they always were.
  bool ExpUtf8 = false;

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
  // When set, a run copies only the images and files it answers true for
  // (the export dialog's file list leaves some out).
  std::function<bool(const TAEHoggetto& record)> CopyFileFilter;

  // Creates ExportPath when missing and writes the style sheet.
  bool WriteStyleSheet();
  std::string StyleSheetName() const;
  // ".htm" or ".html".
  std::string PageExtension() const;
  std::string OutputFileName(const TAEHoggetto& record, int nameKind) const override;
  // One complete HTML document for the page, appended to out.
  void ExportPage(TAEHoggetto& page, std::string& out, RecordList* frameless, RecordList& files, int nameKind);
  // Writes the redirect file of a page that has an additional HTML name and
  // answers its path; nothing for a page without one.
  std::string WriteRedirectPage(const TAEHoggetto& page, const std::filesystem::path& folder);
  // Recognises a file written by this converter.
  static PageMarker ReadPageMarker(const std::filesystem::path& file);
  // The record's extra HTML (or the text given) with its object references
  // replaced.
  std::string ExpandObjectReferences(const TAEHoggetto& record) override;
  std::string ExpandObjectReferences(const TAEHoggetto& record, std::string_view text);

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

  // Roll-over images of the page being written.
  RecordList& RollOverList() { return m_rollOver; }

 protected:
  void AddToFileList(TAEHoggetto* record) override;
  int PixelsPerInch() const override;

 private:
  std::string StyleRules(const TAEHoggetto& style, int number) const;
  std::string HeadPart(TAEHoggetto& page);
  // "<HTML><HEAD>", the charset declaration of UTF-8 pages, the title.
  std::string DocumentStart(const TAEHoggetto& page) const;
  std::string MarkerLine(const TAEHoggetto& page) const;
  // A document in the output's encoding; `kept` (the marker line) is
  // copied as it is.
  std::string Encoded(std::string_view document, std::string_view kept) const;
  std::string ExternalLinkName(const TAEHoggetto& link) const;
  const TAEHoggetto* HeaderOrFooter(const TAEHoggetto& page, bool footer) const;

  // Run steps; each throws ExportError when a file cannot be written.
  void PrepareRun();
  void ExportMainPages(const std::vector<int>& pages, RecordList& frameless, RecordList& files, bool redirects,
                       RecordList* exported);
  void ExportFramelessPages(RecordList& frameless, RecordList& files, RecordList* exported);
  void CopyFileRecords(const RecordList& files);
  void WriteOutput(const std::string& relativeName, std::string_view bytes);
  // Makes the folders of an output file's name inside ExportPath.
  void EnsureFolder(const std::string& relativeName);
  std::string WriteRedirectFile(const TAEHoggetto& page, const std::filesystem::path& folder);
  std::filesystem::path OutputPath(const std::string& relativeName) const;
  template <typename Steps>
  bool Run(Steps steps);

  // The run's file list.
  RecordList* m_files = nullptr;
  // The folder last found or made during a run.
  std::filesystem::path m_readyFolder;
  // Pages being pulled in by "!RefP:", against a page that pulls in itself.
  std::vector<const TAEHoggetto*> m_pulledPages;
  HtmlImportReport m_importReport;
};

}  // namespace tarn::convert
