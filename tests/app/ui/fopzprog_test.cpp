// The program-options dialog driven as a user drives it: what it shows for
// stored options, the limits of its numbers, what OK stores and Cancel does
// not, the extension and browser lists, the reset and the spell tab.
#include "app/ui/fopzprog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QAbstractButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "app/ui/fakeoptionshost.h"
#include "platform/memorysettings.h"
#include "platform/registry.h"
#include "platform/testing/testplatform.h"

namespace tarn::app::ui {
namespace {

class OptionsDialog : public ::testing::Test {
 protected:
  std::unique_ptr<TFopzProg> Open() {
    auto dialog = std::make_unique<TFopzProg>(registry, host, messages);
    dialog->show();
    return dialog;
  }
  template <typename T>
  static T* Find(QWidget* dialog, const char* name) {
    T* widget = dialog->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  static void Click(QWidget* dialog, const char* button) {
    QTest::mouseClick(Find<QPushButton>(dialog, button), Qt::LeftButton);
  }
  // Where a user clicks a check box or radio button: on its mark.
  static void Tick(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
  }
  static QRadioButton* Radio(QWidget* dialog, const char* group, int index) {
    return Find<QGroupBox>(dialog, group)->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly).at(index);
  }

  platform::MemorySettings store;
  platform::Registry registry{store};
  testing::FakeOptionsHost host;
  platform::testing::RecordingMessages messages;
};

TEST_F(OptionsDialog, AnEmptyStoreShowsTheDefaultsInEnglish) {
  host.limit = 7;
  auto dialog = Open();
  EXPECT_EQ(dialog->windowTitle(), "Program options");
  const QStringList tabs = {"Editor", "Applications/Extensions", "Spell", "Browser"};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(dialog->Pages()->tabText(i), tabs[i]);
  const std::pair<const char*, bool> checks[] = {
      {"TipOfTheDay", true}, {"Bak", true},         {"NotSaveTool", true}, {"SaveTxtHtml", true},
      {"AtStartBlank", false}, {"PromemSave", false}, {"Virgolette", false}, {"CercaTop", false}};
  for (auto [option, ticked] : checks) EXPECT_EQ(dialog->Check(option)->isChecked(), ticked) << option;
  EXPECT_EQ(dialog->Check("Virgolette")->text(), "Typographic \"");
  EXPECT_FALSE(dialog->Check("dbDebug")->isVisible());
  EXPECT_EQ(dialog->Spin("maxCacheImg")->value(), 20);
  EXPECT_EQ(dialog->Spin("undoDeep")->value(), 20);
  EXPECT_EQ(dialog->Spin("TimeSave")->value(), 5);
  EXPECT_EQ(dialog->Spin("formLim")->value(), 7);  // the main window's current limit
  EXPECT_TRUE(Radio(dialog.get(), "rgCursors", 0)->isChecked());
  EXPECT_EQ(Radio(dialog.get(), "rgCursors", 3)->text(), "Big and evident");
  EXPECT_EQ(Find<QTreeWidget>(dialog.get(), "extlist")->headerItem()->text(0), "Extension");
  // No spelling engine: the tab says so and has nothing else.
  EXPECT_EQ(Find<QLabel>(dialog.get(), "lNoSpell")->text(),
            "Spelling engine (Hunspell) or its dictionaries not installed.");
  EXPECT_EQ(dialog->findChild<QComboBox*>("cbLanguage"), nullptr);
}

TEST_F(OptionsDialog, StoredValuesAreShownAndNumbersKeepTheirLimits) {
  registry.WriteOption("bak", "0");
  registry.WriteOption("TIPOFTHEDAY", "0");
  registry.WriteOption("virgolette", "1");
  registry.WriteOption("cursors", "3");
  registry.WriteOption("maxcacheimg", "150");
  auto dialog = Open();
  EXPECT_FALSE(dialog->Check("Bak")->isChecked());
  EXPECT_FALSE(dialog->Check("TipOfTheDay")->isChecked());
  EXPECT_TRUE(dialog->Check("Virgolette")->isChecked());
  EXPECT_TRUE(Radio(dialog.get(), "rgCursors", 3)->isChecked());
  EXPECT_EQ(dialog->Spin("maxCacheImg")->value(), 150);

  // Paging up and down far past the ends stops at each number's limits.
  const std::tuple<const char*, Qt::Key, int> limits[] = {{"maxCacheImg", Qt::Key_PageUp, 200},
                                                          {"maxCacheImg", Qt::Key_PageDown, 10},
                                                          {"undoDeep", Qt::Key_PageUp, 100},
                                                          {"undoDeep", Qt::Key_PageDown, 5},
                                                          {"formLim", Qt::Key_PageUp, 10},
                                                          {"formLim", Qt::Key_PageDown, 3}};
  for (auto [option, key, expected] : limits) {
    QSpinBox* spin = dialog->Spin(option);
    for (int i = 0; i < 30; ++i) QTest::keyClick(spin, key);
    EXPECT_EQ(spin->value(), expected) << option;
  }
}

TEST_F(OptionsDialog, OkStoresEveryOptionAndAppliesThem) {
  registry.WriteOption("undoDeep", "abc");  // not a number: left alone unless changed
  auto dialog = Open();
  Tick(dialog->Check("Bak"));
  Tick(dialog->Check("PromemSave"));
  Tick(Radio(dialog.get(), "rgCursors", 2));
  QTest::keyClick(dialog->Spin("TimeSave"), Qt::Key_Up);
  QTest::keyClick(dialog->Spin("formLim"), Qt::Key_Up);
  Click(dialog.get(), "bOk");
  EXPECT_EQ(dialog->result(), QDialog::Accepted);

  const std::pair<const char*, const char*> stored[] = {
      {"Bak", "0"},         {"PromemSave", "1"},   {"Cursors", "2"},     {"TimeSave", "6"},
      {"formLim", "4"},     {"maxCacheImg", "20"}, {"undoDeep", "abc"},  {"TipOfTheDay", "1"},
      {"NotSaveTool", "1"}, {"SaveTxtHtml", "1"},  {"AtStartBlank", "0"}, {"dbDebug", "0"}};
  for (auto [option, value] : stored) EXPECT_EQ(registry.ReadOption(option), value) << option;
  EXPECT_EQ(host.limit, 4);
  EXPECT_EQ(host.applied, 1);
  const platform::ProgramOptions options = platform::ReadProgramOptions(registry);
  EXPECT_EQ(options.SaveReminderMilliseconds(), 360000);
  EXPECT_EQ(options.pointerSet, 2);
}

TEST_F(OptionsDialog, CancelStoresNothing) {
  auto dialog = Open();
  Tick(dialog->Check("AtStartBlank"));
  Click(dialog.get(), "bCancel");
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
  EXPECT_EQ(registry.ReadOption("AtStartBlank"), "");
  EXPECT_EQ(host.applied, 0);
}

TEST_F(OptionsDialog, ExtensionsAreEditedAddedAndDeleted) {
  for (const char* extension : {".doc", ".pdf", ".zip"}) {
    registry.WriteSubkeyValue(std::string("ext\\") + extension, "appPath", std::string("/usr/bin/x") + extension);
    registry.WriteSubkeyValue(std::string("ext\\") + extension, "nam", std::string("files ") + extension);
  }
  registry.WriteSubkeyValue("ext\\.pdf", "comp", "3");
  registry.WriteSubkeyValue("ext\\.zip", "comp", "many");
  auto dialog = Open();
  dialog->Pages()->setCurrentIndex(1);
  auto* list = Find<QTreeWidget>(dialog.get(), "extlist");
  ASSERT_EQ(list->topLevelItemCount(), 3);

  // Selecting an entry shows its fields.
  list->setCurrentItem(list->topLevelItem(1));
  EXPECT_EQ(Find<QLineEdit>(dialog.get(), "eDescription")->text(), "files .pdf");
  EXPECT_TRUE(Radio(dialog.get(), "rgcomp", 3)->isChecked());
  list->setCurrentItem(list->topLevelItem(2));
  EXPECT_TRUE(Radio(dialog.get(), "rgcomp", 0)->isChecked());  // "many" counts as 0

  // Del in the list deletes the selected extension's stored entry at once,
  // and only that one, whatever follows.
  list->setCurrentItem(list->topLevelItem(0));
  list->setFocus();
  QTest::keyClick(list, Qt::Key_Delete, Qt::ShiftModifier);  // with a modifier: nothing
  EXPECT_EQ(list->topLevelItemCount(), 3);
  QTest::keyClick(list, Qt::Key_Delete);
  EXPECT_EQ(list->topLevelItemCount(), 2);
  EXPECT_EQ(list->currentItem()->text(0), ".pdf");
  Click(dialog.get(), "bCancel");
  EXPECT_EQ(registry.ListSubkeys("ext"), (std::vector<std::string>{".pdf", ".zip"}));
  EXPECT_EQ(registry.ReadSubkeyValue("ext\\.pdf", "comp"), "3");

  // Add appends ".new" as "ask user" with the current description and path;
  // editing the fields writes into the selected entry.
  dialog = Open();
  dialog->Pages()->setCurrentIndex(1);
  list = Find<QTreeWidget>(dialog.get(), "extlist");
  Click(dialog.get(), "bAddExt");
  ASSERT_EQ(list->topLevelItemCount(), 3);
  EXPECT_EQ(list->currentItem()->text(0), ".new");
  // The caption is open for editing: type the extension's name.
  auto* caption = list->viewport()->findChild<QLineEdit*>();
  ASSERT_NE(caption, nullptr);
  QTest::keyClicks(caption, ".txt");
  QTest::keyClick(caption, Qt::Key_Return);
  QCoreApplication::processEvents();  // the view takes the caption when the event loop runs
  EXPECT_EQ(list->currentItem()->text(0), ".txt");
  auto* description = Find<QLineEdit>(dialog.get(), "eDescription");
  description->selectAll();
  QTest::keyClicks(description, "Notes");
  Click(dialog.get(), "bOk");
  EXPECT_EQ(registry.ReadSubkeyValue("ext\\.txt", "nam"), "Notes");
  EXPECT_EQ(registry.ReadSubkeyValue("ext\\.txt", "comp"), "0");
  EXPECT_EQ(registry.ReadSubkeyValue("ext\\.txt", "appPath"), "/usr/bin/x.pdf");
  EXPECT_EQ(registry.ExtensionBehaviour(".PDF", -1), 3);
}

TEST_F(OptionsDialog, ABrowserListReducedStoresTheNewCountOnly) {
  registry.WriteSubkeyValue("Browser", "Num", "3");
  for (int i = 0; i < 3; ++i) {
    registry.WriteSubkeyValue("Browser\\" + std::to_string(i), "Name", "B" + std::to_string(i));
    registry.WriteSubkeyValue("Browser\\" + std::to_string(i), "appPath", "/opt/b" + std::to_string(i));
  }
  auto dialog = Open();
  auto* list = Find<QListWidget>(dialog.get(), "lbBrowsers");
  ASSERT_EQ(list->count(), 3);
  EXPECT_EQ(Find<QLineEdit>(dialog.get(), "eBrowserPath")->text(), "/opt/b0");
  list->setCurrentRow(0);
  Click(dialog.get(), "bDelBrowser");
  list->setCurrentRow(1);
  Click(dialog.get(), "bDelBrowser");
  Click(dialog.get(), "bOk");
  EXPECT_EQ(registry.ReadSubkeyValue("Browser", "Num"), "1");
  EXPECT_EQ(registry.ReadSubkeyValue("Browser\\0", "Name"), "B1");
  EXPECT_EQ(registry.ReadSubkeyValue("Browser\\0", "appPath"), "/opt/b1");
  EXPECT_EQ(registry.ReadSubkeyValue("Browser\\2", "Name"), "B2");  // left, and no longer read
}

TEST_F(OptionsDialog, ACaptionStillBeingEditedCountsOnOk) {
  auto dialog = Open();
  dialog->Pages()->setCurrentIndex(3);
  auto* list = Find<QListWidget>(dialog.get(), "lbBrowsers");
  Click(dialog.get(), "bAddBrowser");
  auto* caption = list->viewport()->findChild<QLineEdit*>();
  ASSERT_NE(caption, nullptr);
  QTest::keyClicks(caption, "Firefox");
  Click(dialog.get(), "bOk");
  EXPECT_EQ(registry.ReadSubkeyValue("Browser", "Num"), "1");
  EXPECT_EQ(registry.ReadSubkeyValue("Browser\\0", "Name"), "Firefox");
}

TEST_F(OptionsDialog, ResetOfWindowPositionsAsksFirst) {
  registry.WriteSubkeyValue("forms\\TMainForm", "Width", "800");
  auto dialog = Open();
  Click(dialog.get(), "bResetForms");  // answered No
  EXPECT_TRUE(messages.Saw(
      "You should close the program immediately in order the reset to take effect. Proceed with the reset?"));
  EXPECT_EQ(registry.ReadSubkeyValue("forms\\TMainForm", "Width"), "800");
  EXPECT_FALSE(host.placementStopped);

  messages.answers.push_back(platform::Answer::Yes);
  Click(dialog.get(), "bResetForms");
  EXPECT_TRUE(registry.ListSubkeys("forms").empty());
  EXPECT_TRUE(host.placementStopped);
  // The dialog does not write its own position back either.
  Click(dialog.get(), "bCancel");
  EXPECT_TRUE(registry.ListSubkeys("forms").empty());
}

TEST_F(OptionsDialog, SpellTabChangesLanguageAndFallsBackWhenItCannotOpen) {
  testing::FakeSpellChecker checker;
  host.speller = &checker;
  auto dialog = Open();
  auto* language = Find<QComboBox>(dialog.get(), "cbLanguage");
  ASSERT_EQ(language->count(), 3);
  EXPECT_EQ(language->itemText(0), "Deutsch");  // sorted
  EXPECT_EQ(language->currentText(), "Italiano");
  EXPECT_TRUE(Find<QCheckBox>(dialog.get(), "cbCaps")->isChecked());
  EXPECT_FALSE(Find<QCheckBox>(dialog.get(), "cbRepeat")->isChecked());

  checker.refusedLanguage = 1031;
  language->setCurrentIndex(0);
  Tick(Find<QCheckBox>(dialog.get(), "cbRepeat"));
  Click(dialog.get(), "bOk");
  EXPECT_EQ(registry.ReadSubkeyValue("orto", "lang"), "1031");
  EXPECT_EQ(checker.language, 1040);  // Deutsch would not open: back to the old one
  EXPECT_EQ(checker.log, (std::vector<std::string>{"close", "open 1031", "open 1040"}));
  EXPECT_EQ(host.modes, (std::vector<bool>{false, true}));  // read-only while switching, then editing again
  EXPECT_EQ(registry.ReadSubkeyValue("orto", "repeat"), "1");
  EXPECT_NE(checker.options & spoFindRepeatWord, 0);
}

TEST(FileFilters, WindowsFiltersBecomeQtFilters) {
  EXPECT_EQ(QtFileFilter("Executable files (*.exe,*.com)|*.EXE;*.COM|All files (*.*)|*.*"),
            "Executable files (*.exe *.EXE *.com *.COM);;All files (*)");
  EXPECT_EQ(QtFileFilter("Frames|*.frm"), "Frames (*.frm *.FRM)");
}

}  // namespace
}  // namespace tarn::app::ui
