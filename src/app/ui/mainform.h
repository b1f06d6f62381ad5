// The main window: one open hypertext, the control that shows its current
// page, opening, creating, saving and closing hypertexts, edit and preview,
// the status bar, the recent files and the timers. Its menus, toolbars and
// popups are the command table's (CommandSet); each area binds its own
// commands.
#pragma once

#include <QMainWindow>
#include <QPointer>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/commandline.h"
#include "app/documentfiles.h"
#include "app/optionshost.h"
#include "app/recentfiles.h"
#include "convert/clipboardformats.h"
#include "document/aehset.h"
#include "platform/qt/qtcanvas.h"
#include "platform/eventloop.h"
#include "platform/qt/qtclipboard.h"
#include "platform/registry.h"
#include "platform/system.h"

class QAction;
class QLabel;
class QMenu;
class QToolButton;

namespace tarn::platform {
class Messages;
class Process;
class Settings;
}  // namespace tarn::platform

namespace tarn::app {
class LinkedApplications;
}

namespace tarn::app::ui {

class SearchCommands;

class CommandSet;
class EditorControl;
class ExportCommands;
class PublishCommands;
class LinkFollower;
class PageNavigation;
class PageTreeCommands;
class PrintCommands;
class FormPlacement;
class TKrLanguager;
class ToolWindows;
class WindowFeedback;

// What the window runs on besides the window system; the window's own
// (Qt's event loop, real programs) when not given.
struct WindowServices {
  platform::EventLoop* loop = nullptr;
  platform::Process* process = nullptr;
};

class TMainForm : public QMainWindow, public OptionsHost {
  Q_OBJECT
 public:
  // messages: where message boxes go (the window's own boxes when null).
  TMainForm(platform::Settings& settings, ProgramFolders folders, platform::Messages* messages = nullptr,
            QWidget* parent = nullptr, WindowServices services = {});
  ~TMainForm() override;

  // Start-up after the window is shown: the command line, then the deferred
  // action 300 ms later.
  void FormShow(const CommandLine& command);

  // Operations other parts of the program use.
  void OpenDocumentFile(const std::string& name, bool askSave);
  void LoadHypertext(const std::string& name, bool asTemplate);
  void NewBlankHypertext();
  // False: the author cancelled, and the operation that asked must not go on.
  bool QuerySaveChanges();
  void SaveDocument(const std::string& name, int type, bool exportFlag, bool templateFlag);
  void SetModified(bool value);
  bool IsModified() const;
  void CommitCurrentPage();
  void ReadProgramOptions();
  void FileSave();
  void FileSaveAs();
  // Edit mode (true) or preview; answers whether the mode is now the one
  // asked (a wrong password leaves it unchanged).
  bool SwitchMode(bool edit);
  bool EditMode() const;

  document::TAEHset& Hypertext() { return *m_set; }
  document::TAEHset& CustomLibrary() { return *m_library; }
  QMenu* BrowserPreviewMenu() const { return m_browserMenu; }
  EditorControl& Editor() { return *m_editor; }
  const std::string& FileName() const { return m_fileName; }
  const RecentFiles& Recent() const { return m_recent; }
  QAction* Action(const char* name) const;
  CommandSet& Commands() { return *m_commands; }
  ExportCommands& Exports() { return *m_exports; }
  PageTreeCommands& Pages() { return *m_pages; }
  PrintCommands& Prints() { return *m_prints; }
  SearchCommands& Searches() { return *m_searches; }
  PageNavigation& Navigation() { return *m_navigation; }
  LinkFollower& Links() { return *m_links; }
  WindowFeedback& Feedback() { return *m_feedback; }
  ToolWindows& Tools() { return *m_toolWindows; }
  // Shows the page an internal URL names; another hypertext is opened after
  // the save question.
  void NavigateToUrl(const std::string& address);
  // Preview again after a link read in preview opened another hypertext
  // (which opens for editing): nothing has been edited in it.
  void ContinueReading();
  // Runs the application of a linked file's extension and, when given,
  // calls ended once the author has closed it. False when nothing ran.
  bool RunLinkedApplication(const std::filesystem::path& file, std::function<void()> ended = {});
  LinkedApplications& Applications() { return *m_applications; }
  // The window is closing: links are no longer followed.
  bool Closing() const { return m_closing; }
  void RefreshTextFeedback();
  // Files dropped on the window or on a page (one list, the first file's
  // kind decides).
  void FilesDropped(const std::vector<std::string>& files);
  bool SaveSucceeded() const { return m_saveSucceeded; }
  const platform::Timer& SaveTimer() const { return m_timerSave; }
  NextAction PendingAction() const { return m_nextAction; }
  // Whether a word processor was found for converting documents.
  bool WordProcessorAvailable() const { return m_wordProcessor; }

