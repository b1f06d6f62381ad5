// RTF import: the body into markup (formats, styles, lists, tables, links,
// pictures, notes), page cuts, WinHelp sources, code pages, the clipboard
// container, and hostile input.
#include "convert/rtfimp.h"

#include <gtest/gtest.h>

#include "base/bytes.h"
#include "base/hex.h"
#include "convert/aehtortf.h"
#include "convert/importrecords.h"
#include "convert/rtffixture.h"
#include "convert/rtfpicture.h"
#include "document/imagecodec.h"
#include "document/links.h"
#include "document/recordfields.h"
#include "richtext/styles.h"

namespace tarn::convert {
namespace {

using namespace document;
using namespace document::field;
using testing::ConvertFixture;

// A document with the usual tables around a body.
std::string Rtf(const std::string& body, const std::string& styles = "") {
  return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman Times New Roman;}{\\f1\\fswiss Arial;}"
         "{\\f2\\fmodern\\fcharset238 Courier New CE;}}"
         "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}" +
         (styles.empty() ? std::string() : "{\\stylesheet" + styles + "}") + "\n" + body + "}";
}

class RtfImport : public ConvertFixture, public ::testing::Test {
 protected:
  // Imports the document; answers the first page made.
  int Import(const std::string& rtf, RtfImportOptions options = {}) {
    TRtfImp run(*set, options);
    EXPECT_TRUE(run.ReadDocument(rtf, env.Dir(), "doc"));
    run.Finish();
    replaced = run.ReplacedCharacters();
    report = run.Report();
    return run.FirstPage();
  }
  // The markup of the one page a body gives.
  std::string Body(const std::string& body, const std::string& styles = "") {
    Import(Rtf(body, styles));
    const std::vector<std::string> pages = Pages();
    EXPECT_EQ(pages.size(), 1u);
    return pages.empty() ? std::string() : pages.front();
  }
  std::size_t replaced = 0;
  std::vector<ImportReportEntry> report;
};

// ---- Text and formats ----

TEST_F(RtfImport, CharacterAndParagraphFormats) {
  struct Case {
    const char* body;
    const char* markup;
  };
  // Style 2 is the "Normal" made for a document without style sheet.
  const Case cases[] = {
      {"\\pard Plain \\b bold\\b0  and \\i italic\\i0 .\\par",
       "<Z S2 >Plain <Y y1 >bold<Y > and <Y y2 >italic<Y >."},
      // The paragraph tag states the format of the paragraph's first character.
      {"\\pard {\\ul under}{\\strike gone}\\par", "<Z S2 y4 >under<Y y8 >gone"},
      {"\\pard \\cf2 red \\cf0 black\\par", "<Z S2 cFF0000 >red <Y >black"},
      {"\\pard \\f1\\fs28 Arial 14\\par", "<Z S2 F\"Arial\" s14 >Arial 14"},
      {"\\pard H{\\sub 2}O x{\\super 2} {\\up6 up}{\\dn4 down}\\par",
       "<Z S2 >H<Y p1 >2<Y >O x<Y p2 >2<Y > <Y p2 >up<Y p1 >down"},
      {"\\pard\\qc centre\\par\\pard\\qr right\\par\\pard\\qj justified\\par",
       "<Z S2 A2 >centre<Z S2 A1 >right<Z S2 >justified"},
      {"\\pard\\li1440\\ri720\\sb240\\sa120\\fi-360 text\\par", "<Z S2 I-24 l96 r48 t16 b8 >text"},
      // Text flush with the edge, or hanging from it, keeps a margin of 3 mm.
      {"\\pard\\li0\\ri0 flush\\par\\pard\\li360\\fi-360 hanging\\par", "<Z S2 l11 r11 >flush<Z S2 I-24 l35 >hanging"},
      {"\\pard\\sl-480 exact\\par\\pard\\sl240 atleast\\par", "<Z S2 L32 >exact<Z S2 >atleast"},
      {"\\pard a\\par\\par b\\par", "<Z S2 >a<Z S2 ><Z S2 >b"},
      {"\\pard a\\line b\\par", "<Z S2 >a<Z S2 >b"},
      {"\\pard {\\b bold {\\i both} bold} plain\\par", "<Z S2 y1 >bold <Y y3 >both<Y y1 > bold<Y > plain"},
      {"\\pard\\plain\\b x\\plain y\\par", "<Z S2 y1 >x<Y >y"},
  };
  for (const Case& c : cases) {
    set = std::make_unique<TAEHset>(env.Services());
    EXPECT_EQ(Body(c.body), c.markup) << c.body;
  }
}

TEST_F(RtfImport, SpecialCharactersAndEscapes) {
  EXPECT_EQ(Body("\\pard a\\tab b \\emdash\\endash\\bullet \\lquote q\\rquote  \\ldblquote d\\rdblquote \\par"),
            "<Z S2 >a      b \x97\x96\x95\x91q\x92 \x93" "d\x94");
  set = std::make_unique<TAEHset>(env.Services());
  // A hyphen shown only at a line break puts nothing in the text; a
  // non-breaking hyphen is a hyphen, a non-breaking space a blank.
  EXPECT_EQ(Body("\\pard hy\\-phen non\\_break no\\~break\\par"), "<Z S2 >hyphen non-break no break");
  set = std::make_unique<TAEHset>(env.Services());
  EXPECT_EQ(Body("\\pard \\{braces\\} back\\\\slash & <tag> \\'e9t\\'e9\\par"),
            "<Z S2 >{braces} back\\slash &amp; &lt;tag&gt; \xe9t\xe9");
}

TEST_F(RtfImport, UnicodeAndCodePages) {
  // "\u" with its fallback; characters cp1252 lacks become "?", counted.
  // (A blank after a control word ends it and is not text.)
  EXPECT_EQ(Body("\\pard \\u8364?\\u233\\'e9 \\uc0\\u1078  \\uc2\\u20013\\'d6\\'d0 \\uc1\\u-3999? end\\par"),
            "<Z S2 >\x80\xe9 ? ? ? end");
  EXPECT_EQ(replaced, 3u);
  // A code page of the document, and a font's character set.
  set = std::make_unique<TAEHset>(env.Services());
  Import("{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0 Arial;}}\\pard \\'e0\\'e1 \\'85\\par}");
  EXPECT_EQ(Pages().front(), "<Z S2 >?? \x85");
  EXPECT_EQ(replaced, 2u);
  set = std::make_unique<TAEHset>(env.Services());
  EXPECT_EQ(Body("\\pard x{\\f2 \\'9a\\'e8}\\par"), "<Z S2 >x<Y F\"Courier New CE\" >\x9a?");
  // "\u" out of range keeps its fallback.
  set = std::make_unique<TAEHset>(env.Services());
  EXPECT_EQ(Body("\\pard \\u99999999x\\par"), "<Z S2 >x");
}

// ---- Styles and lists ----

TEST_F(RtfImport, StylesBecomeHypertextStyles) {
  const std::string styles =
      "{\\s0\\f0\\fs24 Normal;}{\\s1\\sbasedon0\\f1\\fs32\\b\\qc heading 1;}"
      "{\\s2\\sbasedon1\\fs28 heading 2;}{\\*\\cs10 Default Paragraph Font;}{\\s3\\li720 Unused;}";
  EXPECT_EQ(Body("\\pard\\plain\\s1\\f1\\fs32\\b Title\\par\\pard\\plain\\s2\\f1\\fs28\\b Sub\\par"
                 "\\pard\\plain\\s0 Text\\par",
                 styles),
            "<Z S3 >Title<Z S4 >Sub<Z S2 >Text");
  EXPECT_EQ(StyleName(2), "Normal");
  EXPECT_EQ(StyleName(3), "heading 1");
  EXPECT_EQ(StyleName(4), "heading 2");
  EXPECT_EQ(set->CountOf(stileParagrafo), 5) << "styles never used are not added";
  const TAEHoggetto* heading2 = set->GetObject(stileParagrafo, 4);
  EXPECT_EQ(heading2->Str(richtext::stylefield::kFace, 32), "Arial") << "based on heading 1";
  EXPECT_EQ(heading2->I16(richtext::stylefield::kSize), 14);
  EXPECT_EQ(heading2->U8(richtext::stylefield::kStyleBits), 1);
  EXPECT_EQ(heading2->U8(richtext::stylefield::kAlignment), 2);

  // A second document with the same styles reuses them; a style of the
  // same name but another look is reused by name; a new one is added.
  Import(Rtf("\\pard\\plain\\s1\\f1\\fs32\\b A\\par\\pard\\plain\\s5 B\\par\\pard\\plain\\s6 C\\par",
             "{\\s1\\f1\\fs32\\b\\qc heading 1;}{\\s5\\fs40 Normal;}{\\s6\\fs10 heading 1;}"));
  EXPECT_EQ(Pages().back(), "<Z S3 >A<Z S2 >B<Z S3 F\"Times New Roman\" s12 y0 >C");
  EXPECT_EQ(set->CountOf(stileParagrafo), 5);
  Import(Rtf("\\pard\\plain\\s7 D\\par", "{\\s7\\fs40 Quote;}"));
  ASSERT_EQ(set->CountOf(stileParagrafo), 6);
  EXPECT_EQ(StyleName(5), "Quote");
  EXPECT_EQ(set->GetObject(stileParagrafo, 5)->I16(richtext::stylefield::kSize), 20);
}

TEST_F(RtfImport, Lists) {
  // The older "\pn" form, and the list table's "\ls" form.
  const std::string lists =
      "{\\*\\listtable{\\list{\\listlevel\\levelnfc23{\\leveltext \\'01\\u8226 ?;}}\\listid7}"
      "{\\list{\\listlevel\\levelnfc0{\\leveltext \\'02\\'00.;}}{\\listlevel\\levelnfc23}\\listid8}}"
      "{\\listoverridetable{\\listoverride\\listid7\\ls1}{\\listoverride\\listid8\\ls2}}";
  const std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Times New Roman;}}" + lists +
                          "\\pard{\\pntext\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1{\\pntxtb\\'b7}}b1\\par"
                          "\\pard{\\pntext 1.\\tab}{\\*\\pn\\pnlvlbody\\pndec}n1\\par"
                          "\\pard{\\listtext\\'95\\tab}\\ls1 l1\\par"
                          "\\pard{\\listtext 1.\\tab}\\ls2\\ilvl0 l2\\par"
                          "\\pard\\ls2\\ilvl1 l3\\par\\pard plain\\par}";
  Import(rtf);
  EXPECT_EQ(Pages().front(), "<Z S2 N10 >b1<Z S2 N6 >n1<Z S2 N10 >l1<Z S2 N6 >l2<Z S2 N10 >l3<Z S2 >plain");
}

