// Undo and redo in the main window as an author uses them: Ctrl+Z and the
// Edit menu's keys after typing, and the toolbar's drop-down lists taking
// several steps at once.
#include "undo/ui/undocommands.h"

#include <QAction>
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <filesystem>

#include "app/ui/commandset.h"
#include "app/ui/mainform.h"
#include "objects/ui/framesetwidget.h"
#include "platform/memorysettings.h"
#include "platform/testing/testplatform.h"
#include "richtext/ui/aehbox.h"
#include "undo/aehundolist.h"
#include "undo/ui/tundobox.h"

namespace tarn::undo::ui {
namespace {

namespace fs = std::filesystem;

class WindowUndo : public ::testing::Test {
 protected:
  WindowUndo() {
    folder = fs::temp_directory_path() / ("tarn_undo_" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder / "program");
    fs::copy_file(TARN_SAMPLE, folder / "sample.aeh");
    window = std::make_unique<app::ui::TMainForm>(store, app::ProgramFolders{folder / "program", folder / "program"},
                                                  &messages);
    window->show();
    window->FormShow(app::ParseCommandLine({(folder / "sample.aeh").string()}));
    auto& editor = static_cast<objects::ui::TInsiemeCornici&>(window->Editor());
    box = editor.BoxOf(*editor.Model().Top());
  }
  ~WindowUndo() override {
    window.reset();
    fs::remove_all(folder);
  }

  std::string Text() const { return box->SaveText(); }
  bool Enabled(const char* action) const { return window->Action(action)->isEnabled(); }
  void Type(const char* text) { QTest::keyClicks(box, text); }

  // Clicks the arrow of a toolbar button; the list that opens chooses
  // `entries` entries with the mouse.
  void ChooseFromDropDown(const char* button, int entries) {
    QAction* action = window->Action(button);
    QToolButton* tool = nullptr;
    for (QObject* object : action->associatedObjects()) {
      if (auto* bar = qobject_cast<QToolBar*>(object)) tool = qobject_cast<QToolButton*>(bar->widgetForAction(action));
    }
    ASSERT_NE(tool, nullptr);
    // The list opens once the click is over, in a loop of its own: a timer
    // waits for it and chooses; should it never open, the timer gives up.
    bool chosen = false;
    int ticks = 0;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
      auto* list = qobject_cast<TUndoBox*>(QApplication::activePopupWidget());
      if (list == nullptr) {
        if (++ticks > 200) poll.stop();
        return;
      }
      poll.stop();
      captions.clear();
      for (int i = 0; i < list->count(); ++i) captions.push_back(list->item(i)->text().toStdString());
      const QPoint at = list->visualItemRect(list->item(entries - 1)).center();
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
      chosen = true;
    });
    poll.start();
    // The arrow is the right part of a button with a drop-down.
    QTest::mouseClick(tool, Qt::LeftButton, {}, QPoint(tool->width() - 4, tool->height() / 2));
    for (int i = 0; i < 200 && !chosen; ++i) QTest::qWait(10);
    QApplication::processEvents();
    ASSERT_TRUE(chosen);
  }

  fs::path folder;
  platform::MemorySettings store;
  platform::testing::RecordingMessages messages;
  std::unique_ptr<app::ui::TMainForm> window;
  richtext::ui::TAEHbox* box = nullptr;
  std::vector<std::string> captions;
};

TEST_F(WindowUndo, CtrlZRestoresTypedTextAndTheMenuKeysGoBothWays) {
  ASSERT_NE(box, nullptr);
  box->setFocus();
  EXPECT_FALSE(Enabled("EditUndo"));
  QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
  const std::string before = Text();
  Type(" Typed by the author.");
  const std::string typed = Text();
  ASSERT_NE(typed, before);
  EXPECT_TRUE(Enabled("EditUndo"));
  EXPECT_TRUE(Enabled("UndoButton"));
  EXPECT_FALSE(Enabled("EditRedo"));

  QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Text(), before);
  EXPECT_FALSE(Enabled("EditUndo"));
  EXPECT_TRUE(Enabled("RedoButton"));
  // The box has the focus again: typing goes on where it was.
  EXPECT_EQ(QApplication::focusWidget(), box);

  QTest::keyClick(box, Qt::Key_Backspace, Qt::AltModifier | Qt::ShiftModifier);  // redo
  EXPECT_EQ(Text(), typed);
  QTest::keyClick(box, Qt::Key_Backspace, Qt::AltModifier);  // undo
  EXPECT_EQ(Text(), before);
  QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);  // redo, the Linux way
  EXPECT_EQ(Text(), typed);
}

TEST_F(WindowUndo, TheDropDownsTakeSeveralStepsAtOnce) {
  ASSERT_NE(box, nullptr);
  box->setFocus();
  QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
  const std::string before = Text();
  Type(" one");
  const std::string withOne = Text();
  QTest::keyClick(box, Qt::Key_Return);
  Type("two");
  const std::string after = Text();
  QTest::keyClick(box, Qt::Key_Home);
  QTest::keyClick(box, Qt::Key_Delete);
  const std::string last = Text();

  ChooseFromDropDown("UndoButton", 3);
  EXPECT_EQ(captions, (std::vector<std::string>{"Selection deletion", "Text insertion", "Paragraph insertion",
                                                "Text insertion"}));
  EXPECT_EQ(Text(), withOne);

  ChooseFromDropDown("UndoButton", 1);
  EXPECT_EQ(Text(), before);
  EXPECT_FALSE(Enabled("UndoButton"));

  ChooseFromDropDown("RedoButton", 3);
  EXPECT_EQ(captions.size(), 4u);
  EXPECT_EQ(Text(), after);
  ChooseFromDropDown("RedoButton", 1);
  EXPECT_EQ(Text(), last);
}

TEST_F(WindowUndo, AlignmentFromTheToolbarIsOneStep) {
  ASSERT_NE(box, nullptr);
  box->setFocus();
  const std::string before = Text();
  window->Action("CenterAlign")->trigger();
  const std::string centred = Text();
  ASSERT_NE(centred, before);
  EXPECT_EQ(box->ParaAttributes().Alignment(), 2);

  ChooseFromDropDown("UndoButton", 1);
  EXPECT_EQ(captions, std::vector<std::string>{"Center"});
  EXPECT_EQ(Text(), before);
  ChooseFromDropDown("RedoButton", 1);
  EXPECT_EQ(captions, std::vector<std::string>{"Center"});
  EXPECT_EQ(Text(), centred);
}

}  // namespace
}  // namespace tarn::undo::ui