  // OptionsHost
  int ToolWindowLimit() const override { return m_toolWindowLimit; }
  void SetToolWindowLimit(int limit) override { m_toolWindowLimit = std::max(3, limit); }
  SpellCheckerSettings* SpellChecker() override;
  bool InEditMode() const override { return EditMode(); }
  void SetEditMode(bool edit) override { SwitchMode(edit); }
  void ApplyProgramOptions() override;
  void StopFormPlacement() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Dialogs, separate so that tests can answer them.
  virtual std::string AskOpenFileName();
  virtual std::string AskSaveFileName(const std::string& proposed, int& filterIndex);
  virtual std::optional<std::string> AskPassword();
  virtual void ShowSaveErrors(const std::vector<std::string>& errors);
  // The folder an export goes to; empty when the author cancels.
  virtual std::string AskExportFolder(const std::string& proposed);
  // "Choose application:" for a linked file; empty when cancelled.
  virtual std::string AskApplication(const std::filesystem::path& file);
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BindWindowCommands();
  void ConnectEditor();
  void SetDocumentTitle(const std::string& name);
  void UpdateTitle();
  void AddRecentFile(const std::string& name);
  void RemoveRecentFile(const std::string& name);
  void RebuildRecentMenu();
  void RebuildBrowserMenu();
  void LoadCustomLibrary();
  void StartupDocument();
  void ShowOptions(int tab);
  void RunNextAction();
  void SaveReminder();
  void NotYet(std::string_view what);
  void UpdateStatus();
  void OpenExamples();
  void EditorPageChanged();
  void MakeNavigation();
  // A frame set shown for viewing only (a link into a frame) ends.
  void EndTemporaryFrameSet();
  void SaveAsTemplate();
  void SaveRecentAndLastFile();
  void ShowMode(bool edit);
  // Pages were imported: the page list follows and page is shown (-1: the
  // page shown stays).
  void Imported(int page);
  // ---- dialogs (issue 23): opening an HTML file asks what it becomes.
  void OpenHtmlFile(const std::string& name, bool askSave);
  QAction* NewAction(const char* name, const QString& caption, const QKeySequence& shortcut = {});

  std::unique_ptr<platform::Messages> m_ownMessages;
  platform::Messages* m_messages;
  std::unique_ptr<platform::EventLoop> m_ownLoop;
  platform::EventLoop* m_loop;
  std::unique_ptr<platform::Process> m_ownProcess;
  platform::Process* m_process;
  platform::Registry m_registry;
  ProgramFolders m_folders;
  platform::HostSystemInfo m_system;
  platform::qt::QtCanvas m_measurer;
  platform::qt::QtClipboard m_clipboard;
  // RTF and plain text of the page boxes' clipboard.
  convert::ConverterClipboardFormats m_clipboardFormats;
  std::unique_ptr<document::TAEHset> m_set;
  // The custom component library, a hypertext of its own (".cus").
  std::unique_ptr<document::TAEHset> m_library;
  EditorControl* m_editor = nullptr;
  TKrLanguager* m_languager = nullptr;
  CommandSet* m_commands = nullptr;
  ExportCommands* m_exports = nullptr;
  PublishCommands* m_publish = nullptr;
  // The Pages panel, the link explorer and the delete command.
  PageTreeCommands* m_pages = nullptr;
  // Printing, the printer and the page setup.
  PrintCommands* m_prints = nullptr;
  // Pictures, zones, form controls and floating frames.
  class InsertCommands* m_inserts = nullptr;
  PageNavigation* m_navigation = nullptr;
  LinkFollower* m_links = nullptr;
  WindowFeedback* m_feedback = nullptr;
  std::unique_ptr<ToolWindows> m_toolWindows;
  // Before the event loop it posts to (declared above) goes.
  std::unique_ptr<LinkedApplications> m_applications;
  FormPlacement* m_placement = nullptr;
  // Search and spelling (search area).
  SearchCommands* m_searches = nullptr;

  std::string m_fileName{kUntitled};
  RecentFiles m_recent;
  NextAction m_nextAction = NextAction::ProbeWordProcessor;
  bool m_editModeUsed = false;
  bool m_saveSucceeded = true;
  bool m_closing = false;
  bool m_closeQueryActive = false;
  bool m_switchingMode = false;
  // The options as last read (at creation and after the options dialog).
  platform::ProgramOptions m_options;
  int m_toolWindowLimit = 3;
  bool m_wordProcessor = false;

  QMenu* m_fileMenu = nullptr;
  QAction* m_recentSeparator = nullptr;
  QMenu* m_browserMenu = nullptr;
  QAction* m_browserSeparator = nullptr;
  std::vector<QAction*> m_recentActions;
  platform::Timer m_timerSave;
  platform::Timer m_timerNextAction;
  QPointer<QWidget> m_tipWindow;
};

}  // namespace tarn::app::ui