// ---- Tables ----

TEST_F(RtfImport, TablesBecomeTableRecords) {
  const std::string row1 = "\\trowd\\trgaph108\\clcbpat2\\cellx1440\\cellx4320 ";
  const std::string row2 = "\\trowd\\trgaph108\\cellx1440\\cellx4320 ";
  EXPECT_EQ(Body("\\pard before\\par" + row1 + "\\pard\\intbl a1\\cell b1\\cell\\row" + row2 +
                 "\\pard\\intbl a2\\cell\\pard\\intbl b2\\par more\\cell\\row\\pard after\\par"),
            "<Z S2 >before<Z S2 ><$08000000><Z S2 >a1<T><Z S2 >b1<T><Z S2 >a2<T><Z S2 >b2<Z S2 >more<T>"
            "<Z S2 >after");
  const TAEHoggetto* table = set->GetObject(tabellaHtml, 0);
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->U8(93), 2) << "rows";
  EXPECT_EQ(table->U8(94), 2) << "columns";
  EXPECT_EQ(table->U8(5), 1) << "pixel columns";
  EXPECT_EQ(table->I16(97), 96);
  EXPECT_EQ(table->I16(99), 192);
  const std::string backgrounds = table->ReadContent().value_or("");
  ASSERT_EQ(backgrounds.size(), 16u);
  std::span<const std::uint8_t> b(reinterpret_cast<const std::uint8_t*>(backgrounds.data()), backgrounds.size());
  EXPECT_EQ(base::GetI32(b, 0), 0x0000FF) << "red background of the first cell";
  EXPECT_EQ(base::GetI32(b, 4), -1);
}

