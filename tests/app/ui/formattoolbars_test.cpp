// The Format and Paragraphs toolbars and the format keys used as an author
// uses them on the sample's cover: a word made bold with Ctrl+B, its size
// and colour changed in the toolbar's boxes, a style chosen, a link made in
// the link dialog, each step undone; the boxes follow the caret.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFontComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

#include "app/ui/commandset.h"
#include "app/ui/linkdialog.h"
#include "app/ui/mainform.h"
#include "app/ui/paragraphdialog.h"
#include "app/ui/stylesdialog.h"
#include "document/aehset.h"
#include "document/objectkinds.h"
#include "document/recordfields.h"
#include "objects/ui/framesetwidget.h"
#include "objects/ui/styleview.h"
#include "objects/ui/tablebox.h"
#include <iostream>
#include "platform/memorysettings.h"
#include "platform/testing/testplatform.h"
#include "richtext/formattingstyles.h"
#include "richtext/ui/aehbox.h"
#include "undo/aehundolist.h"

namespace tarn::app::ui {
namespace {

namespace fs = std::filesystem;

class FormatToolbars : public ::testing::Test {
 protected:
  FormatToolbars() {
    folder = fs::temp_directory_path() / ("tarn_formattoolbars_" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder / "program");
    fs::copy_file(TARN_SAMPLE, folder / "sample.aeh");
    window = std::make_unique<TMainForm>(store, ProgramFolders{folder / "program", folder / "program"}, &messages);
    window->show();
    window->FormShow(ParseCommandLine({(folder / "sample.aeh").string()}));
    auto& editor = static_cast<objects::ui::TInsiemeCornici&>(window->Editor());
    box = editor.BoxOf(*editor.Model().Top());
  }
  ~FormatToolbars() override {
    window.reset();
    fs::remove_all(folder);
  }

  // The cover's second paragraph, "This hypertext shows ...": the word
  // "hypertext" selected by keys.
  void SelectSecondWord() {
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Down);
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClick(box, Qt::Key_Right, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
  }
  std::string Shown() {
    std::string text = box->SaveText();
    text.pop_back();
    return text;
  }
  std::vector<std::string> Steps() { return undo::UndoListOf(window->Hypertext())->Captions(undo::kUndo); }
  template <typename T>
  T* Control(const char* name) {
    return qobject_cast<T*>(window->Commands().Control(name));
  }

