// The editing model of a box with fixed metrics (8 pixels a character):
// caret moves and their boundaries, deleting, typing, splitting, replacing,
// and the container a selection travels in.
#include "richtext/boxtext.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/bytes.h"
#include "document/aehset.h"
#include "document/testfixtures.h"
#include "platform/testing/fixedcanvas.h"
#include "richtext/aehtextattributes.h"
#include "richtext/captionrecorder.h"
#include "richtext/documenthost.h"

namespace tarn::richtext {
namespace {


class BoxTextTest : public ::testing::Test {
 protected:
  BoxTextTest() : set(env.Services()), host(set, &canvas, &env.messages), box(host, canvas, &env.messages), commands(box) {
    box.recorder = &captions;
  }

  void Load(std::string_view markup, std::string_view header = {}, std::string_view footer = {}) {
    box.Layout().layoutWidth = 400;
    box.Layout().widestExtent = 400;
    ASSERT_TRUE(box.LoadText(markup, header, footer));
  }
  // The box's own text as stored, without the closing byte 0.
  std::string Saved() {
    std::string s = box.SaveText();
    s.pop_back();
    return s;
  }
  TextPos Move(CaretMove move, CharPos from) {
    box.SetCaret(from);
    return box.Move(move, box.CaretPos());
  }
  static CharPos At(const TextPos& p) { return {p.paragraphIndex, p.charIndex}; }
  void Type(std::string_view text) {
    for (const char c : text) commands.TypeChar(static_cast<unsigned char>(c));
  }

