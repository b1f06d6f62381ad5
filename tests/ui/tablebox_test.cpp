// The table on screen, driven as a user drives it: the page's table shows
// its cells in its grid, typing in a cell goes into the page's markup, the
// arrow keys and Tab move across cell boundaries and out of the table, and
// each structural command is undone and redone exactly.
#include <QMainWindow>
#include <QSpinBox>
#include <QComboBox>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include "app/compose.h"
#include "app/ui/commandset.h"
#include "app/ui/tablecommands.h"
#include "objects/ui/tabledialogs.h"
#include "document/aehset.h"
#include "document/aehtesto.h"
#include "document/recordfields.h"
#include "objects/ui/framesetwidget.h"
#include "objects/ui/tablebox.h"
#include "platform/qt/qtcanvas.h"
#include "platform/system.h"
#include "platform/testing/testplatform.h"
#include "richtext/tableobject.h"
#include "richtext/tablerecord.h"
#include "richtext/ui/aehbox.h"
#include "undo/aehundolist.h"

namespace tarn::objects::ui {
namespace {
using namespace document::field;
using document::TAEHoggetto;
using richtext::ui::TAEHbox;

constexpr const char* kPage =
    "<Z S0 >before<Z S0 ><$08000000><Z S1 >a<T><Z S1 >b<T><Z S1 >c<T><Z S1 >d<T><Z S0 >after";

class TableFixture : public ::testing::Test {
 protected:
  TableFixture() : set({&messages, &system, &measurer, &clipboard}), editor(messages) {
    app::Compose(set);
    set.NewHypertext();
    auto table = set.NewObject(document::tabellaHtml);
    table->InitNew();
    table->SetU8(kTableRows, 2);
    table->SetU8(kTableColumns, 2);
    table->SetU8(kTableBorder, 1);
    table->SetU8(kTableWidthPercent, 50);
    for (int c = 0; c < 2; ++c) richtext::SetColumn(*table, c, kColumnPercent, 50);
    richtext::StoreCellBackgrounds(*table, {0x0000FF, -1, -1, 0x00FF00});
    set.Register(std::move(table));
    auto page = set.NewObject(document::testoHtml);
    page->SetContent(std::string(kPage) + std::string(1, '\0'));
    set.Register(std::move(page));
    editor.SetClipboard(&clipboard);
    editor.SetLinkedAEHset(&set);
    editor.resize(600, 400);
    editor.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&editor));
    editor.SetMainPageNumber(0);
    Settle();
  }
  void Settle() {
    for (int i = 0; i < 3; ++i) {
      QCoreApplication::sendPostedEvents();
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      QCoreApplication::processEvents();
    }
  }
  TAEHbox& Box() { return *editor.BoxOf(*editor.Model().Top()); }
  TMyyTable& Table() {
    auto tables = Box().findChildren<TMyyTable*>();
    EXPECT_EQ(tables.size(), 1);
    return *tables.front();
  }
  std::string Saved() {
    std::string s = Box().SaveText();
    s.pop_back();
    return s;
  }
  static std::string CellText(TMyyTable& t, int r, int c) {
    std::string s = t.CellAt(r, c)->SaveText();
    s.pop_back();
    return s;
  }
  // The cell that has the caret.
  richtext::CellPos Focus() {
    richtext::CellPos at{-1, -1};
    TableOfBox(QApplication::focusWidget(), &at);
    return at;
  }
  // Copies the page's table (its character in the page's text).
  void CopyTheTable() {
    Box().setFocus();
    Box().SelectRange({1, 0}, {1, 1});
    Box().Copy();
  }
  // Undo gives `before` back, redo `after`, and undo `before` again.
  void ExpectUndoRedo(const std::string& before, const std::string& after) {
    undo::TAEHundoList& list = *undo::UndoListOf(set);
    list.Undo();
    Settle();
    EXPECT_EQ(Saved(), before);
    list.Redo();
    Settle();
    EXPECT_EQ(Saved(), after);
    list.Undo();
    Settle();
    EXPECT_EQ(Saved(), before);
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers mods = {}) {
    QTest::keyClick(QApplication::focusWidget(), key, mods);
    Settle();
  }

