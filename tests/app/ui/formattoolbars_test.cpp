// The Format and Paragraphs toolbars and the format keys used as an author
// uses them on the sample's cover: a word made bold with Ctrl+B, its size
// and colour changed in the toolbar's boxes, a style chosen, a link made in
// the link dialog, each step undone; the boxes follow the caret, also into
// a table's cells. Anchors inserted, renumbered and deleted; links to
// anchors and to a new page; the page-properties dialog.
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
#include "app/ui/speciallinkdialog.h"
#include "app/ui/stylesdialog.h"
#include "document/aehset.h"
#include "document/objectkinds.h"
#include "document/recordfields.h"
#include "objects/ui/framesetwidget.h"
#include "objects/ui/styleview.h"
#include "objects/ui/tablebox.h"
#include "objects/ui/visual.h"
#include "app/ui/anchordialog.h"
#include "app/ui/insertcommands.h"
#include "app/ui/pagepropertiesdialog.h"
#include "document/aehtesto.h"
#include "document/links.h"
#include "page/aehpage.h"
#include "richtext/formattinglinks.h"
#include <QTabWidget>
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


// Answers the next modal dialog of type D with the function; one it leaves
// open (an Ok it refused) is cancelled then.
template <typename D>
void Answer(std::function<void(D&)> answer) {
  QTimer::singleShot(0, [answer] {
    auto* dialog = dynamic_cast<D*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    answer(*dialog);
    if (dialog->isVisible()) dialog->reject();
  });
}

class FormatDialogs : public FormatToolbars {
 protected:
  objects::ui::TInsiemeCornici& Editor() { return static_cast<objects::ui::TInsiemeCornici&>(window->Editor()); }
  page::TAEHpage& View() { return *Editor().PageOfBox(box); }
  std::vector<int> AnchorNumbers() {
    std::vector<int> numbers;
    for (const auto& anchor : View().Anchors()) numbers.push_back(anchor.number);
    return numbers;
  }
  objects::TMyyVisual* Glyph(int number) {
    for (auto* object : box->findChildren<objects::TMyyVisual*>()) {
      if (object->Record() != nullptr && richtext::AnchorNumberOf(*object->Record()) == number) return object;
    }
    return nullptr;
  }
  // The record behind the link of the selection.
  const document::TAEHoggetto* SelectionLink() {
    const std::int32_t link = box->TextAttributes().Link();
    return link == -1 ? nullptr : View().Working()->Link(link);
  }
  void ShowPage(int page) {
    Editor().SetMainPageNumber(page);
    box = Editor().BoxOf(*Editor().Model().Top());
    box->setFocus();
  }
};

TEST_F(FormatDialogs, AnchorsInsertedRenumberedDeletedAndUndone) {
  ASSERT_NE(box, nullptr);
  box->setFocus();
  QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
  window->Action("Ancora1")->trigger();
  window->Action("Ancora1")->trigger();
  EXPECT_EQ(AnchorNumbers(), (std::vector<int>{0, 1}));
  EXPECT_EQ(InsertCommands::lastInsertedAnchor, 1);
  EXPECT_EQ(Steps(), (std::vector<std::string>{"Object insertion", "Object insertion"}));
  const std::string inserted = Shown();

  // Renaming to a number the page has is refused; another is taken.
  objects::TMyyVisual* glyph = Glyph(1);
  ASSERT_NE(glyph, nullptr);
  Answer<TFAnchor>([](TFAnchor& dialog) {
    EXPECT_EQ(dialog.Number(), 1);
    dialog.NumberBox()->setValue(0);
    dialog.findChild<QPushButton*>("bOk")->click();
    EXPECT_TRUE(dialog.isVisible());
    dialog.NumberBox()->setValue(7);
    dialog.findChild<QPushButton*>("bOk")->click();
  });
  objects::TMyyVisual::propertiesRequested(*glyph);
  EXPECT_TRUE(messages.Saw("The page has an anchor a0 already."));
  EXPECT_EQ(AnchorNumbers(), (std::vector<int>{0, 7}));
  EXPECT_EQ(Steps().front(), "Modify object");
  EXPECT_EQ(glyph->toolTip(), "Anchor: a7");
  // The next anchor follows the highest.
  EXPECT_EQ(View().NextAnchorNumber(), 8);

  Answer<TFAnchor>([](TFAnchor& dialog) { dialog.findChild<QPushButton*>("bDelete")->click(); });
  objects::TMyyVisual::propertiesRequested(*Glyph(0));
  EXPECT_EQ(AnchorNumbers(), (std::vector<int>{7}));
  EXPECT_EQ(Steps().front(), "Object deletion");
  window->Action("EditUndo")->trigger();
  window->Action("EditUndo")->trigger();
  EXPECT_EQ(AnchorNumbers(), (std::vector<int>{0, 1}));
  EXPECT_EQ(Shown(), inserted);
}