  testing::TestEnv env;
  document::TAEHset set;
  platform::testing::FixedCanvas canvas;
  DocumentHost host;
  BoxText box;
  TAEHTextAttributes commands;
  Captions captions;
};

TEST_F(BoxTextTest, WordMoves) {
  struct Case {
    const char* text;
    CaretMove move;
    int from;
    int to;
  } cases[] = {
      {"foo, bar", CaretMove::WordRight, 0, 5},  // skips the word and ", "
      {"foo, bar", CaretMove::WordLeft, 5, 0},
      {"foo, bar", CaretMove::WordLeft, 7, 5},
      {"foo, bar", CaretMove::WordRight, 5, 8},
      {"a#b&amp;c@d_e1 x", CaretMove::WordRight, 0, 11},  // "#&@_" and digits are word characters
      {"ab;cd.ef", CaretMove::WordRight, 0, 3},
      {"ab;cd.ef", CaretMove::WordRight, 3, 6},
      {"ab;cd.ef", CaretMove::WordLeft, 6, 3},
      {"say \x93hi\x94 now", CaretMove::WordRight, 4, 9},  // curly quotes separate
  };
  for (const auto& c : cases) {
    Load(std::string("<Z S0 >") + c.text);
    EXPECT_EQ(Move(c.move, {0, c.from}).charIndex, c.to) << c.text << " from " << c.from;
    EXPECT_EQ(box.LastBoundary(), Boundary::Moved);
  }
}

TEST_F(BoxTextTest, MovesStayInTheOwnParagraphsAndReportTheirBoundaries) {
  Load("<Z S0 >ab<Z S0 >cd", "<Z S0 >head", "<Z S0 >foot");
  ASSERT_EQ(box.ParagraphCount(), 4);
  EXPECT_EQ(box.Caret(), (CharPos{1, 0}));
  struct Case {
    CaretMove move;
    CharPos from;
    CharPos to;
    Boundary status;
  } cases[] = {
      {CaretMove::CharLeft, {1, 0}, {1, 0}, Boundary::BeforeStart},
      {CaretMove::CharLeft, {2, 0}, {1, 2}, Boundary::Moved},
      {CaretMove::CharRight, {1, 2}, {2, 0}, Boundary::Moved},
      {CaretMove::CharRight, {2, 2}, {2, 2}, Boundary::AfterEnd},
      {CaretMove::WordLeft, {1, 0}, {1, 0}, Boundary::BeforeStart},
      {CaretMove::WordLeft, {2, 0}, {1, 2}, Boundary::Moved},
      {CaretMove::WordRight, {1, 2}, {2, 0}, Boundary::Moved},
      {CaretMove::WordRight, {2, 2}, {2, 2}, Boundary::AfterEnd},
      {CaretMove::LineUp, {1, 1}, {1, 1}, Boundary::AboveFirst},
      {CaretMove::LineDown, {1, 1}, {2, 1}, Boundary::Moved},
      {CaretMove::LineDown, {2, 1}, {2, 1}, Boundary::BelowLast},
      {CaretMove::ParagraphUp, {1, 1}, {1, 1}, Boundary::AboveFirst},
      {CaretMove::ParagraphDown, {2, 1}, {2, 1}, Boundary::BelowLast},
      {CaretMove::TextStart, {2, 1}, {1, 0}, Boundary::Moved},
      {CaretMove::TextEnd, {1, 1}, {2, 2}, Boundary::Moved},
  };
  for (const auto& c : cases) {
    const TextPos to = Move(c.move, c.from);
    EXPECT_EQ(At(to), c.to) << static_cast<int>(c.move);
    EXPECT_EQ(box.LastBoundary(), c.status) << static_cast<int>(c.move);
  }
}

TEST_F(BoxTextTest, LineStartAndEndAtASoftBreak) {
  box.Layout().layoutWidth = 60;  // "aa bb cc": lines "aa " and "bb " and "cc"
  box.Layout().widestExtent = 60;
  ASSERT_TRUE(box.LoadText("<Z S0 >aa bb cc"));
  ASSERT_EQ(box.Paragraph(0).lines.size(), 3u);
  TextPos end = Move(CaretMove::LineEnd, {0, 4});
  EXPECT_EQ(end.charIndex, 6);
  EXPECT_EQ(end.line, 1);  // the end of the middle line, not the start of the last
  box.SetCaret(end);
  EXPECT_EQ(box.CaretPos().line, 1);
  EXPECT_EQ(box.Move(CaretMove::LineStart, box.CaretPos()).charIndex, 3);
}

TEST_F(BoxTextTest, DeleteAndBackspaceAtTheEnds) {
  Load("<Z S0 >ab<Z S0 >cd");
  box.SetCaret(CharPos{0, 0});
  commands.DeletePrevious();
  EXPECT_EQ(Saved(), "<Z S0 >ab<Z S0 >cd");
  box.SetCaret(CharPos{1, 2});
  commands.DeleteNext();
  EXPECT_EQ(Saved(), "<Z S0 >ab<Z S0 >cd");
  EXPECT_TRUE(captions.steps.empty());

  box.SetCaret(CharPos{1, 0});
  commands.DeletePrevious();  // joins the paragraphs
  EXPECT_EQ(Saved(), "<Z S0 >abcd");
  EXPECT_EQ(box.Caret(), (CharPos{0, 2}));
  commands.DeleteNext();
  commands.DeleteNext();
  EXPECT_EQ(Saved(), "<Z S0 >ab");
  // Consecutive single deletions are one undo step.
  EXPECT_EQ(captions.steps, std::vector<std::string>{"Selection deletion"});
}

TEST_F(BoxTextTest, DeletingAcrossParagraphsKeepsFontsAndTheFirstParagraph) {
  Load("<Z S0 A2 >abc<Y c0000FF >def<Z S0 y1 >ghi<Z S0 >jkl");
  box.SelectRange({0, 4}, {2, 1});
  ASSERT_TRUE(commands.DeleteSelection());
  // "kl" keeps the plain font of its paragraph, not the blue before it.
  EXPECT_EQ(Saved(), "<Z S0 A2 >abc<Y c0000FF >d<Y >kl");
  EXPECT_EQ(box.Caret(), (CharPos{0, 4}));
  EXPECT_FALSE(box.HasSelection());

  // Within one paragraph the text after the deletion keeps its look.
  Load("<Z S0 >ab<Y y1 >cd<Y >ef");
  box.SelectRange({0, 1}, {0, 3});
  commands.DeleteSelection();
  EXPECT_EQ(Saved(), "<Z S0 >a<Y y1 >d<Y >ef");

  // A selection from the start of a paragraph leaves the last one's style.
  Load("<Z S0 A2 >ab<Z S0 A1 >cd");
  box.SelectRange({0, 0}, {1, 1});
  commands.DeleteSelection();
  EXPECT_EQ(Saved(), "<Z S0 A1 >d");

  EXPECT_FALSE(commands.DeleteSelection());
  EXPECT_TRUE(env.messages.Saw("SelectionMustExists"));
}

TEST_F(BoxTextTest, TypingAndEnter) {
  Load("<Z S0 >");
  Type("ab");
  commands.SplitParagraph();
  Type("c<");
  EXPECT_EQ(Saved(), "<Z S0 >ab<Z S0 >c&lt;");
  EXPECT_EQ(box.Caret(), (CharPos{1, 2}));
  EXPECT_EQ(captions.steps, (std::vector<std::string>{"Text insertion", "Paragraph insertion", "Text insertion"}));

  // Enter after bold text: the new paragraph's own font is bold; typed
  // characters take the font and link before them.
  Load("<Z S0 >x<Y y1 ><$00000002>bold<%>");
  box.SetCaret(CharPos{0, 5});
  Type("s");
  commands.SplitParagraph();
  Type("y");
  EXPECT_EQ(Saved(), "<Z S0 >x<Y y1 ><$00000002>bolds<%><Z S0 y1 >y");

  // Typing over a selection replaces it.
  Load("<Z S0 >abcd");
  box.SelectRange({0, 1}, {0, 3});
  Type("X");
  EXPECT_EQ(Saved(), "<Z S0 >aXd");
}

TEST_F(BoxTextTest, TypingRunsEndWithOtherCommands) {
  Load("<Z S0 >");
  Type("abc");
  commands.EndRuns();  // a caret move
  Type("d");
  EXPECT_EQ(captions.steps, (std::vector<std::string>{"Text insertion", "Text insertion"}));
}

TEST_F(BoxTextTest, TypographicQuotes) {
  commands.autoEngQuote = true;
  Load("<Z S0 >");
  Type("\"a\" 'b'");
  EXPECT_EQ(box.Paragraph(0).text, "\x93" "a\x94 \x91" "b\x92");
}

TEST_F(BoxTextTest, ReplaceSelection) {
  struct Case {
    const char* replacement;
    const char* saved;
  } cases[] = {
      {"XY", "<Z S0 >aXY<Y y1 >d"},
      {"X", "<Z S0 >aX<Y y1 >d"},
      {"XYZW", "<Z S0 >aXYZW<Y y1 >d"},
  };
  for (const auto& c : cases) {
    Load("<Z S0 >abc<Y y1 >d");
    box.SelectRange({0, 1}, {0, 3});
    commands.ReplaceSelection(c.replacement);
    EXPECT_EQ(Saved(), c.saved) << c.replacement;
    EXPECT_EQ(commands.SelectedText(), c.replacement);
  }
  Load("<Z S0 >ab<Z S0 >cd");
  box.SelectRange({0, 1}, {1, 1});
  commands.ReplaceSelection("x");
  EXPECT_EQ(Saved(), "<Z S0 >ab<Z S0 >cd");
  EXPECT_TRUE(env.messages.Saw("Funzione non disponibile per parole non comprese interamente in un paragrafo."));
}

TEST_F(BoxTextTest, ContainerRoundTrip) {
  Load("<Z S0 >ab<Y c0000FF >cd<Z S0 A2 >ef<Z S0 >gh");
  box.SelectRange({0, 1}, {2, 1});
  EXPECT_EQ(commands.SelectedText(), "bcdefg");
  EXPECT_EQ(commands.SelectedPlainText(), "bcd\r\nef\r\ng");
  const std::string container = commands.WriteContainer(false);
  EXPECT_EQ(base::ByteReader(container).Remaining(), container.size());
  EXPECT_EQ(container.substr(0, 4), std::string("\x01\0\0\0", 4));

  Load("<Z S0 >XY");
  box.SetCaret(CharPos{0, 1});
  ASSERT_TRUE(commands.InsertContainer(container, kCaptionClipboard));
  EXPECT_EQ(Saved(), "<Z S0 >X<Y >b<Y c0000FF >cd<Z S0 A2 >ef<Z S0 >gY");
  EXPECT_EQ(box.SelectionStart(), (CharPos{0, 1}));
  EXPECT_EQ(box.SelectionEnd(), (CharPos{2, 1}));
  EXPECT_EQ(captions.steps.back(), "Clipboard insertion");

  // Into an empty paragraph, inside one paragraph.
  Load("<Z S0 >abcd");
  box.SelectRange({0, 1}, {0, 3});
  const std::string inner = commands.WriteContainer(false);
  Load("<Z S0 >");
  ASSERT_TRUE(commands.InsertContainer(inner, kCaptionClipboard));
  EXPECT_EQ(commands.SelectedText(), "bc");
  EXPECT_EQ(box.ParagraphCount(), 1);
}

TEST_F(BoxTextTest, InsertedTextKeepsItsParagraphsFont) {
  // Pasted rich text may carry its first word's font in the paragraph tag;
  // that paragraph takes the caret's style, its characters keep their look.
  std::string container;
  base::AppendI32(container, 1);
  for (int i = 0; i < 3; ++i) base::AppendI32(container, 0);
  base::AppendI32(container, 1);
  container += "<Z S0 y1 >Strong<Y > words";
  container.push_back('\0');
  Load("<Z S0 >XY");
  box.SetCaret(CharPos{0, 1});
  ASSERT_TRUE(commands.InsertContainer(container, kCaptionClipboard));
  EXPECT_EQ(Saved(), "<Z S0 >X<Y y1 >Strong<Y > wordsY");
}

TEST_F(BoxTextTest, DamagedContainersChangeNothing) {
  std::string withRecords;
  base::AppendI32(withRecords, 1);
  base::AppendI32(withRecords, 5);  // link records this build cannot read yet
  for (int i = 0; i < 3; ++i) base::AppendI32(withRecords, 0);
  withRecords += "<Z S0 >x";
  const std::string cases[] = {
      "",
      std::string("\x01\0\0", 3),
      std::string("\x02\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0<Z S0 >x", 27),
      withRecords,
  };
  for (const auto& bytes : cases) {
    Load("<Z S0 >ab");
    box.SetCaret(CharPos{0, 1});
    EXPECT_FALSE(commands.InsertContainer(bytes, kCaptionClipboard));
    EXPECT_EQ(Saved(), "<Z S0 >ab");
  }
}

TEST_F(BoxTextTest, PlainTextInsertion) {
  Load("<Z S3 >ab");
  box.SetCaret(CharPos{0, 1});
  commands.InsertText("x\r\ny<z\n\tw");
  EXPECT_EQ(box.ParagraphCount(), 3);
  EXPECT_EQ(box.Paragraph(0).text, "ax");
  EXPECT_EQ(box.Paragraph(1).text, "y<z");
  EXPECT_EQ(box.Paragraph(2).text, " wb");
}

TEST_F(BoxTextTest, OlderTextIsRefusedAndAnEmptyTextGetsAParagraph) {
  EXPECT_FALSE(box.LoadText("<Z S0 >x", {}, {}, 1));
  EXPECT_TRUE(env.messages.Saw("baco; testo ver 1 ancora pres in aehBox!"));
  EXPECT_EQ(box.ParagraphCount(), 0);
  ASSERT_TRUE(box.LoadText(""));
  EXPECT_EQ(box.ParagraphCount(), 1);
  EXPECT_EQ(box.SaveText(), std::string("<Z S0 >\0", 8));
}

TEST_F(BoxTextTest, HeaderAndFooterAreNotSaved) {
  Load("<Z S0 >own", "<Z S0 >head", "<Z S0 >foot");
  box.SelectAll();
  EXPECT_EQ(commands.SelectedText(), "own");
  EXPECT_EQ(Saved(), "<Z S0 >own");
}

}  // namespace
}  // namespace tarn::richtext