  platform::testing::RecordingMessages messages;
  platform::HostSystemInfo system;
  platform::qt::QtCanvas measurer;
  platform::testing::MemoryClipboard clipboard;
  document::TAEHset set;
  TInsiemeCornici editor;
};

TEST_F(TableFixture, ShowsItsCellsInTheGrid) {
  TMyyTable& t = Table();
  ASSERT_EQ(t.RowCount(), 2);
  ASSERT_EQ(t.ColumnCount(), 2);
  EXPECT_TRUE(t.isVisible());
  // Half the paragraph's width: two percent columns of 50 with 2 pixels
  // of spacing around them fill it.
  const richtext::TAEHparag& p = Box().Text().Paragraph(1);
  const int paragraphWidth = Box().Text().Layout().layoutWidth - p.style.LeftMargin() - p.style.RightMargin();
  EXPECT_EQ(t.LayoutWidth(), paragraphWidth / 2);
  EXPECT_NEAR(t.width(), t.LayoutWidth(), 1);
  const QRect a = t.CellAt(0, 0)->geometry();
  const QRect b = t.CellAt(0, 1)->geometry();
  const QRect c = t.CellAt(1, 0)->geometry();
  EXPECT_EQ(a.topLeft(), QPoint(2, 2));
  EXPECT_EQ(b.left(), a.right() + 1 + 2);
  EXPECT_EQ(c.top(), a.bottom() + 1 + 2);
  EXPECT_EQ(a.width(), b.width());
  EXPECT_TRUE(t.CellAt(0, 0)->isVisible());
  EXPECT_TRUE(t.CellAt(0, 0)->PaintsBackground());
  EXPECT_EQ(t.CellAt(0, 0)->BackgroundColour(), 0x0000FFu);
  EXPECT_FALSE(t.CellAt(0, 1)->PaintsBackground());
  // The table stands below "before" in the page box.
  EXPECT_GT(t.y(), 0);
  EXPECT_EQ(CellText(t, 1, 1), "<Z S1 >d");
  Box().grab().save("/tmp/tarn-table-shown.png");
}

TEST_F(TableFixture, TypingInACellIsStoredWithThePage) {
  TMyyTable& t = Table();
  QTest::mouseClick(t.CellAt(0, 1), Qt::LeftButton, {}, QPoint(t.CellAt(0, 1)->width() / 2, 8));
  Settle();
  EXPECT_EQ(Focus(), (richtext::CellPos{0, 1}));
  QTest::keyClicks(QApplication::focusWidget(), "xy");
  Settle();
  EXPECT_EQ(Saved(), "<Z S0 >before<Z S0 ><$FF000001><Z S1 >a<T><Z S1 >bxy<T><Z S1 >c<T><Z S1 >d<T><Z S0 >after");
  // Undo takes the typing back.
  undo::UndoListOf(set)->Undo();
  Settle();
  EXPECT_EQ(CellText(t, 0, 1), "<Z S1 >b");
}

