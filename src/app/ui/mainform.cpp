// The main window.
#include "app/ui/mainform.h"

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
#include <QStyle>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <filesystem>

#include "app/compose.h"
#include "app/desktopinstall.h"
#include "app/wordprocessor.h"
#include "app/ui/editorcontrol.h"
#include "app/ui/fopzprog.h"
#include "app/ui/formplacement.h"
#include "app/ui/krlanguager.h"
#include "app/ui/pointersets.h"
#include "app/ui/tipform.h"
#include "base/cp1252.h"
#include "document/aehtesto.h"
#include "objects/ui/framesetwidget.h"
#include "platform/qt/qtmessages.h"
#include "platform/qt/qtstrings.h"

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

void RunQueue() {
  for (int i = 0; i < kQueueRuns; ++i) QCoreApplication::processEvents();
}

std::string Utf8(const QString& path) { return path.toStdString(); }

// Commands that change the hypertext: shown in edit mode only.
constexpr const char* kEditingActions[] = {"FileNew",  "FileSave",  "FileSaveAs", "FileExport",    "SelectAll",
                                           "EditCut",  "EditPaste", "PagePlus",   "PageMinus",     "ProgramOptions"};

}  // namespace

TMainForm::TMainForm(platform::Settings& settings, ProgramFolders folders, platform::Messages* messages,
                     QWidget* parent)
    : QMainWindow(parent),
      m_ownMessages(messages == nullptr ? std::make_unique<platform::qt::QtMessages>(this) : nullptr),
      m_messages(messages != nullptr ? messages : m_ownMessages.get()),
      m_registry(settings, m_messages),
      m_folders(std::move(folders)) {
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
  editor->SetClipboard(&m_clipboard);
  m_editor = editor;
  m_editor->SetLinkedAEHset(m_set.get());
  editor->OnHint = [this](const QString& hint) { statusBar()->showMessage(hint, 5000); };
  editor->OnDropFile = [this](const std::vector<std::string>& files, QWidget*) { FilesDropped(files); };
  m_editor->events.OnPageChanged = [this] { UpdateStatus(); };
  m_editor->events.OnFrameSetChanged = [this] { SetModified(true); };
  m_editor->events.OnClickFrame = [this] {
    if (EditMode()) SetModified(true);
  };
  setCentralWidget(m_editor->Widget());

  BuildActions();
  BuildMenus();
  m_statusPage = new QLabel(this);
  m_statusModified = new QLabel(this);
  m_statusMode = new QLabel(this);
  statusBar()->addPermanentWidget(m_statusMode);
  statusBar()->addPermanentWidget(m_statusModified);
  statusBar()->addPermanentWidget(m_statusPage);

  m_timerSave = new QTimer(this);
  connect(m_timerSave, &QTimer::timeout, this, &TMainForm::SaveReminder);
  m_timerNextAction = new QTimer(this);
  m_timerNextAction->setSingleShot(true);
  m_timerNextAction->setInterval(kNextActionDelay);
  connect(m_timerNextAction, &QTimer::timeout, this, &TMainForm::RunNextAction);

  // Window creation, in the order the program has always done it.
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
  resize(900, 650);
  if (m_options.restoreToolbars) {
    restoreState(QByteArray::fromHex(QByteArray::fromStdString(m_registry.ReadSubkeyValue("toolbar", "State"))));
  }
}

TMainForm::~TMainForm() {
  // The editor is a child widget and outlives this body: it must let go of
  // the hypertext before the hypertext goes.
  m_editor->SetLinkedAEHset(nullptr);
}

QAction* TMainForm::NewAction(const char* name, const QString& caption, const QKeySequence& shortcut) {
  auto* action = new QAction(caption, this);
  action->setObjectName(QString::fromLatin1(name));
  if (!shortcut.isEmpty()) action->setShortcut(shortcut);
  return action;
}

QAction* TMainForm::Action(const char* name) const { return findChild<QAction*>(QString::fromLatin1(name)); }