TEST_F(FormatDialogs, LinksToAnAnchorOfThisPageAndOfAnother) {
  ASSERT_NE(box, nullptr);
  box->setFocus();
  QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
  window->Action("Ancora1")->trigger();
  SelectSecondWord();

  // This page: its anchor, not stored yet, is offered; the link jumps
  // within the page.
  Answer<TFLink>([](TFLink& dialog) {
    dialog.ShowPageTarget(-1, -1);
    ASSERT_EQ(dialog.Anchors()->count(), 2);
    EXPECT_EQ(dialog.Anchors()->itemText(1), "a0");
    dialog.Anchors()->setCurrentIndex(1);
    dialog.accept();
  });
  window->Action("Link1")->trigger();
  const document::TAEHoggetto* link = SelectionLink();
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link->Kind(), document::speclink);
  EXPECT_EQ(link->U8(document::field::kSpecialAction), document::kAnchorInPage);
  EXPECT_EQ(link->I32(document::field::kSpecialAnchor), 0);
  EXPECT_EQ(Steps().front(), "Insert link ");

  // The dialog opens on that link; the stored anchor a1 of "Tables and
  // forms" replaces it.
  Answer<TFLink>([](TFLink& dialog) {
    EXPECT_EQ(dialog.Kind(), TFLink::Target::Page);
    EXPECT_EQ(dialog.ChosenAnchor(), 0);
    QTest::keyClicks(dialog.Filter(), "tables");
    EXPECT_EQ(dialog.ChosenPage(), 3);
    ASSERT_EQ(dialog.Anchors()->count(), 2);
    EXPECT_EQ(dialog.Anchors()->itemText(1), "a1");
    dialog.Anchors()->setCurrentIndex(1);
    dialog.accept();
  });
  window->Action("Link1")->trigger();
  link = SelectionLink();
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link->I32(document::field::kSpecialTarget), 3);
  EXPECT_EQ(link->U8(document::field::kSpecialAction), document::kReplaceWindow);
  EXPECT_EQ(link->I32(document::field::kSpecialAnchor), 1);
  EXPECT_EQ(document::DescriptionHint(document::GetDescription(*link)),
            "Here we replace current window with the page: Tables and forms #a1 @3");
}

TEST_F(FormatDialogs, AddNewPageLinksTheSelectionOrShowsThePage) {
  ASSERT_NE(box, nullptr);
  document::TAEHset& set = window->Hypertext();
  const int pages = set.CountOf(document::testoHtml);
  SelectSecondWord();
  Answer<TFLink>([](TFLink& dialog) {
    EXPECT_EQ(dialog.Kind(), TFLink::Target::NewPage);
    // The title takes what the author types at once.
    EXPECT_EQ(dialog.focusWidget(), dialog.Title());
    QTest::keyClicks(dialog.Title(), "Lakes of the north");
    dialog.accept();
  });
  window->Action("NuovaPagina2")->trigger();
  ASSERT_EQ(set.CountOf(document::testoHtml), pages + 1);
  const auto* made = static_cast<const document::TAEHtesto*>(set.GetObject(document::testoHtml, pages));
  EXPECT_EQ(made->Title(), "Lakes of the north");
  const document::TAEHoggetto* link = SelectionLink();
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link->GetCaption(), "tarn://sample.aeh|" + std::to_string(pages));
  EXPECT_EQ(Steps(), std::vector<std::string>{"Insert link "});

  // Without a selection the new page is shown.
  QTest::keyClick(box, Qt::Key_End);
  Answer<TFLink>([](TFLink& dialog) {
    QTest::keyClicks(dialog.Title(), "Meres");
    dialog.accept();
  });
  window->Action("NuovaPagina")->trigger();
  EXPECT_EQ(Editor().MainPageNumber(), pages + 1);
  EXPECT_EQ(static_cast<const document::TAEHtesto*>(set.GetObject(document::testoHtml, pages + 1))->Title(),
            "Meres");
}