TEST_F(TableFixture, CaretMovesAcrossCellBoundaries) {
  TMyyTable& t = Table();
  // Right from the end of "before" enters the first cell.
  Box().SelectRange({0, 6}, {0, 6});
  Box().setFocus();
  Key(Qt::Key_Right);
  EXPECT_EQ(Focus(), (richtext::CellPos{0, 0}));
  Key(Qt::Key_Right);  // past "a"
  Key(Qt::Key_Right);  // into (0,1)
  EXPECT_EQ(Focus(), (richtext::CellPos{0, 1}));
  Key(Qt::Key_Right);
  Key(Qt::Key_Right);  // last column: first cell of the next row
  EXPECT_EQ(Focus(), (richtext::CellPos{1, 0}));
  Key(Qt::Key_Up);
  EXPECT_EQ(Focus(), (richtext::CellPos{0, 0}));
  Key(Qt::Key_Tab);
  EXPECT_EQ(Focus(), (richtext::CellPos{0, 1}));
  Key(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(Focus(), (richtext::CellPos{0, 0}));
  // Down from the last row leaves the table for the paragraph after it.
  t.FocusCell(1, 1, true);
  Settle();
  Key(Qt::Key_Down);
  EXPECT_EQ(QApplication::focusWidget(), &Box());
  EXPECT_EQ(Box().Text().Caret().paragraph, 2);
}

TEST_F(TableFixture, DraggingAColumnBorderResizesTheColumn) {
  TMyyTable& t = Table();
  TCellBox& cell = *t.CellAt(0, 0);
  const int before = cell.width();
  const int size = richtext::ColumnSize(t.Record(), 0);
  const QPoint edge(cell.width() - 1, 5);
  QTest::mousePress(&cell, Qt::LeftButton, {}, edge);
  QTest::mouseMove(&cell, edge + QPoint(40, 0));
  QTest::mouseRelease(&cell, Qt::LeftButton, {}, edge + QPoint(40, 0));
  Settle();
  EXPECT_EQ(undo::UndoListOf(set)->Captions(undo::kUndo).front(), "Cells resize");
  EXPECT_GT(richtext::ColumnSize(t.Record(), 0), size);
  EXPECT_GT(cell.width(), before);
  undo::UndoListOf(set)->Undo();
  Settle();
  EXPECT_EQ(richtext::ColumnSize(t.Record(), 0), size);
  EXPECT_EQ(cell.width(), before);
}

TEST_F(TableFixture, StructuralCommandsUndoAndRedoExactly) {
  TMyyTable& t = Table();
  const std::string before = Saved();
  const std::string record(reinterpret_cast<const char*>(t.Record().Record().data()), t.Record().Record().size());
  undo::TAEHundoList& list = *undo::UndoListOf(set);

  struct Step {
    const char* caption;
    std::function<void()> run;
    int rows;
    int columns;
  } steps[] = {
      {"Add rows", [&t] { t.InsertRows(1, 2); }, 4, 2},
      {"Add cols", [&t] { t.InsertColumns(2, 1); }, 2, 3},
      {"Delete rows", [&t] { EXPECT_TRUE(t.DeleteRows(0, 0)); }, 1, 2},
      {"Delete cols", [&t] { EXPECT_TRUE(t.DeleteColumns(1, 1)); }, 2, 1},
      {"Cells resize", [&t] { EXPECT_TRUE(t.ResizeColumn(0, 30)); }, 2, 2},
  };
  for (const Step& s : steps) {
    s.run();
    Settle();
    EXPECT_EQ(list.Captions(undo::kUndo).front(), s.caption);
    EXPECT_EQ(t.RowCount(), s.rows) << s.caption;
    EXPECT_EQ(t.ColumnCount(), s.columns) << s.caption;
    EXPECT_EQ(t.Record().U8(kTableRows), s.rows) << s.caption;
    EXPECT_EQ(t.Record().U8(kTableColumns), s.columns) << s.caption;
    const std::string changed = Saved();
    list.Undo();
    Settle();
    EXPECT_EQ(Saved(), before) << s.caption;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(t.Record().Record().data()), t.Record().Record().size()),
              record)
        << s.caption;
    list.Redo();
    Settle();
    EXPECT_EQ(Saved(), changed) << s.caption;
    list.Undo();
    Settle();
  }
  // The limits: never the last row or column, at most 50 columns.
  EXPECT_FALSE(t.DeleteRows(0, 1));
  EXPECT_FALSE(t.DeleteColumns(0, 1));
  t.InsertColumns(0, 48);
  EXPECT_TRUE(messages.entries.empty());
  EXPECT_EQ(t.ColumnCount(), 50);
  t.InsertColumns(0, 1);
  EXPECT_EQ(t.ColumnCount(), 50);
  ASSERT_FALSE(messages.entries.empty());
  EXPECT_EQ(messages.entries.back().text, kTooManyColumns);
}

