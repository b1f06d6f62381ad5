// One export run of the export dialog; see exportjob.h.
#include "convert/exportjob.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <system_error>

#include <unistd.h>

#include "convert/aehtohtml.h"
#include "convert/aehtortf.h"
#include "convert/aehtotxt.h"
#include "convert/docconvert.h"
#include "convert/exportprogress.h"
#include "document/aehset.h"
#include "platform/process.h"

namespace tarn::convert {
namespace {

namespace fs = std::filesystem;

// The staging folder: hidden, inside the target so that the final move is a
// rename on the same file system.
fs::path StagingFolder(const fs::path& target) {
  static std::atomic<int> counter{0};
  return target / (".tarn-export-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
}

// Moves every file of the staging folder to the same place under target.
bool MoveStaged(const fs::path& stage, const fs::path& target, std::vector<fs::path>& written, std::string& error) {
  std::error_code ec;
  std::vector<fs::path> files;
  for (auto it = fs::recursive_directory_iterator(stage, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    if (it->is_regular_file(ec)) files.push_back(it->path());
  }
  if (ec) {
    error = "Cannot read " + stage.string() + ": " + ec.message();
    return false;
  }
  for (const fs::path& file : files) {
    const fs::path destination = target / fs::relative(file, stage, ec);
    fs::create_directories(destination.parent_path(), ec);
    // rename replaces a file or a link at the destination; it never writes
    // through a link.
    fs::rename(file, destination, ec);
    if (ec) {
      error = "Cannot write " + destination.string() + ": " + ec.message();
      return false;
    }
    written.push_back(destination);
  }
  return true;
}

class StageGuard {
 public:
  explicit StageGuard(fs::path stage) : m_stage(std::move(stage)) {}
  ~StageGuard() {
    std::error_code ec;
    fs::remove_all(m_stage, ec);
  }
  StageGuard(const StageGuard&) = delete;
  StageGuard& operator=(const StageGuard&) = delete;

 private:
  fs::path m_stage;
};

}  // namespace

ExportJob::ExportJob(document::TAEHset& set, platform::Process* process) : m_set(set), m_process(process) {}

int ExportJob::Twips(int millimetres) { return static_cast<int>(std::lround(millimetres * 1440.0 / 25.4)); }

fs::path ExportJob::ProjectFileName(const fs::path& rtf) {
  fs::path project = rtf;
  project.replace_extension(".HPJ");
  return project;
}

bool TransferJob::Cancelled() const { return Progress != nullptr && Progress->CancelRequested(); }

ExportOutcome ExportJob::Run(const ExportRequest& request) {
  ExportOutcome outcome;
  std::error_code ec;
  fs::create_directories(request.folder, ec);
  if (!fs::is_directory(request.folder, ec)) {
    outcome.error = "Error creating directory: \"" + request.folder.string() + "\" check the \"path\" tab.";
    return outcome;
  }
  const bool oneFile = request.format != kExpHtml && request.format != kExpRtfPerPage;
  if (oneFile && fs::path(request.mainFile).filename().empty()) {
    outcome.error = "Please give the name of the file to export into.";
    return outcome;
  }
  // Nothing checked: the folder is made and nothing else is written.
  if (request.pages.empty() && (request.format != kExpHtml || request.filesChosen.empty())) {
    outcome.ok = true;
    return outcome;
  }
  const fs::path stage = StagingFolder(request.folder);
  StageGuard guard(stage);
  fs::create_directories(stage, ec);
  if (ec) {
    outcome.error = "Error creating directory: \"" + stage.string() + "\" check the \"path\" tab.";
    return outcome;
  }
  bool ok = false;
  switch (request.format) {
    case kExpHtml: ok = RunHtml(request, stage, outcome); break;
    case kExpRtf:
    case kExpRtfPerPage:
    case kExpWinHelp: ok = RunRtf(request, stage, fs::path(request.mainFile).filename().string(), outcome); break;
    case kExpAscii: ok = RunText(request, stage, outcome); break;
    case kExpDoc: ok = RunDoc(request, stage, outcome); break;
    default: outcome.error = "Unknown export format " + std::to_string(request.format) + "."; break;
  }
  if (Cancelled()) {
    outcome.cancelled = true;
    outcome.error = kExportCancelled;
    outcome.errorShown = false;
    return outcome;
  }
  if (!ok) return outcome;
  if (!MoveStaged(stage, request.folder, outcome.written, outcome.error)) return outcome;
  outcome.ok = true;
  if (request.format == kExpWinHelp && request.runHelpCompiler) RunHelpCompiler(request, outcome);
  return outcome;
}

bool ExportJob::RunHtml(const ExportRequest& request, const fs::path& stage, ExportOutcome& outcome) {
  TAEHtoHtml html;
  html.SetLinkedAEHset(&m_set);
  html.ExportPath = stage;
  html.SetExportPrefixOverride(m_set.ExpPrefix());
  html.AutoAlt = request.html.autoAlt;
  html.ExpOrigName = request.html.origName;
  html.ExpSepImage = request.html.sepImage;
  html.ExpTipoExt = request.html.tipoExt == 0 ? 0 : 1;
  html.ExpUtf8 = request.html.utf8;
  html.OnExpProgress = Progress;
  std::vector<std::int32_t> copied;
  html.CopyFileFilter = [&](const document::TAEHoggetto& record) {
    const std::int32_t id = record.GetId();
    if (std::find(request.filesLeftOut.begin(), request.filesLeftOut.end(), id) != request.filesLeftOut.end()) {
      return false;
    }
    copied.push_back(id);
    return true;
  };
  bool ok = html.ExportSite(request.pages);
  // Files chosen in the list that no exported page used.
  RecordList extra;
  for (const std::int32_t id : request.filesChosen) {
    document::TAEHoggetto* record = m_set.GetObjectById(id);
    if (record != nullptr && !record->IsFree() && std::find(copied.begin(), copied.end(), id) == copied.end()) {
      extra.Add(record);
    }
  }
  if (ok && extra.Size() > 0 && !Cancelled()) ok = html.CopyFiles(extra);
  if (ok) return true;
  outcome.error = html.ErrorText();
  return false;
}

bool ExportJob::RunRtf(const ExportRequest& request, const fs::path& stage, const std::string& mainFile,
                       ExportOutcome& outcome) {
  TAEHtortf rtf;
  rtf.SetLinkedAEHset(&m_set);
  rtf.SetExportPrefixOverride(m_set.ExpPrefix());
  rtf.OnExpProgress = Progress;
  rtf.ExportPath = stage;
  rtf.PaperWidth = Twips(request.size.width);
  rtf.PaperHeight = Twips(request.size.height);
  rtf.TopMargin = Twips(request.size.top);
  rtf.BottomMargin = Twips(request.size.bottom);
  rtf.LeftMargin = Twips(request.size.left);
  rtf.RightMargin = Twips(request.size.right);
  bool ok = false;
  if (request.format == kExpRtfPerPage) {
    ok = rtf.ExportPagesPerFile(request.pages);
  } else {
    rtf.ExportFileName = stage / mainFile;
    rtf.WinHelp = request.format == kExpWinHelp;
    rtf.TitlesAsKeywords = rtf.WinHelp && request.titlesAsKeywords;
    ok = rtf.ExportPageList(request.pages);
    if (ok && rtf.WinHelp) ok = rtf.WriteHelpProject(ProjectFileName(rtf.ExportFileName), request.pages);
  }
  if (!ok) {
    outcome.error = rtf.ErrorText().empty() ? "The RTF export did not finish." : rtf.ErrorText();
    // The converter has told the author of its own failures.
    outcome.errorShown = !Cancelled();
  }
  return ok;
}

bool ExportJob::RunText(const ExportRequest& request, const fs::path& stage, ExportOutcome& outcome) {
  TAEHtoTxt text;
  text.SetLinkedAEHset(&m_set);
  text.OnExpProgress = Progress;
  text.ExportPath = stage;
  text.ExportFileName = stage / fs::path(request.mainFile).filename();
  if (text.ExportPageList(request.pages)) return true;
  outcome.error = text.ErrorText();
  return false;
}

bool ExportJob::RunDoc(const ExportRequest& request, const fs::path& stage, ExportOutcome& outcome) {
  if (m_process == nullptr) {
    outcome.error = kNoWordProcessor;
    return false;
  }
  // The RTF goes into a folder of its own inside the staging folder, so
  // that only the DOC file is moved to the target.
  const fs::path rtfFolder = stage / "rtftmp";
  std::error_code ec;
  fs::create_directories(rtfFolder, ec);
  fs::path rtfName = fs::path(request.mainFile).filename();
  rtfName.replace_extension(".rtf");
  ExportRequest rtfRequest = request;
  rtfRequest.format = kExpRtf;
  if (!RunRtf(rtfRequest, rtfFolder, rtfName.string(), outcome)) return false;
  // The conversion is the run's third phase, one step long.
  const TAEHtoTxt sender;
  if (Progress != nullptr) Progress->OnExpProgress(sender, 0, 1, kPhaseFiles);
  DocConverter word(*m_process, request.wordProcessor, WordProcessorProfile);
  word.TimeoutMs = WordProcessorTimeoutMs;
  if (Progress != nullptr) word.WhileWaiting = [this] { Progress->ProcessPendingEvents(); };
  const DocConversion converted = word.Convert(rtfFolder / rtfName, rtfFolder, "doc");
  if (!converted.ok) {
    outcome.error = converted.error;
    return false;
  }
  if (Cancelled()) return false;
  fs::rename(converted.output, stage / fs::path(request.mainFile).filename(), ec);
  if (ec) {
    outcome.error = "Cannot write " + request.mainFile + ": " + ec.message();
    return false;
  }
  fs::remove_all(rtfFolder, ec);
  return true;
}

void ExportJob::RunHelpCompiler(const ExportRequest& request, ExportOutcome& outcome) {
  const fs::path rtf = request.folder / fs::path(request.mainFile).filename();
  const fs::path project = ProjectFileName(rtf);
  std::vector<std::string> command;
  if (request.registeredHelpCompiler) {
    if (RegisteredProgram) command = RegisteredProgram(project);
  } else if (!request.helpCompiler.empty()) {
    command = {request.helpCompiler, project.string()};
  }
  if (command.empty() || m_process == nullptr) {
    outcome.note = "No help compiler is configured, so none was run; the help sources were kept in " +
                   request.folder.string() + " (" + project.filename().string() + ").";
    return;
  }
  // The old help file would otherwise pass for the new one.
  fs::path help = rtf;
  help.replace_extension(".hlp");
  std::error_code ec;
  fs::remove(help, ec);
  const std::string program = command.front();
  command.erase(command.begin());
  if (!m_process->StartDetached(program, command, request.folder.string())) {
    outcome.note = "The help compiler \"" + program + "\" could not be started; the help sources were kept in " +
                   request.folder.string() + ".";
  }
}

}  // namespace tarn::convert