  fs::path folder;
  platform::MemorySettings store;
  platform::testing::RecordingMessages messages;
  std::unique_ptr<TMainForm> window;
  richtext::ui::TAEHbox* box = nullptr;
};

TEST_F(FormatToolbars, ABoldWordResizedRecolouredAndUndone) {
  ASSERT_NE(box, nullptr);
  SelectSecondWord();
  ASSERT_EQ(box->TextAttributes().SelectedText(), "hypertext ");
  const std::string before = Shown();

  QTest::keyClick(box, Qt::Key_B, Qt::ControlModifier);
  EXPECT_TRUE(window->Action("BoldButton")->isChecked());
  EXPECT_NE(Shown().find("This <Y y1 >hypertext <Y >shows"), std::string::npos) << Shown();

  auto* size = Control<QSpinBox>("FontSize");
  ASSERT_NE(size, nullptr);
  size->setFocus();
  size->selectAll();
  QTest::keyClicks(size, "20");
  EXPECT_EQ(Steps().size(), 1u);  // typed digits wait for Enter
  QTest::keyClick(size, Qt::Key_Return);
  auto* colour = Control<QComboBox>("FontColor");
  ASSERT_NE(colour, nullptr);
  const int red = colour->findText("red");
  colour->setCurrentIndex(red);
  emit colour->activated(red);
  EXPECT_NE(Shown().find("This <Y cFF0000 s20 y1 >hypertext <Y >shows"), std::string::npos) << Shown();
  EXPECT_EQ(Steps(), (std::vector<std::string>{"Apply color Red", "Apply font size 20", "Apply font style: "}));

  // The boxes follow the caret: the first End ends the selection after the
  // word (still its font before the caret), the second goes to plain text.
  QTest::keyClick(box, Qt::Key_End);
  EXPECT_EQ(size->value(), 20);
  QTest::keyClick(box, Qt::Key_End);
  EXPECT_FALSE(window->Action("BoldButton")->isChecked());
  EXPECT_EQ(size->value(), 12);
  EXPECT_EQ(Control<QFontComboBox>("FontName")->currentText(), "Times New Roman");
  EXPECT_EQ(colour->currentText(), "black");
  for (int i = 0; i < 3; ++i) window->Action("EditUndo")->trigger();
  EXPECT_EQ(Shown(), before);
}

TEST_F(FormatToolbars, TheStyleBoxAndTheListButtons) {
  ASSERT_NE(box, nullptr);
  auto* styles = Control<QComboBox>("ParStyle");
  ASSERT_NE(styles, nullptr);
  box->setFocus();
  QTest::keyClick(box, Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(styles->currentText(), "Heading");
  EXPECT_EQ(styles->itemText(0), "[no style...]");
  QTest::keyClick(box, Qt::Key_Down);
  EXPECT_EQ(styles->currentText(), "[no style]");
  const int heading = styles->findText("Heading");
  styles->setCurrentIndex(heading);
  emit styles->activated(heading);
  EXPECT_EQ(Steps().front(), "Style Heading");
  EXPECT_EQ(box->Text().Paragraph(1).styleIndex, box->Text().Paragraph(0).styleIndex);

  window->Action("BulletsButton")->trigger();
  EXPECT_EQ(box->ParaAttributes().ListKind(), 10);
  window->Action("NumberButton")->trigger();
  EXPECT_EQ(box->ParaAttributes().ListKind(), 6);
  window->Action("NumberButton")->trigger();  // all up: no list
  EXPECT_EQ(box->ParaAttributes().ListKind(), 0);
  const float left = box->ParaAttributes().LeftMargin();
  window->Action("AumentaRientroButton")->trigger();
  EXPECT_GT(box->ParaAttributes().LeftMargin(), left);
  EXPECT_EQ(Steps().front().rfind("Left margin ", 0), 0u);
}

TEST_F(FormatToolbars, ALinkMadeInTheDialogAndRemovedAgain) {
  ASSERT_NE(box, nullptr);
  // Without a selection the command says what it needs.
  box->setFocus();
  window->Action("LinkButton")->trigger();
  EXPECT_TRUE(messages.Saw("Selection must exists!"));

  SelectSecondWord();
  bool seen = false;
  QTimer::singleShot(0, [&seen] {
    auto* dialog = dynamic_cast<TFLink*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    seen = true;
    dialog->SetTarget(TFLink::Target::Address);
    dialog->Address()->setText("http://www.example.org/");
    dialog->accept();
  });
  window->Action("Link1")->trigger();
  ASSERT_TRUE(seen);
  EXPECT_EQ(Steps().front(), "Insert link ");
  EXPECT_NE(box->TextAttributes().Link(), -1);
  EXPECT_TRUE(window->Action("LinkButton")->isChecked());

  // The dialog opens on the link the selection has, and removes it.
  QTimer::singleShot(0, [] {
    auto* dialog = dynamic_cast<TFLink*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    EXPECT_EQ(dialog->Address()->text(), "http://www.example.org/");
    dialog->findChild<QPushButton*>("bRemove")->click();
  });
  window->Action("Link1")->trigger();
  EXPECT_EQ(box->TextAttributes().Link(), -1);
}

TEST_F(FormatToolbars, TheParagraphDialogAppliesWhatChangedStepByStep) {
  ASSERT_NE(box, nullptr);
  box->setFocus();
  QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
  const std::string before = Shown();
  QTimer::singleShot(0, [] {
    auto* dialog = dynamic_cast<TFParagraph*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    dialog->Alignment()->setCurrentIndex(2);
    dialog->LeftMargin()->setValue(20);  // millimetres, the paragraph's unit
    dialog->accept();
  });
  window->Action("Stileparagrafo1")->trigger();
  EXPECT_EQ(Steps(), (std::vector<std::string>{"Left margin 20", "Center"}));
  EXPECT_EQ(box->ParaAttributes().Alignment(), 2);
  EXPECT_NEAR(box->ParaAttributes().LeftMargin(), 20.0, 0.2);
  window->Action("EditUndo")->trigger();
  window->Action("EditUndo")->trigger();
  EXPECT_EQ(Shown(), before);
}

TEST_F(FormatToolbars, TheStylesDialogEditsCreatesRenamesAndDeletes) {
  ASSERT_NE(box, nullptr);
  document::TAEHset& set = window->Hypertext();
  const int heading = set.StyleIndex("Heading");
  ASSERT_GT(heading, 1);
  bool seen = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = dynamic_cast<TFStyles*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    seen = true;
    // The cover names "Heading": it is edited, not deleted.
    dialog->ChooseStyle(heading);
    EXPECT_TRUE(dialog->findChild<QPushButton*>("bRename")->isEnabled());
    dialog->Size()->setValue(30);
    dialog->Bold()->setChecked(false);
    // Millimetres shown in centimetres keep their length.
    const double millimetres = dialog->LeftMargin()->value();
    dialog->Unit()->setCurrentIndex(0);
    EXPECT_NEAR(dialog->LeftMargin()->value(), millimetres / 10, 0.01);
    EXPECT_EQ(dialog->Preview()->Style().I16(document::field::style::kSize), 30);
    EXPECT_FALSE(dialog->DeleteChosen());
    // A new style, renamed and deleted again.
    dialog->NewStyle();
    EXPECT_EQ(dialog->List()->currentItem()->text(), "New style 0");
    EXPECT_FALSE(dialog->RenameChosen("heading"));
    EXPECT_TRUE(dialog->RenameChosen("Quote"));
    EXPECT_EQ(dialog->List()->currentItem()->text(), "Quote");
    EXPECT_TRUE(dialog->DeleteChosen());
    EXPECT_EQ(dialog->ChosenStyle(), 0);
    dialog->ChooseStyle(0);
    EXPECT_FALSE(dialog->findChild<QPushButton*>("bDelete")->isEnabled());
    dialog->findChild<QPushButton*>("bClose")->click();
  });
  window->Action("Stili1")->trigger();
  ASSERT_TRUE(seen);
  const int pages = richtext::PagesUsingStyle(set, heading);
  EXPECT_GT(pages, 0);
  EXPECT_TRUE(messages.Saw(richtext::StyleChangeMessage(richtext::StyleChange::kInUse, "Heading", pages)));
  EXPECT_TRUE(messages.Saw("A style named \"heading\" already exists."));
  EXPECT_FALSE(set.StyleExists("Quote"));
  const document::TAEHoggetto* record = set.GetObject(document::stileParagrafo, heading);
  EXPECT_EQ(record->I16(document::field::style::kSize), 30);
  EXPECT_EQ(record->U8(document::field::style::kStyleBits) & document::field::style::kBold, 0);
  EXPECT_EQ(record->U8(document::field::style::kUnit), 0);
  // The page shown again reads the changed style.
  box = static_cast<objects::ui::TInsiemeCornici&>(window->Editor()).BoxOf(
      *static_cast<objects::ui::TInsiemeCornici&>(window->Editor()).Model().Top());
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->Text().Paragraph(0).styleIndex, heading);
  EXPECT_EQ(box->Text().Paragraph(0).style.Size(), 30);
}

