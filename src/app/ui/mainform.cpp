// The main window.
#include "app/ui/mainform.h"
#include "app/ui/pagetreecommands.h"
#include "app/ui/printcommands.h"
#include "app/ui/insertcommands.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QStandardPaths>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

#include <filesystem>

#include "app/compose.h"
#include "app/desktopinstall.h"
#include "app/selectionfeedback.h"
#include "app/wordprocessor.h"
#include "app/ui/commandset.h"
#include "app/ui/editorcommands.h"
#include "app/ui/editorcontrol.h"
#include "app/ui/exportcommands.h"
#include "app/ui/fopzprog.h"
#include "app/ui/anchordialog.h"
#include "app/ui/formatcommands.h"
#include "app/ui/formplacement.h"
#include "app/ui/krlanguager.h"
#include "app/linkedapplication.h"
#include "app/ui/linkfollower.h"
#include "app/ui/pagenavigation.h"
#include "app/ui/publishcommands.h"
#include "app/ui/tablecommands.h"
#include "app/ui/toolwindows.h"
#include "app/ui/windowfeedback.h"
#include "app/ui/pointersets.h"
#include "app/ui/tipform.h"
#include "app/ui/searchcommands.h"
#include "app/ui/spellchecker.h"
#include "base/cp1252.h"
#include "base/winpath.h"
#include "document/aehtesto.h"
#include "document/links.h"
#include "document/recordfields.h"
#include "objects/ui/framesetwidget.h"
#include "platform/posixprocess.h"
#include "platform/qt/qteventloop.h"
#include "platform/qt/qtmessages.h"
#include "platform/qt/qtstrings.h"
#include "richtext/ui/aehbox.h"
#include "undo/ui/undocommands.h"