void TMainForm::BuildActions() {
  connect(NewAction("FileNew", "&New hypertext", QKeySequence(Qt::CTRL | Qt::Key_N)), &QAction::triggered, this,
          [this] {
            if (QuerySaveChanges()) NewBlankHypertext();
          });
  QAction* open = NewAction("FileOpen", "&Open...");
  open->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_F12), QKeySequence(Qt::CTRL | Qt::Key_O)});
  connect(open, &QAction::triggered, this, [this] {
    if (!QuerySaveChanges()) return;
    const std::string name = AskOpenFileName();
    if (!name.empty()) OpenDocumentFile(name, false);
  });
  connect(NewAction("FileSave", "&Save all", QKeySequence(Qt::CTRL | Qt::Key_S)), &QAction::triggered, this,
          &TMainForm::FileSave);
  connect(NewAction("FileSaveAs", "Save &as..."), &QAction::triggered, this, &TMainForm::FileSaveAs);
  connect(NewAction("FileExport", "E&xport pages...", QKeySequence(Qt::CTRL | Qt::Key_E)), &QAction::triggered, this,
          [this] { NotYet("Exporting pages"); });
  connect(NewAction("FilePrint", "&Print..."), &QAction::triggered, this, [this] { NotYet("Printing"); });
  connect(NewAction("FileExit", "&Exit", QKeySequence(Qt::ALT | Qt::Key_X)), &QAction::triggered, this,
          &QWidget::close);
  connect(NewAction("SelectAll", "&Select all", QKeySequence(Qt::CTRL | Qt::Key_F2)), &QAction::triggered, this,
          [this] { m_editor->SelectAll(); });
  // The program's own keys first; the keys every other Linux program uses
  // for the clipboard as well.
  const std::tuple<const char*, const char*, QKeySequence, QKeySequence, void (EditorControl::*)()> clipboard[] = {
      {"EditCut", "Cu&t", QKeySequence(Qt::SHIFT | Qt::Key_Delete), QKeySequence::Cut, &EditorControl::Cut},
      {"EditCopy", "&Copy", QKeySequence(Qt::CTRL | Qt::Key_Insert), QKeySequence::Copy, &EditorControl::Copy},
      {"EditPaste", "&Paste", QKeySequence(Qt::SHIFT | Qt::Key_Insert), QKeySequence::Paste, &EditorControl::Paste}};
  for (const auto& [name, caption, own, common, command] : clipboard) {
    QAction* action = NewAction(name, caption);
    action->setShortcuts({own, common});
    // A structured binding cannot be captured by every compiler we build with.
    void (EditorControl::*method)() = command;
    connect(action, &QAction::triggered, this, [this, method] {
      (m_editor->*method)();
      m_editor->RestoreFocus();
      UpdateStatus();
    });
  }
  connect(NewAction("Cover", "&Cover"), &QAction::triggered, this, [this] { m_editor->ShowCover(); });
  connect(NewAction("Contents", "C&ontents"), &QAction::triggered, this, [this] { m_editor->ShowContents(); });
  QAction* readOnly = NewAction("ReadOnly", "&Read only", QKeySequence(Qt::Key_F11));
  readOnly->setCheckable(true);
  connect(readOnly, &QAction::triggered, this, [this](bool on) { SwitchMode(!on); });
  QAction* editButton = NewAction("EditButton", "Edit / Preview");
  editButton->setCheckable(true);
  connect(editButton, &QAction::triggered, this, [this](bool on) { SwitchMode(on); });
  connect(NewAction("PreviousPage", "P&revious page"), &QAction::triggered, this, [this] { m_editor->GoBack(); });
  connect(NewAction("NextPage", "&Next page"), &QAction::triggered, this, [this] { m_editor->GoForward(); });
  QAction* plus = NewAction("PagePlus", "Page +1");
  plus->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
  connect(plus, &QAction::triggered, this, [this] { PageStep(1); });
  connect(NewAction("PageMinus", "Page -1", QKeySequence(Qt::CTRL | Qt::Key_Minus)), &QAction::triggered, this,
          [this] { PageStep(-1); });
  connect(NewAction("ReloadPage", "Reload pa&ge"), &QAction::triggered, this, [this] {
    const long page = m_editor->MainPageNumber();
    m_editor->SetMainPageNumber(-1);
    m_editor->SetMainPageNumber(page);
  });
  connect(NewAction("PreviewPage", "&Present page in default browser", QKeySequence(Qt::CTRL | Qt::Key_A)),
          &QAction::triggered, this, [this] { NotYet("Browser preview"); });
  connect(NewAction("PreviewHypertext", "&All hypertext in default browser"), &QAction::triggered, this,
          [this] { NotYet("Browser preview"); });
  connect(NewAction("ProgramOptions", "&Program options..."), &QAction::triggered, this, [this] { ShowOptions(0); });
  connect(NewAction("BrowserOptions", "&Options and browsers..."), &QAction::triggered, this,
          [this] { ShowOptions(3); });
  connect(NewAction("HelpAbout", "&Info..."), &QAction::triggered, this, [this] {
    TFabout about(this);
    about.exec();
    m_editor->RestoreFocus();
  });
  connect(NewAction("Examples", "&Examples..."), &QAction::triggered, this, &TMainForm::OpenExamples);
}