TEST_F(RtfImport, RaggedTablesAreEvenedOut) {
  // Missing cells are added; cells beyond the first row's join the last one;
  // a table left open at the end is closed.
  EXPECT_EQ(Body("\\trowd\\cellx1000\\cellx2000\\pard\\intbl a\\cell b\\cell\\row"
                 "\\trowd\\cellx1000\\pard\\intbl c\\cell\\row"
                 "\\trowd\\cellx1000\\cellx2000\\cellx3000\\pard\\intbl d\\cell e\\cell f\\cell\\row"
                 "\\pard\\intbl g"),
            "<Z S2 ><$08000000><Z S2 >a<T><Z S2 >b<T><Z S2 >c<T><Z S1 ><T><Z S2 >d<T><Z S2 >e<Z S2 >f<T>"
            "<Z S2 >g<T><Z S1 ><T>");
  EXPECT_EQ(set->GetObject(tabellaHtml, 0)->U8(93), 4);
}

// ---- Links, notes, pictures ----

TEST_F(RtfImport, HyperlinksAndBookmarks) {
  Import(Rtf("\\pard See {\\field{\\*\\fldinst HYPERLINK \"http://example.com/\"}{\\fldrslt {\\cf3\\ul the site}}}"
             " and {\\field{\\*\\fldinst {HYPERLINK \\\\l \"later\"}}{\\fldrslt later}} or "
             "{\\field{\\*\\fldinst HYPERLINK \\\\l \"nowhere\"}{\\fldrslt nothing}}"
             " {\\field{\\*\\fldinst PAGE}{\\fldrslt 3}}.\\par\\page"
             "\\pard{\\*\\bkmkstart later}Later{\\*\\bkmkend later}\\par"));
  const std::vector<std::string> pages = Pages();
  ASSERT_EQ(pages.size(), 2u);
  // Links keep the text's look: the word processor's blue underline goes.
  EXPECT_EQ(pages[0], "<Z S2 >See <$01000000>the site<%> and <$00000001>later<%> or nothing 3.");
  EXPECT_EQ(set->GetObject(internetLink, 0)->GetCaption(), "http://example.com/");
}