namespace tarn::app::ui {
namespace {

using platform::qt::PathToQString;

constexpr int kNextActionDelay = 300;
// Posted messages of a page still being replaced are handled while its
// objects exist: the queue runs this many times first.
constexpr int kQueueRuns = 25;
constexpr const char* kSaveFilter =
    "Save Tarn hypertext (*.aeh)|*.aeh|Save hypertext other formats|*.htm;*.rtf;*.txt;*.asc;*.c;*.pas;*.doc|"
    "Save current page in HTML|*.htm|Save current page in RTF|*.rtf|Save current page in TXT|*.txt;*.asc;*.c;*.pas|"
    "All files (*.*)|*.*";
constexpr const char* kOpenFilter =
    "Tarn hypertext (*.aeh)|*.aeh|Other formats|*.rtf;*.doc;*.txt;*.gif;*.jpg;*.bmp;*.wmf;*.htm;*.html";

// How long the word-processor probe may take before it counts as absent.
constexpr int kProbeTimeout = 20000;

std::string Utf8(const QString& path) { return path.toStdString(); }

}  // namespace

TMainForm::TMainForm(platform::Settings& settings, ProgramFolders folders, platform::Messages* messages,
                     QWidget* parent, WindowServices services)
    : QMainWindow(parent),
      m_ownMessages(messages == nullptr ? std::make_unique<platform::qt::QtMessages>(this) : nullptr),
      m_messages(messages != nullptr ? messages : m_ownMessages.get()),
      m_ownLoop(services.loop == nullptr ? std::make_unique<platform::qt::QtEventLoop>() : nullptr),
      m_loop(services.loop != nullptr ? services.loop : m_ownLoop.get()),
      m_ownProcess(services.process == nullptr ? std::make_unique<platform::PosixProcess>() : nullptr),
      m_process(services.process != nullptr ? services.process : m_ownProcess.get()),
      m_registry(settings, m_messages),
      m_folders(std::move(folders)),
      m_timerSave(m_loop),
      m_timerNextAction(m_loop) {
  setObjectName(QStringLiteral("MainForm"));
  m_set = std::make_unique<document::TAEHset>(platform::Services{m_messages, &m_system, &m_measurer, &m_clipboard});
  m_library = std::make_unique<document::TAEHset>(platform::Services{m_messages, &m_system, &m_measurer, &m_clipboard});
  app::Compose(*m_set);
  app::Compose(*m_library);
  m_library->SetMaxCacheImg(20);
  m_library->SetUndoDeep(0);
  m_recent = RecentFiles([examples = m_folders.Examples()](std::string_view path) {
    return InFolder(std::filesystem::path(path), examples);
  });

  auto* editor = new objects::ui::TInsiemeCornici(*m_messages, this);
  editor->setObjectName(QStringLiteral("Editor"));
  editor->SetClipboard(&m_clipboard, &m_clipboardFormats);
  m_editor = editor;
  m_editor->SetLinkedAEHset(m_set.get());
  setCentralWidget(m_editor->Widget());

  // The menus, toolbars and popups of the command table; each area binds
  // its own commands.
  m_commands = new CommandSet(*this, [this](const CommandEntry& entry) { NotYet(NotAvailableWhat(entry)); });
  BindWindowCommands();
  BindEditorCommands(*m_commands, *m_editor, [this] { UpdateStatus(); });
  BindFormatCommands(*m_commands, *editor, *m_set, [this] { UpdateStatus(); },
                     [this] { m_pages->HypertextChanged(); });
  BindTableCommands(*m_commands, *editor, [this] { UpdateStatus(); });
  new undo::ui::UndoCommands(*m_commands, *m_set, *m_editor, this);
  m_exports = new ExportCommands(
      *m_commands,
      {*m_set, *m_editor, *m_messages, m_registry, *m_process, statusBar(), [this] { CommitCurrentPage(); },
       [this](const std::string& proposed) { return AskExportFolder(proposed); },
       [this] { return m_wordProcessor; }, [this](int page) { Imported(page); },
       [this](const std::filesystem::path& file) { return m_applications->CommandFor(file); }},
      this);
  m_toolWindows = std::make_unique<ToolWindows>([this] { return m_toolWindowLimit; });
  m_pages = new PageTreeCommands(
      *m_commands,
      {*m_set, *m_editor, *this, [this] { CommitCurrentPage(); },
       [this](const std::string& url) { NavigateToUrl(url); },
       [this](const std::string& url) { m_exports->OpenWithDesktop(url); }, {},
       [this] { return m_registry.ReadOption("CercaTop") == "1"; }, [this] { UpdateStatus(); },
       m_toolWindows.get()},
      this);
  m_prints = new PrintCommands(
      *m_commands,
      {*m_set, *m_editor, *m_messages, m_registry, *this, statusBar(), [this] { CommitCurrentPage(); },
       [this] { return EditMode(); },
       [this] {
         m_pages->HypertextChanged();
         UpdateStatus();
       },
       [this] { return m_fileName; }},
      this);
  m_inserts = new InsertCommands(
      *m_commands,
      {*m_set, *m_editor, *m_messages, *this,
       [this] {
         const QString path = QFileDialog::getOpenFileName(
             this, QStringLiteral("Insert image"), {},
             QStringLiteral("Pictures (*.gif *.jpg *.jpeg *.bmp *.png *.wmf *.emf);;All files (*)"));
         return path.isEmpty() ? std::string() : std::string(path.toLocal8Bit().constData());
       }},
      this);
  // Formatting: anchors answer their double click after the object commands.
  BindAnchorCommands(*m_commands, *editor, *m_set, [this] { UpdateStatus(); });
  // Publishing.
  m_publish = new PublishCommands(*m_commands,
                                  {*m_set, *m_editor, *m_messages, m_registry, statusBar(), this,
                                   [this] { CommitCurrentPage(); }, [this] { return IsModified(); },
                                   [this] { FileSave(); }, [this] { SetModified(true); }},
                                  this);
  m_searches = new SearchCommands(*m_commands,
                                  {[this] { return m_set.get(); }, *editor, *m_messages, m_registry, *this, statusBar()},
                                  this);
  MakeNavigation();
  m_fileMenu = m_commands->Menu("mFile");
  m_recentSeparator = m_commands->Action("Nrecent");
  m_browserMenu = m_commands->Menu("mBrowserPreview");
  m_browserSeparator = m_commands->Action("N28");
  for (const auto& [property, menu] : m_commands->PopupProperties()) editor->SetPopupMenu(property, menu);
  ConnectEditor();

  // Window creation, in the order the program has always done it; what it
  // writes to the settings goes to disk once.
  const platform::SettingsBatch batch(m_registry.Store());
  m_languager = new TKrLanguager(this);
  ApplyWindowTable(*m_languager, objectName());
  m_placement = new FormPlacement(this, m_registry);
  {
    // The folder of frame layouts must exist for the layout dialogs.
    std::error_code error;
    std::filesystem::create_directories(m_folders.FrameTemplates(), error);
  }
  m_registry.WriteNetworkDefaults();
  ReadProgramOptions();
  m_toolWindowLimit = m_options.toolWindowLimit;
  m_recent.Load(m_registry);
  RebuildRecentMenu();
  SetDocumentTitle(std::string(kUntitled));
  resize(1024, 720);
  if (m_options.restoreToolbars) {
    restoreState(QByteArray::fromHex(QByteArray::fromStdString(m_registry.ReadSubkeyValue("toolbar", "State"))));
  }
}

TMainForm::~TMainForm() {
  // The editor and the separate page windows are child widgets and outlive
  // this body: they must let go of the hypertext before the hypertext goes.
  m_links->CloseSeparateWindows();
  m_editor->SetLinkedAEHset(nullptr);
}

QAction* TMainForm::Action(const char* name) const { return m_commands->Action(name); }

void TMainForm::ConnectEditor() {
  auto* editor = static_cast<objects::ui::TInsiemeCornici*>(m_editor);
  // The window follows links itself: to other hypertexts, into frames and
  // windows, and with its own list of visited pages.
  editor->Model().SetAutoJump(false);
  editor->OnHint = [this](const QString& hint) { m_feedback->ShowHint(hint); };
  editor->OnDropFile = [this](const std::vector<std::string>& files, QWidget*) { FilesDropped(files); };
  editor->OnEditStart = [this](QWidget* object) { m_feedback->EditorEditStart(object); };
  editor->OnSelectionChange = [this](QWidget* object) { m_feedback->EditorSelectionChange(object); };
  // Every caret move in edit mode, typing among them, asks the ruler to
  // follow the box: the text's tools and the status follow with it.
  editor->OnRulerPosChanged = [this](QWidget* box) {
    m_feedback->EditorSelectionChange(box);
    UpdateTitle();
  };
  editor->OnDoLink = [this, editor](const objects::LinkSource& source, document::TAEHoggetto* link) {
    m_links->EditorDoLink(*editor, source, link);
  };
  m_editor->events.OnPageChanged = [this] { EditorPageChanged(); };
  m_editor->events.OnFrameSetChanged = [this] { SetModified(true); };
  m_editor->events.OnClickFrame = [this] {
    if (EditMode()) SetModified(true);
  };
}


void TMainForm::NotYet(std::string_view what) {
  m_messages->Information(NotAvailableMessage(what));
  m_editor->RestoreFocus();
}

// ---- Start-up ----

void TMainForm::FormShow(const CommandLine& command) {
  LoadCustomLibrary();
  m_nextAction = command.next;
  if (command.install) {
    const InstallResult result =
        InstallDesktopIntegration(Utf8(QCoreApplication::applicationFilePath()), UserDataHome(), m_registry);
    if (!result.error.empty()) {
      m_messages->Information(result.error);
    } else {
      // The desktop reads file types and programs from caches: refresh them
      // where the tools exist.
      const std::pair<const char*, std::filesystem::path> caches[] = {
          {"update-mime-database", UserDataHome() / "mime"},
          {"update-desktop-database", UserDataHome() / "applications"}};
      for (const auto& [tool, folder] : caches) {
        const QString program = QStandardPaths::findExecutable(QString::fromLatin1(tool));
        if (!program.isEmpty()) QProcess::execute(program, {PathToQString(folder.string())});
      }
      std::string report = "Tarn is installed for the current user:";
      for (const auto& file : result.written) report += "\n" + file.string();
      m_messages->Information(report);
    }
  }
  if (!command.file.empty() && std::filesystem::exists(command.file)) {
    OpenDocumentFile(command.file, false);
  } else {
    StartupDocument();
  }
  setAcceptDrops(true);
  // The commands hidden at design that the window shows once it is shown.
  m_commands->SetStarted(true);
  m_timerNextAction.Start(kNextActionDelay, false, [this] { RunNextAction(); });
}

void TMainForm::StartupDocument() {
  const platform::ProgramOptions& options = m_options;
  if (!options.lastFile.empty() && !options.atStartBlank && std::filesystem::exists(options.lastFile)) {
    OpenDocumentFile(options.lastFile, false);
  } else {
    NewBlankHypertext();
  }
}

void TMainForm::RunNextAction() {
  switch (m_nextAction) {
    case NextAction::ProbeWordProcessor: {
      // Once per process: the conversions of documents use LibreOffice.
      static bool probed = false;
      if (probed) break;
      probed = true;
      m_wordProcessor = DetectWordProcessor(
          m_registry, QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")).toStdString(),
          [this] { return ProbeWordProcessor(*m_process, kProbeTimeout, [this] { m_loop->ProcessEvents(); }); });
      break;
    }
    case NextAction::Print: m_prints->FilePrint(); break;
    case NextAction::PublishServer: m_publish->RunServer(0); break;
    case NextAction::PublishFtp: m_publish->RunFtp(0); break;
  }
}

// ---- Documents ----

void TMainForm::SetDocumentTitle(const std::string& name) {
  m_fileName = name;
  UpdateTitle();
}

void TMainForm::UpdateTitle() {
  // A changed hypertext is marked with "*" before its name, as editors on
  // this desktop do.
  const std::string caption = DocumentCaption(m_fileName, m_folders.Examples(), "Tarn");
  setWindowTitle(platform::qt::ToQString(IsModified() ? "*" + caption : caption));
}

void TMainForm::OpenDocumentFile(const std::string& name, bool askSave) {
  switch (OpenKindOf(name)) {
    case OpenKind::Hypertext:
      if (askSave && !QuerySaveChanges()) return;
      LoadHypertext(name, false);
      return;
    case OpenKind::Import:
      // The file becomes a new hypertext of its own, imported at once.
      if (askSave && !QuerySaveChanges()) return;
      NewBlankHypertext();
      SetDocumentTitle(name);
      AddRecentFile(name);
      SetModified(false);
      SwitchMode(true);
      m_exports->ImportDirectly(name);
      return;
    case OpenKind::Html: OpenHtmlFile(name, askSave); return;
    case OpenKind::CdProject: NotYet("CD-ROM projects"); return;
    case OpenKind::CustomLibrary: NotYet("Custom component libraries"); return;
    case OpenKind::Image:
    case OpenKind::Other: m_editor->RestoreFocus(); return;
  }
}

void TMainForm::LoadHypertext(const std::string& name, bool asTemplate) {
  m_links->CloseSeparateWindows();
  m_editor->ClosePage();
  for (int i = 0; i < kQueueRuns; ++i) m_loop->ProcessEvents();
  m_navigation->ClearGoMenu();
  m_set->CloseHypertext();
  EndTemporaryFrameSet();
  const bool loaded = m_set->SetAEHFileName(name);
  if (!loaded) {
    RemoveRecentFile(name);
    m_set->NewHypertext();
    SetDocumentTitle(std::string(kUntitled));
  } else if (asTemplate) {
    m_set->ForgetFileName();
    SetDocumentTitle(std::string(kUntitled));
  } else {
    SetDocumentTitle(name);
    AddRecentFile(name);
  }
  SetModified(false);
  if (m_set->CountOf(document::testoHtml) == 0) {
    m_set->Register(m_set->NewObject(document::testoHtml));
    m_set->SetModified(false);
  }
  m_navigation->HypertextLoaded();
  m_editor->ShowCover();
  m_pages->HypertextChanged();
  // "." means the hypertext is not protected against editing.
  const std::string password = m_set->ProtectionPassword();
  m_editModeUsed = false;
  if (password == ".") {
    SwitchMode(true);
  } else {
    m_switchingMode = true;
    m_editor->SetReadOnly(true);
    m_switchingMode = false;
    ShowMode(false);
  }
  m_editModeUsed = EditMode();
  m_editor->RestoreFocus();
  UpdateStatus();
}

void TMainForm::NewBlankHypertext() {
  SetDocumentTitle(std::string(kUntitled));
  m_links->CloseSeparateWindows();
  m_editor->ClosePage();
  for (int i = 0; i < kQueueRuns; ++i) m_loop->ProcessEvents();
  EndTemporaryFrameSet();
  m_navigation->ClearGoMenu();
  m_set->NewHypertext();
  m_set->Register(m_set->NewObject(document::testoHtml));
  m_editor->ShowCover();
  m_pages->HypertextChanged();
  SetModified(false);
  SwitchMode(true);
  UpdateStatus();
}

bool TMainForm::IsModified() const {
  return (m_editor->PageModified() || m_set->IsModified()) && m_editModeUsed;
}

void TMainForm::SetModified(bool value) {
  m_set->SetModified(value);
  if (!value) m_editor->SetPageModified(false);
  UpdateStatus();
}

bool TMainForm::QuerySaveChanges() {
  if (!IsModified()) return true;
  const auto answer = m_messages->Ask("Save modifications to " + m_fileName + "?", true);
  if (answer == platform::Answer::Cancel) return false;
  if (answer == platform::Answer::No) return true;
  m_saveSucceeded = false;
  FileSave();
  return m_saveSucceeded;
}

void TMainForm::CommitCurrentPage() {
  if (!m_editor->PageModified()) return;
  const long page = m_editor->MainPageNumber();
  m_editor->SetMainPageNumber(-1);
  m_editor->SetMainPageNumber(page);
}

void TMainForm::FileSave() {
  if (m_fileName == kUntitled) {
    FileSaveAs();
  } else {
    SaveDocument(m_fileName, -1, true, false);
  }
}

void TMainForm::FileSaveAs() {
  std::string proposed;
  if (m_fileName != kUntitled) {
    const std::filesystem::path current(m_fileName);
    proposed = (current.parent_path() / current.stem()).string();
  }
  int filterIndex = 1;
  const std::string chosen = AskSaveFileName(proposed, filterIndex);
  if (!chosen.empty()) {
    std::string prefix = base::LowerCase(std::filesystem::path(chosen).stem().string()).substr(0, 16);
    m_set->SetExpPrefix(prefix);
    SaveDocument(chosen, filterIndex, false, false);
  }
  m_editor->RestoreFocus();
}

void TMainForm::SaveDocument(const std::string& name, int type, bool exportFlag, bool templateFlag) {
  (void)exportFlag;
  m_saveSucceeded = true;
  const int kind = SaveKind(name, type);
  if (kind == 0) return;
  if (kind != 1) {
    m_saveSucceeded = m_exports->SaveAsOtherFormat(name, kind);
    m_editor->RestoreFocus();
    return;
  }
  const std::filesystem::path path(name);
  auto confirm = [&](const char* question) {
    const auto answer = m_messages->Ask(question, true);
    if (answer == platform::Answer::No) FileSaveAs();
    return answer == platform::Answer::Yes;
  };
  if (InFolder(path, m_folders.Examples())) {
    if (!confirm("Are you sure you want to save this file in the examples directory? Choose No to change file path.")) {
      return;
    }
  } else if (!templateFlag && (InFolder(path, m_folders.Templates()) || InFolder(path, m_folders.HypTemplates()))) {
    if (!confirm("Are you sure you want to save this file as a template? Choose No to change file path.")) return;
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool saved = m_set->SaveToFile(path);
  QApplication::restoreOverrideCursor();
  if (saved) {
    m_pages->HypertextChanged();
    SetDocumentTitle(name);
    SetModified(false);
    AddRecentFile(name);
  } else {
    m_saveSucceeded = false;
    ShowSaveErrors(m_set->SaveErrors());
  }
  m_editor->RestoreFocus();
}

void TMainForm::ShowSaveErrors(const std::vector<std::string>& errors) {
  QDialog box(this);
  box.setWindowTitle(QStringLiteral("Salvataggio non riuscito!"));
  auto* list = new QListWidget(&box);
  // An entry gives the system's reason on its second line.
  for (const std::string& error : errors) list->addItem(platform::qt::ToQString(error).replace('\r', '\n'));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
  connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
  auto* layout = new QVBoxLayout(&box);
  layout->addWidget(list);
  layout->addWidget(buttons);
  box.resize(500, 300);
  box.exec();
}

std::string TMainForm::AskOpenFileName() {
  const QString filter = QtFileFilter(QString::fromLatin1(kOpenFilter));
  return Utf8(QFileDialog::getOpenFileName(this, QString(), QString(), filter));
}

std::string TMainForm::AskSaveFileName(const std::string& proposed, int& filterIndex) {
  const QString filter = QtFileFilter(QString::fromLatin1(kSaveFilter));
  QString selected = filter.section(QStringLiteral(";;"), 0, 0);
  QString name = QFileDialog::getSaveFileName(this, QString(), PathToQString(proposed), filter, &selected);
  if (name.isEmpty()) return {};
  filterIndex = static_cast<int>(filter.split(QStringLiteral(";;")).indexOf(selected)) + 1;
  if (filterIndex == 1 && QFileInfo(name).suffix().isEmpty()) name += QStringLiteral(".aeh");
  return Utf8(name);
}

std::optional<std::string> TMainForm::AskPassword() {
  bool ok = false;
  const QString text = QInputDialog::getText(this, QStringLiteral("Modo editor"),
                                             QStringLiteral("Introduci la password per l'edit"), QLineEdit::Password,
                                             QString(), &ok);
  if (!ok) return std::nullopt;
  return platform::qt::FromQString(text).value_or(std::string());
}

// ---- Edit and preview ----

bool TMainForm::EditMode() const { return !m_editor->ReadOnly(); }

bool TMainForm::SwitchMode(bool edit) {
  if (edit) {
    const std::string password = m_set->ProtectionPassword();
    if (password != "." && !password.empty()) {
      const auto entered = AskPassword();
      if (!entered || *entered != password) {
        if (entered) m_messages->Error("Password errata!");
        ShowMode(EditMode());
        return false;
      }
    }
    m_editModeUsed = true;
  }
  m_switchingMode = true;
  m_editor->SetModeSwitching(true);
  m_editor->SetReadOnly(!edit);
  m_editor->SetModeSwitching(false);
  m_switchingMode = false;
  ShowMode(edit);
  if (edit) m_editor->RestoreFocus();
  return true;
}

void TMainForm::ShowMode(bool edit) {
  const QSignalBlocker blockButton(Action("EditButton"));
  const QSignalBlocker blockMenu(Action("ReadOnly"));
  Action("EditButton")->setChecked(edit);
  Action("ReadOnly")->setChecked(!edit);
  m_commands->SetEditMode(edit);
  m_pages->SetEditMode(edit);
  m_feedback->SetEditMode(edit);
  if (m_searches != nullptr) m_searches->EditModeChanged();
  UpdateStatus();
}

SpellCheckerSettings* TMainForm::SpellChecker() { return m_searches != nullptr ? &m_searches->Speller() : nullptr; }

void TMainForm::UpdateStatus() {
  if (m_feedback == nullptr) return;
  m_feedback->UpdateStatus();
  UpdateTitle();
}

// ---- Options ----

void TMainForm::ReadProgramOptions() {
  m_options = platform::ReadProgramOptions(m_registry);
  const platform::ProgramOptions& options = m_options;
  m_set->SetMaxCacheImg(options.maxCacheImg);
  m_set->SetUndoDeep(options.undoDeep);
  if (options.saveReminder) {
    m_timerSave.Start(options.SaveReminderMilliseconds(), true, [this] { SaveReminder(); });
  } else {
    m_timerSave.Stop();
  }
  m_editor->SetAutoEngQuote(options.typographicQuotes);
  m_set->SetAltText(options.altText);
  m_set->DbDebug = options.dbDebug;
  m_set->DbDebugMap = options.dbDebugMap;
  m_set->SetBackup(options.backup);
  RebuildBrowserMenu();
  PointerSets::Instance().Apply(options.pointerSet);
}

void TMainForm::RebuildBrowserMenu() {
  const QList<QAction*> items = m_browserMenu->actions();
  for (qsizetype i = items.indexOf(m_browserSeparator) + 1; i < items.size(); ++i) {
    m_browserMenu->removeAction(items[i]);
    items[i]->deleteLater();
  }
  const int browsers = std::max(0, platform::ParseNumber(m_registry.ReadSubkeyValue("Browser", "num"), 0));
  for (int i = 0; i < browsers; ++i) {
    const QString name =
        platform::qt::ToQString(m_registry.ReadSubkeyValue("Browser\\" + std::to_string(i), "Name"));
    for (const bool whole : {false, true}) {
      QAction* item =
          m_browserMenu->addAction((whole ? QStringLiteral("All hypertext in ") : QStringLiteral("Current page in ")) +
                                   name);
      item->setData(i);
      connect(item, &QAction::triggered, this, [this, whole, i] {
        m_exports->Preview(whole, i);
        m_editor->RestoreFocus();
      });
    }
  }
  m_browserSeparator->setVisible(browsers > 0);
}

void TMainForm::LoadCustomLibrary() {
  std::filesystem::path library(m_registry.ReadOption("DefaultLib"));
  if (base::LowerCase(library.extension().string()) != ".cus") library = m_folders.Custom() / "default.cus";
  std::error_code error;
  if (std::filesystem::exists(library, error)) {
    m_library->LoadFromFile(library);
  } else {
    m_library->NewHypertext();
    std::filesystem::create_directories(library.parent_path(), error);
    m_library->SaveToFile(library);
  }
  // FIXME: the custom component popup and its commands come with the custom
  // components; the library is open for them.
}

void TMainForm::ApplyProgramOptions() {
  ReadProgramOptions();
  const long page = m_editor->MainPageNumber();
  m_editor->SetMainPageNumber(-1);
  m_editor->SetMainPageNumber(page);
}

void TMainForm::StopFormPlacement() { m_placement->SetActive(false); }

void TMainForm::ShowOptions(int tab) {
  TFopzProg dialog(m_registry, *this, *m_messages, this);
  dialog.Pages()->setCurrentIndex(tab);
  dialog.exec();
  m_editor->RestoreFocus();
}

void TMainForm::SaveReminder() {
  m_timerSave.Stop();
  if (m_messages->Ask("Remember: do you want to save?") == platform::Answer::Yes) FileSave();
  ReadProgramOptions();
}

// ---- Recent files ----

void TMainForm::AddRecentFile(const std::string& name) {
  m_recent.Add(name);
  RebuildRecentMenu();
}

void TMainForm::RemoveRecentFile(const std::string& name) {
  m_recent.Remove(name);
  RebuildRecentMenu();
}

void TMainForm::RebuildRecentMenu() {
  for (QAction* action : m_recentActions) {
    m_fileMenu->removeAction(action);
    action->deleteLater();
  }
  m_recentActions.clear();
  for (const std::string& path : m_recent.Entries()) {
    auto* action = new QAction(PathToQString(path), m_fileMenu);
    connect(action, &QAction::triggered, this, [this, path] {
      if (QuerySaveChanges()) OpenDocumentFile(path, false);
    });
    m_fileMenu->addAction(action);
    m_recentActions.push_back(action);
  }
  m_recentSeparator->setVisible(!m_recentActions.empty());
}

void TMainForm::OpenExamples() {
  const std::filesystem::path index = m_folders.Examples() / "index.aeh";
  if (!std::filesystem::exists(index)) {
    m_messages->Information("Can't find examples directory. You may need to run setup to correct this problem. (" +
                            m_folders.Examples().string() + ")");
    return;
  }
  if (QuerySaveChanges()) OpenDocumentFile(index.string(), false);
}

// ---- Export folders ----


std::string TMainForm::AskExportFolder(const std::string& proposed) {
  return Utf8(QFileDialog::getExistingDirectory(this, QStringLiteral("Export pages to folder"),
                                                PathToQString(proposed)));
}

// ---- Closing ----

void TMainForm::SaveRecentAndLastFile() {
  if (!m_recent.Last().empty() && std::filesystem::exists(m_recent.Last())) {
    m_registry.WriteOption("LastFile", m_recent.Last());
  }
  m_recent.Save(m_registry);
}

void TMainForm::closeEvent(QCloseEvent* event) {
  m_closeQueryActive = true;
  bool mayClose = false;
  try {
    mayClose = QuerySaveChanges();
  } catch (...) {
    mayClose = false;
  }
  m_closeQueryActive = mayClose;
  if (!mayClose) {
    m_editor->ShowCover();
    m_editor->SetPageModified(true);
    event->ignore();
    return;
  }
  m_closing = true;
  // Leaving writes a dozen settings (recent files, the last file, the
  // toolbars, the window's place): to disk once, not once each.
  const platform::SettingsBatch batch(m_registry.Store());
  m_timerSave.Stop();
  m_timerNextAction.Stop();
  m_editor->SetMainPageNumber(-1);
  m_editor->SetReadOnly(true);
  // The messages the page posted while it was dropped run while its
  // objects still exist.
  m_loop->ProcessEvents();
  SaveRecentAndLastFile();
  m_registry.WriteSubkeyValue("toolbar", "State", saveState().toHex().toStdString());
  event->accept();
}

}  // namespace tarn::app::ui
