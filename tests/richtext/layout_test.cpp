// Layout with fixed metrics (8 pixels a character at 12 points, 16 high,
// ascent 12; left and right margins 10): line breaking, alignment, list
// marks, sub- and superscript, hit-testing and the shift of following
// paragraphs.
#include "richtext/layout.h"

#include <gtest/gtest.h>

#include "document/aehset.h"
#include "document/testfixtures.h"
#include "platform/testing/fixedcanvas.h"
#include "richtext/documenthost.h"

namespace tarn::richtext {
namespace {

class LayoutTest : public ::testing::Test {
 protected:
  LayoutTest() : set(env.Services()), host(set, &canvas, &env.messages), layout(text, canvas) {}

  void Load(std::string_view markup, int width) {
    text.paragraphs.clear();
    MarkupStream stream(markup);
    ReadText(text, stream, host);
    layout.layoutWidth = width;
    layout.widestExtent = width;
    layout.LayoutAll();
  }
  TAEHparag& P(int i) { return *text.paragraphs.at(static_cast<std::size_t>(i)); }

  testing::TestEnv env;
  document::TAEHset set;
  platform::testing::FixedCanvas canvas;
  DocumentHost host;
  RichText text;
  TextLayout layout;
};

TEST_F(LayoutTest, LineBreaking) {
  struct Case {
    const char* name;
    const char* markup;
    int width;
    std::vector<std::pair<int, int>> lines;  // (first character, count)
  } cases[] = {
      // 40 pixels free: "ab cd" is 40 wide, but a character must leave
      // more than 0 pixels, so "cd" goes to the next line and the blank
      // stays at the end of the first.
      {"strict fit keeps the blank", "<Z S0 >ab cd", 60, {{0, 3}, {3, 2}}},
      {"fits with a pixel to spare", "<Z S0 >ab cd", 61, {{0, 5}}},
      {"long word overflows", "<Z S0 >abcdefghij", 60, {{0, 10}}},
      {"long word after a blank", "<Z S0 >a bcdefghij", 60, {{0, 2}, {2, 9}}},
      {"three lines", "<Z S0 >aa bb cc dd", 60, {{0, 3}, {3, 3}, {6, 3}, {9, 2}}},
      {"first character does not fit", "<Z S0 >ab", 21, {{0, 1}, {1, 1}}},
      {"empty paragraph", "<Z S0 >", 60, {{0, 0}}},
  };
  for (const auto& c : cases) {
    Load(c.markup, c.width);
    std::vector<std::pair<int, int>> got;
    for (const auto& line : P(0).lines) got.emplace_back(line.firstChar, line.charCount);
    EXPECT_EQ(got, c.lines) << c.name;
  }
  Load("<Z S0 >abcdefghij", 60);
  EXPECT_EQ(layout.widestExtent, 100);  // 60 - (40 - 80)
}

TEST_F(LayoutTest, HeightsOffsetsAndAlignment) {
  Load("<Z S0 A2 >ab", 47);  // 27 free, 16 used: 11 left over
  EXPECT_EQ(P(0).lines[0].alignOffset, 5);
  Load("<Z S0 A1 >ab", 47);
  EXPECT_EQ(P(0).lines[0].alignOffset, 11);
  Load("<Z S0 L30 >aa bb cc<Y s24 >dd", 60);
  for (const auto& line : P(0).lines) EXPECT_EQ(line.height, 30);
  Load("<Z S0 >", 60);
  EXPECT_EQ(P(0).lines[0].height, 16);
  // First paragraph at 8; the next starts after the last line.
  Load("<Z S0 >a<Z S0 t4 b6 >b", 60);
  EXPECT_EQ(P(0).top, 8);
  EXPECT_EQ(P(0).bottom, 23);
  EXPECT_EQ(P(1).top, 24);
  EXPECT_EQ(P(1).bottom, 24 + 4 + 16 + 6 - 1);
  // Subscript adds half the font height; superscript raises the ascent.
  Load("<Z S0 >a<Y p1 >b", 100);
  EXPECT_EQ(P(0).lines[0].height, 24);
  Load("<Z S0 >a<Y p2 >b", 100);
  EXPECT_EQ(P(0).lines[0].maxAscent, 20);
  EXPECT_EQ(P(0).lines[0].height, 24);
}

TEST_F(LayoutTest, ListMarks) {
  Load("<Z S0 N6 >a<Z S0 N6 >b<Z S0 N6 >c<Z S0 >d<Z S0 N6 >e<Z S0 N6 >f", 200);
  layout.NumberLists();
  std::vector<int> numbers;
  for (const auto& p : text.paragraphs) numbers.push_back(p->listNumber);
  EXPECT_EQ(numbers, (std::vector<int>{1, 2, 3, 1, 1, 2}));

  Load("<Z S0 N10 I-38 >x y", 200);
  EXPECT_EQ(P(0).lines[0].leftOffset, 10);
  canvas.ops.clear();
  layout.Paint(canvas, {0, 0, 200, 200}, {});
  ASSERT_FALSE(canvas.ops.empty());
  EXPECT_EQ(canvas.ops[0].text, "w");
  EXPECT_EQ(canvas.ops[0].face, "Wingdings");
  EXPECT_EQ(canvas.ops[0].x, 10 - 38);
}

TEST_F(LayoutTest, PaintsRunsLinksAndSelection) {
  Load("<Z S0 >ab<$00000001>cd<%>ef", 200);
  canvas.ops.clear();
  Selection selection{0, 5, 0, 6};
  layout.Paint(canvas, {0, 0, 200, 200}, selection);
  std::vector<std::string> texts;
  for (const auto& op : canvas.ops) texts.push_back(op.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"ab", "cd", "e", "f"}));
  EXPECT_EQ(canvas.ops[1].colour, 0xFF0000u);  // the link colour
  EXPECT_EQ(canvas.ops[3].background, canvas.System(platform::SystemColour::Highlight) | 0x01000000u);
  EXPECT_EQ(canvas.ops[2].x, 10 + 32);
  EXPECT_EQ(canvas.ops[0].y, 8);  // baseline 20, ascent 12