TEST_F(RtfImport, FootnotesAnnotationsHeadersAndFooters) {
  Import(Rtf("{\\header \\pard Running head\\par}{\\footer \\pard\\par}"
             "\\pard Text{\\super \\chftn}{\\footnote \\pard{\\super \\chftn} The note.}"
             " said {\\*\\atnauthor Ann}\\chatn{\\*\\annotation \\pard Check this.\\par Twice}.\\par"));
  const std::vector<std::string> pages = Pages();
  ASSERT_EQ(pages.size(), 2u) << "an empty footer makes no page";
  EXPECT_EQ(pages[0], "<Z S2 >Running head");
  EXPECT_EQ(Title(0), "Header");
  EXPECT_EQ(pages[1], "<Z S2 >Text<Y p2 >1<Y > said <$0b000000>.<Z S0 ><Z S2 p2 >1<Y > The note.");
  const TAEHoggetto* comment = set->GetObject(shortObj, 0);
  EXPECT_EQ(comment->Subtype(), 10);
  EXPECT_EQ(comment->ReadContent().value_or(""), std::string("Ann\r\nCheck this.\r\nTwice") + '\0');
}

TEST_F(RtfImport, Pictures) {
  base::Bitmap bitmap;
  bitmap.width = 4;
  bitmap.height = 3;
  bitmap.pixels.assign(12, 0xFF336699u);
  std::string hex;
  for (unsigned char c : MetafileOfBitmap(bitmap)) base::AppendHex(hex, c, 2);
  // A metafile that draws a bitmap, with goal sizes; without goal sizes the
  // plain size shows; an undecodable picture is left out.
  Import(Rtf("\\pard {\\pict\\wmetafile8\\picw106\\pich79\\picwgoal1440\\pichgoal720 \\picbmp " + hex +
             "}{\\*\\shppict{\\pict\\pngblip 00}}{\\pict\\wmetafile8\\picw106\\pich79 " + hex +
             "}{\\pict\\jpegblip 0102}\\par"));
  EXPECT_EQ(Pages().front(), "<Z S2 ><$10000000><$10000001>");
  const TAEHoggetto* image = set->GetObject(immagine, 0);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->Subtype(), 0) << "stored as GIF";
  EXPECT_EQ(set->CountOf(immagine), 1) << "the equal picture is reused";
  const auto gif = document::DecodeGif(image->ReadContent().value_or(""));
  ASSERT_TRUE(gif);
  EXPECT_EQ(gif->width, 4);
  const TAEHoggetto* placed = set->GetObject(immagineNew, 0);
  EXPECT_EQ(placed->I16(kPlacedNaturalWidth), 4);
  EXPECT_EQ(placed->I16(kPlacedWidth), 96);
  EXPECT_EQ(placed->I16(kPlacedHeight), 48);
  EXPECT_EQ(set->GetObject(immagineNew, 1)->I16(kPlacedWidth), 4);

  // The newer form of a picture, when it is a bitmap, stands for the older one.
  const std::string png =
      "89504e470d0a1a0a0000000d4948445200000008000000060802000000716748ac0000001249444154789c63f8cfc080156117"
      "a593040033282fd1ecc105f90000000049454e44ae426082";
  set = std::make_unique<TAEHset>(env.Services());
  Import(Rtf("\\pard {\\*\\shppict{\\pict\\pngblip\\picscalex200\\picwgoal120 " + png +
             "}}{\\nonshppict{\\pict\\wmetafile8\\picw106\\pich79 " + hex + "}}\\par"));
  EXPECT_EQ(Pages().front(), "<Z S2 ><$10000000>");
  ASSERT_EQ(set->CountOf(immagineNew), 1);
  EXPECT_EQ(set->GetObject(immagine, 0)->I16(kImageWidth), 8);
  EXPECT_EQ(set->GetObject(immagineNew, 0)->I16(kPlacedWidth), 16) << "the goal size scaled to 200 %";

  // A few bytes that claim a picture of 30000 x 30000 pixels are not decoded.
  set = std::make_unique<TAEHset>(env.Services());
  Import(Rtf("\\pard x{\\pict\\dibitmap0 28000000307500003075000001001800000000000000000000000000"
             "000000000000000000000000}{\\pict\\jpegblip ffd8ffc0000b0800fffff0011100}\\par"));
  EXPECT_EQ(set->CountOf(immagine), 0);
}