TEST_F(TableFixture, SeveralCellsAreSelectedByDragAndShiftArrows) {
  TMyyTable& t = Table();
  const std::string before = Saved();
  undo::TAEHundoList& list = *undo::UndoListOf(set);
  // A drag from the first cell into the last selects the four cells.
  TCellBox& first = *t.CellAt(0, 0);
  QTest::mousePress(&first, Qt::LeftButton, {}, QPoint(4, 6));
  QTest::mouseMove(&first, first.mapFrom(&t, t.CellAt(0, 1)->geometry().center()));
  QTest::mouseMove(&first, first.mapFrom(&t, t.CellAt(1, 1)->geometry().center()));
  QTest::mouseRelease(&first, Qt::LeftButton, {}, first.mapFrom(&t, t.CellAt(1, 1)->geometry().center()));
  Settle();
  ASSERT_TRUE(t.HasCellSelection());
  EXPECT_EQ(t.SelectedCells().r1, 0);
  EXPECT_EQ(t.SelectedCells().c2, 1);
  EXPECT_EQ(t.SelectedCells().r2, 1);
  EXPECT_TRUE(t.CellSelected(t.CellAt(1, 0)));
  EXPECT_FALSE(first.Text().HasSelection());
  // The selected cells show it.
  const QImage shot = t.CellAt(0, 1)->grab().toImage();
  EXPECT_NE(shot.pixelColor(shot.width() - 4, shot.height() - 3), QColor(Qt::white));
  // Delete empties them, as one step that undo and redo replay exactly.
  Key(Qt::Key_Delete);
  EXPECT_EQ(Saved(), "<Z S0 >before<Z S0 ><$FF000001><Z S1 ><T><Z S1 ><T><Z S1 ><T><Z S1 ><T><Z S0 >after");
  EXPECT_EQ(list.Captions(undo::kUndo).front(), "Selection deletion");
  const std::string cleared = Saved();
  list.Undo();
  Settle();
  EXPECT_EQ(Saved(), before);
  list.Redo();
  Settle();
  EXPECT_EQ(Saved(), cleared);
  list.Undo();
  Settle();

  // Shift+Right at the end of a cell's text takes in the next cell; the
  // rectangle grows down and shrinks back; a plain key ends it.
  t.FocusCell(0, 0, true);
  Settle();
  EXPECT_FALSE(t.HasCellSelection());
  Key(Qt::Key_Right, Qt::ShiftModifier);
  ASSERT_TRUE(t.HasCellSelection());
  EXPECT_EQ(t.SelectedCells().c2, 1);
  EXPECT_EQ(t.SelectedCells().r2, 0);
  Key(Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(t.SelectedCells().r2, 1);
  Key(Qt::Key_Left, Qt::ShiftModifier);
  EXPECT_EQ(t.SelectedCells().c2, 0);
  Key(Qt::Key_Up, Qt::ShiftModifier);  // back to the one cell: nothing selected
  EXPECT_FALSE(t.HasCellSelection());
  // Shift+Left inside the text still selects text.
  Key(Qt::Key_Left, Qt::ShiftModifier);
  EXPECT_FALSE(t.HasCellSelection());
  EXPECT_TRUE(t.CellAt(0, 0)->Text().HasSelection());
  t.CellAt(0, 0)->SelectRange({0, 1}, {0, 1});
  Key(Qt::Key_Right, Qt::ShiftModifier);
  Key(Qt::Key_Right);
  EXPECT_FALSE(t.HasCellSelection());
  EXPECT_EQ(Saved(), before);
}

TEST_F(TableFixture, SelectedTableShowsItsHeaderAndResizesWithItsHandles) {
  TMyyTable& t = Table();
  t.FocusCell(0, 0, false);
  Settle();
  ASSERT_TRUE(t.Selected());
  ASSERT_NE(t.Header(), nullptr);
  EXPECT_TRUE(t.Header()->isVisible());
  ASSERT_EQ(t.Header()->Sections().size(), 2u);
  EXPECT_EQ(t.Header()->Sections()[0].text, QStringLiteral("50%"));
  EXPECT_EQ(t.Header()->width(), t.width());
  // The header stands 12 pixels above the table, on the page's box.
  EXPECT_EQ(t.Header()->parentWidget(), &Box());
  EXPECT_EQ(t.Header()->geometry().bottom() + 1, t.geometry().top());
  Box().grab().save("/tmp/tarn-table-selected.png");

  // The right handle makes the half-wide table 100 pixels wider.
  const std::string record(reinterpret_cast<const char*>(t.Record().Record().data()), t.Record().Record().size());
  const int widthBefore = t.width();
  TDragBorder* handle = t.Group().Handle(8);
  ASSERT_NE(handle, nullptr);
  ASSERT_TRUE(handle->isVisible());
  QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(4, 4));
  QTest::mouseMove(handle, QPoint(104, 4));
  QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(104, 4));
  Settle();
  EXPECT_EQ(undo::UndoListOf(set)->Captions(undo::kUndo).front(), "Table resize");
  const richtext::TAEHparag& p = Box().Text().Paragraph(1);
  const int available = Box().Text().Layout().layoutWidth - p.style.LeftMargin() - p.style.RightMargin();
  EXPECT_EQ(t.Record().U8(kTableWidthPercent), (widthBefore + 100) * 100 / available);
  EXPECT_NEAR(t.width(), widthBefore + 100, 3);
  // Twice the paragraph's width stores 100 %.
  EXPECT_TRUE(t.Selected());
  handle = t.Group().Handle(8);
  ASSERT_NE(handle, nullptr);
  QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(4, 4));
  QTest::mouseMove(handle, QPoint(4 + 2 * available, 4));
  QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(4 + 2 * available, 4));
  Settle();
  EXPECT_EQ(t.Record().U8(kTableWidthPercent), 100);
  undo::UndoListOf(set)->Undo();
  undo::UndoListOf(set)->Undo();
  Settle();
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(t.Record().Record().data()), t.Record().Record().size()), record);
  EXPECT_EQ(t.width(), widthBefore);
}

