// The formatting commands on a box with fixed metrics: character formats
// over selections within and across paragraphs, pending formats and typing,
// links, paragraph commands with their override rule, and styles.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "document/aehset.h"
#include "document/testfixtures.h"
#include "platform/testing/fixedcanvas.h"
#include "richtext/aehparaattributes.h"
#include "richtext/aehtextattributes.h"
#include "richtext/captionrecorder.h"
#include "richtext/documenthost.h"
#include "richtext/formatting.h"

namespace tarn::richtext {
namespace {


class FormattingTest : public ::testing::Test {
 protected:
  FormattingTest()
      : set(env.Services()), host(set, &canvas, &env.messages), box(host, canvas, &env.messages), text(box),
        paras(box) {
    box.recorder = &captions;
    auto heading = set.NewObject(document::stileParagrafo);
    heading->SetName("Heading");
    heading->SetI16(stylefield::kSize, 18);
    heading->SetU8(stylefield::kStyleBits, stylefield::kBold);
    set.Register(std::move(heading));
  }

  void Load(std::string_view markup) {
    box.Layout().layoutWidth = 400;
    box.Layout().widestExtent = 400;
    ASSERT_TRUE(box.LoadText(markup));
    captions.steps.clear();
  }
  std::string Saved() {
    std::string s = box.SaveText();
    s.pop_back();
    return s;
  }
  void Type(std::string_view typed) {
    for (const char c : typed) text.TypeChar(static_cast<unsigned char>(c));
  }