// ---- Pages ----

TEST_F(RtfImport, PageCuts) {
  std::string many;
  for (int i = 1; i <= 250; ++i) many += "\\pard p" + std::to_string(i) + "\\par";
  struct Case {
    const char* what;
    std::string body;
    RtfImportOptions options;
    std::vector<std::string> titles;
  };
  RtfImportOptions onePage;
  onePage.manyPages = false;
  RtfImportOptions limit;
  limit.paragraphsPerPage = 100;
  const Case cases[] = {
      {"page breaks", "\\pard a\\par\\page\\pard b\\sect\\pard c\\par\\page", {}, {"doc", "doc (2)", "doc (3)"}},
      {"one page per file", "\\pard a\\par\\page\\pard b\\par", onePage, {"doc"}},
      {"250 paragraphs, 100 a page", many, limit, {"doc", "doc (2)", "doc (3)"}},
  };
  for (const Case& c : cases) {
    set = std::make_unique<TAEHset>(env.Services());
    Import(Rtf(c.body), c.options);
    std::vector<std::string> titles;
    for (int i = 0; i < set->CountOf(testoHtml); ++i) titles.push_back(Title(i));
    EXPECT_EQ(titles, c.titles) << c.what;
  }
  // The continuation links of the last case.
  const std::vector<std::string> pages = Pages();
  EXPECT_TRUE(pages[0].ends_with("<Z S2 >p100<Z S0 ><Z S0 ><$00000001>continue...<%><Z S0 >"));
  EXPECT_TRUE(pages[1].starts_with("<Z S0 ><$00000000>...continue<%><Z S0 ><Z S2 >p101"));
  EXPECT_TRUE(pages[2].starts_with("<Z S0 ><$00000001>...continue<%><Z S0 ><Z S2 >p201"));
}

