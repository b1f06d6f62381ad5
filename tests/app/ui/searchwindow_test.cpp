// The search window and the spell checker in the main window, used as an
// author uses them: finding pages, replacing across the hypertext with the
// questions and undo, the misspelt word underlined after typing and
// corrected from the spelling menu, and the spelling dialog's buttons.
#include "app/ui/fcerca.h"

#include <QAction>
#include <QCheckBox>
#include <QRadioButton>
#include <QComboBox>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/ui/mainform.h"
#include "app/ui/searchcommands.h"
#include "app/ui/spellchecker.h"
#include "app/ui/spellerdialog.h"
#include "document/aehset.h"
#include "objects/ui/framesetwidget.h"
#include "platform/memorysettings.h"
#include "platform/registry.h"
#include "platform/testing/testplatform.h"
#include "richtext/ui/aehbox.h"
#include "search/searchoptions.h"

namespace tarn::app::ui {
namespace {

namespace fs = std::filesystem;

class SearchWindow : public ::testing::Test {
 protected:
  SearchWindow() {
    folder = fs::temp_directory_path() / ("tarn_search_" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder / "program");
    fs::copy_file(TARN_SAMPLE, folder / "sample.aeh");
    // The sample is English; the checker's default language is Italian.
    platform::Registry(store).WriteSubkeyValue("orto", "lang", "1033");
    window = std::make_unique<TMainForm>(store, ProgramFolders{folder / "program", folder / "program"}, &messages);
    window->show();
    window->FormShow(ParseCommandLine({(folder / "sample.aeh").string()}));
    editor = &static_cast<objects::ui::TInsiemeCornici&>(window->Editor());
  }
  ~SearchWindow() override {
    window.reset();
    fs::remove_all(folder);
  }
  richtext::ui::TAEHbox* Box() const { return editor->BoxOf(*editor->Model().Top()); }
  TFcerca& Search() { return window->Searches().Window(); }
  std::string Stored(int page) {
    editor->Model().Current();
    return editor->Model().LinkedSet()->GetObject(document::testoHtml, page)->ReadContent().value_or("");
  }
  QString Status() const { return window->statusBar()->currentMessage(); }