TEST_F(TableFixture, DeletingTheWholeTableIsUndoneExactly) {
  const std::string before = Saved();
  const std::string record(reinterpret_cast<const char*>(Table().Record().Record().data()),
                           Table().Record().Record().size());
  undo::TAEHundoList& list = *undo::UndoListOf(set);
  // "before", the table's paragraph and "af" selected and deleted.
  Box().setFocus();
  Box().SelectRange({0, 3}, {2, 2});
  Settle();
  Key(Qt::Key_Delete);
  EXPECT_EQ(Saved(), "<Z S0 >befter");
  EXPECT_TRUE(Box().findChildren<TMyyTable*>().isEmpty() || !Table().isVisible());
  list.Undo();
  Settle();
  EXPECT_EQ(Saved(), before);
  TMyyTable& back = Table();
  EXPECT_TRUE(back.isVisible());
  EXPECT_EQ(CellText(back, 1, 1), "<Z S1 >d");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(back.Record().Record().data()), back.Record().Record().size()),
            record);
  EXPECT_EQ(back.CellAt(0, 0)->BackgroundColour(), 0x0000FFu);
  ExpectUndoRedo(before, "<Z S0 >befter");
}

TEST_F(TableFixture, CopiedTableIsPastedAsATableOfItsOwn) {
  TMyyTable& original = Table();
  const std::string before = Saved();
  undo::TAEHundoList& list = *undo::UndoListOf(set);
  CopyTheTable();
  Box().SelectRange({2, 5}, {2, 5});
  Box().Paste();
  Settle();
  EXPECT_EQ(list.Captions(undo::kUndo).front(), "Clipboard insertion");
  auto tables = Box().findChildren<TMyyTable*>();
  ASSERT_EQ(tables.size(), 2);
  TMyyTable& copy = *(tables[0] == &original ? tables[1] : tables[0]);
  EXPECT_NE(copy.Identifier(), original.Identifier());
  // The copy has the record, the backgrounds and the cells of the original.
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(copy.Record().Record().data()), copy.Record().Record().size()),
            std::string(reinterpret_cast<const char*>(original.Record().Record().data()),
                        original.Record().Record().size()));
  EXPECT_EQ(richtext::ReadCellBackgrounds(copy.Record()), richtext::ReadCellBackgrounds(original.Record()));
  EXPECT_EQ(CellText(copy, 1, 1), "<Z S1 >d");
  EXPECT_TRUE(copy.isVisible());
  const std::string pasted = Saved();
  EXPECT_EQ(pasted, "<Z S0 >before<Z S0 ><$FF000001><Z S1 >a<T><Z S1 >b<T><Z S1 >c<T><Z S1 >d<T><Z S0 >after"
                    "<Z S0 ><$FF000002><Z S1 >a<T><Z S1 >b<T><Z S1 >c<T><Z S1 >d<T>");
  // Typing in the copy leaves the original alone.
  copy.FocusCell(0, 0, true);
  Settle();
  QTest::keyClicks(QApplication::focusWidget(), "z");
  Settle();
  EXPECT_EQ(CellText(copy, 0, 0), "<Z S1 >az");
  EXPECT_EQ(CellText(original, 0, 0), "<Z S1 >a");
  list.Undo();
  Settle();
  EXPECT_EQ(Saved(), pasted);
  // Undo and redo of the paste give back the text exactly.
  ExpectUndoRedo(before, pasted);
}

