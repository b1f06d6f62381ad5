// One export run of the export dialog, without a window: the chosen format
// (web site, RTF in one file or a file per page, WinHelp sources with their
// help project, plain text, DOC through the word processor), the checked
// pages, the folder and main file. Everything is written into a hidden
// staging folder inside the target first and moved to its final name only
// when the run succeeded, so a cancelled or failed run leaves no half-written
// file under a name the author would take for the result.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace tarn::document {
class TAEHset;
}
namespace tarn::platform {
class Process;
}

namespace tarn::convert {

class ExportProgress;

// What the export and import runs share: the progress that follows a run
// and may cancel it, and the word processor's settings for DOC.
class TransferJob {
 public:
  // Follows and may cancel the run (ExportProgress::CancelRequested).
  ExportProgress* Progress = nullptr;
  // The word processor's own settings folder.
  std::filesystem::path WordProcessorProfile;
  int WordProcessorTimeoutMs = 120'000;

 protected:
  bool Cancelled() const;
};

// The format numbers of the export dialog's list.
enum ExportFormat : int {
  kExpHtml = 0,
  kExpRtf = 1,
  kExpRtfPerPage = 2,
  kExpWinHelp = 3,
  kExpAscii = 4,
  kExpDoc = 5,
};

struct HtmlExportOptions {
  bool autoAlt = true;
  bool origName = false;
  bool sepImage = false;
  int tipoExt = 0;  // 0 ".htm", 1 ".html"
  bool utf8 = false;
};

// Millimetres.
struct PageSizeMm {
  int width = 210;
  int height = 297;
  int top = 15;
  int bottom = 15;
  int left = 15;
  int right = 15;
};

struct ExportRequest {
  int format = kExpHtml;
  std::filesystem::path folder;
  std::string mainFile;  // a file name, no folder (the one-file formats)
  std::vector<int> pages;
  // HTML: the image and file records the author left out of the export,
  // and those to write even when no exported page uses them.
  std::vector<std::int32_t> filesLeftOut;
  std::vector<std::int32_t> filesChosen;
  PageSizeMm size;
  HtmlExportOptions html;
  bool titlesAsKeywords = false;
  // The help compiler after a WinHelp export: the program registered for
  // project files, or the command named here.
  bool runHelpCompiler = false;
  bool registeredHelpCompiler = true;
  std::string helpCompiler;
  // The word processor's command for DOC; empty: LibreOffice on the path.
  std::string wordProcessor;
};

struct ExportOutcome {
  bool ok = false;
  bool cancelled = false;
  std::string error;                         // for the author, when !ok
  bool errorShown = false;                   // a converter told the author already
  std::vector<std::filesystem::path> written;  // final names, in order written
  std::string note;                          // what the author should know after a success
};

class ExportJob : public TransferJob {
 public:
  ExportJob(document::TAEHset& set, platform::Process* process);

  // The command of the program registered for a help project; empty when
  // there is none.
  std::function<std::vector<std::string>(const std::filesystem::path& project)> RegisteredProgram;

  ExportOutcome Run(const ExportRequest& request);

  // The help project's name beside an RTF file.
  static std::filesystem::path ProjectFileName(const std::filesystem::path& rtf);
  static int Twips(int millimetres);

 private:
  bool RunHtml(const ExportRequest& request, const std::filesystem::path& stage, ExportOutcome& outcome);
  bool RunRtf(const ExportRequest& request, const std::filesystem::path& stage, const std::string& mainFile,
              ExportOutcome& outcome);
  bool RunText(const ExportRequest& request, const std::filesystem::path& stage, ExportOutcome& outcome);
  bool RunDoc(const ExportRequest& request, const std::filesystem::path& stage, ExportOutcome& outcome);
  void RunHelpCompiler(const ExportRequest& request, ExportOutcome& outcome);

  document::TAEHset& m_set;
  platform::Process* m_process;
};

}  // namespace tarn::convert
