// HTML import: small HTML files, one per feature, each checked against a
// golden description of the page it becomes (its markup, one paragraph a
// line, then the page's settings and every record its markup names); the
// behaviours that golden files show poorly (limits, bad input, preview,
// reuse of records) are tested directly.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "base/bytes.h"
#include "base/cp1252.h"
#include "convert/aehtohtml.h"
#include "convert/htmlimportfixture.h"
#include "document/aehset.h"
#include "document/links.h"
#include "document/recordfields.h"
#include "richtext/styles.h"

namespace tarn::convert {
namespace {

namespace fs = std::filesystem;
using namespace document;
using namespace document::field;
using testing::ImportFixture;
namespace sf = richtext::stylefield;

const fs::path kFixtures = fs::path(TARN_TEST_DATA) / "htmlimport";
// The exporter's own golden site, read back.
const fs::path kExported = fs::path(TARN_TEST_DATA) / "golden" / "html";

class Golden : public ImportFixture, public ::testing::TestWithParam<std::string> {};

// Each fixture NAME.html becomes a page described as NAME.page;
// TARN_UPDATE_GOLDEN=1 writes the descriptions instead (review them).
TEST_P(Golden, PageMatchesItsDescription) {
  CopyFixtures(kFixtures);
  CopyFixtures(kExported);
  const std::string name = GetParam();
  const int page = html.ImportFiles({env.Path(name + ".html")}, false);
  ASSERT_EQ(html.ImportReport().pages, 1);
  const std::string actual = Describe(page);
  const fs::path golden = kFixtures / (name + ".page");
  if (std::getenv("TARN_UPDATE_GOLDEN") != nullptr) {
    tarn::testing::WriteFile(golden, actual);
    return;
  }
  ASSERT_TRUE(fs::exists(golden)) << golden;
  EXPECT_EQ(actual, tarn::testing::ReadFile(golden)) << "differs from " << golden;
}

INSTANTIATE_TEST_SUITE_P(Fixtures, Golden,
                         ::testing::Values("text", "blocks", "lists", "pre", "links", "images", "tables", "forms",
                                           "objects", "head", "utf8", "stylesheet", "extended", "site_index"),
                         [](const auto& fixture) { return fixture.param; });

// ---- Text ----

TEST(HtmlImportText, FragmentsGiveTheirMarkup) {
  struct Case {
    std::string html;
    std::string markup;
  };
  const Case cases[] = {
      // No body and no paragraph element still make a page.
      {"plain words", "<Z S1 >plain words"},
      {"", "<Z S0 >"},
      // B opened, then I, then </B>: the italic ends with the bold.
      {"<b>x<i>y</b>z</i>w", "<Z S1 ><Y y1 >x<Y y3 >y<Y >zw"},
      // Blanks collapse and line ends are blanks; a paragraph starts with none.
      {"<p>  a  \r\n b\t</p>", "<Z S1 >a b "},
      {"a<br><br>b", "<Z S1 >a<Z S1 >b"},
      // Text after a closed paragraph element starts a new paragraph.
      {"<h2>T</h2>after", "<Z S1 ><Y s19 y1 >T<Z S1 >after"},
      {"<p align=center>c</p>", "<Z S1 A2 >c"},
      {"<font size=+2 color=red face='Arial, Helvetica'>f</font>", "<Z S1 ><Y cFF0000 F\"Arial\" s19 >f"},
      {"<small>s</small><big>b</big>", "<Z S1 ><Y s10 >s<Y s14 >b"},
      {"H<sub>2</sub>O x<sup>2</sup>", "<Z S1 >H<Y p1 >2<Y >O x<Y p2 >2"},
      {"<span style='color:#00FF00;font-weight:bold'>g</span>", "<Z S1 ><Y c00FF00 y1 >g"},
      {"<tt>code</tt> <u>u</u> <s>s</s>", "<Z S1 ><Y F\"Courier New\" >code<Y > <Y y4 >u<Y > <Y y8 >s"},
      // Markup characters are escaped; "<" that starts no tag is text.
      {"a < b &amp; c > d", "<Z S1 >a &lt; b &amp; c &gt; d"},
      {"x<3 and <y", "<Z S1 >x&lt;3 and &lt;y"},
      // References: the markup's reader for up to three digits and Latin-1
      // names; longer numbers, hexadecimal and HTML names here.
      {"&eacute;&#233;&#xE9;&#8364;&euro;&hellip;&copy2024", "<Z S1 >\xE9\xE9\xE9\x80\x80\x85\xA9" "2024"},
      {"AT&T &unknown; &", "<Z S1 >AT&amp;T &amp;unknown; &amp;"},
      // Characters cp1252 lacks become "?".
      {"&#x2192;&rarr;&#960;", "<Z S1 >???"},
      // A face name never ends its format tag early, nor the text.
      {std::string("<span style='font-family:\"A") + '\0' + ">\"'>x</span>y", "<Z S1 ><Y F\"A\" >x<Y >y"},
  };
  for (const Case& c : cases) {
    ImportFixture f;
    EXPECT_EQ(f.ImportMarkup(c.html), c.markup) << c.html;
  }
}

TEST(HtmlImportText, NulBytesDoNotEndThePage) {
  ImportFixture f;
  EXPECT_EQ(f.ImportMarkup(std::string("a\0b<b>c</b>\0d", 13)), "<Z S1 >ab<Y y1 >c<Y >d");
}

TEST(HtmlImportText, ReplacedCharactersAreCounted) {
  ImportFixture f;
  f.ImportMarkup("\xE2\x86\x92 \xCF\x80 caf\xC3\xA9 &rarr;");
  EXPECT_EQ(f.html.ImportReport().replacedCharacters, 3);
}

TEST(HtmlImportText, LongParagraphsAreSplit) {
  ImportFixture f;
  std::string words;
  for (int i = 0; i < 1000; ++i) words += "word ";
  const std::string markup = f.ImportMarkup("<p>" + words + "</p>");
  std::size_t paragraphs = 0;
  std::size_t longest = 0;
  for (std::size_t at = markup.find("<Z"), next = 0; at != std::string::npos; at = next) {
    next = markup.find("<Z", at + 1);
    longest = std::max(longest, (next == std::string::npos ? markup.size() : next) - at);
    ++paragraphs;
  }
  EXPECT_EQ(paragraphs, 3u);
  EXPECT_LE(longest, 1820u);
  // Nothing but the blank at each cut is lost.
  std::string text;
  for (std::size_t i = 0; i < markup.size(); ++i) {
    if (markup[i] == '<') i = markup.find('>', i);
    else text += markup[i];
  }
  EXPECT_EQ(text.size() + 2, words.size());
}

TEST(HtmlImportText, PreviewStopsAtFiveThousandCharacters) {
  ImportFixture f;
  f.html.ImpPreview = true;
  std::string html;
  for (int i = 0; i < 3000; ++i) html += "<p>paragraph " + std::to_string(i) + "</p>";
  const std::size_t size = f.ImportMarkup(html).size();
  EXPECT_GE(size, 5000u);
  EXPECT_LT(size, 5100u);
}

// ---- Records ----

TEST(HtmlImportRecords, LinksByTheirTarget) {
  ImportFixture f;
  f.CopyFixtures(kFixtures);
  f.ImportMarkup("<a href='lists.html'>l</a><a href='mailto:a@b.c'>m</a><a href='doc.pdf'>p</a>"
                 "<a href='https://x.org/a.html'>h</a><a href='mailto:a@b.c'>again</a>");
  std::vector<int> kinds;
  for (ObjectId id : f.ObjectsOfPage(0)) kinds.push_back(KindOf(id));
  EXPECT_EQ(kinds, (std::vector<int>{speclink, internetLink, internetLink, internetLink, internetLink}));
  const TAEHoggetto* special = f.set->GetObject(speclink, 0);
  EXPECT_EQ(special->Subtype(), 6);  // automatic import of a local page
  EXPECT_EQ(special->ReadContent(), f.env.Path("lists.html").string());
  // An equal link is used again.
  EXPECT_EQ(f.set->CountOf(internetLink), 3);
}

TEST(HtmlImportRecords, ImagesKeywordsAndStylesAreReusedAcrossFiles) {
  ImportFixture f;
  f.CopyFixtures(kFixtures);
  f.html.ImportFiles({f.env.Path("images.html"), f.env.Path("images.html"), f.env.Path("stylesheet.html"),
                      f.env.Path("stylesheet.html"), f.env.Path("head.html"), f.env.Path("head.html")},
                     false);
  const HtmlImportReport& r = f.html.ImportReport();
  EXPECT_EQ(r.pages, 6);
  EXPECT_EQ(r.images, 1);
  EXPECT_EQ(f.set->CountOf(immagine), 1);
  EXPECT_EQ(r.styles, 2);
  EXPECT_EQ(f.set->CountOf(stileParagrafo), 4);
  EXPECT_EQ(f.set->CountOf(keyword), 3);
}

TEST(HtmlImportRecords, PngPicturesAreStoredAsGifOrJpeg) {
  ImportFixture f;
  tarn::testing::WriteFile(f.env.Path("icon.png"), tarn::testing::PngOf(tarn::testing::SmallBitmap(8, 4, true)));
  tarn::testing::WriteFile(f.env.Path("photo.PNG"), tarn::testing::PngOf(tarn::testing::PhotoBitmap(64, 48)));
  f.ImportMarkup("<img src=icon.png alt=icon><img src='photo.PNG' width=32 height=24>");
  EXPECT_TRUE(f.html.ImportReport().skipped.empty());
  EXPECT_EQ(f.html.ImportReport().images, 2);
  std::vector<std::string> shown;
  for (ObjectId id : f.ObjectsOfPage(0)) {
    const TAEHoggetto* placed = f.set->GetObjectById(id);
    ASSERT_EQ(placed->Kind(), immagineNew);
    const TAEHoggetto* image = f.set->GetObject(immagine, placed->I32(kPlacedImage));
    shown.push_back(image->FileName() + " " + std::to_string(placed->I16(kPlacedWidth)) + "x" +
                    std::to_string(placed->I16(kPlacedHeight)));
  }
  EXPECT_EQ(shown, (std::vector<std::string>{"icon.gif 8x4", "photo.jpg 32x24"}));
}

TEST(HtmlImportRecords, FirstPageOfANewHypertextIsReplaced) {
  ImportFixture f;
  auto empty = f.set->NewObject(testoHtml);
  f.set->Register(std::move(empty));
  ASSERT_EQ(f.set->CountOf(testoHtml), 1);
  f.html.ImportBackgroundColour = 0x123456;
  EXPECT_EQ(f.html.ImportHtmlSource("<p>one", f.env.Path("one.html")), 0);
  EXPECT_EQ(f.html.ImportHtmlSource("<p>two", f.env.Path("two.html")), 1);
  EXPECT_EQ(f.set->CountOf(testoHtml), 2);
  EXPECT_EQ(f.set->GetObject(testoHtml, 1)->I32(kPageBgColour), 0x123456);
  // The page's lookup name is the file it came from.
  EXPECT_EQ(f.set->FindPage(f.env.Path("two.html").string()), f.set->GetObject(testoHtml, 1));
}

TEST(HtmlImportRecords, PagesOfOneRunLinkToEachOther) {
  ImportFixture f;
  tarn::testing::WriteFile(f.env.Path("a.html"), "<a href='b.html#gone'>to b</a> <a href='b.html#x'>to x</a>");
  tarn::testing::WriteFile(f.env.Path("b.html"),
                           "<a href='./a.html'>to a</a> <a href='c.html'>to c</a><h1 id=x>X</h1>");
  f.html.ImportFiles({f.env.Path("a.html"), f.env.Path("b.html")}, false);
  // The links name the pages themselves, as links made by the author do; a
  // fragment that names no anchor of the page leads to the page.
  const std::vector<ObjectId> first = f.ObjectsOfPage(0);
  ASSERT_EQ(first.size(), 2u);
  EXPECT_EQ(first[0], MakeObjectId(testoHtml, 1));
  EXPECT_EQ(f.ObjectsOfPage(1).front(), MakeObjectId(testoHtml, 0));
  EXPECT_TRUE(f.set->GetObject(speclink, 0)->IsFree());
  // A link to an anchor of another page of the run leads to the anchor.
  const TAEHoggetto* toAnchor = f.set->GetObjectById(first[1]);
  ASSERT_EQ(toAnchor->Kind(), speclink);
  EXPECT_EQ(toAnchor->Subtype(), kSpecialToObject);
  EXPECT_EQ(toAnchor->I32(kSpecialTarget), MakeObjectId(testoHtml, 1));
  EXPECT_EQ(toAnchor->U8(kSpecialAction), kReplaceWindow);
  EXPECT_EQ(toAnchor->I32(kSpecialAnchor), 0);
  // A file that is not part of the run stays an automatic import, reported.
  const TAEHoggetto* other = f.set->GetObjectById(f.ObjectsOfPage(1)[1]);
  EXPECT_EQ(other->Subtype(), 6);
  ASSERT_EQ(f.html.ImportReport().skipped.size(), 1u);
  EXPECT_NE(f.html.ImportReport().skipped[0].find("c.html"), std::string::npos);
}

// ---- Extended comments ----

TEST(HtmlImportExtended, StyleLinesAreReadAsTheCodesOfAParagraphTag) {
  struct Case {
    std::string line;
    std::string face;
    int size;
    std::uint32_t colour;  // red in the lowest byte
    std::string message;   // the kind of "Truncated line!" shown, if any
  };
  const Case cases[] = {
      {"Quote c800000 F\"Arial\" s10 ", "Arial", 10, 0x000080, ""},
      // The end of the line ends the last value.
      {"Last c0000FF s14", "Times New Roman", 14, 0xFF0000, ""},
      // Codes are read in their one order: a colour after the size is not.
      {"Order s14 c800000", "Times New Roman", 14, 0, ""},
      // A face name cannot end the format tags it is written into.
      {"Angle F\"Ar<ial\" s9", "Arial", 9, 0, ""},
      {"Long s12345678901234567 c800000", "Times New Roman", 12, 0, "error"},
      {"Open F\"Arial s10", "Times New Roman", 12, 0, "information"},
  };
  for (const Case& c : cases) {
    ImportFixture f;
    f.ImportMarkup("<!TARN>\n<!tn_z\n" + c.line + "\n>\n<!tn_s 0>text");
    const TAEHoggetto* style = f.set->GetObject(stileParagrafo, f.set->CountOf(stileParagrafo) - 1);
    ASSERT_NE(style, nullptr) << c.line;
    EXPECT_EQ(style->GetCaption(), c.line.substr(0, c.line.find(' '))) << c.line;
    EXPECT_EQ(style->Str(sf::kFace, sf::kFaceCapacity), c.face) << c.line;
    EXPECT_EQ(style->I16(sf::kSize), c.size) << c.line;
    EXPECT_EQ(static_cast<std::uint32_t>(style->I32(sf::kColour)), c.colour) << c.line;
    std::string shown;
    for (const auto& entry : f.env.messages.entries) {
      if (entry.text == "Truncated line!") shown += entry.kind;
    }
    EXPECT_EQ(shown, c.message) << c.line;
  }
}

// ---- Bad input ----

TEST(HtmlImportBadInput, EndsCleanlyAndBounded) {
  struct Case {
    std::string name;
    std::string html;
  };
  std::string columns = "<table><tr>";
  for (int i = 0; i < 3000; ++i) columns += "<td>" + std::to_string(i);
  std::string rows = "<table>";
  for (int i = 0; i < 600; ++i) rows += "<tr><td>r" + std::to_string(i) + "<td>x";
  std::string divs;
  for (int i = 0; i < 200000; ++i) divs += "<div>";
  divs += "deep";
  std::string areas = "<img src=logo.gif usemap=#m><map name=m>";
  for (int i = 0; i < 1000; ++i) areas += "<area href=a" + std::to_string(i) + ".html coords=0,0,10,10>";
  std::string tables;
  for (int i = 0; i < 100; ++i) tables += "<table><tr><td>";
  const Case cases[] = {
      {"unclosed and misnested", "<b><i><p>a</b></i><table><tr><td><b>x</table></p>y</b>"},
      {"attributes without quotes", "<font color=red size=5 face=Arial>x</font><td width=5>"},
      {"quotes never closed", "<a href=\"x.html>text</a> <img alt='a>more"},
      {"lt without gt", "a <b c <d e <f"},
      {"comment never closed", "<!-- x <p>after"},
      {"script never closed", "before<script>var x = '<p>';"},
      {"columns", columns},
      {"rows", rows},
      {"nested divs", divs},
      {"areas", areas},
      {"nested tables", tables},
      {"stray cell ends", "</td></tr></table><td>x</td>"},
  };
  for (const Case& c : cases) {
    ImportFixture f;
    f.CopyFixtures(kFixtures);
    const std::string markup = f.ImportMarkup(c.html);
    EXPECT_TRUE(markup.starts_with("<Z S")) << c.name;
    EXPECT_TRUE(f.TablesAreWhole(0)) << c.name;
  }
}

TEST(HtmlImportBadInput, TableLimits) {
  ImportFixture f;
  std::string html = "<table><tr>";
  for (int i = 0; i < 60; ++i) html += "<td>c" + std::to_string(i);
  for (int r = 0; r < 300; ++r) html += "<tr><td>a<td>b";
  f.ImportMarkup(html);
  // Fifty columns at most; 301 rows go on in a second table.
  ASSERT_EQ(f.set->CountOf(tabellaHtml), 2);
  EXPECT_EQ(f.set->GetObject(tabellaHtml, 0)->U8(kTableColumns), 50);
  EXPECT_EQ(f.set->GetObject(tabellaHtml, 0)->U8(kTableRows), 255);
  EXPECT_EQ(f.set->GetObject(tabellaHtml, 1)->U8(kTableRows), 46);
  EXPECT_TRUE(f.TablesAreWhole(0));
}

TEST(HtmlImportBadInput, MapKeepsThirtyAreas) {
  ImportFixture f;
  f.CopyFixtures(kFixtures);
  std::string html = "<map name=m>";
  for (int i = 0; i < 1000; ++i) html += "<area href=http://x/" + std::to_string(i) + " coords=0,0,10,10>";
  html += "</map><img src=logo.gif usemap=#m>";
  f.ImportMarkup(html);
  const TAEHoggetto* placed = f.set->GetObject(immagineNew, 0);
  ASSERT_NE(placed, nullptr);
  int zones = 0;
  for (int i = 0; i < kZoneCount; ++i) zones += placed->I32(kPlacedZones + kZoneSize * i) != -1;
  EXPECT_EQ(zones, 30);
  EXPECT_EQ(f.set->CountOf(internetLink), 30);
}

TEST(HtmlImportBadInput, MissingAndUnreadableFilesAreReported) {
  ImportFixture f;
  tarn::testing::WriteFile(f.env.Path("ok.html"), "<p>ok");
  fs::create_directories(f.env.Path("folder.html"));
  const int page = f.html.ImportFiles({f.env.Path("gone.html"), f.env.Path("folder.html"), f.env.Path("ok.html")}, false);
  EXPECT_EQ(page, 0);
  EXPECT_EQ(f.html.ImportReport().pages, 1);
  EXPECT_EQ(f.html.ImportReport().unreadable.size(), 2u);
}

}  // namespace
}  // namespace tarn::convert