TEST_F(FormatToolbars, TheLinkDialogNarrowsItsPagesByTitle) {
  TFLink dialog(window->Hypertext(), {}, false);
  EXPECT_EQ(dialog.Pages()->count(), 4);
  QTest::keyClicks(dialog.Filter(), "pict");
  ASSERT_EQ(dialog.Pages()->count(), 1);
  EXPECT_EQ(dialog.Pages()->item(0)->text(), "2 - Pictures");
  // A page of this hypertext, named relative to its folder.
  EXPECT_EQ(dialog.Url(), "tarn://sample.aeh|2");
}

}  // namespace
}  // namespace tarn::app::ui
namespace tarn::app::ui {
TEST_F(FormatToolbars, ZZExploreCell) {
  auto& editor = static_cast<objects::ui::TInsiemeCornici&>(window->Editor());
  editor.SetMainPageNumber(3);
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  box = editor.BoxOf(*editor.Model().Top());
  auto tables = box->findChildren<objects::ui::TMyyTable*>();
  ASSERT_EQ(tables.size(), 1);
  objects::ui::TCellBox* cell = tables.front()->CellAt(1, 0);
  ASSERT_NE(cell, nullptr);
  box->setFocus();
  QTest::keyClick(box, Qt::Key_Home, Qt::ControlModifier);
  QTest::keyClick(box, Qt::Key_Down);
  QTest::keyClick(box, Qt::Key_Down);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
  std::cerr << "S1 size " << window->Hypertext().GetObject(document::stileParagrafo, 1)->I16(document::field::style::kSize) << "\n";
  std::cerr << "focus is cell " << (QApplication::focusWidget() == cell) << " table cell? " << (qobject_cast<objects::ui::TCellBox*>(QApplication::focusWidget())!=nullptr) << "\n";
  cell = qobject_cast<objects::ui::TCellBox*>(QApplication::focusWidget());
  ASSERT_NE(cell, nullptr);
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  std::string c = cell->SaveText();
  std::cerr << "cell: " << c.c_str() << "\n";
  std::cerr << "active is cell: " << (editor.ActiveBox() == cell) << " focus " << (QApplication::focusWidget() == cell) << "\n";
  std::cerr << "font " << Control<QFontComboBox>("FontName")->currentText().toStdString() << " " << Control<QSpinBox>("FontSize")->value() << "\n";
  window->Action("CenterAlign")->trigger();
  std::cerr << "cell after center: " << cell->SaveText().c_str() << "\n";
  std::cerr << "page after center: " << box->SaveText().substr(0,120).c_str() << "\n";
  QTest::keyClick(cell, Qt::Key_Home);
  QTest::keyClick(cell, Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
  QTest::keyClick(cell, Qt::Key_B, Qt::ControlModifier);
  std::cerr << "cell after ctrl+b: " << cell->SaveText().c_str() << "\n";
  window->Action("ItalicButton")->trigger();
  std::cerr << "cell after italic: " << cell->SaveText().c_str() << "\n";
  std::cerr << "page: " << box->SaveText().c_str() << "\n";
  for (auto s : Steps()) std::cerr << "step " << s << "\n";
  std::cerr << "bold checked " << window->Action("BoldButton")->isChecked() << "\n";
  const int heading = Control<QComboBox>("ParStyle")->findText("Heading");
  Control<QComboBox>("ParStyle")->setCurrentIndex(heading);
  emit Control<QComboBox>("ParStyle")->activated(heading);
  std::cerr << "cell after style: " << cell->SaveText().c_str() << "\n";
  std::cerr << "font " << Control<QFontComboBox>("FontName")->currentText().toStdString() << " " << Control<QSpinBox>("FontSize")->value() << "\n";
  QTest::keyClick(cell, Qt::Key_End);
  std::cerr << "font " << Control<QFontComboBox>("FontName")->currentText().toStdString() << " " << Control<QSpinBox>("FontSize")->value() << "\n";
  QImage shot = window->grab().toImage(); shot.save("/tmp/fmt_cell.png");
}
}
