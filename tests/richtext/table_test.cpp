// Tables without a display: the record's shape and backgrounds checked
// against its data, the new-table styles, the moves between cells, the grid
// layout with exact cell rectangles on the fixed canvas (8 pixels a
// character), cells read from and written back to the markup, damaged
// markup that keeps its text, and painting.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/aehset.h"
#include "document/recordfields.h"
#include "document/testfixtures.h"
#include "platform/testing/fixedcanvas.h"
#include "richtext/aehtextattributes.h"
#include "richtext/documenthost.h"
#include "richtext/markup.h"
#include "richtext/pageobjects.h"
#include "richtext/tableobject.h"

namespace tarn::richtext {
namespace {
using namespace document::field;

std::string Bytes(std::initializer_list<std::int32_t> values) {
  std::string s;
  for (const std::int32_t v : values) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int shift = 0; shift < 32; shift += 8) s.push_back(static_cast<char>((u >> shift) & 0xFF));
  }
  return s;
}

class TableTest : public ::testing::Test {
 protected:
  TableTest() : set(env.Services()), host(set, &canvas, &env.messages) {
    host.objectLookup = [this](std::int32_t id) { return objects.Find(id); };
    objects.SetTableLayout(&host, &canvas);
  }

  // A table record of rows x columns with pixel columns of the given sizes
  // (or percent ones), spacing and padding.
  TAEHoggetto& Table(int rows, int columns, int spacing = 2, int padding = 2) {
    auto record = set.NewObject(document::tabellaHtml);
    record->InitNew();
    record->SetU8(kTableRows, static_cast<std::uint8_t>(rows));
    record->SetU8(kTableColumns, static_cast<std::uint8_t>(columns));
    record->SetU8(kTableSpacing, static_cast<std::uint8_t>(spacing));
    record->SetU8(kTablePadding, static_cast<std::uint8_t>(padding));
    records.push_back(std::move(record));
    return *records.back();
  }
  TableObject& Place(TAEHoggetto& record) {
    objects.Add(&record);
    return dynamic_cast<TableObject&>(*objects.Find(static_cast<std::int32_t>(objects.Size())));
  }
  void Read(std::string_view markup) {
    text.paragraphs.clear();
    std::string z(markup);
    z.push_back('\0');
    MarkupStream stream(z);
    ReadText(text, stream, host);
  }
  // Cell rectangles as "x,y,w,h".
  static std::string Rect(TableObject& t, int r, int c) {
    TableCellBox& k = *t.CellAt(r, c);
    return std::to_string(k.Left()) + "," + std::to_string(k.Top()) + "," + std::to_string(k.BoundsWidth()) + "," +
           std::to_string(k.BoundsHeight());
  }

  testing::TestEnv env;
  document::TAEHset set;
  platform::testing::FixedCanvas canvas;
  DocumentHost host;
  PageObjects objects;
  std::vector<std::unique_ptr<TAEHoggetto>> records;
  RichText text;
};

TEST(TableRecordTest, BackgroundValuesDecodeByRange) {
  struct Case {
    std::int32_t value;
    Background::Kind kind;
    std::uint32_t colour;
    int image;
  } cases[] = {
      {0x00123456, Background::Kind::Colour, 0x123456, -1},
      {0x01FFFFFF, Background::Kind::Colour, 0xFFFFFF, -1},
      {0x02000000, Background::Kind::Transparent, 0, -1},
      {0x03000007, Background::Kind::Image, 0, 7},
      {0x03FFFFFF, Background::Kind::Image, 0, 0xFFFFFF},
      {0x04000000, Background::Kind::Transparent, 0, -1},
      {-1, Background::Kind::Transparent, 0, -1},
  };
  for (const Case& c : cases) {
    const Background b = Background::Decode(c.value);
    EXPECT_EQ(b.kind, c.kind) << std::hex << c.value;
    if (c.kind == Background::Kind::Colour) {
      EXPECT_EQ(b.colour, c.colour);
    }
    if (c.kind == Background::Kind::Image) {
      EXPECT_EQ(b.image, c.image);
    }
  }
}

