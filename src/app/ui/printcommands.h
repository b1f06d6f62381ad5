// The printing commands of the main window: the print dialog (also set to
// all pages, and in its page-order mode), printing the page shown, the
// printer setup and the margins setup. It owns the window's printer and
// page setup, whose profile is kept in the settings.
#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <string>

#include "print/aehpagep.h"

class QStatusBar;
class QWidget;

namespace tarn::document {
class TAEHset;
}
namespace tarn::platform {
class Messages;
class Registry;
}  // namespace tarn::platform
namespace tarn::platform::qt {
class QtPrinter;
}
namespace tarn::print {
class TPageSetupDialog;
}
namespace tarn::print::ui {
class TFstampa;
}

namespace tarn::app::ui {

class CommandSet;
class EditorControl;

class PrintCommands : public QObject {
 public:
  struct Host {
    document::TAEHset& set;
    EditorControl& editor;
    platform::Messages& messages;
    platform::Registry& registry;
    QWidget& window;
    QStatusBar* statusBar;
    // Writes the page being edited back into the hypertext.
    std::function<void()> commitPage;
    // Whether the hypertext is being edited (the page order may change).
    std::function<bool()> editMode;
    // The page order changed.
    std::function<void()> changed;
    // The hypertext's file name (empty or "Untitled" for a new one).
    std::function<std::string()> documentName;
  };

  PrintCommands(CommandSet& commands, Host host, QObject* parent);
  ~PrintCommands() override;

  // The print dialog; with all pages listed; in its page-order mode.
  void FilePrint();
  void PrintAll();
  void PageOrder();
  // The page shown, straight to the printer.
  void PrintPresentPage();
  void PrinterSetup(QWidget* parent);
  void MarginsSetup(QWidget* parent);

  print::TPageSetupDialog& PageSetup() { return *m_setup; }
  platform::qt::QtPrinter& Printer() { return *m_printer; }
  // What the last printing from the dialog chose; the page shown prints so.
  const print::PrintOptions& Options() const { return m_options; }

  // Asks where the PDF printer writes (a file dialog unless replaced):
  // the proposed name in, the chosen one out (empty: cancelled).
  std::function<std::string(QWidget* parent, const std::string& proposed)> askPdfFile;
  // Runs a dialog the commands made (exec unless replaced, for tests).
  std::function<void(print::ui::TFstampa& dialog)> runDialog;

 private:
  void ShowDialog(bool all, bool pageOrder);
  bool PrepareOutput(QWidget* parent);
  std::string ProposedPdfName() const;
  void Report(int pages, int sheets);

  Host m_host;
  std::unique_ptr<platform::qt::QtPrinter> m_printer;
  std::unique_ptr<print::TPageSetupDialog> m_setup;
  print::PrintOptions m_options;
};

}  // namespace tarn::app::ui