  // Spelling marks: two dotted lines under the marked run.
  P(0).spellingMarks = "  !!  ";
  canvas.ops.clear();
  layout.Paint(canvas, {0, 0, 200, 200}, {});
  int dotted = 0;
  for (const auto& op : canvas.ops) {
    if (op.what != "dotted") continue;
    ++dotted;
    EXPECT_EQ(op.x2, 10 + 32);
  }
  EXPECT_EQ(dotted, 2);
}

TEST_F(LayoutTest, HitTestingAndCaretPlacement) {
  Load("<Z S0 >ab cd<Z S0 >ef", 60);
  // Right half of "a" (x 10..18): the caret goes before it.
  EXPECT_EQ(layout.HitTest(16, 10, HitScope::Text).charIndex, 0);
  EXPECT_EQ(layout.HitTest(19, 10, HitScope::Text).charIndex, 1);
  EXPECT_EQ(layout.HitTest(2, 10, HitScope::Text).charIndex, 0);
  // Right of the first line's text: before its last character (the blank).
  EXPECT_EQ(layout.HitTest(55, 10, HitScope::Text).charIndex, 2);
  // Right of the last line: after the paragraph's last character.
  const TextPos end = layout.HitTest(55, 30, HitScope::Text);
  EXPECT_EQ(end.line, 1);
  EXPECT_EQ(end.charIndex, 5);
  // Below everything: the last paragraph.
  EXPECT_EQ(layout.HitTest(12, 500, HitScope::Text).paragraphIndex, 1);
  EXPECT_EQ(layout.HitTest(12, -5, HitScope::Text).paragraphIndex, 0);

  const TextPos pos = layout.PositionToPoint(0, 4);
  EXPECT_EQ(pos.line, 1);
  EXPECT_EQ(pos.x, 18);
  EXPECT_EQ(pos.y, 8 + 16);
  EXPECT_EQ(pos.height, 16);
  EXPECT_EQ(layout.PlaceOnLine(pos, 13).charIndex, 4);
  EXPECT_EQ(layout.PlaceOnLine(pos, 40).charIndex, 5);
}

TEST_F(LayoutTest, RangeLayoutShiftsFollowingParagraphsOnly) {
  Load("<Z S0 >aa<Z S0 >bb<Z S0 >cc", 60);
  const TAEHline* thirdLines = P(2).lines.data();
  const int thirdTop = P(2).top;
  // The middle paragraph grows to two lines.
  MarkupStream stream("<Z S0 >bb bb");
  TAEHparag replacement;
  ReadParagraph(replacement, stream, host);
  P(1).text = replacement.text;
  P(1).infos = replacement.infos;
  int repaintFrom = -1;
  layout.onRepaint = [&](int from, int) { repaintFrom = repaintFrom < 0 ? from : std::min(repaintFrom, from); };
  layout.LayoutRange(1, 1);
  EXPECT_EQ(P(1).lines.size(), 2u);
  EXPECT_EQ(P(2).top, thirdTop + 16);
  EXPECT_EQ(P(2).lines.data(), thirdLines);  // not laid out again
  EXPECT_GE(repaintFrom, P(1).top);
}

TEST_F(LayoutTest, ReaderTakesPairWidths) {
  Load("<Z S0 >AVAV<Y s24 >V", 200);
  std::vector<int> widths;
  for (int i = 0; i < P(0).Length(); ++i) widths.push_back(P(0).infos[static_cast<std::size_t>(i)].width);
  EXPECT_EQ(widths, (std::vector<int>{8, 7, 8, 7, 16}));
}

TEST(CharMeasurer, PairWidthsIncludeKerningAndRestartOnFontChange) {
  platform::testing::FixedCanvas canvas;
  CharMeasurer m(canvas);
  m.SelectFont({"Arial", 0, 0, 12, 0});
  EXPECT_EQ(m.MeasureChar('A').width, 8);
  EXPECT_EQ(m.MeasureChar('V').width, 7);
  m.SelectFont({"Arial", 0, 0, 12, 1});
  EXPECT_EQ(m.MeasureChar('V').width, 8);
  EXPECT_EQ(m.Height(), 24);
  m.ResetMeasure();
  EXPECT_EQ(m.MeasureChar('V').width, 8);
}

}  // namespace
}  // namespace tarn::richtext
