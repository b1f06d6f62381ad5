// Export and browser preview from the main window; see exportcommands.h.
#include "app/ui/exportcommands.h"

#include <QApplication>
#include <QProgressBar>
#include <QStatusBar>

#include "app/selectionfeedback.h"
#include "app/ui/commandset.h"
#include "app/ui/editorcontrol.h"
#include "convert/aehtohtml.h"
#include "document/aehset.h"
#include "document/objectkinds.h"
#include "platform/messages.h"
#include "platform/process.h"
#include "platform/qt/qtstrings.h"
#include "platform/registry.h"

namespace tarn::app::ui {
namespace {

// The program that opens a file or address the way the desktop would.
constexpr const char* kDesktopOpener = "xdg-open";
// The options of the HTML export and the folder the export dialog keeps.
constexpr const char* kHtmlOptions = "htmlexp";
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
  commands.Bind("BFileExportClick", [this](const CommandCall&) {
    m_host.commitPage();
    std::string proposed = m_host.registry.ReadSubkeyValue(kHtmlFormatKey, kFolderValue);
    if (proposed.empty() && !m_host.set.AEHFileName().empty()) {
      const std::filesystem::path file = m_host.set.AEHFileName();
      proposed = (file.parent_path() / file.stem()).string();
    }
    const std::string folder = m_host.askFolder(proposed);
    if (!folder.empty()) ExportSite(folder);
    m_host.editor.RestoreFocus();
  });
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
  // The HTML options the author set; the export dialog will edit them.
  platform::Registry& registry = m_host.registry;
  converter.ExpOrigName = registry.ReadSubkeyValue(kHtmlOptions, "expOrigName") == "1";
  converter.ExpSepImage = registry.ReadSubkeyValue(kHtmlOptions, "expSepImage") == "1";
  converter.AutoAlt = registry.ReadSubkeyValue(kHtmlOptions, "expAlt") != "0";
  converter.ExpTipoExt = platform::ParseNumber(registry.ReadSubkeyValue(kHtmlOptions, "expTipoExt"), 0) == 0 ? 0 : 1;
  // Pages in UTF-8 for sites served so; not an option of the older program,
  // so absent (off) in the settings it wrote.
  converter.ExpUtf8 = registry.ReadSubkeyValue(kHtmlOptions, "expUtf8") == "1";
  WaitCursor wait;
  StatusProgress progress(m_host.statusBar, m_progress);
  converter.OnExpProgress = &progress;
  const bool ok = converter.ExportSite(pages);
  if (!ok) m_host.messages.Error(converter.ErrorText());
  return ok;
}

bool ExportCommands::ExportSite(const std::filesystem::path& folder) {
  const std::vector<int> pages = AllPages(m_host.set);
  if (!RunExport(folder, pages)) return false;
  std::string shown = folder.string();
  if (!shown.empty() && shown.back() != '/') shown += '/';
  m_host.registry.WriteSubkeyValue(kHtmlFormatKey, kFolderValue, shown);
  m_host.messages.Information("The hypertext was exported: " + std::to_string(pages.size()) +
                              (pages.size() == 1 ? " page" : " pages") + " written to " + folder.string() + ".");
  return true;
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
  names.ExpTipoExt = platform::ParseNumber(m_host.registry.ReadSubkeyValue(kHtmlOptions, "expTipoExt"), 0) == 0 ? 0 : 1;
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