TEST_F(TableFixture, TablePastedIntoACellNestsWithinTheLimit) {
  TMyyTable& t = Table();
  const std::string before = Saved();
  CopyTheTable();
  t.FocusCell(1, 1, true);
  Settle();
  t.CellAt(1, 1)->Paste();
  Settle();
  const std::string nested = CellText(t, 1, 1);
  EXPECT_EQ(nested, "<Z S1 >d<Z S1 ><$FF000002><Z S1 >a<T><Z S1 >b<T><Z S1 >c<T><Z S1 >d<T>");
  auto inner = t.CellAt(1, 1)->findChildren<TMyyTable*>();
  ASSERT_EQ(inner.size(), 1);
  EXPECT_TRUE(inner.front()->isVisible());
  // The outer table grew around the inner one.
  EXPECT_GT(t.CellAt(1, 1)->height(), inner.front()->height());
  ExpectUndoRedo(before, Saved());

  // A cell as deep as a page is read takes no further table: the paste
  // falls back to the clipboard's text.
  TCellBox& deep = *t.CellAt(0, 0);
  deep.TextAttributes().containerHooks.tableDepth = [] { return richtext::kMaxTableNesting; };
  deep.setFocus();
  deep.SelectRange(deep.Text().TextEndPos(), deep.Text().TextEndPos());
  deep.Paste();
  Settle();
  EXPECT_TRUE(deep.findChildren<TMyyTable*>().isEmpty());
  EXPECT_EQ(CellText(t, 0, 0).find("<$FF"), std::string::npos);
}

