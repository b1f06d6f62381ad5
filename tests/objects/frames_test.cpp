// Frame records, layout files, layout arithmetic, the editing rules and the
// frameset HTML.
#include <gtest/gtest.h>

#include "base/bytes.h"
#include "objects/frames.h"
#include "platform/testing/testplatform.h"

namespace tarn::objects {
namespace {

// A top frame of the given size split into children at the positions, with
// the size modes and values given.
struct ChildSpec {
  int position;
  int mode;
  int value;  // percent or pixels
};
std::unique_ptr<TAEHFrame> Split(platform::Rect area, std::vector<ChildSpec> specs, int spacing = 3) {
  auto top = std::make_unique<TAEHFrame>();
  top->SetSpacing(spacing);
  top->SetPosition(IsColumnPosition(specs.front().position) ? kFirstRow : kFirstColumn);
  for (const ChildSpec& wanted : specs) {
    auto child = std::make_unique<TAEHFrame>();
    child->parent = top.get();
    child->SetPosition(wanted.position);
    child->SetSizeMode(wanted.mode);
    if (wanted.mode == kSizePixels) {
      child->SetPixels(wanted.value);
    } else {
      child->SetPercent(wanted.value);
    }
    child->SetName("F" + std::to_string(top->children.size()));
    child->SetPage(static_cast<std::int32_t>(10 + top->children.size()));
    top->children.push_back(std::move(child));
  }
  ApplyLoadedPositions(*top);
  LayoutTree(*top, area);
  return top;
}

std::vector<int> Widths(const TAEHFrame& top) {
  std::vector<int> out;
  for (const auto& c : top.children) out.push_back(top.ChildrenAreColumns() ? c->bounds.Width() : c->bounds.Height());
  return out;
}

TEST(FrameLayout, ColumnsRowsAndModes) {
  // 30 % and the rest of 603 pixels less one spacing of 3.
  EXPECT_EQ(Widths(*Split({0, 0, 603, 400}, {{kFirstColumn, kSizePercent, 30}, {kLastColumn, kSizePercent, 70}})),
            (std::vector<int>{180, 420}));
  auto rows = Split({0, 0, 300, 206}, {{kFirstRow, kSizePixels, 50}, {kFirstRow, kSizePercent, 25}, {kLastRow, 0, 0}});
  EXPECT_EQ(Widths(*rows), (std::vector<int>{50, 50, 100}));
  EXPECT_EQ(rows->children[0]->Percent(), 25);  // percent follows the pixels
  EXPECT_EQ(rows->children[1]->bounds.top, 53);
  EXPECT_EQ(rows->children[2]->bounds.top, 106);
  EXPECT_EQ(rows->children[2]->bounds.Width(), 300);
}

// Sizes read from a file may be anything: the layout still places the
// children one after another inside a sane range, and nothing overflows.
TEST(FrameLayout, AbsurdStoredSizesStayInOrder) {
  constexpr int kMax = 0x7FFFFFFF;
  const std::vector<std::vector<ChildSpec>> trees = {
      {{kFirstColumn, kSizePixels, kMax}, {kFirstColumn, kSizePixels, kMax}, {kLastColumn, kSizeRest, 0}},
      {{kFirstColumn, kSizePercent, kMax}, {kFirstColumn, kSizeRest, kMax}, {kLastColumn, kSizePixels, 5}},
      {{kFirstRow, kSizePixels, -kMax}, {kFirstRow, kSizePercent, -kMax}, {kLastRow, kSizePercent, 50}},
  };
  auto inOrder = [](const TAEHFrame& top) {
    const bool columns = top.ChildrenAreColumns();
    int previousEnd = 0;
    for (const auto& child : top.children) {
      const int from = columns ? child->bounds.left : child->bounds.top;
      const int to = columns ? child->bounds.right : child->bounds.bottom;
      if (from < previousEnd || to < from || to > (1 << 30)) return false;
      previousEnd = to;
    }
    return true;
  };
  for (const auto& specs : trees) {
    auto top = Split({0, 0, 800, 600}, specs, 255);
    EXPECT_TRUE(inOrder(*top)) << specs[0].value;
    ResizeChild(*top->children[0], kMax);
    EXPECT_TRUE(inOrder(*top)) << specs[0].value;
  }
}

TEST(FrameLayout, RoundingTiesToEven) {
  struct Case {
    std::int64_t n, d;
    std::int32_t q;
  } cases[] = {{1, 2, 0}, {3, 2, 2}, {5, 2, 2}, {7, 3, 2}, {-3, 2, -2}, {200, 0, 0}};
  for (const Case& c : cases) EXPECT_EQ(RoundedRatio(c.n, c.d), c.q) << c.n << "/" << c.d;
}

TEST(FrameRecords, LayoutFileRoundTrip) {
  auto top = Split({0, 0, 600, 400}, {{kFirstColumn, kSizePixels, 120}, {kLastColumn, kSizeRest, 0}}, 5);
  TAEHFrame& right = *top->children[1];
  auto inner = std::make_unique<TAEHFrame>();
  inner->parent = &right;
  inner->SetPosition(kFirstRow);
  inner->SetBorder(0);
  inner->SetResizable(false);
  right.children.push_back(std::move(inner));
  auto last = std::make_unique<TAEHFrame>();
  last->parent = &right;
  last->SetPosition(kLastRow);
  last->SetScrolling(false);
  right.children.push_back(std::move(last));

  const std::string bytes = WriteLayoutFile(*top);
  EXPECT_EQ(bytes.substr(0, 8), std::string("\x34\x12\0\0\x3a\0\0\0", 8));
  EXPECT_EQ(bytes.size(), 8u + 5 * kFrameRecordSize);
  auto read = ReadLayoutFile(bytes);
  ASSERT_TRUE(read);
  ASSERT_EQ(read->top->children.size(), 2u);
  const TAEHFrame& again = *read->top->children[1];
  ASSERT_EQ(again.children.size(), 2u);
  EXPECT_EQ(again.splitMode, kColumnMember);
  EXPECT_EQ(again.children[0]->splitMode, kRowMember);
  EXPECT_EQ(again.children[0]->Border(), 0);
  EXPECT_FALSE(again.children[0]->Resizable());
  EXPECT_FALSE(again.children[1]->Scrolling());
  EXPECT_EQ(read->top->children[0]->Pixels(), 120);
  EXPECT_EQ(WriteLayoutFile(*read->top), bytes);
}

TEST(FrameRecords, ShortRecordsTakeTheOlderDefaults) {
  auto record = [](std::int32_t id, std::int32_t parent, std::uint8_t legacy) {
    std::string r(46, '\0');
    std::span<std::uint8_t> s(reinterpret_cast<std::uint8_t*>(r.data()), r.size());
    base::PutI32(s, 0, id);
    base::PutI32(s, 4, parent);
    r[29] = static_cast<char>(legacy);
    r[38] = 50;
    return r;
  };
  const std::string stream = record(7, -1, 0) + record(8, 7, 1) + record(9, 7, 0) + record(10, 99, 0);
  auto top = ReadFrameTree(stream, 46);
  ASSERT_TRUE(top);
  ASSERT_EQ(top->children.size(), 2u);  // the record naming another parent is not read
  EXPECT_EQ(top->Spacing(), 0);
  EXPECT_EQ(top->children[0]->Spacing(), 3);
  EXPECT_EQ(top->children[0]->Border(), 1);
  EXPECT_EQ(top->children[0]->Colour(), kButtonFaceColour);
  EXPECT_EQ(top->children[0]->Pixels(), 20);
  EXPECT_EQ(top->children[0]->record[framefield::kLegacy1], 0);
  EXPECT_EQ(top->children[1]->Border(), 0);
}

TEST(FrameRecords, DamagedStreams) {
  EXPECT_FALSE(ReadLayoutFile(std::string("\x35\x12\0\0\x3a\0\0\0", 8)));
  EXPECT_FALSE(ReadLayoutFile(std::string("\x34\x12\0\0\0\0\0\0", 8)));
  EXPECT_FALSE(ReadLayoutFile(std::string("\x34\x12\0", 3)));
  EXPECT_FALSE(ReadFrameTree(std::string(57, '\0'), 58));
  // A record that is its own parent gets no children from itself.
  TAEHFrame self;
  self.SetId(3);
  self.SetParentId(3);
  std::string stream(reinterpret_cast<const char*>(self.record.data()), kFrameRecordSize);
  auto top = ReadFrameTree(stream + stream + stream, kFrameRecordSize);
  ASSERT_TRUE(top);
  ASSERT_EQ(top->children.size(), 2u);
  EXPECT_TRUE(top->children[0]->children.empty());
}

TEST(FrameEditing, SplittingByDragging) {
  platform::testing::RecordingMessages messages;
  FrameNamer namer;
  TAEHFrame top;
  top.SetPage(4);
  LayoutTree(top, {0, 0, 600, 603});
  EXPECT_FALSE(SplitFrame(top, SplitDirection::Rows, 40, 10, namer, messages).split);
  const SplitResult first = SplitFrame(top, SplitDirection::Rows, 200, 10, namer, messages);
  ASSERT_TRUE(first.split);
  EXPECT_EQ(first.created->Name(), "Frame000001");
  EXPECT_EQ(first.heir->Page(), 4);
  EXPECT_EQ(first.created->Page(), -1);
  EXPECT_EQ(top.Page(), -1);
  EXPECT_EQ(Widths(top), (std::vector<int>{200, 400}));
  EXPECT_EQ(first.heir->Position(), kLastRow);
  EXPECT_EQ(first.heir->splitMode, kRowMember);
  EXPECT_TRUE(IsColumnPosition(top.Position()));  // the top frame now writes ROWS=

  // A row member only splits into columns.
  EXPECT_FALSE(SplitFrame(*first.heir, SplitDirection::Rows, 100, 10, namer, messages).split);
  EXPECT_TRUE(SplitFrame(*first.heir, SplitDirection::Columns, 100, 10, namer, messages).split);
  // Splitting the top frame again inserts a first child.
  const SplitResult again = SplitFrame(top, SplitDirection::Rows, 60, 10, namer, messages);
  ASSERT_TRUE(again.split);
  EXPECT_EQ(top.children.front().get(), again.created);
  EXPECT_EQ(top.children.size(), 3u);
  EXPECT_TRUE(messages.entries.empty());
  // The other direction is refused with "?" and joins the rows.
  EXPECT_TRUE(SplitFrame(top, SplitDirection::Columns, 60, 10, namer, messages).split);
  EXPECT_TRUE(messages.Saw("?"));
  EXPECT_FALSE(top.ChildrenAreColumns());
}

TEST(FrameEditing, ResizingAndDeleting) {
  platform::testing::RecordingMessages messages;
  auto top = Split({0, 0, 306, 100}, {{kFirstColumn, kSizePercent, 40}, {kFirstColumn, kSizePercent, 40},
                                      {kLastColumn, kSizePercent, 20}});
  ResizeChild(*top->children[1], 190);
  // The last column was squeezed below 20: the nearest wide column gives 30.
  EXPECT_EQ(Widths(*top), (std::vector<int>{120, 160, 20}));

  EXPECT_EQ(DeleteFrame(*top->children[1], messages).outcome, DeleteOutcome::Removed);
  EXPECT_EQ(top->children.size(), 2u);
  EXPECT_EQ(top->children[1]->Position(), kLastColumn);
  EXPECT_EQ(Widths(*top).back(), 303 - Widths(*top).front());

  // A frame with children, and one whose sibling has children, are refused.
  auto grandchild = std::make_unique<TAEHFrame>();
  grandchild->parent = top->children[0].get();
  top->children[0]->children.push_back(std::move(grandchild));
  EXPECT_EQ(DeleteFrame(*top->children[0], messages).outcome, DeleteOutcome::Refused);
  EXPECT_TRUE(messages.Saw("You should delete children before!"));
  EXPECT_EQ(top->children[0]->bounds.Width(), 60);
  EXPECT_EQ(DeleteFrame(*top->children[1], messages).outcome, DeleteOutcome::Refused);
  EXPECT_TRUE(messages.Saw("You should modify another frame before."));

  // Deleting one of two keeps the other's page in the parent.
  top->children[0]->children.clear();
  top->children[0]->SetPage(21);
  const DeleteResult merged = DeleteFrame(*top->children[1], messages);
  EXPECT_EQ(merged.outcome, DeleteOutcome::Merged);
  EXPECT_TRUE(top->children.empty());
  EXPECT_EQ(top->Page(), 21);
}

TEST(FrameSetHtml, RowsColumnsAndLeaves) {
  auto top = Split({0, 0, 600, 400}, {{kFirstRow, kSizePercent, 20}, {kLastRow, kSizeRest, 0}});
  top->children[1]->SetBorder(0);
  top->children[1]->SetResizable(false);
  top->children[0]->SetScrolling(false);
  const std::string stream = WriteFrameTree(*top);
  std::string out;
  const auto cornice = TNonVisCornice::FromStream(stream, kFrameRecordSize);
  const std::int32_t written = cornice.Write(out, [](std::int32_t page) { return "p" + std::to_string(page) + ".htm"; });
  EXPECT_EQ(out,
            "<FRAMESET ROWS=20%,* BORDER=3 FRAMESPACING=3 >\r\n"
            "\r<FRAME NAME=\"F0\" SRC=\"p10.htm\" SCROLLING=no >\r\n"
            "\r<FRAME NAME=\"F1\" SRC=\"p11.htm\" SCROLLING=auto FRAMEBORDER=no NORESIZE>\r\n"
            "</FRAMESET>\r\n");
  EXPECT_EQ(written, static_cast<std::int32_t>(out.size()));

  auto columns = Split({0, 0, 600, 400}, {{kFirstColumn, kSizePixels, 150}, {kLastColumn, kSizePercent, 75}}, 0);
  out.clear();
  TNonVisCornice::FromStream(WriteFrameTree(*columns), kFrameRecordSize).Write(out, DocumentFrameSource);
  EXPECT_EQ(out.substr(0, out.find('\n') + 1), "<FRAMESET COLS=150,75% BORDER=0 FRAMESPACING=0 >\r\n");
  EXPECT_NE(out.find("SRC=\"$0000000a\""), std::string::npos) << out;
  EXPECT_TRUE(TNonVisCornice::FromStream("", kFrameRecordSize).Empty());
}

}  // namespace
}  // namespace tarn::objects
