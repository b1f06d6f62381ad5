// Export and browser preview from the main window; see exportcommands.h.
#include "app/ui/exportcommands.h"

#include <QApplication>
#include <QLineEdit>
#include <QProgressBar>
#include <QStatusBar>

#include "app/selectionfeedback.h"
#include "app/ui/commandset.h"
#include "app/ui/editorcontrol.h"
#include "app/ui/fexp.h"
#include "app/ui/fimp.h"
#include "app/documentfiles.h"
#include "convert/aehtohtml.h"
#include "convert/docconvert.h"
#include "convert/exportjob.h"
#include "convert/importjob.h"
#include "document/aehset.h"
#include "document/objectkinds.h"
#include "platform/messages.h"
#include "platform/process.h"
#include "platform/qt/qtstrings.h"
#include "platform/registry.h"
#include "base/cp1252.h"

namespace tarn::app::ui {
namespace {

// The program that opens a file or address the way the desktop would.
constexpr const char* kDesktopOpener = "xdg-open";
// The options of the HTML export and the folder the export dialog keeps.
constexpr const char* kHtmlFormatKey = "exp\\0";
constexpr const char* kFolderValue = "expPathInWindow";

// Shows an export's progress in the status bar: "Exporting, phase N: P%"
// and a bar, repainted at once; the window stays responsive between pages.
class StatusProgress : public convert::ExportProgress {
 public:
  StatusProgress(QStatusBar* bar, QProgressBar* progress) : m_bar(bar), m_progress(progress) {
    if (m_progress != nullptr) {
      m_progress->setRange(0, 100);
      m_progress->setValue(0);
      m_progress->show();
    }
  }
  ~StatusProgress() override {
    if (m_progress != nullptr) m_progress->hide();
    if (m_bar != nullptr) m_bar->clearMessage();
  }
  StatusProgress(const StatusProgress&) = delete;
  StatusProgress& operator=(const StatusProgress&) = delete;

