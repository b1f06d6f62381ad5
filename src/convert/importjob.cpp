// One import run of the import dialog; see importjob.h.
#include "convert/importjob.h"

#include <atomic>
#include <system_error>

#include <unistd.h>

#include "convert/aehtohtml.h"
#include "convert/aehtortf.h"
#include "convert/aehtotxt.h"
#include "convert/docconvert.h"
#include "convert/exportprogress.h"
#include "document/aehset.h"

namespace tarn::convert {
namespace {

namespace fs = std::filesystem;

}  // namespace

ImportJob::ImportJob(document::TAEHset& set, platform::Process* process) : m_set(set), m_process(process) {}

int ImportJob::LivePageCount() const {
  int count = 0;
  for (int i = 0; i < m_set.CountOf(document::testoHtml); ++i) {
    const document::TAEHoggetto* page = m_set.GetObject(document::testoHtml, i);
    if (page != nullptr && !page->IsFree()) ++count;
  }
  return count;
}

ImportOutcome ImportJob::Run(const ImportRequest& request) {
  ImportOutcome outcome;
  if (request.files.empty()) {
    outcome.error = "You should choose one file at least";
    return outcome;
  }
  const int before = LivePageCount();
  // The empty first page of a new hypertext gives way to the first page
  // imported, so it does not count as a page that was there.
  const document::TAEHoggetto* first = m_set.GetObject(document::testoHtml, 0);
  const bool emptyStart = before == 1 && first != nullptr && first->ContentLength() <= 9;
  switch (request.format) {
    case kImpHtml: RunHtml(request, outcome); break;
    case kImpRtfPages:
    case kImpRtfPerFile:
    case kImpWinHelp: RunRtf(request, request.files, outcome); break;
    case kImpAscii: RunText(request, outcome); break;
    case kImpDocPages:
    case kImpDocPerFile: RunDoc(request, outcome); break;
    default: outcome.error = "Unknown import format " + std::to_string(request.format) + "."; break;
  }
  outcome.pagesMade = LivePageCount() - (emptyStart ? 0 : before);
  if (outcome.pagesMade < 0) outcome.pagesMade = 0;
  if (outcome.pagesMade == 0) outcome.firstPage = -1;
  outcome.cancelled = Cancelled();
  return outcome;
}

void ImportJob::RunHtml(const ImportRequest& request, ImportOutcome& outcome) {
  TAEHtoHtml html;
  html.SetLinkedAEHset(&m_set);
  html.ImportBackgroundColour = request.backgroundColour;
  html.ImportBackgroundImage = request.backgroundImage;
  html.OnExpProgress = Progress;
  html.ImportFiles(request.files, false);
  const HtmlImportReport& report = html.ImportReport();
  if (!report.pageIndexes.empty()) outcome.firstPage = report.pageIndexes.front();
  outcome.notRead = report.unreadable;
  for (const std::string& skipped : report.skipped) outcome.notRead.push_back(skipped);
}

void ImportJob::RunRtf(const ImportRequest& request, const std::vector<fs::path>& files, ImportOutcome& outcome) {
  TAEHtortf rtf;
  rtf.SetLinkedAEHset(&m_set);
  rtf.ImportBackgroundColour = request.backgroundColour;
  rtf.ImportBackgroundImage = request.backgroundImage;
  rtf.ImportOptions.background.colour = request.backgroundColour;
  rtf.ImportOptions.background.image = request.backgroundImage;
  rtf.ImportOptions.winHelp = request.format == kImpWinHelp;
  rtf.ImportOptions.allToGif = request.allToGif;
  rtf.ImportOptions.headingsCut = request.headingsCut;
  rtf.ImportOptions.commonIndex = request.commonIndex;
  rtf.ImportOptions.headingLimit = request.headingLevel;
  if (request.paragraphsPerPage > 0) rtf.ImportOptions.paragraphsPerPage = request.paragraphsPerPage;
  rtf.OnExpProgress = Progress;
  const bool perFile = request.format == kImpRtfPerFile || request.format == kImpDocPerFile;
  outcome.firstPage = rtf.ImportFiles(files, !perFile);
  if (!rtf.ErrorText().empty()) outcome.error = rtf.ErrorText();
  if (request.format == kImpWinHelp) outcome.winHelpReport = rtf.ImportReport();
}

void ImportJob::RunText(const ImportRequest& request, ImportOutcome& outcome) {
  TAEHtoTxt text;
  text.SetLinkedAEHset(&m_set);
  text.ImportBackgroundColour = request.backgroundColour;
  text.ImportBackgroundImage = request.backgroundImage;
  text.OnExpProgress = Progress;
  const int first = text.ImportFiles(request.files, false);
  outcome.firstPage = text.PagesMade() > 0 ? first : -1;
}

void ImportJob::RunDoc(const ImportRequest& request, ImportOutcome& outcome) {
  if (m_process == nullptr) {
    outcome.error = kNoWordProcessor;
    return;
  }
  // The converted files live in a folder of their own for the run and go
  // with it; the author's documents are only read.
  static std::atomic<int> counter{0};
  const fs::path folder = m_set.TempFolder() / ("rtftmpI-" + std::to_string(::getpid()) + "-" +
                                                std::to_string(counter++));
  DocConverter word(*m_process, request.wordProcessor, WordProcessorProfile);
  word.TimeoutMs = WordProcessorTimeoutMs;
  if (Progress != nullptr) word.WhileWaiting = [this] { Progress->ProcessPendingEvents(); };
  std::vector<fs::path> converted;
  for (const fs::path& file : request.files) {
    if (Cancelled()) break;
    // An RTF file needs no word processor.
    std::string extension = file.extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension == ".rtf") {
      converted.push_back(file);
      continue;
    }
    const DocConversion result = word.Convert(file, folder, "rtf");
    if (!result.ok) {
      // The remaining files are not converted.
      outcome.error = result.error;
      break;
    }
    converted.push_back(result.output);
  }
  if (!converted.empty() && !Cancelled()) RunRtf(request, converted, outcome);
  std::error_code ec;
  fs::remove_all(folder, ec);
}

std::vector<std::string> ImportJob::WinHelpReportLines(const std::vector<ImportReportEntry>& report) {
  std::vector<std::string> lines;
  static const char* const kHeadings[] = {"  Imported pages:", "  Imported keywords:", "  Non imported links:"};
  for (int kind = 0; kind < 3; ++kind) {
    lines.emplace_back(kHeadings[kind]);
    bool any = false;
    for (const ImportReportEntry& entry : report) {
      if (entry.kind != kind) continue;
      lines.push_back(entry.text);
      any = true;
    }
    if (kind == 2 && !any) lines.emplace_back("none");
  }
  return lines;
}

}  // namespace tarn::convert