TEST_F(RtfImport, HeadingsCutIntoIndexedPages) {
  const std::string styles = "{\\s0 Normal;}{\\s1 heading 1;}{\\s2 heading 2;}{\\s3 heading 3;}";
  RtfImportOptions options;
  options.headingsCut = true;
  options.headingLimit = 2;
  const int first = Import(Rtf("\\pard\\s0 Intro\\par\\pard\\s1 One\\par\\pard\\s0 text\\par"
                               "\\pard\\s2 One.A\\par\\pard\\s3 deep\\par\\pard\\s1 Two\\par",
                               styles),
                           options);
  const std::vector<std::string> pages = Pages();
  ASSERT_EQ(pages.size(), 5u);
  EXPECT_EQ(first, 0) << "the index";
  EXPECT_EQ(Title(0), "doc");
  EXPECT_EQ(pages[0],
            "<Z S0 >INDICE<Z S0 ><Z S0 ><$00000001>doc<%><Z S0 ><Z S0 ><$00000002>One<%><Z S0 >"
            "<Z S0 >. <$00000003>One.A<%><Z S0 ><Z S0 ><$00000004>Two<%><Z S0 >");
  EXPECT_EQ(pages[1],
            "<Z S2 >Intro<Z S0 ><Z S0 ><$00000002>continue...<%><Z S0 ><Z S0 ><$00000000>Contents<%><Z S0 >");
  EXPECT_EQ(pages[3],
            // Heading styles that look the same are one style of the hypertext.
            "<Z S0 ><$00000002>...continue<%><Z S0 ><Z S3 >One.A<Z S3 >deep<Z S0 ><Z S0 ><$00000004>continue...<%>"
            "<Z S0 ><Z S0 ><$00000000>Contents<%><Z S0 >");
  EXPECT_EQ(Title(3), "One.A");
}

// ---- WinHelp sources ----

