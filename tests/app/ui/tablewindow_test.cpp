// A table made and edited in the program's main window, with undo taken the
// way an author takes it: Ctrl+Z and the Edit menu's Undo, which move the
// focus out of the cell being edited and back.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

#include "app/ui/mainform.h"
#include "document/aehset.h"
#include "document/aehtesto.h"
#include "document/objectkinds.h"
#include "app/ui/tablecommands.h"
#include "objects/ui/framesetwidget.h"
#include "objects/ui/tablebox.h"
#include "objects/ui/tabledialogs.h"
#include "platform/memorysettings.h"
#include "platform/testing/testplatform.h"
#include "richtext/ui/aehbox.h"
#include "undo/aehundolist.h"

namespace tarn::app::ui {
namespace {

namespace fs = std::filesystem;

class TableWindow : public ::testing::Test {
 protected:
  TableWindow() {
    folder = fs::temp_directory_path() / ("tarn_tablewindow_" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder / "program");
    fs::copy_file(TARN_SAMPLE, folder / "sample.aeh");
    window = std::make_unique<TMainForm>(store, ProgramFolders{folder / "program", folder / "program"}, &messages);
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->FormShow(ParseCommandLine({(folder / "sample.aeh").string()}));
    auto& editor = static_cast<objects::ui::TInsiemeCornici&>(window->Editor());
    box = editor.BoxOf(*editor.Model().Top());
    // The dialog runs as the program runs it, answered once it is up.
    TableDialogRunner() = [program = program](QDialog& d) {
      QTimer::singleShot(0, &d, [&d] {
        auto& dialog = dynamic_cast<objects::ui::TFnewTable&>(d);
        dialog.rows->setValue(3);
        dialog.columns->setValue(3);
        dialog.accept();
      });
      return program(d);
    };
  }
  ~TableWindow() override {
    TableDialogRunner() = program;
    window.reset();
    fs::remove_all(folder);
  }
  void Settle() {
    for (int i = 0; i < 3; ++i) {
      QCoreApplication::sendPostedEvents();
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      QCoreApplication::processEvents();
    }
  }
  // Keys go where the program sends them: to the widget with the focus.
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    QTest::keyClick(focus, key, modifiers);
    Settle();
  }
  void Type(const char* text) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    QTest::keyClicks(focus, text);
    Settle();
  }
  objects::ui::TMyyTable* Made() {
    for (auto* table : box->findChildren<objects::ui::TMyyTable*>()) {
      if (table->isVisible() && table->RowCount() == 3 && table->ColumnCount() == 3) return table;
    }
    return nullptr;
  }
  static std::string CellText(objects::ui::TMyyTable& t, int r, int c) {
    std::string s = t.CellAt(r, c)->SaveText();
    s.pop_back();
    return s;
  }

  const std::function<int(QDialog&)> program = TableDialogRunner();
  fs::path folder;
  platform::MemorySettings store;
  platform::testing::RecordingMessages messages;
  std::unique_ptr<TMainForm> window;
  richtext::ui::TAEHbox* box = nullptr;
};

// Two cells emptied by Delete come back with one undo, by Ctrl+Z as by the
// Edit menu, and go again with redo.
TEST_F(TableWindow, DeletedCellsComeBackWithCtrlZAndTheEditMenu) {
  ASSERT_NE(box, nullptr);
  for (const bool menu : {false, true}) {
    SCOPED_TRACE(menu ? "Edit menu" : "Ctrl+Z");
    box->setFocus();
    Settle();
    Key(Qt::Key_End, Qt::ControlModifier);
    Key(Qt::Key_T, Qt::ControlModifier);
    // The window is the active one again once the dialog has gone.
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    objects::ui::TMyyTable* table = Made();
    ASSERT_NE(table, nullptr);
    Type("one");
    Key(Qt::Key_Tab);
    Type("two");
    Key(Qt::Key_Tab);
    Type("three");
    Key(Qt::Key_Down, Qt::ShiftModifier);
    ASSERT_TRUE(table->HasCellSelection());
    Key(Qt::Key_Delete);
    EXPECT_EQ(CellText(*table, 0, 2), "<Z S1 >");
    if (menu) {
      window->Action("EditUndo")->trigger();
      Settle();
    } else {
      Key(Qt::Key_Z, Qt::ControlModifier);
    }
    table = Made();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(CellText(*table, 0, 0), "<Z S1 >one");
    EXPECT_EQ(CellText(*table, 0, 2), "<Z S1 >three");
    // Undo again takes the typing, then the table, away.
    undo::TAEHundoList& list = *undo::UndoListOf(window->Hypertext());
    for (int i = 0; i < 20 && list.CanUndo(); ++i) {
      window->Action("EditUndo")->trigger();
      Settle();
    }
    EXPECT_EQ(Made(), nullptr);
  }
}

// After a table is made, the page still takes pasted pictures: the box's
// objects and the page's keep one numbering.
TEST_F(TableWindow, PicturesPasteIntoAPageAfterATableWasMade) {
  ASSERT_NE(box, nullptr);
  document::TAEHset& set = window->Hypertext();
  int pictures = -1;
  for (int i = 0; i < set.CountOf(document::testoHtml) && pictures < 0; ++i) {
    const auto* page = static_cast<const document::TAEHtesto*>(set.GetObject(document::testoHtml, i));
    if (page != nullptr && !page->IsFree() && page->Markup().find("<$10") != std::string::npos) pictures = i;
  }
  ASSERT_GE(pictures, 0);
  auto& editor = static_cast<objects::ui::TInsiemeCornici&>(window->Editor());
  auto tags = [](const std::string& text) {
    int n = 0;
    for (std::size_t at = text.find("<$FF"); at != std::string::npos; at = text.find("<$FF", at + 1)) ++n;
    return n;
  };
  editor.SetMainPageNumber(pictures);
  Settle();
  richtext::ui::TAEHbox* source = editor.BoxOf(*editor.Model().Top());
  ASSERT_NE(source, nullptr);
  const int copied = tags(source->SaveText());
  ASSERT_GT(copied, 0);
  source->setFocus();
  source->SelectRange({source->Text().FirstOwn(), 0},
                      {source->Text().LastOwn(), source->Text().Paragraph(source->Text().LastOwn()).Length()});
  source->Copy();

  editor.SetMainPageNumber(0);
  Settle();
  box = editor.BoxOf(*editor.Model().Top());
  box->setFocus();
  Settle();
  Key(Qt::Key_End, Qt::ControlModifier);
  Key(Qt::Key_T, Qt::ControlModifier);
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  ASSERT_NE(Made(), nullptr);
  box->setFocus();
  const int last = box->Text().LastOwn();
  box->SelectRange({last, box->Text().Paragraph(last).Length()}, {last, box->Text().Paragraph(last).Length()});
  const int before = tags(box->SaveText());
  box->Paste();
  Settle();
  EXPECT_EQ(tags(box->SaveText()), before + copied) << box->SaveText();
}

}  // namespace
}  // namespace tarn::app::ui