TEST_F(TableFixture, SharedHeaderShowsItsTableReadOnly) {
  auto header = set.NewObject(document::testoHtml);
  header->SetContent(std::string("<Z S0 >head<Z S0 ><$08000000><Z S1 >h1<T><Z S1 >h2<T><Z S1 >h3<T><Z S1 >h4<T>") +
                     std::string(1, '\0'));
  const int index = set.Register(std::move(header))->Index();
  set.SetHeaderI32(document::header::kHeaderPage, index);
  editor.SetMainPageNumber(40);
  Settle();
  editor.SetMainPageNumber(0);
  Settle();
  auto tables = Box().findChildren<TMyyTable*>();
  ASSERT_EQ(tables.size(), 2);
  TMyyTable& shared = *(tables[0]->SharedSection() ? tables[0] : tables[1]);
  TMyyTable& own = *(tables[0]->SharedSection() ? tables[1] : tables[0]);
  ASSERT_TRUE(shared.SharedSection());
  EXPECT_TRUE(shared.isVisible());
  EXPECT_TRUE(shared.ReadOnly());
  EXPECT_TRUE(shared.CellAt(0, 0)->ReadOnly());
  EXPECT_EQ(CellText(shared, 1, 1), "<Z S1 >h4");
  EXPECT_GT(shared.height(), 10);
  // It stands above the page's own table, and is not written with the page.
  EXPECT_LT(shared.y(), own.y());
  EXPECT_FALSE(own.ReadOnly());
  EXPECT_EQ(Saved().find("h1"), std::string::npos);
  // A click in it puts no caret there.
  QTest::mouseClick(shared.CellAt(0, 0), Qt::LeftButton, {}, QPoint(5, 5));
  Settle();
  QTest::keyClicks(QApplication::focusWidget(), "x");
  Settle();
  EXPECT_EQ(CellText(shared, 0, 0), "<Z S1 >h1");
  Box().grab().save("/tmp/tarn-table-header.png");
}

// The commands of the Table menu, with their dialogs answered.
class TableCommandsFixture : public TableFixture {
 protected:
  TableCommandsFixture() : commands(window, [](const app::CommandEntry&) {}) {
    app::ui::BindTableCommands(commands, editor, {});
  }
  ~TableCommandsFixture() override { app::ui::TableDialogRunner() = program; }
  void Choose(const char* action) {
    ASSERT_NE(commands.Action(action), nullptr) << action;
    commands.Action(action)->trigger();
    Settle();
  }
  std::string Stored(int page) {
    return static_cast<document::TAEHtesto*>(set.GetObject(document::testoHtml, page))->Markup();
  }

  // The program's own way of running the dialogs, given back afterwards.
  const std::function<int(QDialog&)> program = app::ui::TableDialogRunner();
  QMainWindow window;
  app::ui::CommandSet commands;
};

TEST_F(TableCommandsFixture, NewTableIsInsertedTypedInAndKeptOverAPageChange) {
  app::ui::TableDialogRunner() = [](QDialog& d) {
    auto& dialog = dynamic_cast<TFnewTable&>(d);
    dialog.rows->setValue(3);
    dialog.columns->setValue(3);
    dialog.style->setCurrentIndex(11);
    return static_cast<int>(QDialog::Accepted);
  };
  Box().setFocus();
  Box().SelectRange({2, 5}, {2, 5});
  Settle();
  Choose("Tabella1");
  auto tables = Box().findChildren<TMyyTable*>();
  ASSERT_EQ(tables.size(), 2);
  TMyyTable* made = tables[0]->RowCount() == 3 ? tables[0] : tables[1];
  ASSERT_EQ(made->ColumnCount(), 3);
  EXPECT_EQ(Focus(), (richtext::CellPos{0, 0}));
  EXPECT_EQ(made->Record().U8(kTableStyle), 11);
  EXPECT_EQ(undo::UndoListOf(set)->Captions(undo::kUndo).front(), "Object insertion");
  QTest::keyClicks(QApplication::focusWidget(), "new");
  Settle();
  // The table stands in a paragraph of its own after "after".
  EXPECT_EQ(Box().Text().Paragraph(3).Length(), 1);

  // Another page and back: the page was written with the table's cells.
  editor.SetMainPageNumber(40);
  Settle();
  const std::string stored = Stored(0);
  EXPECT_NE(stored.find("<Z S1 >new<T><Z S1 ><T>"), std::string::npos) << stored;
  editor.SetMainPageNumber(0);
  Settle();
  tables = Box().findChildren<TMyyTable*>();
  ASSERT_EQ(tables.size(), 2);
  made = tables[0]->RowCount() == 3 ? tables[0] : tables[1];
  EXPECT_EQ(CellText(*made, 0, 0), "<Z S1 >new");
  EXPECT_EQ(richtext::ReadCellBackgrounds(made->Record()).size(), 9u);
}