TEST_F(RtfImport, WinHelpTopicsHotSpotsAndBitmaps) {
  tarn::testing::WriteFile(env.Path("LOGO.BMP"), document::EncodeBmp(tarn::testing::SmallBitmap(4, 3, false)));
  RtfImportOptions options;
  options.winHelp = true;
  const int first = Import(
      Rtf("#{\\footnote # intro}${\\footnote $ Introduction}K{\\footnote K start;begin }"
          "\\pard See {\\uldb the details}{\\v Details} or {\\ul a popup}{\\v %Popup>win} or "
          "{\\uldb run}{\\v !ExecProgram(\"x\")}. \\{bmc logo.bmp\\} \\par\\page"
          "#{\\footnote # details}${\\footnote $ Details}\\pard Back to {\\uldb intro}{\\v INTRO}.\\par}"),
      options);
  // Hot spots make the pages they jump to as they are met; a topic read
  // later takes the page of its context.
  const std::vector<std::string> pages = Pages();
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_EQ(first, 2);
  EXPECT_EQ(Title(2), "Introduction");
  EXPECT_EQ(pages[2], "<Z S2 >See <$00000000>the details<%> or <$00000001>a popup<%> or run. <$10000000> ");
  EXPECT_EQ(Title(0), "Details");
  EXPECT_EQ(pages[0], "<Z S2 >Back to <$00000002>intro<%>.");
  EXPECT_EQ(static_cast<const TAEHtesto*>(set->GetObject(testoHtml, 0))->LookupName(), "details");
  EXPECT_EQ(Title(1), "Popup");
  EXPECT_EQ(pages[1], "<Z S0 >") << "the popup's topic was not among the files";
  EXPECT_EQ(PageKeywords(*set->GetObject(testoHtml, 2)).size(), 2u);
  std::vector<std::string> kinds[3];
  for (const auto& entry : report) kinds[entry.kind].push_back(entry.text);
  ASSERT_EQ(kinds[0].size(), 2u);
  EXPECT_EQ(kinds[0][0], "(intro:2)" + std::string(26, '.') + "Introduction|Link to: Introduction (2)");
  EXPECT_EQ(kinds[1], (std::vector<std::string>{"start", "begin"}));
  EXPECT_EQ(kinds[2], (std::vector<std::string>{"!ExecProgram(\"x\")", "Popup (1)"}));
}

TEST_F(RtfImport, UnderlineIsALinkOnlyInWinHelpSources) {
  EXPECT_EQ(Body("\\pard {\\ul word}{\\v hidden}\\par"), "<Z S2 y4 >word");
}

// ---- The clipboard ----

TEST_F(RtfImport, ClipboardContainer) {
  TAEHtortf rtf;
  rtf.SetLinkedAEHset(set.get());
  std::string container;
  rtf.ConvertPaste(Rtf("\\pard {\\b Bold} {\\field{\\*\\fldinst HYPERLINK \"http://x.org/\"}{\\fldrslt link}}"
                       "\\par\\page\\pard\\trowd\\cellx1000\\intbl c\\cell\\row"),
                   container, 0, 0);
  base::ByteReader in(container);
  std::int32_t v = 0;
  ASSERT_TRUE(in.ReadI32(v));
  EXPECT_EQ(v, 1);
  ASSERT_TRUE(in.ReadI32(v));
  EXPECT_EQ(v, 1) << "one link record";
  std::int32_t kind = 0;
  std::int32_t identifier = 0;
  ASSERT_TRUE(in.ReadI32(kind) && in.ReadI32(identifier));
  EXPECT_EQ(kind, internetLink);
  EXPECT_EQ(identifier, 0x6F000000);
  auto link = set->NewObject(internetLink);
  ASSERT_TRUE(link->LoadFromStream(in));
  EXPECT_EQ(link->GetCaption(), "http://x.org/");
  ASSERT_TRUE(in.ReadI32(v));
  EXPECT_EQ(v, 0) << "no images";
  ASSERT_TRUE(in.ReadI32(v));
  EXPECT_EQ(v, 1) << "the table";
  ASSERT_TRUE(in.ReadI32(kind) && in.ReadI32(identifier));
  EXPECT_EQ(kind, tabellaHtml);
  auto table = set->NewObject(tabellaHtml);
  ASSERT_TRUE(table->LoadFromStream(in));
  ASSERT_TRUE(in.ReadI32(v));
  std::string rest;
  ASSERT_TRUE(in.ReadBytes(in.Remaining(), rest));
  EXPECT_EQ(rest, std::string("<Z S2 y1 >Bold<Y > <$6f000000>link<%><Z S2 ><$FF000000><Z S2 >c<T>") + '\0');
  EXPECT_EQ(set->CountOf(tabellaHtml), 0) << "nothing registered";

  container.clear();
  rtf.ConvertPaste("not rtf", container, 0, 0);
  EXPECT_EQ(container, std::string("\1\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\1\0\0\0<Z S0 >\0", 28));
}