TEST_F(FormatDialogs, PagePropertiesChangeTheRecordAndTheHeaderShown) {
  ASSERT_NE(box, nullptr);
  document::TAEHset& set = window->Hypertext();
  box->setFocus();
  Answer<TFPageProperties>([](TFPageProperties& dialog) {
    EXPECT_EQ(dialog.Tabs()->currentIndex(), TFPageProperties::kTextTab);
    dialog.Title()->setText("The cover");
    dialog.HtmlName()->setText("   ");
    dialog.SetColour(TFPageProperties::kGround, 0xE0FFFF);
    dialog.findChild<QPushButton*>("bOk")->click();
  });
  window->Action("DiPagina1")->trigger();
  box = Editor().BoxOf(*Editor().Model().Top());
  ASSERT_NE(box, nullptr);
  const auto* cover = static_cast<const document::TAEHtesto*>(set.GetObject(document::testoHtml, 0));
  EXPECT_EQ(cover->Title(), "The cover");
  EXPECT_EQ(cover->I32(document::field::kPageBgColour), 0xE0FFFF);
  EXPECT_EQ(View().WorkingPage()->I32(document::field::kPageBgColour), 0xE0FFFF);

  // The page takes "Pictures" as its header: the page shown again has it.
  const int ownParagraphs = box->Text().ParagraphCount();
  EXPECT_EQ(View().Box()->HeaderCount(), 0);
  Answer<TFPageProperties>([](TFPageProperties& dialog) {
    EXPECT_EQ(dialog.Tabs()->currentIndex(), TFPageProperties::kHeaderFooterTab);
    EXPECT_EQ(dialog.Header()->currentData().toInt(), -1);
    dialog.Header()->setCurrentIndex(dialog.Header()->findData(2));
    dialog.findChild<QPushButton*>("bOk")->click();
  });
  window->Action("TestataPie1")->trigger();
  box = Editor().BoxOf(*Editor().Model().Top());
  // Showing the page again stored it anew: the record is another one.
  cover = static_cast<const document::TAEHtesto*>(set.GetObject(document::testoHtml, 0));
  EXPECT_EQ(cover->I32(document::field::kPageHeaderChoice), 2);
  EXPECT_GT(View().Box()->HeaderCount(), 0);
  EXPECT_GT(box->Text().ParagraphCount(), ownParagraphs);
  // Cancel changes nothing.
  Answer<TFPageProperties>([](TFPageProperties& dialog) {
    dialog.Title()->setText("Not this");
    dialog.reject();
  });
  window->Action("DiPagina1")->trigger();
  EXPECT_EQ(static_cast<const document::TAEHtesto*>(set.GetObject(document::testoHtml, 0))->Title(), "The cover");
}

TEST_F(FormatDialogs, CommandsAndToolbarsFollowTheCellTheCaretIsIn) {
  ShowPage(3);
  auto tables = box->findChildren<objects::ui::TMyyTable*>();
  ASSERT_EQ(tables.size(), 1);
  objects::ui::TMyyTable& table = *tables.front();
  // The second row's first cell in "Heading"; the caret comes to it by
  // keys from the text above the table, through the first row.
  table.CellAt(1, 0)->Format(
      [](richtext::TAEHTextAttributes&, richtext::TAEHParaAttributes& p) { p.ApplyStyle("Heading"); });
  QTest::keyClick(box, Qt::Key_Home, Qt::ControlModifier);
  QTest::keyClick(box, Qt::Key_Down);
  QTest::keyClick(box, Qt::Key_Down);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
  ASSERT_EQ(QApplication::focusWidget(), table.CellAt(1, 0));
  EXPECT_EQ(Control<QFontComboBox>("FontName")->currentText(), "Arial");
  EXPECT_EQ(Control<QSpinBox>("FontSize")->value(), 18);
  EXPECT_EQ(Control<QComboBox>("ParStyle")->currentText(), "Heading");

  // A command from the toolbar changes that cell, not the one the caret
  // passed through, and the table grows with the bigger text.
  const int height = table.Height();
  window->Action("CenterAlign")->trigger();
  auto* size = Control<QSpinBox>("FontSize");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_End, Qt::ShiftModifier);
  size->setValue(40);
  std::string cell = table.CellAt(1, 0)->SaveText();
  EXPECT_NE(cell.find("A2"), std::string::npos) << cell;
  EXPECT_NE(cell.find("s40"), std::string::npos) << cell;
  EXPECT_EQ(table.CellAt(0, 0)->SaveText().find("A2"), std::string::npos);
  EXPECT_GT(table.Height(), height);
  window->Action("EditUndo")->trigger();
  window->Action("EditUndo")->trigger();
  cell = table.CellAt(1, 0)->SaveText();
  EXPECT_EQ(cell.find("A2"), std::string::npos) << cell;

  // A cell does not take an anchor: the author is told, nothing changes.
  window->Action("Ancora1")->trigger();
  EXPECT_TRUE(messages.Saw("An anchor can only be placed in the text of the page."));
  EXPECT_EQ(table.CellAt(1, 0)->SaveText(), cell);
}