TEST_F(TableCommandsFixture, PropertiesRowsAndColumnsThroughTheMenu) {
  TMyyTable& t = Table();
  t.FocusCell(1, 0, false);
  Settle();
  app::ui::TableDialogRunner() = [](QDialog& d) {
    auto& dialog = dynamic_cast<TFtableProperties&>(d);
    dialog.spacing->setValue(6);
    dialog.cellBackground->SetValue(0x00FFFF);
    dialog.applyTo->setCurrentIndex(2);  // the row
    return static_cast<int>(QDialog::Accepted);
  };
  Choose("ProprietaTabella1");
  EXPECT_EQ(t.Record().U8(kTableSpacing), 6);
  EXPECT_EQ(richtext::ReadCellBackgrounds(t.Record()), (std::vector<std::int32_t>{0x0000FF, -1, 0x00FFFF, 0x00FFFF}));
  EXPECT_EQ(t.CellAt(1, 1)->BackgroundColour(), 0x00FFFFu);
  EXPECT_EQ(t.CellAt(0, 0)->geometry().topLeft(), QPoint(6, 6));
  EXPECT_EQ(undo::UndoListOf(set)->Captions(undo::kUndo).front(), "Modify table");
  undo::UndoListOf(set)->Undo();
  Settle();
  EXPECT_EQ(t.Record().U8(kTableSpacing), 2);
  EXPECT_EQ(t.CellAt(0, 0)->geometry().topLeft(), QPoint(2, 2));

  t.FocusCell(1, 1, false);
  Settle();
  Choose("Aggiungiriga1");
  EXPECT_EQ(t.RowCount(), 3);
  EXPECT_EQ(Focus(), (richtext::CellPos{1, 0}));
  Choose("Eliminacolonna1");
  EXPECT_EQ(t.ColumnCount(), 1);
  app::ui::TableDialogRunner() = [](QDialog& d) {
    auto& dialog = dynamic_cast<TFaddCells&>(d);
    dialog.columnsChoice->setChecked(true);
    dialog.position->setCurrentIndex(1);
    dialog.count->setValue(3);
    return static_cast<int>(QDialog::Accepted);
  };
  Choose("Aggiungi1");
  EXPECT_EQ(t.ColumnCount(), 4);
  EXPECT_EQ(Focus(), (richtext::CellPos{0, 1}));
  Choose("Selezionatabella1");
  EXPECT_EQ(QApplication::focusWidget(), &Box());
  EXPECT_TRUE(Box().Text().HasSelection());
  EXPECT_EQ(Box().Text().SelectionStart().paragraph, 1);
}

TEST_F(TableCommandsFixture, CommandsActOnTheSelectedCells) {
  TMyyTable& t = Table();
  t.InsertRows(2, 1);
  Settle();
  t.FocusCell(0, 1, false);
  Settle();
  t.SelectCells({0, 1}, {1, 1});
  app::ui::TableDialogRunner() = [](QDialog& d) {
    auto& dialog = dynamic_cast<TFtableProperties&>(d);
    // Offered and chosen while cells are selected.
    EXPECT_EQ(dialog.applyTo->currentIndex(), richtext::kApplySelectedCells);
    EXPECT_EQ(dialog.applyTo->currentText(), QStringLiteral("Selected cells"));
    dialog.cellBackground->SetValue(0x00FFFF);
    return static_cast<int>(QDialog::Accepted);
  };
  Choose("ProprietaTabella1");
  EXPECT_EQ(richtext::ReadCellBackgrounds(t.Record()),
            (std::vector<std::int32_t>{0x0000FF, 0x00FFFF, -1, 0x00FFFF, -1, -1}));
  // Delete row takes every selected row.
  t.SelectCells({0, 0}, {1, 0});
  Choose("Eliminariga1");
  EXPECT_EQ(t.RowCount(), 1);
  EXPECT_EQ(t.Record().U8(kTableRows), 1);
  EXPECT_FALSE(t.HasCellSelection());
}

}  // namespace
}  // namespace tarn::objects::ui