TEST_F(TableTest, ShapeAndBackgroundsAreCheckedAgainstTheRecord) {
  TAEHoggetto& t = Table(2, 2);
  ASSERT_TRUE(ReadTableShape(t));
  // Content data shorter than rows x columns: the cells it misses are
  // transparent; longer: the rest is not read.
  t.SetContent(Bytes({0x0000FF, 0x03000002, 0x7}) + "xy");
  EXPECT_EQ(ReadCellBackgrounds(t), (std::vector<std::int32_t>{0x0000FF, 0x03000002, 7, -1}));
  t.SetContent(Bytes({1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(ReadCellBackgrounds(t), (std::vector<std::int32_t>{1, 2, 3, 4}));
  t.DropContent();
  EXPECT_EQ(ReadCellBackgrounds(t), (std::vector<std::int32_t>(4, -1)));

  for (const auto& [rows, columns] : std::vector<std::pair<int, int>>{{0, 1}, {1, 0}, {1, 51}}) {
    t.SetU8(kTableRows, static_cast<std::uint8_t>(rows));
    t.SetU8(kTableColumns, static_cast<std::uint8_t>(columns));
    EXPECT_FALSE(ReadTableShape(t)) << rows << "x" << columns;
    EXPECT_TRUE(ReadCellBackgrounds(t).empty());
  }
  // A record that is no table, or whose shape is damaged, places no table:
  // its tag reads as a blank and carries no cells.
  objects.Add(&t);
  EXPECT_FALSE(objects.Find(1)->IsTable());
}

TEST(TableRecordTest, ListStyleOfThreeByThree) {
  NewTable n;
  n.style = 11;
  n.main = 0x00FF00;
  n.second = 0x0000FF;
  const std::int32_t q = n.main, p = n.second, t = kTransparent;
  const std::int32_t expected[3][3] = {{q, q, p}, {t, t, p}, {q, q, p}};
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) EXPECT_EQ(StyleBackground(n, r, c), expected[r][c]) << r << "," << c;
  }
}

TEST_F(TableTest, NewTableRecordTakesTheDialogsChoices) {
  TAEHoggetto& t = Table(1, 1);
  NewTable n;
  n.rows = 4;
  n.columns = 3;
  n.style = 2;
  n.main = 0x112233;
  n.second = 0x445566;
  n.border = true;
  FillNewTable(t, n);
  EXPECT_EQ(t.U8(kTableRows), 4);
  EXPECT_EQ(t.U8(kTableColumns), 3);
  EXPECT_EQ(t.U8(kTableStyle), 2);
  EXPECT_EQ(t.U8(kTableBorder), 1);
  EXPECT_EQ(t.U8(kTableSpacing), 0);
  EXPECT_EQ(t.U8(kTableWidthPercent), 99);
  EXPECT_EQ(t.U8(kTablePercentWidth), 1);
  for (int c = 0; c < 3; ++c) {
    EXPECT_EQ(ColumnKind(t, c), kColumnPercent);
    EXPECT_EQ(ColumnSize(t, c), 33);
  }
  const std::vector<std::int32_t> b = ReadCellBackgrounds(t);
  ASSERT_EQ(b.size(), 12u);
  EXPECT_EQ(b[0], 0x112233);
  EXPECT_EQ(b[3], 0x445566);
  // "Simple" keeps the spacing and has no content data.
  TAEHoggetto& simple = Table(1, 1);
  FillNewTable(simple, NewTable{});
  EXPECT_EQ(simple.U8(kTableSpacing), 2);
  EXPECT_FALSE(simple.Content().Present());
}

TEST(TableRecordTest, NeighbourCells) {
  struct Case {
    CellPos from;
    int direction;
    CellPos to;
  } cases[] = {
      {{1, 1}, 1, {1, 0}}, {{1, 0}, 1, {0, 2}}, {{0, 0}, 1, {0, 0}},  // left
      {{0, 1}, 2, {0, 2}}, {{0, 2}, 2, {1, 0}}, {{2, 2}, 2, {2, 2}},  // right
      {{1, 1}, 3, {0, 1}}, {{0, 1}, 3, {0, 1}},                       // up
      {{1, 1}, 4, {2, 1}}, {{2, 1}, 4, {2, 1}},                       // down
      {{1, 1}, 5, {2, 2}}, {{1, 1}, 6, {0, 0}}, {{1, 1}, 7, {2, 0}}, {{1, 1}, 8, {0, 0}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NeighbourCell(3, 3, c.from, c.direction), c.to) << c.from.row << "," << c.from.column << " dir " << c.direction;
  }
}

TEST(TableRecordTest, ColumnSpecsMoveWithInsertAndRemove) {
  TAEHoggetto t;
  t.SetType(document::tabellaHtml);
  t.InitNew();
  SetColumn(t, 0, kColumnPixels, 50);
  SetColumn(t, 1, kColumnFree, 60);
  SetColumn(t, 2, kColumnPercent, 70);
  InsertColumnSpecs(t, 1, 2);
  EXPECT_EQ(ColumnSize(t, 0), 50);
  EXPECT_EQ(ColumnKind(t, 1), kColumnPercent);
  EXPECT_EQ(ColumnSize(t, 2), 10);
  EXPECT_EQ(ColumnKind(t, 3), kColumnFree);
  EXPECT_EQ(ColumnSize(t, 4), 70);
  RemoveColumnSpecs(t, 1, 2);
  EXPECT_EQ(ColumnKind(t, 1), kColumnFree);
  EXPECT_EQ(ColumnSize(t, 2), 70);
}

// Grid layout: exact rectangles. Empty cells are one line high: the fixed
// font's line plus the padding above (first paragraph) and below.
TEST_F(TableTest, LayoutCases) {
  struct Case {
    const char* name;
    std::vector<std::pair<int, int>> columns;  // kind, size
    int spacing;
    int width;
    std::vector<std::string> rects;  // first row
    int tableWidth;
  } cases[] = {
      {"pixels", {{1, 40}, {1, 60}}, 2, 500, {"2,2,40,", "44,2,60,"}, 106},
      {"percent carry", {{0, 30}, {0, 30}, {0, 40}}, 0, 303, {"0,0,90,", "90,0,91,", "181,0,121,"}, 302},
      {"free takes the rest", {{1, 40}, {2, 0}}, 4, 200, {"4,4,40,", "48,4,148,"}, 200},
      // The percent columns share all that is left: the free one keeps 30.
      {"free stays minimal beside percent", {{2, 0}, {0, 50}}, 0, 200, {"0,0,30,", "30,0,170,"}, 200},
      {"no room for spacing", {{1, 20}}, 30, 40, {"30,30,20,"}, 80},
  };
  for (const Case& c : cases) {
    TAEHoggetto& r = Table(1, static_cast<int>(c.columns.size()), c.spacing);
    for (std::size_t i = 0; i < c.columns.size(); ++i) {
      SetColumn(r, static_cast<int>(i), c.columns[i].first, c.columns[i].second);
    }
    TableObject& t = Place(r);
    t.LayoutTable(c.width);
    for (std::size_t i = 0; i < c.rects.size(); ++i) {
      EXPECT_TRUE(Rect(t, 0, static_cast<int>(i)).starts_with(c.rects[i])) << c.name << " cell " << i << ": "
                                                                            << Rect(t, 0, static_cast<int>(i));
    }
    EXPECT_EQ(t.Width(), c.tableWidth) << c.name;
  }
}

TEST_F(TableTest, WideContentWidensItsColumnAndRowsTakeTheTallestCell) {
  TAEHoggetto& r = Table(2, 2, 2, 2);
  SetColumn(r, 0, kColumnPixels, 40);
  SetColumn(r, 1, kColumnPixels, 40);
  Place(r);
  // Row 0: a long word in cell (0,0); row 1: two paragraphs in cell (1,1).
  Read("<Z S0 ><$FF000001><Z S1 >abcdefghijkl<T><Z S1 >x<T><Z S1 ><T><Z S1 >a<Z S1 >b<T><Z S0 >after");
  auto& t = dynamic_cast<TableObject&>(*objects.Find(1));
  t.LayoutTable(100);
  TableCellBox& wide = *t.CellAt(0, 0);
  // 12 characters of 8 pixels and the padding on both sides.
  EXPECT_EQ(wide.BoundsWidth(), 100);
  EXPECT_EQ(t.CellAt(1, 0)->BoundsWidth(), 100);
  EXPECT_EQ(t.CellAt(1, 1)->Left(), 104);
  EXPECT_EQ(t.CellAt(1, 0)->BoundsHeight(), t.CellAt(1, 1)->BoundsHeight());
  EXPECT_GT(t.CellAt(1, 1)->BoundsHeight(), t.CellAt(0, 1)->BoundsHeight());
  // The tall cell loses its second paragraph: the row shrinks again.
  BoxText& tall = t.CellAt(1, 1)->Box();
  tall.Text().paragraphs.pop_back();
  t.CellChanged(1, 1);
  EXPECT_EQ(t.CellAt(1, 0)->BoundsHeight(), t.CellAt(0, 1)->BoundsHeight());
  EXPECT_EQ(t.Width(), 2 + 100 + 2 + 40 + 2);
  // The stored pixel sizes are not changed by the measured widths.
  EXPECT_EQ(ColumnSize(r, 0), 40);
  EXPECT_EQ(text.paragraphs.size(), 2u);
}

TEST_F(TableTest, CellsReadAndWriteBackWithNestedTables) {
  Place(Table(2, 2));
  Place(Table(1, 1));
  const std::string markup =
      "<Z S0 >a<$FF000001><Z S1 >one<T><Z S1 ><$FF000002><Z S1 >in<T><T><Z S1 >three<T><Z S1 >four<T>b";
  Read(markup);
  std::string written = WriteText(text);
  written.pop_back();
  EXPECT_EQ(written, markup);
  auto& outer = dynamic_cast<TableObject&>(*objects.Find(1));
  outer.SetAvailableWidth(400);
  auto& inner = dynamic_cast<TableObject&>(*objects.Find(2));
  EXPECT_GT(inner.Width(), 0);
  EXPECT_GE(outer.CellAt(0, 1)->BoundsWidth(), inner.Width());
}

TEST_F(TableTest, DamagedMarkupKeepsItsText) {
  // The record says 2 x 2, the markup ends after one cell: the others read
  // as empty cells and the text is written back whole.
  Place(Table(2, 2));
  Read("<Z S0 >a<$FF000001><Z S1 >only<T>");
  auto& t = dynamic_cast<TableObject&>(*objects.Find(1));
  t.SetAvailableWidth(300);
  std::string written = WriteText(text);
  EXPECT_NE(written.find("only"), std::string::npos);
  for (int i = 1; i < 4; ++i) EXPECT_EQ(t.CellAt(i / 2, i % 2)->Box().ParagraphCount(), 1);

  // More cells than the record names: the extra ones stay as paragraphs
  // after the table, and the text after them is kept.
  Place(Table(1, 2));
  Read("<Z S0 >a<$FF000002><Z S1 >1<T><Z S1 >2<T><Z S1 >extra<T><Z S0 >after");
  written = WriteText(text);
  EXPECT_NE(written.find("extra"), std::string::npos) << written;
  EXPECT_NE(written.find("after"), std::string::npos) << written;
  EXPECT_EQ(text.paragraphs.size(), 3u);

  // A table inside its own cell is a blank: laying out and painting end.
  text.paragraphs.clear();
  Read("<Z S0 ><$FF000001><Z S1 ><$FF000001><T><Z S1 >b<T><Z S1 >c<T><Z S1 >d<T>");
  t.SetAvailableWidth(300);
  t.Paint(canvas, 0, 0, true);
  SUCCEED();
}

TEST_F(TableTest, TypingInACellChangesOnlyThatCellsText) {
  Place(Table(1, 2));
  Read("<Z S0 ><$FF000001><Z S1 >x<T><Z S1 >y<T>");
  auto& t = dynamic_cast<TableObject&>(*objects.Find(1));
  t.SetAvailableWidth(400);
  BoxText& cell = t.CellAt(0, 1)->Box();
  TAEHTextAttributes commands(cell);
  cell.SetCaret(CharPos{0, 1});
  commands.TypeChar('z');
  t.Relayout();
  std::string written = WriteText(text);
  written.pop_back();
  EXPECT_EQ(written, "<Z S0 ><$FF000001><Z S1 >x<T><Z S1 >yz<T>");
}

TEST_F(TableTest, PaintsBackgroundsFramesAndCellText) {
  TAEHoggetto& r = Table(1, 2, 2, 2);
  r.SetU8(kTableBorder, 1);
  r.SetI32(kTableBackground, 0x00FF00);
  SetColumn(r, 0, kColumnPixels, 40);
  SetColumn(r, 1, kColumnPixels, 40);
  r.SetContent(Bytes({0x0000FF, -1}));
  Place(r);
  Read("<Z S0 ><$FF000001><Z S1 >hi<T><Z S1 ><T>");
  auto& t = dynamic_cast<TableObject&>(*objects.Find(1));
  t.LayoutTable(200);
  t.Paint(canvas, 10, 20, true);
  bool table = false, cell = false, textSeen = false;
  for (const auto& op : canvas.ops) {
    if (op.what == "fill" && op.colour == 0x00FF00 && op.x == 10 && op.y == 20) table = true;
    if (op.what == "fill" && op.colour == 0x0000FF && op.x == 12 && op.y == 22 && op.x2 == 52) cell = true;
    if (op.what == "text" && op.text == "hi") {
      textSeen = true;
      EXPECT_EQ(op.x, 12 + 2);
    }
  }
  EXPECT_TRUE(table);
  EXPECT_TRUE(cell);
  EXPECT_TRUE(textSeen);
}

}  // namespace
}  // namespace tarn::richtext

