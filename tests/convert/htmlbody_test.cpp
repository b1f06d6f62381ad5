// The walk over a page's text: paragraphs, character formats, blanks,
// entities, links and anchors, malformed tags; object references in extra
// HTML; and the small vocabulary of the writer.
#include <gtest/gtest.h>

#include "convert/aehtohtml.h"
#include "convert/htmlfixture.h"
#include "convert/htmlwords.h"
#include "document/links.h"

namespace tarn::convert {
namespace {

using namespace document;
using namespace document::field;
using testing::ExtraBlock;
using testing::HtmlFixture;
using testing::Tag;

class TextWalk : public HtmlFixture, public ::testing::Test {
 protected:
  void SetUp() override {
    using namespace richtext::stylefield;
    page = Page("Walked", "<Z S0 >");
    other = Page("Other", "<Z S0 >Two");
    auto arial = set->NewObject(stileParagrafo);
    arial->SetName("Arial");
    arial->SetStr(kFace, kFaceCapacity, "Arial");
    arial->SetI16(kSize, 18);
    set->Register(std::move(arial));
    auto bullets = set->NewObject(stileParagrafo);
    bullets->SetName("Bullets");
    bullets->SetU8(kListKind, 10);
    set->Register(std::move(bullets));
    anchor = Anchor(5);
  }
  std::string Walk(const std::string& markup) {
    page->SetContent(markup + std::string(1, '\0'));
    return Body(*page);
  }
  TAEHoggetto* page = nullptr;
  TAEHoggetto* other = nullptr;
  TAEHoggetto* anchor = nullptr;
};

TEST_F(TextWalk, ParagraphsFormatsAndCharacters) {
  const std::string link = "<A class=s0 HREF=\"site_000001.html\"  >";
  struct Case {
    std::string markup;
    std::string html;
  };
  const Case cases[] = {
      {"<Z S0 >a   b", "<DIV class=s0 >\r\na &nbsp;&nbsp;b&nbsp;</DIV>\r\n"},
      {"plain", "plain&nbsp;</DIV>\r\n"},
      {"", "&nbsp;</DIV>\r\n"},
      {"<Z S0 ><Y s40 >big<Y >n",
       "<DIV class=s0 >\r\n<FONT style='font-size:40pt;' SIZE=34>big</FONT>n&nbsp;</DIV>\r\n"},
      {"<Z S0 >a<Y y1 >b<Y >c", "<DIV class=s0 >\r\na<B>b</B>c&nbsp;</DIV>\r\n"},
      {"<Z S0 >a<Y p2 >b<Y p1 >c<Y >d", "<DIV class=s0 >\r\na<SUP>b</SUP><SUB>c</SUB>d&nbsp;</DIV>\r\n"},
      {"<Z S0 >a<Y y4 >u<Y y8 >s<Y >",
       "<DIV class=s0 >\r\na<FONT style='text-decoration:underline;'>u</FONT>"
       "<FONT style='text-decoration:line-through;'>s</FONT>&nbsp;</DIV>\r\n"},
      {"<Z S0 >\xAF\xFC\xFF\xE9\x80> x", "<DIV class=s0 >\r\n&hibar;\xFC\xFF&eacute;\x80&gt; x&nbsp;</DIV>\r\n"},
      {"<Z S0 >&amp;&copy;&#65;&zz", "<DIV class=s0 >\r\n&amp;&copy;&#65;&zz&nbsp;</DIV>\r\n"},
      {"<Z S0 >ab<Y s14", "<DIV class=s0 >\r\nab&nbsp;</DIV>\r\n"},
      {"<Z S0 >a\x03\x03\x03<Y y2 >b\r\n", "<DIV class=s0 >\r\na<I>b&nbsp;</I></DIV>\r\n"},
      {"<Z S0 >a<Dhidden<d>b<R x<r>c<Q>d", "<DIV class=s0 >\r\nabcd&nbsp;</DIV>\r\n"},
      {"<Z S0 >a<Dnever closed", "<DIV class=s0 >\r\na&nbsp;</DIV>\r\n"},
      {"<Z S0 c0000FF y3 >x",
       "<DIV class=s0 >\r\n<FONT style='color:#0000FF;' COLOR=#0000FF><B><I>x&nbsp;</I></B></FONT></DIV>\r\n"},
      {"<Z S2 ><Y c000000 F\"Times New Roman\" s12 >tnr",
       "<DIV class=s2 >\r\n<FONT SIZE=+2 FACE=\"Arial\"></FONT>"
       "<FONT style='font-family:\"Times New Roman\";font-size:12pt;'>tnr&nbsp;</FONT></DIV>\r\n"},
      {"<Z S3 >one<Z S3 >two",
       "<DIV class=s3 >\r\n<LI>one&nbsp;</LI></DIV>\r\n<DIV class=s3 >\r\n<LI>two&nbsp;</LI></DIV>\r\n"},
      {"<Z S0 A1 N6 L20 I-10 l30 r5 t8 b2 >x",
       "<DIV ALIGN=right class=s0  style='text-align: right;list-style-type:decimal;line-height: 5mm;"
       "text-indent: -3mm;margin-left: 8mm;margin-right: 1mm;margin-top: 2mm;margin-bottom: 1mm;'>\r\n"
       "<!lisnum>1. <!/lisnum>x&nbsp;</LI></DIV>\r\n"},
      {"<Z S0 M3 L-32000 >x", "<DIV class=s0  style='line-height: normal;'>\r\nx&nbsp;</DIV>\r\n"},
      {"<Z S9 >unknown style", "<DIV class=s9 >\r\nunknown style&nbsp;</DIV>\r\n"},
      {"<Z S0 >" + Tag(other->GetId()) + "x<%> " + Tag(anchor->GetId()) + "y",
       "<DIV class=s0 >\r\n" + link + "x</A> <A NAME=\"an5\"></A>y&nbsp;</DIV>\r\n"},
      {"<Z S0 >" + Tag(other->GetId()) + "x" + Tag(anchor->GetId()) + "y<%>",
       "<DIV class=s0 >\r\n" + link + "x</A><A NAME=\"an5\"></A>" + link + "y</A>&nbsp;</DIV>\r\n"},
      {"<Z S0 C00FF00 S14 Y1 >" + Tag(other->GetId()) + "x<%>",
       "<DIV class=s0 >\r\n<A class=s0 style='color:#00FF00;font-size:14pt;font-weight:bold;"
       "text-decoration:normal;' HREF=\"site_000001.html\"  >x</A>&nbsp;</DIV>\r\n"},
      {"<Z S0 ><Y y1 >" + Tag(other->GetId()) + "x<%>",
       "<DIV class=s0 >\r\n<B>" + link + "x</A>&nbsp;</B></DIV>\r\n"},
      {"<Z S0 >" + Tag(MakeObjectId(testoHtml, 77)) + "gone<%>", "<DIV class=s0 >\r\ngone</A>&nbsp;</DIV>\r\n"},
      {"<Z S0 >" + Tag(other->GetId()) + "open<Z S0 >next",
       "<DIV class=s0 >\r\n" + link + "open&nbsp;</DIV>\r\n<DIV class=s0 >\r\nnext&nbsp;</DIV>\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(Walk(c.markup), c.html) << c.markup;
}

// Damaged texts (pieces of tags cut anywhere, stray quotes and digits) are
// walked to their end and still close their paragraph.
TEST_F(TextWalk, DamagedTextsEndCleanly) {
  const std::string pieces[] = {"<Z S", "<Z S0 ", "<Y ", " c00FF00 ", "F\"", "Arial\" ", " s", "12 ",
                                "y", "3 ", "<$", "0000000", "1>", "<%>", "&", "amp;", "&#", "<D", "<d>",
                                "<T>", ">", "<", " ", "text", "\xE9", "\x03", "-", "999999999999 "};
  std::uint32_t seed = 12345;
  for (int round = 0; round < 3000; ++round) {
    std::string markup;
    const int count = 1 + static_cast<int>(seed % 24);
    for (int i = 0; i < count; ++i) {
      seed = seed * 1664525u + 1013904223u;
      markup += pieces[(seed >> 8) % std::size(pieces)];
    }
    ASSERT_TRUE(Walk(markup).ends_with("</DIV>\r\n")) << markup;
  }
}

TEST_F(TextWalk, WithoutCssParagraphsKeepClassAndAlignOnly) {
  html.ExpCSS = TExpCSS::ecEmulateFF;
  EXPECT_EQ(Walk("<Z S0 A2 l30 >x"), "<DIV ALIGN=center class=s0 >\r\nx&nbsp;</DIV>\r\n");
}

TEST_F(TextWalk, BodyTagWithBackgroundAndColours) {
  tarn::testing::WriteFile(env.Path("sky.gif"), tarn::testing::SmallGif());
  TAEHoggetto* image = set->AddImageData(env.Path("sky.gif"), false, 3, 4);
  page->SetI32(kPageBgImage, image->Index());
  page->SetI32(kPageTextColour, 0x0000FF);
  page->SetI32(kPageBgColour, 0x123456);
  EXPECT_EQ(Body(*page, kBodyTagOnly),
            "<BODY BACKGROUND=\"site_i000000.gif\" TEXT=#FF0000 LINK=#0000FF VLINK=#FF0000 BGCOLOR=#563412 >\r\n"
            "<BASE TARGET=\"_top\">\r\n");
}

TEST_F(TextWalk, ObjectReferencesInExtraHtml) {
  tarn::testing::WriteFile(env.Path("sky.gif"), tarn::testing::SmallGif());
  TAEHoggetto* image = set->AddImageData(env.Path("sky.gif"), false, 3, 4);
  page->SetExtra(ExtraBlock("a !RefI:" + Tag(image->GetId()).substr(2, 8) + " b !RefP:" +
                                Tag(other->GetId()).substr(2, 8) + " c !RefX:00000000 !Refz !RefL:ffffffff d",
                            "Walked"));
  EXPECT_EQ(html.ExpandObjectReferences(*page),
            "a site_i000000.gif b <DIV class=s0 >\r\nTwo&nbsp;</DIV>\r\n c  !Refz  d");
  TAEHoggetto* media = Object(multiMedia, 5);
  media->SetI16(kMediaWidth, 50);
  media->SetI16(kMediaHeight, 40);
  media->SetU8(kMediaPercent, 1);
  EXPECT_EQ(html.ExpandObjectReferences(*media, "w=!RefX:00000000 h=!RefY:12345678"), "w=50% h=40%");
  media->SetU8(kMediaPercent, 0);
  EXPECT_EQ(html.ExpandObjectReferences(*media, "w=!RefX:00000000!Ref"), "w=50!Ref");
  // An extra block whose reference data claims more than there is holds no text.
  page->SetExtra(std::string("\xFF\0\0\0abc", 7));
  EXPECT_EQ(html.ExpandObjectReferences(*page), "");
}

TEST_F(TextWalk, SpecialLinkTargets) {
  TAEHoggetto* third = Page("Third", "<Z S0 >");
  page->SetI16(kPageBrowseGroup, 4);
  page->SetI16(kPageBrowseNumber, 2);
  third->SetI16(kPageBrowseGroup, 4);
  third->SetI16(kPageBrowseNumber, 5);
  other->SetI16(kPageBrowseGroup, 3);
  other->SetI16(kPageBrowseNumber, 3);
  struct Case {
    TAEHoggetto* link;
    std::string attributes;
    int scriptFlags;
  };
  TAEHoggetto* framed = Special(1, other->GetId(), kReplaceFrame, 4, "main's");
  TAEHoggetto* frameless = Special(1, other->GetId(), kJumpTo);
  frameless->SetU8(kSpecialTargetKind, 0);
  const Case cases[] = {
      {Special(1, other->GetId(), kReplaceWindow), "TARGET=_self HREF=\"site_000001.html\"", 0},
      {framed, "TARGET=\"main's\" HREF=\"site_000001.html#an4\"", 0},
      {frameless, "HREF=\"site-000001.html\"", 0},
      {Special(1, other->GetId(), kIndependentWindow, -1, "w<1>"),
       "HREF=\"javascript:TarnF_open('site_000001.html','w 1 ','','Pag0');\"", kOpenWindowScript},
      {Special(1, other->GetId(), kNewBrowser, 2), "HREF=\"javascript:TarnF_openB('site_000001.html');\"",
       kOpenBrowserScript},
      {Special(1, -1, kAnchorInPage, 6), "HREF=\"#an6\" TARGET=_self", 0},
      {Special(1, MakeObjectId(testoHtml, 99), kJumpTo), "", 0},
      {Special(2, -1, 0, -1, "help \"me\""), "HREF=\"javascript:TarnF_close('help \x94me\x94');\" ", kCloseWindowScript},
      {Special(4), "HREF=\"site_index.html\"", 0},
      {Special(5), "HREF=\"site_000002.html\"", 0},
      {Special(3), "", 0},
  };
  RecordList files;
  RecordList frameList;
  for (const Case& c : cases) {
    std::string out;
    page->SetContent("<Z S0 >" + Tag(c.link->GetId()) + "x<%>" + std::string(1, '\0'));
    html.ExportPage(*page, out, &frameList, files, kMainName);
    // A blank and the link's (here empty) extra attributes follow the target.
    const std::string expected = "<A class=s0 " + c.attributes + "  >x</A>";
    EXPECT_NE(out.find(expected), std::string::npos) << expected << "\n" << out;
    EXPECT_EQ(html.ScriptFlags(), c.scriptFlags) << c.attributes;
  }
  ASSERT_EQ(frameList.Size(), 1u);
  EXPECT_EQ(frameList[0], other);
}

// ---- Vocabulary ----

TEST(HtmlWords, EscapesColoursSizesAndLengths) {
  std::string text;
  for (int c : {0, 1, 31, 32, 38, 60, 62, 127, 159, 160, 175, 251, 252, 255}) {
    AppendHtmlText(text, static_cast<unsigned char>(c));
  }
  EXPECT_EQ(text, std::string(1, '\0') + " &amp;&lt;&gt;\x7F\x9F&nbsp;&hibar;&ucirc;\xFC\xFF");
  EXPECT_EQ(AttributeEscape("a\"b'c<d>e#f$g%h&i\x01j\x7F\xE9"), "a\x94" "b\x92" "c d e f g h i j \xE9");
  EXPECT_EQ(HtmlColour(0x00563412), "123456");
  EXPECT_EQ(HtmlColour(0xFF0000FFu), "FF0000");
  const std::pair<int, std::string_view> sizes[] = {{6, "-2"},  {8, "-2"},  {9, "-1"},  {12, "+0"},
                                                    {14, "+1"}, {19, "+2"}, {27, "+3"}, {34, "+4"},
                                                    {35, "34"}, {40, "34"}};
  for (const auto& [points, code] : sizes) EXPECT_EQ(FontSizeCode(points), code) << points;
  struct Length {
    int pixels;
    int unit;
    std::string text;
  };
  const Length lengths[] = {{96, 0, "3cm"}, {10, 1, "3mm"}, {144, 2, "2in"}, {10, 3, "8pt"},
                            {96, 4, "6pc"}, {-7, 5, "-7px"}, {7, 9, "7px"}, {0, 1, "0mm"}};
  for (const Length& l : lengths) EXPECT_EQ(LengthInUnit(l.pixels, l.unit, 96), l.text) << l.pixels << " " << l.unit;
  EXPECT_EQ(AlignmentWord(3), "justify");
  EXPECT_EQ(AlignmentWord(7), "left");
  EXPECT_EQ(Hex6(26), "00001a");
  EXPECT_EQ(Hex6(0x0512345678), "345678");
}

}  // namespace
}  // namespace tarn::convert