  testing::TestEnv env;
  document::TAEHset set;
  platform::testing::FixedCanvas canvas;
  DocumentHost host;
  BoxText box;
  TAEHTextAttributes text;
  TAEHParaAttributes paras;
  Captions captions;
};

struct CharacterCase {
  const char* name;
  const char* markup;
  CharPos from, to;
  std::function<void(TAEHTextAttributes&)> command;
  const char* caption;
  const char* saved;
};

TEST_F(FormattingTest, CharacterCommandsOnSelections) {
  const CharacterCase cases[] = {
      // The markup writes colours red, green, blue; the values have red lowest.
      {"colour in the middle of a red sentence", "<Z S0 cFF0000 >one two three", {0, 4}, {0, 7},
       [](auto& t) { t.SetColor(0xFF0000); }, "Apply color Blue",
       "<Z S0 cFF0000 >one <Y c0000FF >two<Y cFF0000 > three"},
      {"colour across paragraphs keeps the rest red", "<Z S0 cFF0000 >one two<Z S0 cFF0000 >three four",
       {0, 4}, {1, 5}, [](auto& t) { t.SetColor(0xFF0000); }, "Apply color Blue",
       "<Z S0 cFF0000 >one <Y c0000FF >two<Z S0 c0000FF >three<Y cFF0000 > four"},
      {"an unnamed colour", "<Z S0 >abc", {0, 0}, {0, 1}, [](auto& t) { t.SetColor(0x123456); },
       "Apply color 0123456", "<Z S0 ><Y c563412 >a<Y >bc"},
      {"face", "<Z S0 >abc", {0, 1}, {0, 2}, [](auto& t) { t.SetFace("Arial"); }, "Apply font Arial",
       "<Z S0 >a<Y F\"Arial\" >b<Y >c"},
      {"size over a run with its own format", "<Z S0 >a<Y y1 >bc<Y >d", {0, 0}, {0, 3},
       [](auto& t) { t.SetSize(14); }, "Apply font size 14", "<Z S0 ><Y s14 >a<Y s14 y1 >bc<Y >d"},
      {"style bits replace all four", "<Z S0 >a<Y y3 >bc", {0, 1}, {0, 3}, [](auto& t) { t.SetStyleBits(4); },
       "Apply font style: ", "<Z S0 >a<Y y4 >bc"},
      {"style description", "<Z S0 >ab", {0, 0}, {0, 2}, [](auto& t) { t.SetStyleBits(3); },
       "Apply font style: Italico Grassetto ", "<Z S0 ><Y y3 >ab"},
      {"bits added keep the others", "<Z S0 >a<Y y2 >bc<Y >d", {0, 0}, {0, 3},
       [](auto& t) { t.ChangeStyleBits(1, 0); }, "Apply font style: ", "<Z S0 ><Y y1 >a<Y y3 >bc<Y >d"},
      {"bits removed; the value of the style clears the override", "<Z S0 ><Y y1 >abc", {0, 0}, {0, 3},
       [](auto& t) { t.ChangeStyleBits(0, 1); }, "Apply font style: ", "<Z S0 >abc"},
      {"superscript", "<Z S0 >x2", {0, 1}, {0, 2}, [](auto& t) { t.SetPosition(2); }, "Apply font Superscript",
       "<Z S0 >x<Y p2 >2"},
      {"subscript to the end of the next paragraph", "<Z S0 >ab<Z S0 >cd", {0, 1}, {1, 2},
       [](auto& t) { t.SetPosition(1); }, "Apply font Subscript", "<Z S0 >a<Y p1 >b<Z S0 p1 >cd"},
  };
  for (const CharacterCase& c : cases) {
    SCOPED_TRACE(c.name);
    Load(c.markup);
    box.SelectRange(c.from, c.to);
    c.command(text);
    EXPECT_EQ(Saved(), c.saved);
    EXPECT_EQ(captions.steps, std::vector<std::string>{c.caption});
    // The selection stays for the next command.
    EXPECT_EQ(box.SelectionStart(), c.from);
    EXPECT_EQ(box.SelectionEnd(), c.to);
  }
}

TEST_F(FormattingTest, PendingFormatsWaitForTheNextTypedCharacter) {
  Load("<Z S0 >ab");
  box.SetCaret(CharPos{0, 1});
  text.ChangeStyleBits(1, 0);
  EXPECT_TRUE(captions.steps.empty());  // nothing changes yet
  EXPECT_EQ(text.StyleBits(), 1);       // but the toolbar shows it
  text.SetColor(0x0000FF);
  Type("xy");
  // Only the typed text is bold and red; "b" keeps its look.
  EXPECT_EQ(Saved(), "<Z S0 >a<Y cFF0000 y1 >xy<Y >b");
  EXPECT_EQ(captions.steps, std::vector<std::string>{"Text insertion"});

  // A caret move drops what was pending.
  Load("<Z S0 >ab");
  box.SetCaret(CharPos{0, 1});
  text.SetSize(20);
  text.EndRuns();
  box.SetCaret(CharPos{0, 2});
  Type("z");
  EXPECT_EQ(Saved(), "<Z S0 >abz");
  EXPECT_EQ(text.Size(), 12);
}

TEST_F(FormattingTest, FontAtTheCaretAndSelection) {
  Load("<Z S0 >a<Y F\"Arial\" s14 y2 >bc<Y >d");
  box.SetCaret(CharPos{0, 2});
  EXPECT_EQ(text.Face(), "Arial");
  EXPECT_EQ(text.Size(), 14);
  EXPECT_EQ(text.StyleBits(), 2);
  box.SetCaret(CharPos{0, 1});  // the character before the caret is plain
  EXPECT_EQ(text.Size(), 12);
  box.SelectRange({0, 1}, {0, 4});  // the selection start
  EXPECT_EQ(text.Size(), 14);
}

TEST_F(FormattingTest, LinksMadeAndRemoved) {
  Load("<Z S0 >one two<Z S0 >three");
  EXPECT_FALSE(text.SetLink(0x6F000001));
  EXPECT_TRUE(env.messages.Saw("Selection must exists!"));
  box.SelectRange({0, 4}, {1, 2});
  ASSERT_TRUE(text.SetLink(0x6F000001));
  EXPECT_EQ(captions.steps, std::vector<std::string>{"Insert link "});
  EXPECT_EQ(box.Paragraph(0).infos[3].link, -1);
  EXPECT_EQ(box.Paragraph(0).infos[4].link, 0x6F000001);
  EXPECT_EQ(box.Paragraph(1).infos[1].link, 0x6F000001);
  EXPECT_EQ(box.Paragraph(1).infos[2].link, -1);
  EXPECT_EQ(text.Link(), 0x6F000001);

  box.SelectRange({0, 0}, {1, 5});
  ASSERT_TRUE(text.SetLink(-1));
  for (int i = 0; i < 2; ++i) {
    for (const CharInfo& info : box.Paragraph(i).infos) EXPECT_EQ(info.link, -1);
  }
}

struct ParagraphCase {
  const char* name;
  const char* markup;
  std::function<void(TAEHParaAttributes&)> command;
  const char* caption;
  const char* saved;
};

TEST_F(FormattingTest, ParagraphCommandsOnTheTouchedParagraphs) {
  const ParagraphCase cases[] = {
      {"alignment", "<Z S0 >ab<Z S0 A1 >cd<Z S0 >ef", [](auto& p) { p.SetAlignment(2); }, "Center",
       "<Z S0 A2 >ab<Z S0 A2 >cd<Z S0 >ef"},
      {"back to the style's alignment clears the override", "<Z S0 A2 >ab<Z S0 A1 >cd<Z S0 >ef",
       [](auto& p) { p.SetAlignment(0); }, "Align to left", "<Z S0 >ab<Z S0 >cd<Z S0 >ef"},
      {"bullets hang the first line 10 mm", "<Z S0 >ab<Z S0 >cd<Z S0 >ef", [](auto& p) { p.SetListKind(10); },
       "Numbering 10", "<Z S0 N10 I-38 l48 >ab<Z S0 N10 I-38 l48 >cd<Z S0 >ef"},
      {"a list kind changed keeps the lengths", "<Z S0 N10 I-38 l48 >ab<Z S0 >cd<Z S0 >ef",
       [](auto& p) { p.SetListKind(6); }, "Numbering 6", "<Z S0 N6 I-38 l48 >ab<Z S0 N6 I-38 l48 >cd<Z S0 >ef"},
      // Also a paragraph that was no list takes its indent into its margin.
      {"no list gives the indent back", "<Z S0 N10 I-38 l48 >ab<Z S0 I5 >cd<Z S0 >ef",
       [](auto& p) { p.SetListKind(0); }, "Numbering 0", "<Z S0 >ab<Z S0 l15 >cd<Z S0 >ef"},
      {"left margin in millimetres", "<Z S0 >ab<Z S0 >cd<Z S0 >ef", [](auto& p) { p.SetLeftMargin(20); },
       "Left margin 20", "<Z S0 l76 >ab<Z S0 l76 >cd<Z S0 >ef"},
      {"space before", "<Z S0 >ab<Z S0 >cd<Z S0 >ef", [](auto& p) { p.SetSpaceBefore(2.5); }, "Top margin 2.5",
       "<Z S0 t9 >ab<Z S0 t9 >cd<Z S0 >ef"},
      {"link colour", "<Z S0 >ab<Z S0 >cd<Z S0 >ef", [](auto& p) { p.SetLinkColor(0x0000FF); }, "Link color Red",
       "<Z S0 CFF0000 >ab<Z S0 CFF0000 >cd<Z S0 >ef"},
      {"link style", "<Z S0 >ab<Z S0 >cd<Z S0 >ef", [](auto& p) { p.SetLinkStyle(1); }, "Link styleGrassetto ",
       "<Z S0 Y1 >ab<Z S0 Y1 >cd<Z S0 >ef"},
      {"the indent button", "<Z S0 >ab<Z S0 l48 >cd<Z S0 >ef", [](auto& p) { p.ShiftLeftMargin(10); },
       "Left margin 12.7", "<Z S0 l48 >ab<Z S0 l86 >cd<Z S0 >ef"},
  };
  for (const ParagraphCase& c : cases) {
    SCOPED_TRACE(c.name);
    Load(c.markup);
    box.SelectRange({0, 1}, {1, 1});
    c.command(paras);
    EXPECT_EQ(Saved(), c.saved);
    EXPECT_EQ(captions.steps, std::vector<std::string>{c.caption});
  }
}

TEST_F(FormattingTest, ApplyingStyles) {
  const int heading = set.StyleIndex("Heading");
  ASSERT_GT(heading, 1);
  const std::string s = "S" + std::to_string(heading);
  // Another style: the formats stay, the paragraph overrides go.
  Load("<Z S0 A2 >a<Y c0000FF >b<Z S0 >c");
  box.SetCaret(CharPos{0, 0});
  paras.ApplyStyle("heading");
  EXPECT_EQ(Saved(), "<Z " + s + " >a<Y c0000FF >b<Z S0 >c");
  EXPECT_EQ(captions.steps, std::vector<std::string>{"Style heading"});
  EXPECT_EQ(paras.StyleIndex(), heading);
  EXPECT_EQ(text.Size(), 18);
  // The same style again resets the paragraph to it.
  paras.ApplyStyle("Heading");
  EXPECT_EQ(Saved(), "<Z " + s + " >ab<Z S0 >c");
  // An unknown name records its step and changes nothing.
  paras.ApplyStyle("Nothing");
  EXPECT_EQ(Saved(), "<Z " + s + " >ab<Z S0 >c");
  EXPECT_EQ(captions.steps.back(), "Style Nothing");
}

TEST_F(FormattingTest, AssignTakesTheCaretParagraphOfAnotherBox) {
  BoxText other(host, canvas, &env.messages);
  other.Layout().layoutWidth = 400;
  other.Layout().widestExtent = 400;
  ASSERT_TRUE(other.LoadText(std::string("<Z S0 A2 N10 M3 I-38 l48 t9 CFF0000 S14 Y1 >x\0", 46)));
  TAEHParaAttributes source(other);
  Load("<Z S0 A1 L20 >ab<Z S0 >cd<Z S0 >ef");
  box.SelectRange({0, 1}, {1, 1});
  paras.Assign(source);
  EXPECT_EQ(Saved(), "<Z S0 A2 N10 M3 I-38 l48 t9 CFF0000 S14 Y1 >ab<Z S0 A2 N10 M3 I-38 l48 t9 CFF0000 S14 Y1 >cd<Z S0 >ef");
  // Each field is its own step; the first is the alignment.
  ASSERT_FALSE(captions.steps.empty());
  EXPECT_EQ(captions.steps.front(), "Center");
}

TEST_F(FormattingTest, CaptionTexts) {
  EXPECT_EQ(ColorName(0x0000FF), "Red");
  EXPECT_EQ(ColorName(0xFFFFFF), "White");
  EXPECT_EQ(ColorName(0x00A0B0C0), "0A0B0C0");
  EXPECT_EQ(StyleDescription(0), "");
  EXPECT_EQ(StyleDescription(2), "Italico ");
  EXPECT_EQ(StyleDescription(7), "Italico Grassetto ");
}

}  // namespace
}  // namespace tarn::richtext