void TMainForm::BuildMenus() {
  auto menu = [this](const char* name, const QString& title) {
    QMenu* m = menuBar()->addMenu(title);
    m->setObjectName(QString::fromLatin1(name));
    return m;
  };
  m_fileMenu = menu("mFile", "&File");
  for (const char* name : {"FileNew", "FileOpen"}) m_fileMenu->addAction(Action(name));
  m_fileMenu->addSeparator();
  for (const char* name : {"FileSave", "FileSaveAs", "FileExport"}) m_fileMenu->addAction(Action(name));
  m_fileMenu->addSeparator();
  m_fileMenu->addAction(Action("FilePrint"));
  m_fileMenu->addSeparator();
  m_fileMenu->addAction(Action("FileExit"));
  m_recentSeparator = m_fileMenu->addSeparator();
  m_recentSeparator->setObjectName(QStringLiteral("Nrecent"));

  QMenu* edit = menu("mEdit", "&Edit");
  for (const char* name : {"EditCut", "EditCopy", "EditPaste"}) edit->addAction(Action(name));
  edit->addSeparator();
  edit->addAction(Action("SelectAll"));

  QMenu* hypertext = menu("mHypertext", "Hyper&text");
  for (const char* name : {"Cover", "Contents", "ReadOnly"}) hypertext->addAction(Action(name));
  hypertext->addSeparator();
  for (const char* name : {"PreviousPage", "NextPage", "PagePlus", "PageMinus", "ReloadPage"}) {
    hypertext->addAction(Action(name));
  }
  QMenu* publish = menu("mPublish", "&Publish");
  m_browserMenu = publish->addMenu(QStringLiteral("Browser &preview"));
  m_browserMenu->setObjectName(QStringLiteral("mBrowserPreview"));
  m_browserMenu->addAction(Action("PreviewPage"));
  m_browserMenu->addAction(Action("PreviewHypertext"));
  m_browserMenu->addSeparator();
  m_browserMenu->addAction(Action("BrowserOptions"));
  m_browserSeparator = m_browserMenu->addSeparator();
  m_browserSeparator->setObjectName(QStringLiteral("N28"));
  QMenu* tools = menu("mTools", "&Tools");
  tools->addAction(Action("ProgramOptions"));
  QMenu* help = menu("mHelp", "&?");
  help->addAction(Action("HelpAbout"));
  help->addAction(Action("Examples"));

  const std::pair<const char*, QStyle::StandardPixmap> icons[] = {
      {"FileNew", QStyle::SP_FileIcon},          {"FileOpen", QStyle::SP_DialogOpenButton},
      {"FileSave", QStyle::SP_DialogSaveButton}, {"PreviousPage", QStyle::SP_ArrowBack},
      {"NextPage", QStyle::SP_ArrowForward},     {"Cover", QStyle::SP_DirHomeIcon}};
  for (const auto& [name, icon] : icons) Action(name)->setIcon(style()->standardIcon(icon));
  QToolBar* toolbar = addToolBar(QStringLiteral("Main"));
  toolbar->setObjectName(QStringLiteral("ToolBarMain"));
  for (const char* name : {"FileNew", "FileOpen", "FileSave"}) toolbar->addAction(Action(name));
  toolbar->addSeparator();
  toolbar->addAction(Action("EditButton"));
  toolbar->addSeparator();
  for (const char* name : {"PreviousPage", "NextPage", "Cover"}) toolbar->addAction(Action(name));
}

void TMainForm::NotYet(const char* what) {
  m_messages->Information(std::string(what) + " is not available in this version yet.");
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
  m_timerNextAction->start();
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
          m_registry, QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")).toStdString(), [] {
            return QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty() &&
                           QStandardPaths::findExecutable(QStringLiteral("libreoffice")).isEmpty()
                       ? 0
                       : 1;
          });
      break;
    }
    case NextAction::Print: NotYet("Printing"); break;
    case NextAction::PublishServer:
    case NextAction::PublishFtp: NotYet("Publishing"); break;
  }
}

// ---- Documents ----