// F5 on a selected word: each kind of special link the dialog makes, with
// the record's fields, as one "Insert link " step that undo takes back.
TEST_F(FormatDialogs, SpecialLinksOfEachKindMadeWithF5AndUndone) {
  namespace field = document::field;
  struct Case {
    const char* name;
    int kind;  // place in the dialog's "Go to:" list
    int page;
    int anchor;
    int action;
    const char* window;
    int subtype;
    std::int32_t target;
  };
  const Case cases[] = {
      {"page", 0, 2, -1, document::kReplaceWindow, "", document::kSpecialToObject, 2},
      {"anchor of a page in a frame", 0, 3, 1, 1, "main", document::kSpecialToObject, 3},
      {"anchor of this page", 0, 3, 4, document::kAnchorInPage, "", document::kSpecialToObject, -1},
      {"previous", 3, -1, -1, document::kReplaceWindow, "", document::kSpecialPrevious, -1},
      {"next", 4, -1, -1, document::kReplaceWindow, "", document::kSpecialNext, -1},
  };
  ASSERT_NE(box, nullptr);
  const std::string before = Shown();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // The key reaches the menu's shortcut in the active window: a closed
    // dialog leaves none active on this platform.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    SelectSecondWord();
    Answer<TFSpecialLink>([&c](TFSpecialLink& dialog) {
      EXPECT_EQ(dialog.objectName(), "FSpecialLink");
      dialog.KindBox()->setCurrentIndex(c.kind);
      if (c.page >= 0) {
        EXPECT_TRUE(dialog.ChoosePage(c.page));
      }
      dialog.AnchorBox()->setValue(c.anchor);
      dialog.ActionBox()->setCurrentIndex(c.action);
      QTest::keyClicks(dialog.WindowBox(), c.window);
      dialog.findChild<QPushButton*>("bOk")->click();
    });
    QTest::keyClick(box, Qt::Key_F5);
    const document::TAEHoggetto* link = SelectionLink();
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->Kind(), document::speclink);
    EXPECT_EQ(link->Subtype(), c.subtype);
    EXPECT_EQ(link->I32(field::kSpecialTarget), c.target);
    EXPECT_EQ(link->U8(field::kSpecialTargetKind), 0);
    EXPECT_EQ(link->U8(field::kSpecialAction), c.action);
    EXPECT_EQ(link->I32(field::kSpecialAnchor), c.anchor);
    EXPECT_EQ(link->Str(field::kSpecialWindow, field::kSpecialWindowCapacity), c.window);
    EXPECT_EQ(Steps(), std::vector<std::string>{"Insert link "});
    window->Action("EditUndo")->trigger();
    EXPECT_EQ(Shown(), before);
    EXPECT_TRUE(Steps().empty());
  }

  // Without a selection the command says so and opens nothing.
  QTest::keyClick(box, Qt::Key_End);
  window->Action("Collegamentospeciale1")->trigger();
  EXPECT_TRUE(messages.Saw("Selection must exists!"));
  EXPECT_EQ(Shown(), before);
}

