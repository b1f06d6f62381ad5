// The main window used as an author uses it: started with a file, a new
// hypertext, saving, the save question when closing, edit and preview,
// recent files and the command-line forms. Dialogs that would wait for a
// person are answered by the test.
#include "app/ui/mainform.h"
#include "app/ui/printcommands.h"
#include "print/ui/fstampa.h"

#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <QToolBar>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

#include "app/ui/editorcontrol.h"
#include "document/aehtesto.h"
#include "objects/ui/framesetwidget.h"
#include "richtext/ui/aehbox.h"
#include "platform/memorysettings.h"
#include "platform/filesettings.h"
#include "platform/testing/manualeventloop.h"
#include "platform/testing/scriptedprocess.h"
#include "app/ui/commandset.h"
#include "app/ui/krlanguager.h"
#include "app/ui/pagetreecommands.h"
#include "document/ui/aehorderedtreeview.h"
#include "document/ui/pagespanel.h"
#include <QDockWidget>
#include "document/recordfields.h"
#include "platform/testing/testplatform.h"

namespace tarn::app::ui {
namespace {

namespace fs = std::filesystem;

class AnsweredMainForm : public TMainForm {
 public:
  using TMainForm::TMainForm;
  std::string openName;
  std::string saveName;
  int saveFilter = 1;
  std::optional<std::string> password;
  std::vector<std::string> saveErrors;
  int passwordQuestions = 0;

 protected:
  std::string AskOpenFileName() override { return openName; }
  std::string AskSaveFileName(const std::string&, int& filterIndex) override {
    filterIndex = saveFilter;
    return saveName;
  }
  std::optional<std::string> AskPassword() override {
    ++passwordQuestions;
    return password;
  }
  void ShowSaveErrors(const std::vector<std::string>& errors) override { saveErrors = errors; }
  std::string AskExportFolder(const std::string&) override { return exportFolder; }

 public:
  std::string exportFolder;
};

class MainWindow : public ::testing::Test {
 protected:
  MainWindow() {
    folder = fs::temp_directory_path() / ("tarn_mainform_" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder / "program" / "es_aeh");
    fs::copy_file(TARN_SAMPLE, folder / "sample.aeh");
    sample = (folder / "sample.aeh").string();
  }
  ~MainWindow() override { fs::remove_all(folder); }

  std::unique_ptr<AnsweredMainForm> Start(std::vector<std::string> arguments = {}, WindowServices services = {}) {
    auto window = std::make_unique<AnsweredMainForm>(
        store, ProgramFolders{folder / "program", folder / "program"}, &messages, nullptr, services);
    window->show();
    window->FormShow(ParseCommandLine(arguments));
    return window;
  }
  static void Trigger(TMainForm& window, const char* action) { window.Action(action)->trigger(); }
  // An edit the author made: the hypertext's title changes.
  static void Edit(TMainForm& window, std::string_view title) {
    window.Hypertext().SetTitle(title);
    window.SetModified(true);
  }
  std::string TitleOnDisk(const std::string& file) {
    platform::testing::RecordingMessages quiet;
    platform::testing::FixedTextMeasurer measurer;
    document::TAEHset set({&quiet, nullptr, &measurer, nullptr});
    return set.LoadFromFile(file) ? set.Title() : "(unreadable)";
  }