  void OnExpProgress(const convert::TAEHconv&, int item, int total, int phase) override {
    const int percent = total > 0 ? item * 100 / total : 100;
    if (m_bar != nullptr) {
      m_bar->showMessage(QString::fromStdString(ExportProgressText(phase, item, total)));
      m_bar->repaint();
    }
    if (m_progress != nullptr) {
      m_progress->setValue(((phase - 1) * 100 + percent) / 3);
      m_progress->repaint();
    }
  }
  void ProcessPendingEvents() override { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

 private:
  QStatusBar* m_bar;
  QProgressBar* m_progress;
};

class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

std::vector<int> AllPages(const document::TAEHset& set) {
  std::vector<int> pages;
  for (int i = 0; i < set.CountOf(document::testoHtml); ++i) {
    if (set.GetObject(document::testoHtml, i) != nullptr) pages.push_back(i);
  }
  return pages;
}

}  // namespace

ExportCommands::ExportCommands(CommandSet& commands, Host host, QObject* parent)
    : QObject(parent), m_host(std::move(host)) {
  if (m_host.statusBar != nullptr) {
    m_progress = new QProgressBar(m_host.statusBar);
    m_progress->setObjectName(QStringLiteral("ExportProgress"));
    m_progress->setMaximumWidth(160);
    m_progress->hide();
    m_host.statusBar->addPermanentWidget(m_progress);
  }
  DialogRunner = [](QDialog& dialog) { return dialog.exec(); };
  // Export pages and Export Html propose the hypertext's name as ".htm",
  // Export WinHelp as ".rtf" (which preselects RTF in one file).
  commands.Bind("BFileExportClick", [this](const CommandCall&) {
    OpenExportDialog(ProposedName(".htm"));
    m_host.editor.RestoreFocus();
  });
  commands.Bind("EsportaHtml1Click", [this](const CommandCall&) {
    OpenExportDialog(ProposedName(".htm"));
    m_host.editor.RestoreFocus();
  });
  commands.Bind("EsportaWinHelp1Click", [this](const CommandCall&) {
    OpenExportDialog(ProposedName(".rtf"));
    m_host.editor.RestoreFocus();
  });
  for (const char* handler : {"Importa1Click", "BFileImportClick"}) {
    commands.Bind(handler, [this](const CommandCall&) {
      OpenImportDialog({});
      m_host.editor.RestoreFocus();
    });
  }
  commands.Bind("Correntepagina1Click", [this](const CommandCall& call) {
    Preview(false, call.entry.tag);
    m_host.editor.RestoreFocus();
  });
  commands.Bind("PreviewHypertextClick", [this](const CommandCall& call) {
    Preview(true, call.entry.tag);
    m_host.editor.RestoreFocus();
  });
}

bool ExportCommands::RunExport(const std::filesystem::path& folder, const std::vector<int>& pages) {
  convert::TAEHtoHtml converter;
  converter.SetLinkedAEHset(&m_host.set);
  converter.ExportPath = folder;
  converter.SetExportPrefixOverride(m_host.set.ExpPrefix());
  // The HTML options the author set in the export dialog.
  const convert::HtmlExportOptions options = TFopzExp::Read(m_host.registry);
  converter.ExpOrigName = options.origName;
  converter.ExpSepImage = options.sepImage;
  converter.AutoAlt = options.autoAlt;
  converter.ExpTipoExt = options.tipoExt;
  converter.ExpUtf8 = options.utf8;
  WaitCursor wait;
  StatusProgress progress(m_host.statusBar, m_progress);
  converter.OnExpProgress = &progress;
  const bool ok = converter.ExportSite(pages);
  if (!ok) m_host.messages.Error(converter.ErrorText());
  return ok;
}

std::string ExportCommands::ProposedName(const char* extension) const {
  std::filesystem::path file = m_host.set.AEHFileName();
  if (file.empty()) {
    const std::string folder = StoredOrDefaultFolder(m_host.registry.ReadSubkeyValue(kHtmlFormatKey, kFolderValue));
    file = std::filesystem::path(folder) / (m_host.set.ExpPrefix().empty() ? "untitled" : m_host.set.ExpPrefix());
  }
  return file.replace_extension(extension).string();
}

bool ExportCommands::OpenExportDialog(const std::string& proposed) {
  m_host.commitPage();
  TFexp::Host host{{m_host.set, m_host.registry, m_host.messages, m_host.process,
                    m_host.wordProcessor ? m_host.wordProcessor() : false, convert::DefaultWordProcessorProfile()},
                   m_host.askFolder,
                   {}};
  if (m_host.programFor) {
    host.registeredProgram = [this](const std::filesystem::path& project) { return m_host.programFor(project); };
  }
  TFexp dialog(std::move(host), m_host.statusBar != nullptr ? m_host.statusBar->window() : nullptr);
  dialog.Prepare(proposed);
  if (DialogRunner(dialog) != QDialog::Accepted) return false;
  const convert::ExportOutcome& outcome = dialog.Outcome();
  if (m_host.statusBar != nullptr) {
    m_host.statusBar->showMessage(QString::fromStdString("The export wrote " + std::to_string(outcome.written.size()) +
                                                         (outcome.written.size() == 1 ? " file to " : " files to ")) +
                                  dialog.Folder()->text());
  }
  return true;
}

int ExportCommands::OpenImportDialog(const std::vector<std::string>& files) {
  return RunImportDialog([&](TFimp& dialog) { dialog.OpenWith(files); });
}

int ExportCommands::OpenAutomaticImport(const std::string& start) {
  return RunImportDialog([&](TFimp& dialog) { dialog.OpenAutomatic(start); });
}

int ExportCommands::RunImportDialog(const std::function<void(TFimp&)>& prepare) {
  m_host.commitPage();
  TFimp dialog({m_host.set, m_host.registry, m_host.messages, m_host.process,
                m_host.wordProcessor ? m_host.wordProcessor() : false, convert::DefaultWordProcessorProfile()},
               m_host.statusBar != nullptr ? m_host.statusBar->window() : nullptr);
  prepare(dialog);
  // The page shown is closed while pages come in: the first imported page
  // may take the place of an empty first page, and the editor's copy of
  // that page must not be written back over it.
  const long shown = m_host.editor.MainPageNumber();
  m_host.editor.SetMainPageNumber(-1);
  const bool ran = DialogRunner(dialog) == QDialog::Accepted;
  return AfterImport(ran ? dialog.Outcome() : convert::ImportOutcome{}, shown);
}

int ExportCommands::AfterImport(const convert::ImportOutcome& outcome, long shown) {
  if (outcome.pagesMade > 0 && m_host.imported) {
    m_host.imported(outcome.firstPage >= 0 ? outcome.firstPage : static_cast<int>(shown));
  } else {
    m_host.editor.SetMainPageNumber(shown);
  }
  return outcome.pagesMade > 0 ? outcome.firstPage : -1;
}

int ExportCommands::ImportDirectly(const std::string& file) {
  const std::string extension = base::LowerCase(std::filesystem::path(file).extension().string());
  convert::ImportRequest request;
  request.files = {file};
  request.format = extension == ".rtf"                          ? convert::kImpRtfPages
                   : extension == ".doc" || extension == ".wri"     ? convert::kImpDocPages
                   : extension == ".htm" || extension == ".html"    ? convert::kImpHtml
                                                                    : convert::kImpAscii;
  request.wordProcessor = m_host.registry.ReadOption(kWordProcessorOption);
  convert::ImportJob job(m_host.set, &m_host.process);
  job.WordProcessorProfile = convert::DefaultWordProcessorProfile();
  const long shown = m_host.editor.MainPageNumber();
  m_host.editor.SetMainPageNumber(-1);
  WaitCursor wait;
  StatusProgress progress(m_host.statusBar, m_progress);
  job.Progress = &progress;
  const convert::ImportOutcome outcome = job.Run(request);
  if (!outcome.error.empty()) m_host.messages.Error(outcome.error);
  return AfterImport(outcome, shown);
}

bool ExportCommands::SaveAsOtherFormat(const std::string& name, int kind) {
  if (kind != 3 && kind != 4 && kind != 5) return OpenExportDialog(name);
  m_host.commitPage();
  const long page = m_host.editor.MainPageNumber();
  if (page < 0) return false;
  const std::filesystem::path path(name);
  convert::ExportRequest request;
  request.format = kind == 3 ? convert::kExpHtml : kind == 4 ? convert::kExpRtf : convert::kExpAscii;
  request.folder = path.parent_path().empty() ? std::filesystem::path(".") : path.parent_path();
  request.mainFile = path.filename().string();
  request.pages = {static_cast<int>(page)};
  request.html = TFopzExp::Read(m_host.registry);
  convert::ExportJob job(m_host.set, &m_host.process);
  WaitCursor wait;
  StatusProgress progress(m_host.statusBar, m_progress);
  job.Progress = &progress;
  const convert::ExportOutcome outcome = job.Run(request);
  if (!outcome.ok && !outcome.errorShown) m_host.messages.Error(outcome.error);
  return outcome.ok;
}

std::filesystem::path ExportCommands::PreviewFolder() const { return m_host.set.TempFolder() / "TmpHP"; }

bool ExportCommands::Preview(bool wholeHypertext, int browser) {
  m_host.commitPage();
  const long page = m_host.editor.MainPageNumber();
  document::TAEHoggetto* record = page >= 0 ? m_host.set.GetObject(document::testoHtml, page) : nullptr;
  if (record == nullptr) return false;
  const std::filesystem::path folder = PreviewFolder();
  if (!RunExport(folder, wholeHypertext ? AllPages(m_host.set) : std::vector<int>{static_cast<int>(page)})) {
    return false;
  }
  convert::TAEHtoHtml names;
  names.SetLinkedAEHset(&m_host.set);
  names.ExportPath = folder;
  names.SetExportPrefixOverride(m_host.set.ExpPrefix());
  names.ExpTipoExt = TFopzExp::Read(m_host.registry).tipoExt;
  const std::filesystem::path file = folder / names.OutputFileName(*record, convert::kMainName);
  if (browser < 0) return OpenWithDesktop(file.string());
  const std::string program = m_host.registry.ReadSubkeyValue("Browser\\" + std::to_string(browser), "appPath");
  if (!program.empty() && m_host.process.StartDetached(program, {"file://" + file.string()})) return true;
  m_host.messages.Error("The browser could not be started: " + (program.empty() ? std::string("(none)") : program));
  return false;
}

bool ExportCommands::OpenWithDesktop(const std::string& target) {
  if (m_host.process.StartDetached(kDesktopOpener, {target})) return true;
  m_host.messages.Error("Could not open " + target + ": the program \"xdg-open\" was not found.");
  return false;
}

bool ExportCommands::OpenFileObject(document::TAEHoggetto& file) {
  const std::filesystem::path written = WriteFileObject(file);
  return !written.empty() && OpenWithDesktop(written.string());
}

std::filesystem::path ExportCommands::WriteFileObject(document::TAEHoggetto& file) {
  convert::TAEHtoHtml writer;
  writer.SetLinkedAEHset(&m_host.set);
  writer.ExportPath = PreviewFolder();
  writer.SetExportPrefixOverride(m_host.set.ExpPrefix());
  convert::RecordList files;
  files.Add(&file);
  if (!writer.CopyFiles(files)) {
    m_host.messages.Error(writer.ErrorText());
    return {};
  }
  return writer.ExportPath / writer.OutputFileName(file, convert::kFileObjectName);
}

}  // namespace tarn::app::ui
