// RTF export: a small hypertext against a golden file, the WinHelp form with
// its help project, the pieces a word processor relies on (counters, colours,
// tables, escapes, headers), file names and runs, and the round trip through
// the importer.
#include "convert/aehtortf.h"

#include <gtest/gtest.h>

#include "base/hex.h"

#include "convert/golden.h"
#include "convert/rtffixture.h"
#include "document/aehtesto.h"
#include "document/links.h"
#include "document/recordfields.h"
#include "richtext/styles.h"

namespace tarn::convert {
namespace {

namespace fs = std::filesystem;
using namespace document;
using namespace document::field;
using testing::ConvertFixture;
using testing::Tag;

const fs::path kGoldenFolder = fs::path(TARN_TEST_DATA) / "golden" / "rtf";

void ExpectGolden(const std::string& name, const std::string& actual) {
  testing::ExpectGolden(kGoldenFolder, name, actual);
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

std::tm FixedClock() {
  std::tm t{};
  t.tm_year = 126;
  t.tm_mon = 11;
  t.tm_mday = 10;
  t.tm_hour = 9;
  t.tm_min = 30;
  return t;
}

class RtfExport : public ConvertFixture, public ::testing::Test {
 protected:
  void SetUp() override {
    rtf.SetLinkedAEHset(set.get());
    rtf.Now = FixedClock;
    rtf.ExportPath = env.Path("out");
    rtf.ExportFileName = env.Path("out") / "book.rtf";
    fs::create_directories(env.Path("out"));
  }
  TAEHoggetto* Style(const std::string& name, int list = 0) {
    using namespace richtext::stylefield;
    auto style = set->NewObject(stileParagrafo);
    style->SetName(name);
    style->SetU8(kListKind, static_cast<std::uint8_t>(list));
    if (list != 0) {
      style->SetI16(kLeftMargin, 40);
      style->SetI16(kIndent, -20);
    }
    return set->Register(std::move(style));
  }
  TAEHoggetto* Table(int rows, int columns) {
    auto table = set->NewObject(tabellaHtml);
    table->SetU8(93, static_cast<std::uint8_t>(rows));
    table->SetU8(94, static_cast<std::uint8_t>(columns));
    return set->Register(std::move(table));
  }
  std::string Export(const std::vector<int>& pages) {
    EXPECT_TRUE(rtf.ExportPageList(pages)) << rtf.ErrorText();
    return tarn::testing::ReadFile(rtf.ExportFileName);
  }
  // The body of one page, without the header.
  std::string BodyOf(const std::string& markup) {
    TAEHoggetto* page = Page("P", markup);
    const std::string text = Export({page->Index()});
    const std::size_t start = text.find("\\margr1417 ");
    return text.substr(start + 11, text.size() - start - 12);
  }
  TAEHtortf rtf;
};

// A small hypertext: two styles of its own, formats, a numbered list, links
// to a page, an address and a special link, a table with a coloured cell and
// a border, a comment, a picture and a shared header page.
class SmallHypertext : public RtfExport {
 protected:
  void SetUp() override {
    RtfExport::SetUp();
    set->SetTitle("Small {book}");
    set->SetHeaderString(header::kAuthors, 79, "A. Writer");
    const TAEHoggetto* heading = Style("Heading");
    set->GetObject(stileParagrafo, heading->Index())->SetU8(richtext::stylefield::kStyleBits, 1);
    const TAEHoggetto* steps = Style("Steps", 6);
    tarn::testing::WriteFile(env.Path("dot.gif"), tarn::testing::SmallGif(2, 2));
    TAEHoggetto* image = set->AddImageData(env.Path("dot.gif"), false, 2, 2);
    auto placed = set->AddImmagineNew(image);
    placed->SetI16(kPlacedWidth, 20);
    placed->SetI16(kPlacedHeight, 10);
    TAEHoggetto* picture = set->Register(std::move(placed));
    TAEHoggetto* comment = Object(shortObj, 10);
    comment->SetContent(std::string("Ann\r\nCheck {this}") + '\0');
    TAEHoggetto* web = set->Register(set->NewLink("http://example.org/"));
    cover = Page("Cover", "<Z S0 >");
    second = Page("Second", "<Z S0 >The second page.");
    TAEHoggetto* top = Page("Top", "<Z S0 A2 >Running head");
    set->SetHeaderI32(header::kHeaderPage, top->Index());
    set->SetHeaderI32(header::kCoverPage, cover->Index());
    TAEHoggetto* table = Table(2, 2);
    std::string backgrounds;
    for (std::int32_t b : {0x00FFFF, -1, -1, 0x03000000}) base::AppendI32(backgrounds, b);
    table->SetContent(backgrounds);
    table->SetU8(92, 1);
    TAEHoggetto* special = Special(1, second->GetId(), kPopupWindow, -1, "pop");
    cover->SetI32(kPageHeaderChoice, -1);
    cover->SetContent("<Z S" + std::to_string(heading->Index()) + " >Cover of the {book}<Z S0 >Plain \xE9t\xE9 \\ "
                      "<Y y1 >bold <Y c0000FF y2 >blue italic<Y > <Y p2 >up<Y > " + Tag(second->GetId()) +
                      "to the second<%>, " + Tag(web->GetId()) + "to the web<%>, " + Tag(special->GetId()) +
                      "a popup<%>." + Tag(comment->GetId()) + "<Z S" + std::to_string(steps->Index()) +
                      " >one<Z S" + std::to_string(steps->Index()) + " >two<Z S0 >" + Tag(table->GetId()) +
                      "<Z S1 >a<T><Z S1 >b<T><Z S1 >c<T><Z S1 >d<T><Z S0 >Picture " + Tag(picture->GetId()) +
                      " done." + std::string(1, '\0'));
  }
  TAEHoggetto* cover = nullptr;
  TAEHoggetto* second = nullptr;
};

TEST_F(SmallHypertext, WritesTheGoldenFile) {
  ExpectGolden("small.rtf", Export({cover->Index(), second->Index()}));
}

TEST_F(SmallHypertext, WinHelpFormAndItsHelpProject) {
  rtf.WinHelp = true;
  rtf.TitlesAsKeywords = true;
  AddKeyword(*cover, Object(keyword, 0)->Index());
  set->GetObject(keyword, 0)->SetName("start");
  cover->SetI16(kPageBrowseGroup, 1);
  cover->SetI16(kPageBrowseNumber, 2);
  cover->SetU8(kPageBrowseOut, 0);
  TAEHoggetto* frame = Special(1, second->GetId(), kReplaceFrame, -1, "Main frame");
  TAEHoggetto* closer = Special(2, -1, 0, -1, "Main frame");
  TAEHoggetto* keywords = Special(3);
  TAEHoggetto* previous = Special(4);
  TAEHoggetto* next = Special(5);
  TAEHoggetto* other = set->Register(set->NewLink("tarn:other.aeh|7"));
  second->SetContent("<Z S0 >" + Tag(frame->GetId()) + "frame<%> " + Tag(closer->GetId()) + "close<%> " +
                     Tag(keywords->GetId()) + "keys<%> " + Tag(previous->GetId()) + "back<%> " +
                     Tag(next->GetId()) + "on<%> " + Tag(other->GetId()) + "other<%> <Y y4 >not a link<Y >" +
                     std::string(1, '\0'));
  const std::string text = Export({cover->Index(), second->Index()});
  ExpectGolden("winhelp.rtf", text);
  EXPECT_EQ(Count(text, "\\{bmc "), 1u);
  EXPECT_TRUE(fs::exists(env.Path("out") / "dot.bmp"));
  EXPECT_EQ(rtf.WindowList(), (std::vector<std::string>{"Mainfram"}));
  ASSERT_TRUE(rtf.WriteHelpProject(env.Path("out") / "book.HPJ", {cover->Index(), second->Index()}));
  EXPECT_EQ(tarn::testing::ReadFile(env.Path("out") / "book.HPJ"),
            "[OPTIONS]\r\nTITLE=Small {book}\r\nCONTENTS=Cover_" + std::to_string(cover->Index()) +
                "\r\nCITATION=Made with Tarn\r\n[WINDOWS]\r\nMainfram=\"\", auto-size height\r\n[MAP]\r\nCover_" +
                std::to_string(cover->Index()) + " " + std::to_string(cover->Index()) + "\r\nSecond_" +
                std::to_string(second->Index()) + " " + std::to_string(second->Index()) +
                "\r\n\r\n[FILES]\r\nbook.rtf\r\n[CONFIG]\r\nBROWSEBUTTONS()\r\n");
}

TEST_F(SmallHypertext, WinHelpPicturesOfOneNameKeepTheirOwnBitmaps) {
  rtf.WinHelp = true;
  // Another picture whose name differs only in case and folder.
  fs::create_directories(env.Path("other"));
  tarn::testing::WriteFile(env.Path("other") / "DOT.gif", tarn::testing::SmallGif(4, 3));
  TAEHoggetto* other = set->AddImageData(env.Path("other") / "DOT.gif", false, 4, 3);
  set->GetObject(immagine, 0)->SetFileName("dot.gif");
  other->SetFileName("DOT.jpg");
  TAEHoggetto* placed = set->Register(set->AddImmagineNew(other));
  second->SetContent("<Z S0 >Other " + Tag(placed->GetId()) + " again " + Tag(placed->GetId()) + std::string(1, '\0'));
  const std::string text = Export({cover->Index(), second->Index()});
  EXPECT_EQ(Count(text, "\\{bmc dot.bmp\\}"), 1u);
  EXPECT_EQ(Count(text, "\\{bmc DOT_2.bmp\\}"), 2u);
  EXPECT_TRUE(fs::exists(env.Path("out") / "dot.bmp"));
  EXPECT_TRUE(fs::exists(env.Path("out") / "DOT_2.bmp"));
}

TEST_F(SmallHypertext, WinHelpSourcesReadBack) {
  rtf.WinHelp = true;
  AddKeyword(*second, Object(keyword, 0)->Index());
  set->GetObject(keyword, 0)->SetName("more");
  // Beside the bitmaps the export saved.
  tarn::testing::WriteFile(env.Path("out") / "help.rtf", Export({cover->Index(), second->Index()}));
  ConvertFixture back;
  TAEHtortf reader;
  reader.SetLinkedAEHset(back.set.get());
  reader.ImportOptions.winHelp = true;
  const int first = reader.ImportFiles({env.Path("out") / "help.rtf"}, true);
  // The second page is made when the cover's hot spot to it is read.
  ASSERT_EQ(back.Pages().size(), 2u);
  EXPECT_EQ(back.Title(first), "Cover");
  const int other = 1 - first;
  EXPECT_EQ(back.Title(other), "Second");
  EXPECT_EQ(back.Pages()[static_cast<std::size_t>(other)], "<Z S0 >The second page.");
  const std::string text = back.Pages()[static_cast<std::size_t>(first)];
  EXPECT_TRUE(text.starts_with("<Z S3 >Cover of the {book}<Z S0 >Plain")) << text;
  EXPECT_TRUE(text.ends_with("<Z S0 >Picture <$10000000> done.")) << "the bitmap by reference";
  EXPECT_NE(text.find("<$0000000" + std::to_string(other) + ">to the second<%>"), std::string::npos) << text;
  EXPECT_EQ(static_cast<const TAEHtesto*>(back.set->GetObject(testoHtml, other))->LookupName(),
            "Second_" + std::to_string(second->Index()));
  EXPECT_EQ(PageKeywords(*back.set->GetObject(testoHtml, other)).size(), 1u);
}

TEST(HelpContext, IsTheTitlesLettersCutToTwentyCharacters) {
  EXPECT_EQ(HelpContext("Chapter 3: Tables", 12), "Chapter3Tables_12");
  EXPECT_EQ(HelpContext("An unusually long title of thirty", 12), "Anunusuallylongti_12");
  EXPECT_EQ(HelpContext("x.y_z!", 0), "x.y_z_0");
  EXPECT_EQ(WindowContext("Main frame"), "Mainfram");
}

// ---- What word processors rely on ----

TEST_F(RtfExport, NumberedListCountsAndResets) {
  const int steps = Style("Steps", 6)->Index();
  const std::string z = "<Z S" + std::to_string(steps) + " >";
  const std::string body = BodyOf(z + "first" + z + "second" + z + "third<Z S0 >prose" + z + "again");
  EXPECT_EQ(Count(body, "{\\pntext 1.\\tab}"), 2u);
  EXPECT_EQ(Count(body, "{\\pntext 2.\\tab}"), 1u);
  EXPECT_EQ(Count(body, "{\\pntext 3.\\tab}"), 1u);
  EXPECT_LT(body.find("{\\pntext 3."), body.find("third"));
  EXPECT_GT(body.rfind("{\\pntext 1."), body.find("prose"));
}

TEST_F(RtfExport, ColoursFontsAndEscapes) {
  const std::string body = BodyOf("<Z S0 >{a} b\\c \xE9~<Y c00FF00 >green<Y >");
  EXPECT_NE(body.find("\\cf1"), std::string::npos) << "black is the table's first colour";
  EXPECT_NE(body.find("\\{a\\} b\\\\c \\'e9\\'7e"), std::string::npos);
  EXPECT_NE(body.find("\\cf2 green"), std::string::npos);
  EXPECT_NE(tarn::testing::ReadFile(rtf.ExportFileName).find("{\\colortbl;\\red0\\green0\\blue0;\\red0\\green255\\blue0;}"),
            std::string::npos);
}

TEST_F(RtfExport, TablesAreRowsOfCells) {
  TAEHoggetto* table = Table(2, 2);
  table->SetU8(5, 0);  // the first column in percent, the second free
  table->SetI16(97, 25);
  table->SetU8(6, 2);
  const std::string body = BodyOf("<Z S0 >before " + Tag(table->GetId()) +
                                  "<Z S1 >a<T><Z S1 >b<T><Z S1 >c<T><Z S1 >d<T> after<Z S0 >next");
  EXPECT_EQ(Count(body, "\\trowd"), 2u);
  EXPECT_EQ(Count(body, "\\cell "), 4u);
  EXPECT_EQ(Count(body, "\\row "), 2u);
  // A4 less the margins and the paragraph's: a quarter and the rest.
  EXPECT_NE(body.find("\\cellx2192\\cellx8771 "), std::string::npos);
  // The table starts a row of its own; text after it in its paragraph gets
  // its paragraph back.
  EXPECT_NE(body.find("before \\par \\trowd"), std::string::npos);
  EXPECT_NE(body.find("\\row \\pard\\plain \\s1\\f0"), std::string::npos);
  EXPECT_LT(body.find("\\row \\pard\\plain"), body.find(" after"));
}

TEST_F(RtfExport, FixedColumnsAreStoredInPixels) {
  TAEHoggetto* table = Table(1, 2);
  table->SetU8(5, 1);
  table->SetI16(97, 96);  // an inch
  table->SetU8(6, 1);
  table->SetI16(99, 48);
  const std::string body = BodyOf("<Z S0 >" + Tag(table->GetId()) + "<Z S1 >a<T><Z S1 >b<T>");
  EXPECT_NE(body.find("\\cellx1440\\cellx2160 "), std::string::npos) << body;
}

TEST_F(RtfExport, HeadersAreWrittenWhenThePagesChange) {
  TAEHoggetto* top = Page("Top", "<Z S0 >Top");
  TAEHoggetto* other = Page("Other", "<Z S0 >Other");
  std::vector<int> pages;
  for (std::int32_t choice : {top->GetId(), top->GetId(), other->GetId()}) {
    TAEHoggetto* page = Page("P", "<Z S0 >x");
    page->SetI32(kPageHeaderChoice, choice);
    page->SetI32(kPageFooterChoice, -2);
    pages.push_back(page->Index());
  }
  const std::string text = Export(pages);
  EXPECT_EQ(Count(text, "{\\header "), 2u);
  EXPECT_NE(text.find("\\sect\\sectd {\\header \\pard\\plain \\s1\\f0\\fs24\\cf1\\i0\\b0\\ul0\\strike0\\up0\\ql\\fi0\\li150\\ri150\\sb0\\sa0 Other"), std::string::npos);
  EXPECT_EQ(Count(text, "\\sect\\sectd "), 2u);
}

TEST_F(RtfExport, UnderlineIsNotWrittenInWinHelpForm) {
  rtf.WinHelp = true;
  const std::string body = BodyOf("<Z S0 y4 >text");
  EXPECT_EQ(body.find("\\ul"), std::string::npos);
}

TEST_F(RtfExport, PageFilesAndTheirLinks) {
  TAEHoggetto* first = Page("First", "<Z S0 >first");
  TAEHoggetto* next = Page("Next", "<Z S0 >x");
  first->SetContent("<Z S0 >" + Tag(next->GetId()) + "on<%>" + std::string(1, '\0'));
  set->SetHeaderI32(header::kCoverPage, first->Index());
  rtf.SetExportPrefixOverride("book_");
  std::vector<std::string> written;
  ASSERT_TRUE(rtf.ExportPagesPerFile({first->Index(), next->Index()}, &written));
  const std::string nextName = "book_" + base::ToHex(static_cast<std::uint32_t>(next->Index()), 6) + ".rtf";
  EXPECT_EQ(written, (std::vector<std::string>{"book_index.rtf", nextName}));
  EXPECT_NE(tarn::testing::ReadFile(env.Path("out") / "book_index.rtf").find("HYPERLINK \"" + nextName + "\""),
            std::string::npos);
}

TEST_F(RtfExport, AskedOnceBeyondFiveMegabytes) {
  std::vector<int> pages;
  for (int i = 0; i < 4; ++i) pages.push_back(Page("Big", "<Z S0 >" + std::string(2'000'000, 'x'))->Index());
  const std::string text = Export(pages);
  EXPECT_EQ(env.messages.entries.size(), 1u);
  EXPECT_EQ(Count(text, "\\sect\\sectd"), 2u) << "answered No after the third page";
  EXPECT_EQ(text.back(), '}');
}

TEST_F(RtfExport, FailuresAreReported) {
  Page("P", "<Z S0 >x");
  rtf.ExportFileName = env.Path("missing") / "book.rtf";
  EXPECT_FALSE(rtf.ExportPageList({0}));
  EXPECT_TRUE(env.messages.Saw("Error writing file " + rtf.ExportFileName.string()));
  // An attribute without its closing blank.
  rtf.ExportFileName = env.Path("out") / "book.rtf";
  BodyOf("<Z S0 s1234567890123 >x");
  EXPECT_TRUE(env.messages.Saw("Truncated line!"));
}

TEST_F(RtfExport, ClipboardTextHasNoDocumentInformation) {
  TAEHoggetto* link = set->NewLink("http://example.org/").release();
  std::unique_ptr<TAEHoggetto> owned(link);
  rtf.WorkingLink = [link](std::int32_t n) { return n == 0 ? link : nullptr; };
  std::string out;
  rtf.ConvertText("<Z S0 ><Y y1 >bold<Y > <$6f000000>link<%>", out);
  ASSERT_FALSE(out.empty());
  EXPECT_EQ(out.back(), '\0');
  EXPECT_EQ(out.find("\\info"), std::string::npos);
  EXPECT_EQ(out.find("bkmkstart"), std::string::npos);
  EXPECT_NE(out.find("\\i0\\b\\ul0\\strike0 bold"), std::string::npos);
  EXPECT_NE(out.find("{\\field{\\*\\fldinst HYPERLINK \"http://example.org/\"}{\\fldrslt "), std::string::npos);
}

// ---- The round trip ----

TEST_F(SmallHypertext, ReadBackGivesTheSameText) {
  const std::string text = Export({cover->Index(), second->Index()});
  ConvertFixture back;
  TAEHtortf reader;
  reader.SetLinkedAEHset(back.set.get());
  tarn::testing::WriteFile(back.env.Path("book.rtf"), text);
  ASSERT_EQ(reader.ImportFiles({back.env.Path("book.rtf")}, true), 1) << "the cover";
  const std::vector<std::string> pages = back.Pages();
  ASSERT_EQ(pages.size(), 3u) << "the header page, the cover and the second page";
  EXPECT_EQ(pages[0], "<Z S0 A2 >Running head");
  EXPECT_EQ(back.Title(1), "Cover of the {book}");
  EXPECT_EQ(back.StyleName(2), "Heading");
  EXPECT_EQ(back.StyleName(3), "Steps");
  EXPECT_EQ(pages[1],
            "<Z S2 >Cover of the {book}<Z S0 >Plain \xE9t\xE9 \\ <Y y1 >bold <Y c0000FF y2 >blue italic<Y > "
            "<Y p2 >up<Y > <$00000002>to the second<%>, <$01000000>to the web<%>, <$00000002>a popup<%>." + Tag(0x0B000000) +
            "<Z S3 >one<Z S3 >two<Z S0 ><$08000000><Z S1 >a<T><Z S1 >b<T><Z S1 >c<T><Z S1 >d<T>"
            "<Z S0 >Picture <$10000000> done.");
  EXPECT_EQ(pages[2], "<Z S0 >The second page.");
  const TAEHoggetto* table = back.set->GetObject(tabellaHtml, 0);
  EXPECT_EQ(table->U8(93), 2);
  EXPECT_EQ(table->U8(94), 2);
  EXPECT_EQ(back.set->GetObject(internetLink, 0)->GetCaption(), "http://example.org/");
  EXPECT_EQ(back.set->GetObject(immagineNew, 0)->I16(kPlacedWidth), 20);
  EXPECT_EQ(back.set->GetObject(shortObj, 0)->ReadContent().value_or(""), std::string("Ann\r\nCheck {this}") + '\0');
}

}  // namespace
}  // namespace tarn::convert