  fs::path folder;
  std::string sample;
  platform::MemorySettings store;
  platform::testing::RecordingMessages messages;
};

TEST_F(MainWindow, StartsWithAFileArgumentInEditMode) {
  auto window = Start({sample});
  EXPECT_EQ(window->FileName(), sample);
  EXPECT_EQ(window->windowTitle(), "sample.aeh - Tarn");
  EXPECT_TRUE(window->EditMode());
  EXPECT_FALSE(window->IsModified());
  EXPECT_EQ(window->Editor().MainPageNumber(), 0);  // the cover
  EXPECT_EQ(window->Recent().Entries(), (std::vector<std::string>{sample}));
  EXPECT_TRUE(messages.entries.empty()) << messages.entries.front().text;
}

TEST_F(MainWindow, WithoutArgumentsTheLastFileOpensUnlessBlankIsAsked) {
  platform::Registry registry(store);
  registry.WriteOption("LastFile", sample);
  EXPECT_EQ(Start()->FileName(), sample);
  registry.WriteOption("AtStartBlank", "1");
  auto window = Start();
  EXPECT_EQ(window->FileName(), "Untitled");
  EXPECT_EQ(window->Hypertext().CountOf(document::testoHtml), 1);  // a new hypertext has its first page
}

TEST_F(MainWindow, SwitchesFirstAndAFileAfterThem) {
  auto window = Start({"/print", sample});
  EXPECT_EQ(window->FileName(), sample);
  EXPECT_EQ(window->PendingAction(), NextAction::Print);
  // The deferred action runs 300 ms after the window is shown, not before:
  // it opens the print dialog.
  int dialogs = 0;
  window->Prints().runDialog = [&dialogs](print::ui::TFstampa& dialog) {
    ++dialogs;
    EXPECT_EQ(dialog.DialogMode(), print::ui::TFstampa::Mode::Print);
  };
  EXPECT_EQ(dialogs, 0);
  EXPECT_TRUE(QTest::qWaitFor([&] { return dialogs == 1; }, 5000));

  // A switch after the file is part of the file name: nothing by that name.
  messages.Clear();
  window = Start({sample, "/PRINT"});
  EXPECT_EQ(window->FileName(), "Untitled");
  EXPECT_EQ(window->PendingAction(), NextAction::ProbeWordProcessor);
}

TEST_F(MainWindow, SaveWritesTheChangeAndKeepsABackup) {
  auto window = Start({sample});
  Edit(*window, "Changed title");
  EXPECT_TRUE(window->IsModified());
  EXPECT_EQ(window->Action("FileSave")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
  Trigger(*window, "FileSave");
  EXPECT_TRUE(window->SaveSucceeded());
  EXPECT_FALSE(window->IsModified());
  EXPECT_EQ(TitleOnDisk(sample), "Changed title");
  EXPECT_TRUE(fs::exists(folder / "sample.aeh.bak") || fs::exists(folder / "sample.bak"));
}

TEST_F(MainWindow, TypingInThePageThenSavingStoresTheText) {
  auto window = Start({sample});
  auto& editor = static_cast<objects::ui::TInsiemeCornici&>(window->Editor());
  richtext::ui::TAEHbox* box = editor.BoxOf(*editor.Model().Top());
  ASSERT_NE(box, nullptr);
  box->setFocus();
  QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
  QTest::keyClicks(box, " Written in the test.");
  EXPECT_TRUE(window->IsModified());
  QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
  EXPECT_FALSE(window->IsModified());

  platform::testing::RecordingMessages quiet;
  platform::testing::FixedTextMeasurer measurer;
  document::TAEHset reread({&quiet, nullptr, &measurer, nullptr});
  ASSERT_TRUE(reread.LoadFromFile(sample));
  const auto* cover = static_cast<document::TAEHtesto*>(reread.GetObject(document::testoHtml, 0));
  ASSERT_NE(cover, nullptr);
  EXPECT_NE(cover->Markup().find("pictures<%>. Written in the test."), std::string::npos) << cover->Markup();
}

TEST_F(MainWindow, EditMenuCopiesAndPastesInThePage) {
  auto window = Start({sample});
  auto& editor = static_cast<objects::ui::TInsiemeCornici&>(window->Editor());
  richtext::ui::TAEHbox* box = editor.BoxOf(*editor.Model().Top());
  ASSERT_NE(box, nullptr);
  box->setFocus();
  QTest::keyClick(box, Qt::Key_Home, Qt::ControlModifier);
  QTest::keyClick(box, Qt::Key_End, Qt::ShiftModifier);  // "Welcome to Tarn"
  Trigger(*window, "EditCopy");
  // The first Ctrl+End ends the selection, the second goes to the text's end.
  QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
  QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
  Trigger(*window, "EditPaste");
  const auto& text = box->Text();
  const std::string& last = text.Paragraph(text.LastOwn()).text;
  EXPECT_TRUE(last.ends_with("pictures.Welcome to Tarn")) << last;
  EXPECT_TRUE(window->IsModified());
  // In preview nothing can be cut or pasted.
  QTest::keyClick(window.get(), Qt::Key_F11);
  EXPECT_FALSE(window->Action("EditPaste")->isVisible());
  EXPECT_TRUE(window->Action("EditCopy")->isVisible());
}

TEST_F(MainWindow, InPreviewALinkShowsItsPageAndPreviousPageComesBack) {
  auto window = Start({sample});
  QTest::keyClick(window.get(), Qt::Key_F11);
  ASSERT_FALSE(window->EditMode());
  auto& editor = static_cast<objects::ui::TInsiemeCornici&>(window->Editor());
  richtext::ui::TAEHbox* box = editor.BoxOf(*editor.Model().Top());
  ASSERT_NE(box, nullptr);
  // "Getting started" is the first link of the cover: click its middle.
  const auto& text = box->Text();
  const int paragraph = text.FirstOwn() + 1;
  const std::string& words = text.Paragraph(paragraph).text;
  const int character = static_cast<int>(words.find("Getting started")) + 3;
  const richtext::TextPos pos = box->Text().Layout().PositionToPoint(paragraph, character);
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(pos.x + 2, pos.y + pos.height / 2));
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(window->Editor().MainPageNumber(), 1);
  window->Action("PreviousPage")->trigger();
  EXPECT_EQ(window->Editor().MainPageNumber(), 0);
  window->Action("NextPage")->trigger();
  EXPECT_EQ(window->Editor().MainPageNumber(), 1);
}

TEST_F(MainWindow, NewHypertextSavedUnderAChosenName) {
  auto window = Start({sample});
  Trigger(*window, "FileNew");
  EXPECT_EQ(window->FileName(), "Untitled");
  EXPECT_TRUE(window->EditMode());
  Edit(*window, "Fresh");
  window->saveName = (folder / "fresh.aeh").string();
  Trigger(*window, "FileSave");  // untitled: asks for a name
  EXPECT_EQ(window->FileName(), window->saveName);
  EXPECT_EQ(window->windowTitle(), "fresh.aeh - Tarn");
  EXPECT_EQ(TitleOnDisk(window->saveName), "Fresh");
  EXPECT_EQ(window->Recent().Entries().back(), window->saveName);
}

TEST_F(MainWindow, ANewHypertextTakesItsFileNameAsTitleWithoutATrailingDot) {
  auto window = Start({sample});
  Trigger(*window, "FileNew");
  window->Hypertext().SetModified(true);
  window->saveName = (folder / "cafe.aeh").string();
  Trigger(*window, "FileSave");
  EXPECT_EQ(TitleOnDisk(window->saveName), "cafe");
}

TEST_F(MainWindow, ClosingAsksToSaveAndCancelKeepsTheWindow) {
  auto window = Start({sample});
  Edit(*window, "Unsaved");
  messages.answers = {platform::Answer::Cancel};
  EXPECT_FALSE(window->close());
  EXPECT_TRUE(messages.Saw("Save modifications to " + sample + "?"));
  EXPECT_TRUE(window->isVisible());
  EXPECT_NE(TitleOnDisk(sample), "Unsaved");

  messages.answers = {platform::Answer::Yes};
  EXPECT_TRUE(window->close());
  EXPECT_EQ(TitleOnDisk(sample), "Unsaved");
  platform::Registry registry(store);
  EXPECT_EQ(registry.ReadSubkeyValue("RecentFile", "0"), sample);
  EXPECT_EQ(registry.ReadOption("LastFile"), sample);
}

TEST_F(MainWindow, ANewDocumentClosedWithoutSavingAsksNothingWhenUnchanged) {
  auto window = Start();
  EXPECT_TRUE(window->close());
  EXPECT_TRUE(messages.entries.empty());
}

TEST_F(MainWindow, PagesOnlyReadAreNotAChangeToSave) {
  auto window = Start({sample});
  window->Editor().SetMainPageNumber(1);
  window->Editor().SetMainPageNumber(2);
  window->Editor().GoBack();
  EXPECT_FALSE(window->IsModified());
  EXPECT_TRUE(window->close());
  EXPECT_TRUE(messages.entries.empty());
}

TEST_F(MainWindow, PreviewAndEditSwitchWithF11) {
  auto window = Start({sample});
  window->activateWindow();
  QTest::keyClick(window.get(), Qt::Key_F11);
  EXPECT_FALSE(window->EditMode());
  EXPECT_TRUE(window->Editor().ReadOnly());
  EXPECT_TRUE(window->Action("ReadOnly")->isChecked());
  EXPECT_FALSE(window->Action("FileSave")->isVisible());
  EXPECT_TRUE(window->Action("ReloadPage")->isVisible());
  QTest::keyClick(window.get(), Qt::Key_F11);
  EXPECT_TRUE(window->EditMode());
  EXPECT_TRUE(window->Action("EditButton")->isChecked());
}

TEST_F(MainWindow, AProtectedHypertextOpensInPreviewAndAsksForItsPassword) {
  {
    platform::testing::RecordingMessages quiet;
    platform::testing::FixedTextMeasurer measurer;
    document::TAEHset set({&quiet, nullptr, &measurer, nullptr});
    ASSERT_TRUE(set.LoadFromFile(sample));
    set.Header()[document::header::kReadOnly] = 1;
    set.SetHeaderString(document::header::kPassword, 16, "secret");
    ASSERT_TRUE(set.SaveToFile(sample));
  }
  auto window = Start({sample});
  EXPECT_FALSE(window->EditMode());
  window->password = "wrong";
  EXPECT_FALSE(window->SwitchMode(true));
  EXPECT_TRUE(messages.Saw("Password errata!"));
  EXPECT_FALSE(window->EditMode());
  EXPECT_FALSE(window->Action("EditButton")->isChecked());
  window->password = "secret";
  EXPECT_TRUE(window->SwitchMode(true));
  EXPECT_TRUE(window->EditMode());
  EXPECT_EQ(window->passwordQuestions, 2);
}

TEST_F(MainWindow, AFailedLoadLeavesAnUntitledDocumentAndDropsTheRecentEntry) {
  auto window = Start({sample});
  const std::string missing = (folder / "gone.aeh").string();
  window->LoadHypertext(missing, false);
  EXPECT_EQ(window->FileName(), "Untitled");
  EXPECT_EQ(window->Recent().Entries(), (std::vector<std::string>{sample}));
  EXPECT_EQ(window->Hypertext().CountOf(document::testoHtml), 1);
}

TEST_F(MainWindow, BrowserPreviewListsTheConfiguredBrowsersAndTheLibraryIsMade) {
  platform::Registry registry(store);
  registry.WriteSubkeyValue("Browser", "Num", "2");
  registry.WriteSubkeyValue("Browser\\0", "Name", "Firefox");
  registry.WriteSubkeyValue("Browser\\1", "Name", "Lynx");
  auto window = Start();
  QStringList captions;
  bool afterSeparator = false;
  for (QAction* item : window->BrowserPreviewMenu()->actions()) {
    if (item->objectName() == "N28") {
      afterSeparator = true;
      EXPECT_TRUE(item->isVisible());
    } else if (afterSeparator) {
      captions << item->text();
    }
  }
  EXPECT_EQ(captions, QStringList({"Current page in Firefox", "All hypertext in Firefox", "Current page in Lynx",
                                   "All hypertext in Lynx"}));
  // No library yet: an empty one is made where the program keeps it.
  EXPECT_TRUE(fs::exists(folder / "program" / "Custom" / "default.cus"));
  EXPECT_TRUE(fs::is_directory(folder / "program" / "FrameTemplates"));
}

TEST_F(MainWindow, ATemplateOpensAsAnUntitledHypertext) {
  auto window = Start();
  messages.Clear();
  window->LoadHypertext(sample, true);
  EXPECT_EQ(window->FileName(), "Untitled");
  EXPECT_TRUE(window->Hypertext().AEHFileName().empty());
  EXPECT_EQ(window->Hypertext().CountOf(document::testoHtml), 4);  // the template's pages
  EXPECT_TRUE(messages.entries.empty()) << messages.entries.front().text;
  EXPECT_TRUE(window->Recent().Entries().empty());
}

TEST_F(MainWindow, SaveReminderFollowsTheOptions) {
  platform::Registry registry(store);
  registry.WriteOption("PromemSave", "1");
  registry.WriteOption("TimeSave", "10");
  platform::testing::ManualEventLoop loop;
  auto window = Start({}, {&loop, nullptr});
  EXPECT_TRUE(window->SaveTimer().Active());
  EXPECT_EQ(window->SaveTimer().Interval(), 600000);
  // Ten minutes on, the author is reminded, and again ten minutes later.
  loop.Advance(599999);
  EXPECT_FALSE(messages.Saw("Remember: do you want to save?"));
  loop.Advance(1);
  EXPECT_TRUE(messages.Saw("Remember: do you want to save?"));
  messages.Clear();
  loop.Advance(600000);
  EXPECT_TRUE(messages.Saw("Remember: do you want to save?"));
}

// ---- The commands of the table ----

TEST_F(MainWindow, EveryBuiltOperationIsBoundAndOthersSayTheyAreNotAvailable) {
  auto window = Start({sample});
  std::vector<std::string> built(BuiltOperations().begin(), BuiltOperations().end());
  std::sort(built.begin(), built.end());
  EXPECT_EQ(window->Commands().BoundMethods(), built);
  messages.Clear();
  // A menu item, a toolbar button and a popup item not built yet.
  const std::pair<const char*, const char*> unbuilt[] = {
      {"GetHypertext1", "Get hypertext from net is not available in this version yet."},
      {"ImageButton", "Insert image is not available in this version yet."},
      {"TabCopyBackground", "Copy background in clipboard is not available in this version yet."}};
  for (const auto& [name, text] : unbuilt) {
    ASSERT_NE(window->Action(name), nullptr) << name;
    window->Action(name)->trigger();
    EXPECT_TRUE(messages.Saw(text)) << name;
  }
}

TEST_F(MainWindow, NoTwoCommandsAnswerOneKeyAndCtrlF12Opens) {
  auto window = Start({sample});
  std::map<QString, QString> owners;
  for (QAction* action : window->findChildren<QAction*>()) {
    if (action->shortcutContext() != Qt::WindowShortcut) continue;
    for (const QKeySequence& key : action->shortcuts()) {
      const QString text = key.toString();
      EXPECT_TRUE(owners.emplace(text, action->objectName()).second)
          << text.toStdString() << ": " << owners[text].toStdString() << " and " << action->objectName().toStdString();
    }
  }
  // The key given twice runs the first in menu order.
  window->openName = "";
  window->Hypertext().SetModified(false);
  messages.Clear();
  QTest::keyClick(window.get(), Qt::Key_F12, Qt::ControlModifier);
  EXPECT_EQ(window->FileName(), sample);  // the open dialog was asked, and cancelled
  EXPECT_EQ(window->Action("ScegliDaAnteprima2")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F12));
  EXPECT_TRUE(messages.entries.empty());  // "All hypertext pages" did not run
}

TEST_F(MainWindow, ExportPagesWritesTheSiteIntoTheChosenFolder) {
  auto window = Start({sample});
  const fs::path site = folder / "site";
  window->exportFolder = site.string();
  messages.Clear();
  QTest::keyClick(window.get(), Qt::Key_E, Qt::ControlModifier);
  const std::size_t pages = static_cast<std::size_t>(window->Hypertext().CountOf(document::testoHtml));
  std::size_t written = 0;
  for (const auto& file : fs::directory_iterator(site)) written += file.path().extension() == ".htm" ? 1 : 0;
  EXPECT_EQ(written, pages);
  EXPECT_TRUE(fs::exists(site / (window->Hypertext().ExpPrefix() + "_style.css")));
  EXPECT_TRUE(messages.Saw("The hypertext was exported: " + std::to_string(pages) + " pages written to " +
                           site.string() + "."));
  // The folder is proposed again next time.
  EXPECT_EQ(platform::Registry(store).ReadSubkeyValue("exp\\0", "expPathInWindow"), site.string() + "/");
  // Cancelling the folder writes nothing and says nothing.
  window->exportFolder.clear();
  messages.Clear();
  window->Action("FileExport")->trigger();
  EXPECT_TRUE(messages.entries.empty());
}

TEST_F(MainWindow, BrowserPreviewOpensTheExportedPageAndLinksLeaveThroughTheDesktop) {
  platform::testing::ScriptedProcess process;
  platform::Registry registry(store);
  registry.WriteSubkeyValue("Browser", "num", "1");
  registry.WriteSubkeyValue("Browser\\0", "Name", "Firefox");
  registry.WriteSubkeyValue("Browser\\0", "appPath", "/usr/bin/firefox");
  auto window = Start({sample}, {nullptr, &process});
  window->Action("PreviewPage")->trigger();
  ASSERT_EQ(process.calls.size(), 1u);
  EXPECT_EQ(process.calls[0].program, "xdg-open");
  ASSERT_EQ(process.calls[0].arguments.size(), 1u);
  const fs::path page = process.calls[0].arguments[0];
  EXPECT_TRUE(fs::exists(page)) << page;
  EXPECT_EQ(page.parent_path().filename(), "TmpHP");

  // The configured browser gets a file address with forward slashes.
  QList<QAction*> items = window->BrowserPreviewMenu()->actions();
  ASSERT_EQ(items.back()->text(), "All hypertext in Firefox");
  items.back()->trigger();
  ASSERT_EQ(process.calls.size(), 2u);
  EXPECT_EQ(process.calls[1].program, "/usr/bin/firefox");
  EXPECT_EQ(process.calls[1].arguments, (std::vector<std::string>{"file://" + page.string()}));

  // In preview an address link goes to the desktop's browser or mail program.
  QTest::keyClick(window.get(), Qt::Key_F11);
  auto link = window->Hypertext().NewObject(document::internetLink);
  link->SetStr(document::field::kLinkUrl, document::field::kLinkUrlCapacity, "mailto:team@example.org");
  document::TAEHoggetto* registered = window->Hypertext().Register(std::move(link));
  auto& editor = static_cast<objects::ui::TInsiemeCornici&>(window->Editor());
  editor.OnDoLink({}, registered);
  ASSERT_EQ(process.calls.size(), 3u);
  EXPECT_EQ(process.calls[2].arguments, (std::vector<std::string>{"mailto:team@example.org"}));
}

TEST_F(MainWindow, TypingMarksTheStatusAndTheTitle) {
  auto window = Start({sample});
  auto* modified = window->findChild<QLabel*>("StatusPanel2");
  ASSERT_NE(modified, nullptr);
  EXPECT_EQ(modified->text(), "");
  auto& editor = static_cast<objects::ui::TInsiemeCornici&>(window->Editor());
  richtext::ui::TAEHbox* box = editor.BoxOf(*editor.Model().Top());
  ASSERT_NE(box, nullptr);
  box->setFocus();
  QTest::keyClicks(box, "x");
  EXPECT_EQ(modified->text(), "P modified");
  EXPECT_EQ(window->windowTitle(), "*sample.aeh - Tarn");
  QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(modified->text(), "");
  EXPECT_EQ(window->windowTitle(), "sample.aeh - Tarn");
}

TEST_F(MainWindow, LinkHintsShowTheirLongPartAndAreCleared) {
  auto window = Start({sample});
  auto& editor = static_cast<objects::ui::TInsiemeCornici&>(window->Editor());
  richtext::ui::TAEHbox* box = editor.BoxOf(*editor.Model().Top());
  ASSERT_NE(box, nullptr);
  // The pointer over "Getting started", the first link of the cover.
  const auto& text = box->Text();
  const int paragraph = text.FirstOwn() + 1;
  const int character = static_cast<int>(text.Paragraph(paragraph).text.find("Getting started")) + 3;
  const richtext::TextPos pos = text.Layout().PositionToPoint(paragraph, character);
  QTest::mouseMove(box, QPoint(pos.x + 2, pos.y + pos.height / 2));
  EXPECT_EQ(box->toolTip(), "Getting started");
  EXPECT_EQ(window->statusBar()->currentMessage(), "Link to: Getting started (1)");
  // Away from the link (over the title), the hint goes.
  const richtext::TextPos title = text.Layout().PositionToPoint(text.FirstOwn(), 2);
  QTest::mouseMove(box, QPoint(title.x + 2, title.y + title.height / 2));
  EXPECT_EQ(window->statusBar()->currentMessage(), "");
  // A hint still shown when the page changes goes with the page.
  editor.OnHint("Getting started|Link to: Getting started (1)");
  EXPECT_EQ(window->statusBar()->currentMessage(), "Link to: Getting started (1)");
  window->Editor().SetMainPageNumber(1);
  EXPECT_EQ(window->statusBar()->currentMessage(), "");
}

TEST_F(MainWindow, ToolbarsFollowTheObjectAndTheMode) {
  auto window = Start({sample});
  QToolBar* format = window->Commands().Toolbar("ToolbarFormato");
  QToolBar* images = window->Commands().Toolbar("ToolBarImage");
  auto& editor = static_cast<objects::ui::TInsiemeCornici&>(window->Editor());
  richtext::ui::TAEHbox* box = editor.BoxOf(*editor.Model().Top());
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(20, 8));
  EXPECT_TRUE(format->isVisible());
  EXPECT_TRUE(window->Commands().Toolbar("ToolbarInserimenti")->isVisible());
  EXPECT_FALSE(images->isVisible());
  EXPECT_FALSE(window->Commands().Menu("mTable")->menuAction()->isVisible());
  // Preview hides every editing tool; back in edit mode they return.
  QTest::keyClick(window.get(), Qt::Key_F11);
  EXPECT_FALSE(format->isVisible());
  EXPECT_FALSE(window->Commands().Toolbar("ToolbarEdit")->isVisible());
  QTest::keyClick(window.get(), Qt::Key_F11);
  EXPECT_TRUE(format->isVisible());
  // No toolbar button is without a picture.
  for (const CommandEntry& entry : CommandTable()) {
    if (entry.kind == CommandKind::Button) {
      EXPECT_FALSE(window->Action(std::string(entry.name).c_str())->icon().isNull()) << entry.name;
    }
  }
}