// A link made in this session is followed before the page is stored: the
// frame set follows a copy of its working record.
TEST_F(FormatDialogs, ASpecialLinkIsFollowedBeforeThePageIsStored) {
  ASSERT_NE(box, nullptr);
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  SelectSecondWord();
  Answer<TFSpecialLink>([](TFSpecialLink& dialog) {
    dialog.KindBox()->setCurrentIndex(0);
    EXPECT_TRUE(dialog.ChoosePage(2));
    dialog.findChild<QPushButton*>("bOk")->click();
  });
  QTest::keyClick(box, Qt::Key_F5);
  const std::int32_t link = box->TextAttributes().Link();
  ASSERT_NE(SelectionLink(), nullptr);
  ASSERT_FALSE(SelectionLink()->IsRegistered());  // not stored yet
  Editor().SetReadOnly(true);
  Editor().FollowLink(link, box);
  ASSERT_TRUE(QTest::qWaitFor([this] { return Editor().MainPageNumber() == 2; }, 2000));
}

// Link properties on the link at the caret: the special-link dialog starts
// from the link's fields and its Ok changes the whole link as one step; an
// ordinary link opens the link dialog; plain text has no link to edit.
TEST_F(FormatDialogs, LinkPropertiesEditTheLinkAtTheCaret) {
  namespace field = document::field;
  ASSERT_NE(box, nullptr);
  SelectSecondWord();
  const richtext::CharPos start = box->Text().SelectionStart();
  Answer<TFSpecialLink>([](TFSpecialLink& dialog) {
    dialog.KindBox()->setCurrentIndex(4);
    QTest::keyClicks(dialog.WindowBox(), "side");
    dialog.accept();
  });
  window->Action("Collegamentospeciale1")->trigger();
  const std::string withNext = Shown();
  const auto caretInWord = [&] {
    box->Text().ClearSelection();
    box->Text().SetCaret(richtext::CharPos{start.paragraph, start.character + 2});
    QTest::keyClick(box, Qt::Key_Right);
  };
  caretInWord();
  QAction* properties = window->Action("Proprietcollegamento2");
  EXPECT_TRUE(properties->isEnabled());
  Answer<TFSpecialLink>([](TFSpecialLink& dialog) {
    EXPECT_EQ(dialog.KindBox()->currentIndex(), 4);
    EXPECT_EQ(dialog.WindowBox()->text(), "side");
    dialog.KindBox()->setCurrentIndex(0);
    EXPECT_TRUE(dialog.ChoosePage(3));
    dialog.AnchorBox()->setValue(1);
    dialog.accept();
  });
  properties->trigger();
  // The whole word carries the changed link.
  EXPECT_EQ(box->TextAttributes().SelectedText(), "hypertext ");
  const document::TAEHoggetto* link = SelectionLink();
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link->Subtype(), document::kSpecialToObject);
  EXPECT_EQ(link->I32(field::kSpecialTarget), 3);
  EXPECT_EQ(link->I32(field::kSpecialAnchor), 1);
  EXPECT_EQ(link->Str(field::kSpecialWindow, field::kSpecialWindowCapacity), "side");
  EXPECT_EQ(Steps(), (std::vector<std::string>{"Insert link ", "Insert link "}));
  window->Action("EditUndo")->trigger();
  EXPECT_EQ(Shown(), withNext);

  // An address: the link dialog, from the popup's item.
  SelectSecondWord();
  Answer<TFLink>([](TFLink& dialog) {
    dialog.SetTarget(TFLink::Target::Address);
    dialog.Address()->setText("http://example.org/");
    dialog.accept();
  });
  window->Action("LinkButton")->trigger();
  caretInWord();
  Answer<TFLink>([](TFLink& dialog) {
    EXPECT_EQ(dialog.Kind(), TFLink::Target::Address);
    EXPECT_EQ(dialog.Address()->text(), "http://example.org/");
    dialog.reject();
  });
  window->Action("Proprietcollegamento1")->trigger();

  // Plain text: the menu item is off, and the popup's says why.
  box->Text().ClearSelection();
  box->Text().SetCaret(richtext::CharPos{start.paragraph, 0});
  QTest::keyClick(box, Qt::Key_Right);
  EXPECT_FALSE(properties->isEnabled());
  window->Action("Proprietcollegamento1")->trigger();
  EXPECT_TRUE(messages.Saw("There is no link at the caret."));
}

}  // namespace
}  // namespace tarn::app::ui