namespace tarn::richtext {
namespace {
using namespace document::field;

TEST(TablePropertiesTest, ApplyChoicesColourTheirCells) {
  // 3 x 3, the current cell (1, 1); which cells each choice colours.
  const char* expected[kApplyChoiceCount] = {
      "---/---/---", "---/-X-/---", "---/XXX/---", "-X-/-X-/-X-",
      "---/X-X/---", "-X-/---/-X-", "---/-X-/---", "---/-X-/---",
  };
  for (int choice = 0; choice < kApplyChoiceCount; ++choice) {
    TAEHoggetto t;
    t.SetType(document::tabellaHtml);
    t.InitNew();
    t.SetU8(kTableRows, 3);
    t.SetU8(kTableColumns, 3);
    TableProperties p = ReadTableProperties(t, {1, 1}, true);
    ASSERT_TRUE(p.hasCell);
    p.cellBackground = 0x123456;
    p.applyTo = choice;
    ApplyTableProperties(t, p, {1, 1});
    const std::vector<std::int32_t> b = ReadCellBackgrounds(t);
    std::string got;
    for (int r = 0; r < 3; ++r) {
      if (r > 0) got += '/';
      for (int c = 0; c < 3; ++c) got += b[static_cast<std::size_t>(r * 3 + c)] == 0x123456 ? 'X' : '-';
    }
    EXPECT_EQ(got, expected[choice]) << kApplyChoices[choice];
  }
}

TEST(TablePropertiesTest, TableFieldsRoundTripThroughTheRecord) {
  TAEHoggetto t;
  t.SetType(document::tabellaHtml);
  t.InitNew();
  TableProperties p = ReadTableProperties(t, {0, 0}, false);
  EXPECT_FALSE(p.hasCell);
  p.percent = false;
  p.width = 420;
  p.spacing = 5;
  p.padding = 7;
  p.border = 3;
  p.background = 0x03000002;
  p.extra = "summary=\"x\"";
  ApplyTableProperties(t, p, {0, 0});
  const TableProperties q = ReadTableProperties(t, {0, 0}, false);
  EXPECT_EQ(q.percent, false);
  EXPECT_EQ(q.width, 420);
  EXPECT_EQ(q.spacing, 5);
  EXPECT_EQ(q.padding, 7);
  EXPECT_EQ(q.border, 3);
  EXPECT_EQ(q.background, 0x03000002);
  EXPECT_EQ(q.extra, "summary=\"x\"");
}

}  // namespace
}  // namespace tarn::richtext
