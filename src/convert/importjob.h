// One import run of the import dialog, without a window: the chosen files of
// one source format (HTML, RTF in many pages or a page per file, WinHelp
// sources, text, DOC through the word processor) become new pages of the
// open hypertext. A cancelled run stops before the next file and keeps the
// pages made so far, finished (links between them resolved).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "convert/exportjob.h"
#include "convert/rtfimp.h"

namespace tarn::convert {

// The format numbers of the import dialog's list.
enum ImportFormat : int {
  kImpHtml = 0,
  kImpRtfPages = 1,
  kImpRtfPerFile = 2,
  kImpWinHelp = 3,
  kImpAscii = 4,
  kImpDocPages = 5,
  kImpDocPerFile = 6,
};

struct ImportRequest {
  int format = kImpRtfPages;
  std::vector<std::filesystem::path> files;
  bool allToGif = false;
  bool headingsCut = false;
  bool commonIndex = false;
  int paragraphsPerPage = 100;
  int headingLevel = 4;
  std::uint32_t backgroundColour = 0xFFFFFF;
  int backgroundImage = -1;
  std::string wordProcessor;
};

struct ImportOutcome {
  int firstPage = -1;  // the page to show; -1 when none was made
  int pagesMade = 0;
  bool cancelled = false;
  std::string error;  // for the author; may come with pages made
  std::vector<ImportReportEntry> winHelpReport;
  std::vector<std::string> notRead;  // files or references that were skipped
};

class ImportJob : public TransferJob {
 public:
  ImportJob(document::TAEHset& set, platform::Process* process);

  ImportOutcome Run(const ImportRequest& request);

  // The WinHelp import report as the report window lists it.
  static std::vector<std::string> WinHelpReportLines(const std::vector<ImportReportEntry>& report);

 private:
  void RunHtml(const ImportRequest& request, ImportOutcome& outcome);
  void RunRtf(const ImportRequest& request, const std::vector<std::filesystem::path>& files, ImportOutcome& outcome);
  void RunText(const ImportRequest& request, ImportOutcome& outcome);
  void RunDoc(const ImportRequest& request, ImportOutcome& outcome);
  int LivePageCount() const;

  document::TAEHset& m_set;
  platform::Process* m_process;
};

}  // namespace tarn::convert
