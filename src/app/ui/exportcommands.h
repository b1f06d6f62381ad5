// The commands that export and import: the export dialog (every format, the
// save-as kinds that convert), the import dialog (also for files opened by
// type or dropped on the window), the browser preview of the page or of the
// whole hypertext, and opening addresses and files that preview links lead
// to.
#pragma once

#include <QObject>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class QDialog;
class QProgressBar;
class QStatusBar;

namespace tarn::convert {
struct ImportOutcome;
}
namespace tarn::document {
class TAEHoggetto;
class TAEHset;
}  // namespace tarn::document
namespace tarn::platform {
class Messages;
class Process;
class Registry;
}  // namespace tarn::platform

namespace tarn::app::ui {

class CommandSet;
class EditorControl;
class TFimp;

class ExportCommands : public QObject {
 public:
  struct Host {
    document::TAEHset& set;
    EditorControl& editor;
    platform::Messages& messages;
    platform::Registry& registry;
    platform::Process& process;
    QStatusBar* statusBar;
    // Writes the page being edited back into the hypertext.
    std::function<void()> commitPage;
    // The folder to export into; empty when the author cancelled.
    std::function<std::string(const std::string& proposed)> askFolder;
    // Whether a word processor converts DOC files.
    std::function<bool()> wordProcessor;
    // After an import made pages: show this one (-1: leave the page shown).
    std::function<void(int page)> imported;
    // The command of the program the options name for a file's extension.
    std::function<std::vector<std::string>(const std::filesystem::path& file)> programFor;
  };

  ExportCommands(CommandSet& commands, Host host, QObject* parent);

  // Exports the main page (or every page) into the hypertext's temporary
  // folder and shows the main page's file: with the desktop's program for
  // it (browser -1) or with configured browser n.
  bool Preview(bool wholeHypertext, int browser);
  // Hands an address ("http:", "mailto:", a file) to the desktop.
  bool OpenWithDesktop(const std::string& target);
  // A file kept in the hypertext, written out to the preview folder and
  // handed to the desktop.
  bool OpenFileObject(document::TAEHoggetto& file);
  // The file written out to the preview folder; empty (the author told)
  // when it could not be written.
  std::filesystem::path WriteFileObject(document::TAEHoggetto& file);
  // Where the preview writes (the hypertext's temporary folder).
  std::filesystem::path PreviewFolder() const;

  // The export dialog with a proposed main file; true when it exported.
  bool OpenExportDialog(const std::string& proposed);
  // The import dialog, with files to start from (none: the stored choice);
  // answers the first page imported, -1 when none.
  int OpenImportDialog(const std::vector<std::string>& files);
  // The import dialog on its automatic HTML import from the start page,
  // the linked pages listed; answers the first page imported, -1 when the
  // author cancelled or nothing came in.
  int OpenAutomaticImport(const std::string& start);
  // One file imported at once, as its extension says, without the dialog.
  int ImportDirectly(const std::string& file);
  // The save dialog's kinds that convert: 3 the page as HTML, 4 as RTF, 5
  // as text; the others open the export dialog for the name.
  bool SaveAsOtherFormat(const std::string& name, int kind);
  // Runs a dialog modally; tests answer it instead.
  std::function<int(QDialog& dialog)> DialogRunner;

 private:
  bool RunExport(const std::filesystem::path& folder, const std::vector<int>& pages);
  std::string ProposedName(const char* extension) const;
  // The import dialog, prepared by the caller, run modally.
  int RunImportDialog(const std::function<void(TFimp&)>& prepare);
  // Shows the first page an import made, or again the page shown before.
  int AfterImport(const convert::ImportOutcome& outcome, long shown);

  Host m_host;
  QProgressBar* m_progress = nullptr;
};

}  // namespace tarn::app::ui
