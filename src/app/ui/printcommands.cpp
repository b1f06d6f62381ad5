// The printing commands of the main window; see printcommands.h.
#include "app/ui/printcommands.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QSpinBox>
#include <QStatusBar>

#include <filesystem>

#include "app/ui/commandset.h"
#include "app/ui/editorcontrol.h"
#include "app/documentfiles.h"
#include "document/aehset.h"
#include "document/aehtesto.h"
#include "platform/messages.h"
#include "platform/qt/qtprinter.h"
#include "platform/qt/qtstrings.h"
#include "platform/registry.h"
#include "print/pagesetupdialog.h"
#include "print/ui/fprintersetup.h"
#include "print/ui/fstampa.h"

namespace tarn::app::ui {
namespace {

constexpr int kStatusTimeout = 8000;

}  // namespace

PrintCommands::PrintCommands(CommandSet& commands, Host host, QObject* parent)
    : QObject(parent), m_host(std::move(host)), m_printer(std::make_unique<platform::qt::QtPrinter>()) {
  // The window's page setup: 25 mm margins, no minimum of its own, the
  // stored profile "PrinterSettings1".
  m_setup = std::make_unique<print::TPageSetupDialog>(*m_printer, m_host.registry.Store(), m_host.messages);
  m_setup->SetOptions(print::poDefaultMinMargins | print::poMargins | print::poHundredthsOfMillimeters);
  m_setup->TakeMargins(print::kDefaultMargin, print::kDefaultMargin, print::kDefaultMargin, print::kDefaultMargin);
  m_setup->RegString = std::string(print::kMainRegString);
  m_setup->SetIniSettings(std::string(print::kMainIniSettings));

  commands.Bind("FilePrint", [this](const CommandCall&) { FilePrint(); });
  commands.Bind("Stampatutte1Click", [this](const CommandCall&) { PrintAll(); });
  commands.Bind("Ordinepredefinitopagine1Click", [this](const CommandCall&) { PageOrder(); });
  commands.Bind("Stampapaginacorrente1Click", [this](const CommandCall&) { PrintPresentPage(); });
  commands.Bind("Impostastampante1Click", [this](const CommandCall&) { PrinterSetup(&m_host.window); });
  commands.Bind("Impostamargini1Click", [this](const CommandCall&) { MarginsSetup(&m_host.window); });
}

PrintCommands::~PrintCommands() = default;

void PrintCommands::FilePrint() { ShowDialog(false, false); }
void PrintCommands::PrintAll() { ShowDialog(true, false); }
void PrintCommands::PageOrder() { ShowDialog(false, true); }

void PrintCommands::ShowDialog(bool all, bool pageOrder) {
  if (m_host.commitPage) m_host.commitPage();
  print::ui::PrintDialogHost host{m_host.set, m_host.messages, m_host.registry, *m_setup,
                                  [this] { return m_host.editor.MainPageNumber(); },
                                  m_host.editMode, m_host.changed,
                                  [this](QWidget* parent) { return PrepareOutput(parent); },
                                  [this](QWidget* parent) { PrinterSetup(parent); },
                                  [this](QWidget* parent) { MarginsSetup(parent); }};
  print::ui::TFstampa dialog(std::move(host),
                             pageOrder ? print::ui::TFstampa::Mode::PageOrder : print::ui::TFstampa::Mode::Print,
                             &m_host.window);
  if (!pageOrder) {
    // The choices of the last printing stay for the next one.
    if (dialog.PageBackground() != nullptr) dialog.PageBackground()->setChecked(m_options.pageBackground);
    if (dialog.TableBackground() != nullptr) dialog.TableBackground()->setChecked(m_options.tableBackground);
    if (dialog.ImageScale() != nullptr) dialog.ImageScale()->setValue(m_options.imageScale);
  }
  if (all) dialog.AllInDefaultOrder();
  connect(&dialog, &QDialog::accepted, this, [this, &dialog] {
    if (dialog.DialogMode() != print::ui::TFstampa::Mode::Print) return;
    m_options = dialog.Options();
    Report(dialog.Printed(), dialog.List().Sheets());
  });
  if (runDialog) {
    runDialog(dialog);
  } else {
    dialog.exec();
  }
  m_host.editor.RestoreFocus();
}

void PrintCommands::PrintPresentPage() {
  if (m_host.commitPage) m_host.commitPage();
  if (!m_setup->CheckPrinters()) return;
  const long page = m_host.editor.MainPageNumber();
  auto* record = page >= 0 ? dynamic_cast<document::TAEHtesto*>(m_host.set.GetObject(document::testoHtml, static_cast<int>(page)))
                           : nullptr;
  if (record == nullptr || record->IsFree()) return;
  if (!PrepareOutput(&m_host.window)) return;
  print::PrintList list(m_host.set);
  list.Add(record->GetId());
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const int printed = list.Print(static_cast<int>(page), *m_setup, m_options);
  QApplication::restoreOverrideCursor();
  if (printed > 0) Report(printed, list.Sheets());
  m_host.editor.RestoreFocus();
}

void PrintCommands::PrinterSetup(QWidget* parent) {
  if (!m_setup->CheckPrinters()) return;
  print::ui::TFprinterSetup dialog(*m_setup, *m_printer, parent);
  dialog.exec();
}

void PrintCommands::MarginsSetup(QWidget* parent) { print::ui::ExecutePageSetup(parent, *m_setup, *m_printer); }

bool PrintCommands::PrepareOutput(QWidget* parent) {
  if (!m_printer->PrintsToFile()) return true;
  std::string file;
  if (askPdfFile) {
    file = askPdfFile(parent, ProposedPdfName());
  } else {
    const QString chosen = QFileDialog::getSaveFileName(parent, QStringLiteral("Print to PDF file"),
                                                        platform::qt::PathToQString(ProposedPdfName()),
                                                        QStringLiteral("PDF files (*.pdf)"));
    file = chosen.toStdString();
  }
  if (file.empty()) return false;
  if (std::filesystem::path(file).extension().empty()) file += ".pdf";
  m_printer->SetOutputFile(file);
  return true;
}

// The hypertext's name with ".pdf", beside it; for a new hypertext in the
// home folder.
std::string PrintCommands::ProposedPdfName() const {
  const std::string name = m_host.documentName ? m_host.documentName() : std::string();
  std::filesystem::path path = name.empty() || name == kUntitled ? std::filesystem::path(QDir::homePath().toStdString()) / "Untitled"
                                                                 : std::filesystem::path(name);
  path.replace_extension(".pdf");
  return path.string();
}

void PrintCommands::Report(int pages, int sheets) {
  if (m_host.statusBar == nullptr) return;
  QString text = QStringLiteral("Printed %1 page(s) on %2 sheet(s)").arg(pages).arg(sheets);
  if (m_printer->PrintsToFile()) text += QStringLiteral(" into ") + platform::qt::PathToQString(m_printer->OutputFile().string());
  m_host.statusBar->showMessage(text, kStatusTimeout);
}

}  // namespace tarn::app::ui