TEST_F(MainWindow, TheTranslatorStillReachesTheCommands) {
  auto window = Start({sample});
  TKrLanguager languager(window.get());
  const QStringList properties = languager.GetPropertiesList();
  EXPECT_TRUE(properties.contains("fileopen.caption"));
  EXPECT_TRUE(properties.contains("bfileopen.hint"));
  EXPECT_TRUE(properties.contains("mfile.caption"));
  languager.SetLocalizationString("*_*fileopen_caption\r\n &Apri...\r\n*_*bfileopen_hint\r\n Apri\r\n");
  EXPECT_EQ(window->Action("FileOpen")->text(), "&Apri...");
  EXPECT_EQ(window->Action("BFileOpen")->toolTip(), "Apri");
  EXPECT_EQ(window->Action("FileOpen")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F12));
}

TEST_F(MainWindow, LeavingWritesTheSettingsOnce) {
  const fs::path file = folder / "config" / "settings.ini";
  platform::FileSettings settings(file, &messages);
  auto window = std::make_unique<AnsweredMainForm>(settings, ProgramFolders{folder / "program", folder / "program"},
                                                   &messages);
  window->show();
  window->FormShow(ParseCommandLine({sample}));
  const int before = settings.Writes();
  EXPECT_TRUE(window->close());
  // The recent files, the last file, the toolbars and the window's place:
  // one write (the window's place follows on hiding).
  EXPECT_LE(settings.Writes() - before, 2);
  EXPECT_EQ(platform::Registry(settings).ReadOption("LastFile"), sample);
}

TEST_F(MainWindow, ThePagesPanelIsDockedAndFollowsTheEditorBothWays) {
  auto window = Start({sample});
  QDockWidget* dock = window->Pages().Dock();
  ASSERT_NE(dock, nullptr);
  EXPECT_EQ(window->dockWidgetArea(dock), Qt::LeftDockWidgetArea);
  document::ui::TAEHorderedTreeView& tree = window->Pages().Panel().Tree();
  const auto page = [](int i) { return document::MakeObjectId(document::testoHtml, i); };
  EXPECT_EQ(tree.SelectedObject(), page(0));
  // The editor moves on: the tree follows.
  window->Editor().SetMainPageNumber(2);
  EXPECT_EQ(tree.SelectedObject(), page(2));
  // A click on a page in the tree shows it in the editor.
  const QModelIndex at = tree.ItemModel().IndexOf(tree.Model().FindObject(page(1)));
  QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualRect(at).center());
  EXPECT_EQ(window->Editor().MainPageNumber(), 1);
}

}  // namespace
}  // namespace tarn::app::ui