// A page's name can change after the hypertext has looked it up.
TEST_F(RtfImport, PageNamesAreFoundAfterTheyChange) {
  TAEHoggetto* page = Page("P", "<Z S0 >");
  SetPageLookupName(*page, "first");
  EXPECT_EQ(set->FindPage("FIRST"), page);
  SetPageLookupName(*page, "second");
  EXPECT_EQ(set->FindPage("second"), page);
  EXPECT_EQ(set->FindPage("first"), nullptr);
}

// ---- Hostile input ----

TEST_F(RtfImport, HostileDocumentsEndCleanly) {
  std::string deep = "{\\rtf1 ";
  for (int i = 0; i < 100000; ++i) deep += "{\\b ";
  deep += "deep";
  std::string fonts = "{\\rtf1{\\fonttbl";
  for (int i = 0; i < 100000; ++i) fonts += "{\\f" + std::to_string(i) + " F" + std::to_string(i) + ";}";
  fonts += "}\\pard\\f99999 x\\par}";
  // Many small records: each is looked up in an index, not among all others.
  std::string many = "{\\rtf1 ";
  for (int i = 0; i < 20000; ++i) {
    many += "\\page{\\field{\\*\\fldinst HYPERLINK \"http://x.org/" + std::to_string(i) + "\"}{\\fldrslt x}}";
  }
  const std::string cases[] = {
      deep,
      "{\\rtf1 \\pard a}}}}} b{{{ c",
      "{\\rtf1 \\pard x\\bin2147483647 abc",
      "{\\rtf1 \\pard {\\pict\\wmetafile8\\picw10\\pich10 0100090000030",
      "{\\rtf1 \\pard \\u-2147483648 \\u2147483647 \\uc2147483647\\u65 z\\par}",
      fonts,
      std::string("{\\rtf1 \\pard a\0b\\'0", 19),
      "{\\rtf1{\\stylesheet{\\s1\\sbasedon2 a;}{\\s2\\sbasedon1 b;}}\\pard\\s1 loop\\par}",
      "{\\rtf1\\pard\\trowd\\cellx1\\intbl" + std::string(300, 'x') + "\\cell\\row" + std::string(100, '}'),
      many,
  };
  for (const std::string& rtf : cases) {
    set = std::make_unique<TAEHset>(env.Services());
    TRtfImp run(*set, {});
    EXPECT_TRUE(run.ReadDocument(rtf, env.Dir(), "doc"));
    run.Finish();
  }
  EXPECT_EQ(Pages().size(), 20000u);
  EXPECT_EQ(set->CountOf(internetLink), 20000);
  // Beyond the pages an import makes, page breaks end paragraphs.
  std::string breaks = "{\\rtf1 ";
  for (int i = 0; i < ImportRecords::kMaxPages + 10; ++i) breaks += "\\page x";
  set = std::make_unique<TAEHset>(env.Services());
  TRtfImp capped(*set, {});
  EXPECT_TRUE(capped.ReadDocument(breaks, env.Dir(), "doc"));
  capped.Finish();
  ASSERT_EQ(set->CountOf(testoHtml), ImportRecords::kMaxPages);
  EXPECT_EQ(Markup(*set->GetObject(testoHtml, ImportRecords::kMaxPages - 1)).size(), 11u * 8);
  set = std::make_unique<TAEHset>(env.Services());
  TRtfImp run(*set, {});
  EXPECT_FALSE(run.ReadDocument("{\\rtf2 no}", env.Dir(), "doc"));
}

}  // namespace
}  // namespace tarn::convert