void TMainForm::SetDocumentTitle(const std::string& name) {
  m_fileName = name;
  setWindowTitle(platform::qt::ToQString(DocumentCaption(name, m_folders.Examples(), "Tarn")));
}

void TMainForm::OpenDocumentFile(const std::string& name, bool askSave) {
  switch (OpenKindOf(name)) {
    case OpenKind::Hypertext:
      if (askSave && !QuerySaveChanges()) return;
      LoadHypertext(name, false);
      return;
    case OpenKind::Import:
    case OpenKind::Html: NotYet("Importing files"); return;
    case OpenKind::CdProject: NotYet("CD-ROM projects"); return;
    case OpenKind::CustomLibrary: NotYet("Custom component libraries"); return;
    case OpenKind::Image:
    case OpenKind::Other: m_editor->RestoreFocus(); return;
  }
}

void TMainForm::LoadHypertext(const std::string& name, bool asTemplate) {
  m_editor->ClosePage();
  RunQueue();
  m_set->CloseHypertext();
  const bool loaded = m_set->SetAEHFileName(name) && m_set->AEHFileName() == std::filesystem::path(name);
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
  m_editor->ShowCover();
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
  m_editor->ClosePage();
  RunQueue();
  m_set->NewHypertext();
  m_set->Register(m_set->NewObject(document::testoHtml));
  m_editor->ShowCover();
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
    NotYet("Saving in other formats");
    m_saveSucceeded = false;
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
  for (const std::string& error : errors) list->addItem(platform::qt::ToQString(error));
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
  for (const char* name : kEditingActions) Action(name)->setVisible(edit);
  Action("ReloadPage")->setVisible(!edit);
  UpdateStatus();
}

// ---- Pages ----

void TMainForm::PageStep(int step) {
  const long count = m_set->CountOf(document::testoHtml);
  long page = m_editor->MainPageNumber() + step;
  // Deleted pages leave gaps: step over them.
  while (page >= 0 && page < count && m_set->GetObject(document::testoHtml, page) == nullptr) page += step;
  if (page >= 0 && page < count) m_editor->SetMainPageNumber(page);
}

void TMainForm::UpdateStatus() {
  if (m_statusPage == nullptr) return;
  const long page = m_editor->MainPageNumber();
  QString pageText;
  if (page >= 0) {
    const document::TAEHoggetto* record = m_set->GetObject(document::testoHtml, page);
    pageText = QStringLiteral("Page %1").arg(page);
    if (record != nullptr && !record->GetCaption().empty()) {
      pageText += QStringLiteral(": ") + platform::qt::ToQString(record->GetCaption());
    }
  }
  m_statusPage->setText(pageText);
  m_statusModified->setText(IsModified() ? QStringLiteral("Modified") : QString());
  m_statusMode->setText(EditMode() ? QStringLiteral("Edit") : QStringLiteral("Preview"));
}

// ---- Options ----

void TMainForm::ReadProgramOptions() {
  m_options = platform::ReadProgramOptions(m_registry);
  const platform::ProgramOptions& options = m_options;
  m_set->SetMaxCacheImg(options.maxCacheImg);
  m_set->SetUndoDeep(options.undoDeep);
  if (options.saveReminder) {
    m_timerSave->start(options.SaveReminderMilliseconds());
  } else {
    m_timerSave->stop();
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
    for (const QString& caption : {QStringLiteral("Current page in "), QStringLiteral("All hypertext in ")}) {
      QAction* item = m_browserMenu->addAction(caption + name);
      item->setData(i);
      connect(item, &QAction::triggered, this, [this] { NotYet("Browser preview"); });
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
  m_timerSave->stop();
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

void TMainForm::FilesDropped(const std::vector<std::string>& files) {
  // A hypertext dropped on a page opens; other files are inserted or
  // imported at the caret, which needs the import converters.
  for (const std::string& file : files) {
    if (OpenKindOf(file) == OpenKind::Hypertext) {
      if (QuerySaveChanges()) OpenDocumentFile(file, false);
      return;
    }
  }
  if (!files.empty()) NotYet("Inserting dropped files");
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
  m_timerSave->stop();
  m_editor->SetMainPageNumber(-1);
  m_editor->SetReadOnly(true);
  QCoreApplication::processEvents();
  QThread::msleep(100);
  QCoreApplication::processEvents();
  SaveRecentAndLastFile();
  m_registry.WriteSubkeyValue("toolbar", "State", saveState().toHex().toStdString());
  event->accept();
}

}  // namespace tarn::app::ui