  platform::MemorySettings store;
  platform::testing::RecordingMessages messages;
  fs::path folder;
  std::unique_ptr<TMainForm> window;
  objects::ui::TInsiemeCornici* editor = nullptr;
};

TEST_F(SearchWindow, WordsFoundInThePageAndAcrossTheHypertext) {
  // F3 with nothing to search for opens the window on the word tab.
  QTest::keyClick(window.get(), Qt::Key_F3);
  TFcerca& search = Search();
  ASSERT_TRUE(search.isVisible());
  EXPECT_EQ(search.Tabs()->currentIndex(), TFcerca::kWordTab);
  search.Word(0)->setCurrentText("the");
  search.Word(1)->setCurrentText("page");
  QTest::mouseClick(search.findChild<QPushButton*>("BAllPages"), Qt::LeftButton);
  ASSERT_EQ(search.Results()->count(), 3);
  EXPECT_TRUE(search.Results()->item(1)->text().startsWith("1  Getting started"));

  // Typing into "Or:" while "Search word:" is empty moves the text there.
  search.ClearWords();
  search.Word(2)->setCurrentText("every");
  EXPECT_EQ(search.Word(0)->currentText(), "every");
  EXPECT_EQ(search.Word(2)->currentText(), "");

  // F4 goes to the next page holding the word and selects it.
  QTest::keyClick(window.get(), Qt::Key_F4);
  EXPECT_EQ(editor->MainPageNumber(), 1);
  EXPECT_EQ(Box()->TextAttributes().SelectedText(), "Every");
  // In the page: the next occurrences from the caret, then none.
  search.Word(0)->setCurrentText("to");
  EXPECT_TRUE(search.SearchInPage());
  EXPECT_EQ(search.PageButton()->text(), "&Continue in page  F3");
  EXPECT_TRUE(search.SearchInPage());
  EXPECT_EQ(Box()->Text().SelectionStart().character, 5);
  EXPECT_FALSE(search.SearchInPage());
  EXPECT_EQ(Status(), "Page search complete");
  EXPECT_FALSE(search.PageButton()->isEnabled());
  // No later page has it: the search does not wrap round.
  editor->SetMainPageNumber(3);
  EXPECT_FALSE(search.SearchInHypertext());
  EXPECT_EQ(Status(), "Hypertext search complete");
}

TEST_F(SearchWindow, ReplaceAllInTheHypertextWithUndoForTheOpenPage) {
  // Ctrl+R in the text opens the window on its replace tab.
  Box()->setFocus();
  QTest::keyClick(Box(), Qt::Key_R, Qt::ControlModifier);
  TFcerca& search = Search();
  ASSERT_TRUE(search.isVisible());
  EXPECT_EQ(search.Tabs()->currentIndex(), TFcerca::kReplaceTab);
  search.ReplaceWord()->setCurrentText("page");
  search.ReplaceWith()->setCurrentText("sheet");
  search.AskAll()->setChecked(false);
  search.FromPageZero()->setChecked(true);
  QTest::keyClick(window.get(), Qt::Key_F4);
  EXPECT_EQ(Status(), "Hypertext replace complete");
  // The last page changed is shown; the pages left behind were written back.
  EXPECT_EQ(editor->MainPageNumber(), 2);
  EXPECT_NE(Box()->SaveText().find("shows another sheet inside"), std::string::npos);
  EXPECT_EQ(Stored(0).find("page"), std::string::npos);
  EXPECT_NE(Stored(0).find("sheet"), std::string::npos);
  EXPECT_NE(Stored(1).find("Every sheet can"), std::string::npos);
  // Undo takes the open page's replacement back.
  QTest::keyClick(Box(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_NE(Box()->SaveText().find("shows another page inside"), std::string::npos);
}

TEST_F(SearchWindow, CancelAtTheFirstQuestionChangesNothing) {
  const std::string before = Stored(0) + Stored(1);
  TFcerca& search = Search();
  search.ShowTab(TFcerca::kReplaceTab);
  search.ReplaceWord()->setCurrentText("page");
  search.ReplaceWith()->setCurrentText("sheet");
  search.AskAll()->setChecked(true);
  messages.answers = {platform::Answer::Cancel};
  search.ReplaceAllInHypertext();
  EXPECT_EQ(Status(), "");
  EXPECT_TRUE(messages.Saw("Replace page?"));
  EXPECT_EQ(Stored(0) + Stored(1), before);
  // In preview the replace tab is not there and nothing is replaced.
  editor->SetReadOnly(true);
  window->Searches().EditModeChanged();
  EXPECT_EQ(search.Tabs()->indexOf(search.ReplaceWord()->parentWidget()), -1);
  EXPECT_FALSE(search.ReplaceStep());
}

// Until the author chooses a language, the desktop's is taken when its
// dictionary is installed (the portable locale being American English); a
// chosen one stays.
TEST(SpellLanguage, TheDesktopsUntilTheAuthorChoosesOne) {
  const char* before = std::getenv("LC_ALL");
  const std::string saved = before != nullptr ? before : "";
  ::setenv("LC_ALL", "C.UTF-8", 1);
  const fs::path folder = fs::temp_directory_path() / ("tarn_spelllang_" + std::to_string(::getpid()));
  fs::create_directories(folder / "program");
  for (const char* stored : {"", "1040"}) {
    platform::MemorySettings store;
    platform::testing::RecordingMessages messages;
    if (*stored != '\0') platform::Registry(store).WriteSubkeyValue("orto", "lang", stored);
    TMainForm window(store, ProgramFolders{folder / "program", folder / "program"}, &messages);
    window.FormShow(ParseCommandLine({}));
    ASSERT_NE(window.SpellChecker(), nullptr);
    EXPECT_EQ(window.SpellChecker()->Language(), *stored != '\0' ? 1040 : 1033) << stored;
  }
  if (before != nullptr) {
    ::setenv("LC_ALL", saved.c_str(), 1);
  } else {
    ::unsetenv("LC_ALL");
  }
  fs::remove_all(folder);
}

TEST_F(SearchWindow, AMisspeltWordIsUnderlinedAndTakesASuggestion) {
  ASSERT_TRUE(window->Searches().Speller().Checker().IsOpen()) << "hunspell-en-us is needed";
  editor->Model().AutoSpell = true;
  richtext::ui::TAEHbox* box = Box();
  box->setFocus();
  const richtext::CharPos end = box->Text().TextEndPos();
  box->SelectRange(end, end);
  QTest::keyClicks(box, " We recieve");
  const int paragraph = end.paragraph;
  auto marked = [&] {
    const auto& p = box->Text().Paragraph(paragraph);
    return p.spellingMarks.size() == p.text.size() && p.spellingMarks.substr(p.text.size() - 11) == "    !!!!!!!";
  };
  // QTRY_ would return silently from a gtest body on a timeout.
  ASSERT_TRUE(QTest::qWaitFor(marked, 8000));
  QMenu menu;
  box->BuildSpellMenu(menu, {paragraph, box->Text().Paragraph(paragraph).Length() - 2});
  ASSERT_FALSE(menu.actions().isEmpty());
  QAction* first = menu.actions().front();
  EXPECT_EQ(first->text(), "receive");
  first->trigger();
  EXPECT_NE(box->SaveText().find("We receive"), std::string::npos);
  // The correction is one undo step.
  QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_NE(box->SaveText().find("We recieve"), std::string::npos);
}

TEST_F(SearchWindow, OptionsAreKeptWhenTheWindowCloses) {
  TFcerca& search = Search();
  search.ShowTab(TFcerca::kWordTab);
  // Defaults: case ignored, a question before each replacement of a
  // replace-all, from page 0.
  EXPECT_EQ(search.Options(), 0);
  EXPECT_TRUE(search.AskAll()->isChecked());
  EXPECT_FALSE(search.AskOne()->isChecked());
  search.findChild<QCheckBox*>("CBWholeWord")->setChecked(true);
  search.findChild<QCheckBox*>("CBIgnoreCaps")->setChecked(false);
  // Each box keeps its counterpart on the other tab in step.
  EXPECT_TRUE(search.findChild<QCheckBox*>("CBRWholeWord")->isChecked());
  EXPECT_EQ(search.Options(), tarn::search::stWholeWord | tarn::search::stMatchCase);
  search.AskOne()->setChecked(true);
  search.findChild<QRadioButton*>("RBPresent")->setChecked(true);
  search.close();
  platform::Registry registry(store);
  EXPECT_EQ(registry.ReadSubkeyValue("finds", "wholeword"), "1");
  EXPECT_EQ(registry.ReadSubkeyValue("finds", "ignorecaps"), "0");
  EXPECT_EQ(registry.ReadSubkeyValue("finds", "conf1"), "1");
  EXPECT_EQ(registry.ReadSubkeyValue("finds", "confAll"), "1");
  EXPECT_EQ(registry.ReadSubkeyValue("finds", "startFrom"), "1");
}

TEST_F(SearchWindow, SpellChecksOfThePageAndOfTheHypertext) {
  SpellChecker& speller = window->Searches().Speller();
  ASSERT_TRUE(speller.Checker().IsOpen()) << "hunspell-en-us is needed";
  std::vector<std::string> stops;
  int checks = 0;
  std::function<void(search::TKrSpellChecker&)> onError;
  speller.runDialog = [&](search::TKrSpellChecker& checker) {
    ++checks;
    if (checker.Begin()) {
      stops.push_back(checker.Error().word);
      onError(checker);
    }
  };
  // The whole hypertext: the pages without errors pass, "Skip page" on the
  // last goes on (to the end), and the page shown comes back.
  onError = [](search::TKrSpellChecker& checker) { checker.SkipPage(); };
  const int pages = editor->Model().LinkedSet()->CountOf(document::testoHtml);
  speller.SpellCheckHypertext();
  EXPECT_EQ(checks, 4);
  // No page is made past the last one.
  EXPECT_EQ(editor->Model().LinkedSet()->CountOf(document::testoHtml), pages);
  EXPECT_EQ(stops, (std::vector<std::string>{"centred", "colour"}));
  EXPECT_EQ(editor->MainPageNumber(), 0);

  // F7 from the caret: the correction goes into the page as one undo step.
  richtext::ui::TAEHbox* box = Box();
  box->setFocus();
  box->SelectRange(box->Text().TextStartPos(), box->Text().TextStartPos());
  QTest::keyClicks(box, "Teh ");
  box->SelectRange(box->Text().TextStartPos(), box->Text().TextStartPos());
  onError = [](search::TKrSpellChecker& checker) { checker.Change(checker.Error().suggestions.front(), false); };
  stops.clear();
  QTest::keyClick(window.get(), Qt::Key_F7);
  EXPECT_EQ(stops, std::vector<std::string>{"Teh"});
  const std::string corrected = box->SaveText();
  EXPECT_EQ(corrected.find("Teh "), std::string::npos);
  QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_NE(box->SaveText().find("Teh "), std::string::npos);

  // "Close" on the first page ends the whole check there.
  checks = 0;
  onError = [](search::TKrSpellChecker& checker) { checker.CloseCheck(); };
  speller.SpellCheckHypertext();
  EXPECT_EQ(checks, 1);
}

// The dialog over a checker of its own, with a dictionary written here.
class SpellerDialogTest : public ::testing::Test {
 protected:
  SpellerDialogTest()
      : folder(fs::temp_directory_path() / ("tarn_speller_" + std::to_string(::getpid()))),
        checker({folder}, folder / "CUSTOM.DIC") {
    fs::create_directories(folder);
    std::ofstream(folder / "it_IT.aff") << "SET UTF-8\nTRY abcdefghijklmnopqrstuvwxyz\n";
    std::ofstream(folder / "it_IT.dic") << "4\nthe\ncat\nsat\nmat\n";
    checker.Open();
    checker.OnGetPar = [this](int&) { return next < texts.size() ? texts[next++] : std::string(); };
    checker.OnChangeText = [this](int at, int length, const std::string& word, int) {
      changes += std::to_string(at) + "," + std::to_string(length) + "," + word + ";";
    };
  }
  ~SpellerDialogTest() override { fs::remove_all(folder); }
  // Runs the dialog; each step acts once the dialog waits for a button.
  void Run(std::vector<std::function<void(TKrSpellerDialog&)>> steps) {
    TKrSpellerDialog dialog(checker);
    std::size_t step = 0;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
      if (!dialog.isVisible() || !checker.Running()) return;
      if (step < steps.size()) steps[step++](dialog);
      else dialog.reject();
    });
    poll.start();
    dialog.Run();
  }
  fs::path folder;
  search::TKrSpellChecker checker;
  std::vector<std::string> texts;
  std::size_t next = 0;
  std::string changes;
};

TEST_F(SpellerDialogTest, ChangeSkipAndAnEditedWord) {
  texts = {"the caat sat", "on teh maat"};
  std::vector<std::string> seen;
  Run({[&](TKrSpellerDialog& d) {
         seen.push_back(d.findChild<QTextEdit*>("Misspelling")->toPlainText().toStdString());
         EXPECT_EQ(d.findChild<QListWidget*>("Variants")->currentItem()->text(), "cat");
         QTest::mouseClick(d.findChild<QPushButton*>("ChangeButton"), Qt::LeftButton);
       },
       [&](TKrSpellerDialog& d) {
         EXPECT_EQ(checker.Error().word, "on");
         QTest::mouseClick(d.findChild<QPushButton*>("SkipButton"), Qt::LeftButton);
       },
       [&](TKrSpellerDialog& d) {
         EXPECT_EQ(checker.Error().word, "teh");
         // The user types over the error: only the error can be edited.
         auto* field = d.findChild<QTextEdit*>("Misspelling");
         QTextCursor cursor = field->textCursor();
         cursor.setPosition(3 + 3);
         field->setTextCursor(cursor);
         QTest::keyClick(field, Qt::Key_Backspace);
         QTest::keyClick(field, Qt::Key_Backspace);
         QTest::keyClicks(field, "he");
         EXPECT_TRUE(d.Editing());
         EXPECT_EQ(d.EditedText(), "the");
         EXPECT_TRUE(d.findChild<QPushButton*>("CancelEdit")->isVisible());
         EXPECT_FALSE(d.findChild<QPushButton*>("AddButton")->isEnabled());
         QTest::mouseClick(d.findChild<QPushButton*>("ChangeButton"), Qt::LeftButton);
       },
       [&](TKrSpellerDialog& d) {
         EXPECT_EQ(checker.Error().word, "maat");
         QTest::mouseClick(d.findChild<QPushButton*>("CancelButton"), Qt::LeftButton);
       }});
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], "the caat sat");
  EXPECT_EQ(changes, "4,4,cat;3,3,the;");
  EXPECT_TRUE(checker.Cancelled());
}

}  // namespace
}  // namespace tarn::app::ui
