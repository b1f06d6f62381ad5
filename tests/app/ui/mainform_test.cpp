// The main window used as an author uses it: started with a file, a new
// hypertext, saving, the save question when closing, edit and preview,
// recent files and the command-line forms. Dialogs that would wait for a
// person are answered by the test.
#include "app/ui/mainform.h"

#include <QAction>
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
#include "platform/testing/manualeventloop.h"
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
  // The deferred action runs 300 ms after the window is shown, not before.
  EXPECT_FALSE(messages.Saw("Printing is not available in this version yet."));
  EXPECT_TRUE(QTest::qWaitFor([&] { return messages.Saw("Printing is not available in this version yet."); }, 5000));

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
  EXPECT_EQ(window->Hypertext().CountOf(document::testoHtml), 3);  // the template's pages
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

}  // namespace
}  // namespace tarn::app::ui
