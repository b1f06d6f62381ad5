// The HTML converter as a whole: a small site checked against golden files
// (style sheet, a page with styles, formats, links of every kind, keywords,
// a slide refresh, a header and footer page, a frameless version and a
// redirect file), output names, runs with their progress, the page marker,
// frame sets and failures.
#include "convert/aehtohtml.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "convert/golden.h"
#include "convert/htmlfixture.h"
#include "convert/htmlwords.h"
#include "document/links.h"

namespace tarn::convert {
namespace {

namespace fs = std::filesystem;
using namespace document;
using namespace document::field;
using testing::ExpectGolden;
using testing::ExtraBlock;
using testing::HtmlFixture;
using testing::Tag;

// The site of the golden files: four pages, three styles of its own, an
// image, an attached file and links of every kind.
class GoldenSite : public HtmlFixture, public ::testing::Test {
 protected:
  void SetUp() override {
    using namespace richtext::stylefield;
    set->SetTitle("Golden");
    set->SetHeaderString(header::kAuthors, 79, "A. Writer");
    set->SetHeaderString(header::kCopyright, 79, "(c) Writers");
    auto heading = set->NewObject(stileParagrafo);
    heading->SetName("Heading");
    heading->SetStr(kFace, kFaceCapacity, "Arial");
    heading->SetI16(kSize, 18);
    heading->SetI32(kColour, 0x800000);
    heading->SetU8(kStyleBits, 1);
    heading->SetU8(kAlignment, 2);
    heading->SetU8(kUnit, 3);
    heading->SetI16(kLineHeight, 30);
    heading->SetI16(kSpaceAfter, 12);
    set->Register(std::move(heading));
    auto numbered = set->NewObject(stileParagrafo);
    numbered->SetName("Steps */ {}");
    numbered->SetU8(kListKind, 6);
    numbered->SetI16(kLeftMargin, 40);
    numbered->SetI16(kIndent, -20);
    numbered->SetI32(kLinkColour, 0x008000);
    numbered->SetI16(kLinkSize, 14);
    numbered->SetU8(kLinkStyle, 5);
    set->Register(std::move(numbered));
    auto bullets = set->NewObject(stileParagrafo);
    bullets->SetName("Bullets");
    bullets->SetU8(kListKind, 10);
    bullets->SetU8(kStyleBits, 2 | 8);
    bullets->SetU8(kLinkStyle, 8);
    bullets->SetU8(kUnit, 0);
    set->Register(std::move(bullets));

    tarn::testing::WriteFile(env.Path("logo.gif"), tarn::testing::SmallGif());
    TAEHoggetto* image = set->AddImageData(env.Path("logo.gif"), false, 3, 4);
    tarn::testing::WriteFile(env.Path("report.pdf"), "%PDF-1.4 not really\n");
    TAEHoggetto* report = set->AddEmbeddedFile(env.Path("report.pdf"));
    ASSERT_NE(image, nullptr);
    ASSERT_NE(report, nullptr);
    TAEHoggetto* alpha = Object(keyword, 0);
    alpha->SetName("tarn");
    TAEHoggetto* beta = Object(keyword, 0);
    beta->SetName("export");

    TAEHoggetto* cover = Page("Welcome <home>", "<Z S0 >");
    TAEHoggetto* second = Page("Second", "<Z S0 >Body of the second page.");
    TAEHoggetto* top = Page("Header", "<Z S0 A2 >Header text");
    TAEHoggetto* bottom = Page("Footer", "<Z S0 >Footer text");
    set->SetHeaderI32(header::kCoverPage, cover->Index());
    set->SetHeaderI32(header::kHeaderPage, top->Index());
    second->SetI32(kPageHeaderChoice, -1);
    second->SetI32(kPageFooterChoice, bottom->GetId());
    second->SetI32(kPageBgImage, image->Index());
    second->SetI32(kPageBgColour, 0xF0FFFF);
    cover->SetI32(kPageHeaderChoice, -2);

    TAEHoggetto* web = set->Register(set->NewLink("http://example.org/a?b=1&c=2"));
    TAEHoggetto* mail = set->Register(set->NewLink("mailto:jo@example.org"));
    TAEHoggetto* self = Special(1, second->GetId(), kReplaceWindow, 3);
    TAEHoggetto* frame = Special(1, second->GetId(), kReplaceFrame, -1, "main frame");
    TAEHoggetto* popup = Special(1, second->GetId(), kPopupWindow, -1, "pop's");
    popup->SetU8(kSpecialTargetKind, 0);
    std::string window(kWindowDescriptionSize, '\0');
    const std::int16_t words[] = {10, 20, 300, 200, -20000, 0};
    for (int i = 0; i < 6; ++i) {
      window[static_cast<std::size_t>(2 * i)] = static_cast<char>(words[i] & 0xFF);
      window[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>((words[i] >> 8) & 0xFF);
    }
    for (std::size_t at : {13u, 16u, 18u, 19u}) window[at] = 1;
    popup->SetContent(window);
    TAEHoggetto* browser = Special(1, second->GetId(), kNewBrowser, 2);
    TAEHoggetto* jump = Special(1, report->GetId(), kJumpTo);
    jump->SetExtra(ExtraBlock("onMouseOver=\"window.status='!RefL:" + Hex8(image->GetId()) + "'\""));
    TAEHoggetto* inPage = Special(1, -1, kAnchorInPage, 1);
    TAEHoggetto* closer = Special(2, -1, 0, -1, "help");
    TAEHoggetto* previous = Special(4);
    TAEHoggetto* next = Special(5);
    cover->SetI16(kPageBrowseGroup, 1);
    cover->SetI16(kPageBrowseNumber, 1);
    second->SetI16(kPageBrowseGroup, 1);
    second->SetI16(kPageBrowseNumber, 2);

    const std::string markup =
        "<Z S2 >Welcome  to   the site<Z S0 A3 M1 t10 b5 >Plain text &amp; entities &copy; \xAF \xFC\xE9 <1> "
        "<Y s40 y1 >huge bold<Y >plain again <Y c008000 F\"Courier New\" s10 y2 >green code<Y p2 >up<Y p1 >"
        "down<Y >done."
        "<Z S0 >Links: " + Tag(second->GetId()) + "page<%>, " + Tag(web->GetId()) + "web<%>, " +
        Tag(mail->GetId()) + "mail<%>, " + Tag(report->GetId()) + "file<%>, " + Tag(self->GetId()) + "self<%>, " +
        Tag(frame->GetId()) + "frame<%>, " + Tag(popup->GetId()) + "popup<%>, " + Tag(browser->GetId()) +
        "browser<%>, " + Tag(jump->GetId()) + "jump<%>, " + Tag(inPage->GetId()) + "anchor<%>, " +
        Tag(closer->GetId()) + "close<%>, " + Tag(previous->GetId()) + "previous<%>, " + Tag(next->GetId()) +
        "next<%>."
        "<Z S0 >" + Tag(self->GetId()) + "linked " + Tag(Anchor(1)->GetId()) + "text<%> then " +
        Tag(Anchor(2)->GetId()) + "after."
        "<Z S3 >first step<Z S3 C0000FF S-1 Y1 >second " + Tag(second->GetId()) + "step<%><Z S4 >a bullet"
        "<Z S0 y4 >underlined<Y y8 >struck<Y >";
    cover->SetContent(markup + std::string(1, '\0'));
    AddKeyword(*cover, alpha->Index());
    AddKeyword(*cover, beta->Index());
    cover->SetI32(kPageSlideTarget, second->GetId());
    cover->SetI16(kPageSlideDelay, 10);
    cover->SetStr(kPageHtmlName, kPageHtmlNameCapacity, "welcome.html");
    cover->SetExtra(ExtraBlock("<META NAME=\"logo\" CONTENT=\"!RefI:" + Hex8(image->GetId()) + "\">\r\n",
                               std::string("\x05\0\0\0", 4) + "Start"));
    for (TAEHoggetto* page : {second, top, bottom}) page->SetStr(kPageHtmlName, kPageHtmlNameCapacity, "");

    ASSERT_TRUE(set->SaveToFile(env.Path("site.aeh")));
    ASSERT_TRUE(set->LoadFromFile(env.Path("site.aeh")));
  }

  static std::string Hex8(ObjectId id) { return Tag(id).substr(2, 8); }
};

TEST_F(GoldenSite, WritesTheSiteAsTheGoldenFiles) {
  html.SetExportPrefixOverride(set->ExpPrefix());
  std::vector<int> pages;
  for (int i = 0; i < set->CountOf(testoHtml); ++i) pages.push_back(i);
  ASSERT_TRUE(html.ExportSite(pages)) << html.ErrorText();
  ExpectGolden("site_style.css", Written("site_style.css"));
  ExpectGolden("site_index.html", Written("site_index.html"));
  ExpectGolden("site_000001.html", Written("site_000001.html"));
  ExpectGolden("site-000001.html", Written("site-000001.html"));
  ExpectGolden("welcome.html", Written("welcome.html"));
  // The image and the file are copied byte for byte under their export names.
  EXPECT_EQ(Read("site_i000000.gif"), tarn::testing::SmallGif());
  EXPECT_EQ(Read("site_g000000.pdf"), "%PDF-1.4 not really\n");
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(env.Path("out"))) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  const std::vector<std::string> expected = {"site-000001.html", "site_000001.html", "site_000002.html",
                                             "site_000003.html", "site_g000000.pdf", "site_i000000.gif",
                                             "site_index.html",  "site_style.css",   "welcome.html"};
  EXPECT_EQ(names, expected);
}

TEST_F(GoldenSite, EveryLineEndsWithCarriageReturnAndLineFeed) {
  ASSERT_TRUE(html.ExportPageList({0, 1}));
  for (const std::string name : {"site_index.html", "site_000001.html", "site_style.css"}) {
    const std::string text = Read(name);
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) {
      ASSERT_TRUE(at > 0 && text[at - 1] == '\r') << name << " at " << at;
    }
  }
}

// ---- Names ----

TEST(OutputNames, PagesImagesFilesAndLinks) {
  HtmlFixture f;
  TAEHoggetto* cover = f.Page("Cover", "<Z S0 >");
  for (int i = 1; i < 26; ++i) f.Page("Page", "<Z S0 >");
  TAEHoggetto* page26 = f.Page("Page 26", "<Z S0 >");
  f.set->SetHeaderI32(header::kCoverPage, cover->Index());
  TAEHoggetto* image = f.Object(immagine, 0);
  image->SetStr(kImageFileName, 75, "dir\\Logo.GIF");
  TAEHoggetto* java = f.Object(genLink, 4);
  java->SetStr(kEmbeddedFileName, 79, "Applet.class");
  TAEHoggetto* movie = f.Object(genLink, 4);
  movie->SetStr(kEmbeddedFileName, 79, "clip.MOV");
  TAEHoggetto* text = f.Object(genLink, 4);
  text->SetStr(kEmbeddedFileName, 79, "notes.txt");
  auto placed = f.set->AddImmagineNew(image);
  TAEHoggetto* shown = f.set->Register(std::move(placed));
  TAEHoggetto* web = f.set->Register(f.set->NewLink("http://example.org/"));
  TAEHoggetto* keywordRecord = f.Object(keyword, 0);

  struct Case {
    const TAEHoggetto* record;
    int kind;
    int ext;
    bool sep;
    bool orig;
    std::string name;
  };
  const Case cases[] = {
      {cover, kMainName, 1, false, false, "site_index.html"},
      {cover, kFramelessName, 1, false, false, "site-index.html"},
      {page26, kMainName, 0, false, false, "site_00001a.htm"},
      {page26, kFramelessName, 0, false, false, "site-00001a.htm"},
      {page26, kFileObjectName, 0, false, false, "site=00001a.htm"},
      {image, kMainName, 1, false, false, "site_i000000.GIF"},
      {image, kMainName, 1, true, false, "images/site_i000000.GIF"},
      {image, kMainName, 1, true, true, "images/Logo.GIF"},
      {shown, kMainName, 1, false, true, "Logo.GIF"},
      {java, kMainName, 1, false, false, "Applet.class"},
      {movie, kMainName, 1, true, false, "images/clip.MOV"},
      {text, kMainName, 1, false, false, "site_g000002.txt"},
      {text, kFileObjectName, 1, false, true, "notes.txt"},
      {web, kMainName, 1, false, false, "http://example.org/"},
      {keywordRecord, kMainName, 1, false, false, ""},
  };
  for (const Case& c : cases) {
    f.html.ExpTipoExt = c.ext;
    f.html.ExpSepImage = c.sep;
    f.html.ExpOrigName = c.orig;
    EXPECT_EQ(f.html.OutputFileName(*c.record, c.kind), c.name) << c.name;
  }
  f.html.SetExportPrefixOverride("other");
  EXPECT_EQ(f.html.OutputFileName(*page26, kMainName), "other_00001a.html");
  EXPECT_EQ(f.html.StyleSheetName(), "other_style.css");
}

TEST(OutputNames, LinksIntoOtherHypertexts) {
  HtmlFixture f;
  {
    TAEHset other(f.env.Services());
    other.SetExpPrefix("lib");
    for (int i = 0; i < 3; ++i) other.Register(other.NewObject(testoHtml));
    other.SetHeaderI32(header::kCoverPage, 1);
    other.SetBackup(false);
    fs::create_directories(f.env.Path("sub"));
    ASSERT_TRUE(other.SaveToFile(f.env.Path("sub") / "lib.aeh"));
  }
  ASSERT_TRUE(f.set->SaveToFile(f.env.Path("book.aeh")));
  ASSERT_TRUE(f.set->LoadFromFile(f.env.Path("book.aeh")));
  f.Page("Cover", "<Z S0 >");
  TAEHoggetto* own = f.Page("Own", "<Z S0 >");
  auto link = [&](const std::string& url) { return f.set->Register(f.set->NewLink(url)); };
  const std::string dir = f.env.Dir().string();
  struct Case {
    std::string url;
    std::string name;
  };
  const Case cases[] = {
      {"tarn://sub\\lib.aeh|2", "sub/lib_000002.html"},
      {"tarn://sub\\lib.aeh|1", "sub/lib_index.html"},
      {"tarn://" + dir + "/sub/lib.aeh|0", "sub/lib_000000.html"},
      {"tarn://sub\\missing.aeh|2", "sub/"},
      {"tarn://sub\\lib.aeh|", "sub/"},
      {"tarn://book.aeh|" + std::to_string(own->Index()), "site_" + Hex6(own->Index()) + ".html"},
  };
  for (const Case& c : cases) EXPECT_EQ(f.html.OutputFileName(*link(c.url), kMainName), c.name) << c.url;
}

// ---- The page marker ----

TEST(PageMarker, RecognisesExportedPages) {
  tarn::testing::TestEnv env;
  struct Case {
    std::string text;
    bool found;
    int page;
    std::string hypertext;
  };
  std::string late;
  for (int i = 0; i < 100; ++i) late += "<P>\r\n";
  const Case cases[] = {
      {"<!--pageTarn=\"12;C:\\work\\book.AEH\"-->\r\n", true, 12, "C:\\work\\book.AEH"},
      {"<HTML><!--pageTarn=\"3;/home/a/b.aeh\"-->\r\n", true, 0, "/home/a/b.aeh"},
      {"<!--pageTarn=\"7;C:\\work\\notes.txt\"-->\r\n", true, 7, ""},
      {"<!--pageTarn=\"x;C:\\work\\book.aeh\"-->\r\n", true, 0, "C:\\work\\book.aeh"},
      {"<HTML><BODY>no marker</BODY></HTML>\r\n", false, 0, ""},
      {late + "<!--pageTarn=\"5;b.aeh\"-->\r\n", false, 0, ""},
  };
  for (const Case& c : cases) {
    tarn::testing::WriteFile(env.Path("page.html"), c.text);
    const PageMarker m = TAEHtoHtml::ReadPageMarker(env.Path("page.html"));
    EXPECT_EQ(m.found, c.found) << c.text.substr(0, 40);
    EXPECT_EQ(m.page, c.page) << c.text.substr(0, 40);
    EXPECT_EQ(m.hypertext, c.hypertext) << c.text.substr(0, 40);
  }
  EXPECT_FALSE(TAEHtoHtml::ReadPageMarker(env.Path("missing.html")).found);
}

TEST(PageMarker, ReadsBackWhatTheExportWrote) {
  HtmlFixture f;
  f.Page("One", "<Z S0 >");
  f.Page("Two", "<Z S0 >");
  ASSERT_TRUE(f.set->SaveToFile(f.env.Path("book.aeh")));
  ASSERT_TRUE(f.set->LoadFromFile(f.env.Path("book.aeh")));
  const TAEHoggetto* two = f.set->GetObject(testoHtml, 1);  // the records read back
  ASSERT_TRUE(f.html.ExportPageList({1}));
  const PageMarker m = TAEHtoHtml::ReadPageMarker(f.env.Path("out") / f.html.OutputFileName(*two, kMainName));
  EXPECT_TRUE(m.found);
  EXPECT_EQ(m.page, 1);
  EXPECT_EQ(m.hypertext, f.env.Path("book.aeh").string());
}

// A hypertext opened through a relative name still names itself by its
// full path in exported pages, and links into another hypertext named by a
// full path are written relative to its folder.
TEST(PageMarker, AHypertextOpenedByARelativeNameWritesItsFullName) {
  HtmlFixture f;
  {
    TAEHset other(f.env.Services());
    other.SetExpPrefix("lib");
    for (int i = 0; i < 3; ++i) other.Register(other.NewObject(testoHtml));
    ASSERT_TRUE(other.SaveToFile(f.env.Path("sub") / "lib.aeh"));
  }
  f.Page("One", "<Z S0 >");
  ASSERT_TRUE(f.set->SaveToFile(f.env.Path("book.aeh")));
  const fs::path cwd = fs::current_path();
  fs::current_path(f.env.Dir().parent_path());
  const bool loaded = f.set->LoadFromFile(f.env.Dir().filename() / "book.aeh");
  fs::current_path(cwd);
  ASSERT_TRUE(loaded);
  TAEHoggetto* link = f.set->Register(f.set->NewLink("tarn://" + f.env.Path("sub").string() + "/lib.aeh|2"));
  EXPECT_EQ(f.html.OutputFileName(*link, kMainName), "sub/lib_000002.html");
  ASSERT_TRUE(f.html.ExportPageList({0}));
  const std::string page = f.Read(f.html.OutputFileName(*f.set->GetObject(testoHtml, 0), kMainName));
  EXPECT_NE(page.find("<!--pageTarn=\"0;" + f.env.Path("book.aeh").string() + "\"-->"), std::string::npos);
}

// ---- Runs ----

class RecordingProgress : public ExportProgress {
 public:
  void OnExpProgress(const TAEHconv& /*sender*/, int item, int total, int phase) override {
    calls.push_back(std::to_string(phase) + ":" + std::to_string(item) + "/" + std::to_string(total));
  }
  void ProcessPendingEvents() override { ++pending; }
  std::vector<std::string> calls;
  int pending = 0;
};

TEST(Runs, PhasesInOrderWithTheirProgress) {
  HtmlFixture f;
  TAEHoggetto* a = f.Page("A", "<Z S0 >");
  TAEHoggetto* b = f.Page("B", "<Z S0 >");
  tarn::testing::WriteFile(f.env.Path("pic.gif"), tarn::testing::SmallGif());
  TAEHoggetto* image = f.set->AddImageData(f.env.Path("pic.gif"), false, 3, 4);
  b->SetI32(kPageBgImage, image->Index());
  // A opens B in a popup: B's frameless version is written in phase 2.
  TAEHoggetto* popup = f.Special(1, b->GetId(), kPopupWindow, -1, "w");
  popup->SetU8(kSpecialTargetKind, 0);
  a->SetContent("<Z S0 >" + Tag(popup->GetId()) + "open<%>" + std::string(1, '\0'));
  f.Page("Free", "<Z S0 >")->Clear();
  RecordingProgress progress;
  f.html.OnExpProgress = &progress;
  ASSERT_TRUE(f.html.ExportPageList({1, 0, 2, 9})) << f.html.ErrorText();
  const std::vector<std::string> expected = {"1:0/4", "1:1/4", "2:0/1", "3:0/1"};
  EXPECT_EQ(progress.calls, expected);
  EXPECT_EQ(progress.pending, 4);
  EXPECT_TRUE(fs::exists(f.env.Path("out") / "site-000001.html"));
  EXPECT_TRUE(fs::exists(f.env.Path("out") / "site_i000000.gif"));
  EXPECT_FALSE(fs::exists(f.env.Path("out") / "site_000002.html"));
  (void)a;
}

TEST(Runs, SinglePageAndAllPagesLeaveTheFilesToTheCaller) {
  HtmlFixture f;
  TAEHoggetto* a = f.Page("A", "<Z S0 >");
  TAEHoggetto* b = f.Page("B", "<Z S0 >");
  TAEHoggetto* popup = f.Special(1, b->GetId(), kIndependentWindow, -1, "w");
  popup->SetU8(kSpecialTargetKind, 0);
  tarn::testing::WriteFile(f.env.Path("pic.gif"), tarn::testing::SmallGif());
  TAEHoggetto* image = f.set->AddImageData(f.env.Path("pic.gif"), false, 3, 4);
  a->SetI32(kPageBgImage, image->Index());
  a->SetContent("<Z S0 >" + Tag(popup->GetId()) + "open<%>" + std::string(1, '\0'));
  RecordingProgress progress;
  f.html.OnExpProgress = &progress;
  RecordList files;
  RecordList exported;
  ASSERT_TRUE(f.html.ExportSinglePage(0, files, exported));
  EXPECT_EQ(progress.calls.front(), "1:1/1");
  ASSERT_EQ(exported.Size(), 2u);
  EXPECT_EQ(exported[0], a);
  EXPECT_EQ(exported[1], b);
  ASSERT_EQ(files.Size(), 1u);
  EXPECT_FALSE(fs::exists(f.env.Path("out") / "site_i000000.gif"));
  ASSERT_TRUE(f.html.CopyFiles(files));
  EXPECT_TRUE(fs::exists(f.env.Path("out") / "site_i000000.gif"));

  RecordList all;
  fs::remove_all(f.env.Path("out"));
  ASSERT_TRUE(f.html.ExportAllPages(all));
  EXPECT_EQ(all.Size(), 1u);
  for (const std::string name : {"site_index.html", "site_000001.html", "site-000001.html", "site_style.css"}) {
    EXPECT_TRUE(fs::exists(f.env.Path("out") / name)) << name;
  }
}

// A page whose background picture goes to the images folder under its own
// name.
void PageWithBackgroundPicture(HtmlFixture& f) {
  TAEHoggetto* page = f.Page("A", "<Z S0 >");
  tarn::testing::WriteFile(f.env.Path("pic.gif"), tarn::testing::SmallGif());
  page->SetI32(kPageBgImage, f.set->AddImageData(f.env.Path("pic.gif"), false, 3, 4)->Index());
  f.html.ExpSepImage = true;
  f.html.ExpOrigName = true;
}

TEST(Runs, ImagesFolderIsMadeWhenTheFirstFileIsCopied) {
  HtmlFixture f;
  PageWithBackgroundPicture(f);
  ASSERT_TRUE(f.html.ExportPageList({0}));
  EXPECT_EQ(f.Read("images/pic.gif"), tarn::testing::SmallGif());
  EXPECT_NE(f.Read("site_index.html").find("BACKGROUND=\"images/pic.gif\""), std::string::npos);
}

// Links already in the output folder, to a file or to a folder elsewhere,
// are replaced: nothing is written through them.
TEST(Runs, LinksInTheOutputFolderAreReplacedNotFollowed) {
  HtmlFixture f;
  PageWithBackgroundPicture(f);
  fs::create_directories(f.env.Path("out"));
  fs::create_directories(f.env.Path("outside"));
  tarn::testing::WriteFile(f.env.Path("outside") / "victim.html", "keep");
  fs::create_symlink(f.env.Path("outside") / "victim.html", f.env.Path("out") / "site_index.html");
  fs::create_symlink(f.env.Path("outside"), f.env.Path("out") / "images");
  ASSERT_TRUE(f.html.ExportPageList({0})) << f.html.ErrorText();
  EXPECT_EQ(tarn::testing::ReadFile(f.env.Path("outside") / "victim.html"), "keep");
  EXPECT_FALSE(fs::exists(f.env.Path("outside") / "pic.gif"));
  EXPECT_FALSE(fs::is_symlink(f.env.Path("out") / "site_index.html"));
  EXPECT_FALSE(fs::is_symlink(f.env.Path("out") / "images"));
  EXPECT_EQ(f.Read("images/pic.gif"), tarn::testing::SmallGif());
  EXPECT_NE(f.Read("site_index.html").find("BACKGROUND=\"images/pic.gif\""), std::string::npos);
}

TEST(Runs, RedirectOnlyForPagesWithAnAdditionalName) {
  HtmlFixture f;
  TAEHoggetto* named = f.Page("Named", "<Z S0 >");
  named->SetStr(kPageHtmlName, kPageHtmlNameCapacity, "..\\..\\escape.htm");
  TAEHoggetto* unnamed = f.Page("Unnamed", "<Z S0 >");
  f.html.ExportPath = f.env.Path("deep") / "out";
  ASSERT_TRUE(f.html.ExportSite({0, 1}));
  // Only the last part of a name with folders is used: nothing is written
  // outside the export folder.
  EXPECT_TRUE(fs::exists(f.env.Path("deep") / "out" / "escape.htm"));
  EXPECT_FALSE(fs::exists(f.env.Dir() / "escape.htm"));
  EXPECT_EQ(f.html.WriteRedirectPage(*unnamed, f.env.Path("deep")), "");
  // A page made by the program has an empty additional name.
  EXPECT_EQ(unnamed->U8(kPageHtmlName), 0);
  EXPECT_EQ(std::distance(fs::directory_iterator(f.env.Path("deep") / "out"), fs::directory_iterator{}), 4);
}

TEST(Runs, FailuresEndTheRunAndKeepWhatWasWritten) {
  HtmlFixture f;
  f.Page("A", "<Z S0 >");
  f.Page("B", "<Z S0 >");
  tarn::testing::WriteFile(f.env.Path("blocked"), "a file where the folder should be");
  f.html.ExportPath = f.env.Path("blocked") / "out";
  EXPECT_FALSE(f.html.ExportPageList({0, 1}));
  EXPECT_NE(f.html.ErrorText().find("Error creating directory"), std::string::npos) << f.html.ErrorText();

  f.html.ExportPath = f.env.Path("out");
  fs::create_directories(f.env.Path("out") / "site_000001.html");  // a folder in the second page's place
  EXPECT_FALSE(f.html.ExportPageList({0, 1}));
  EXPECT_NE(f.html.ErrorText().find("site_000001.html"), std::string::npos) << f.html.ErrorText();
  EXPECT_TRUE(fs::exists(f.env.Path("out") / "site_index.html"));

  // A prefix that climbs out of the export folder is refused.
  f.html.SetExportPrefixOverride("../x");
  EXPECT_FALSE(f.html.ExportPageList({0}));
  EXPECT_FALSE(fs::exists(f.env.Dir() / "x_style.css"));
  EXPECT_NE(f.html.ErrorText().find("outside the export folder"), std::string::npos) << f.html.ErrorText();
}

// ---- Objects in the text ----

// A converter whose object step shows a placed image with a roll-over, as
// the object conversions will: the page's head gets the scripts, the body
// the preload block.
class RollOverConverter : public TAEHtoHtml {
 protected:
  void WriteEmbeddedObject(HtmlText& text, TAEHoggetto& record) override {
    if (record.Kind() != immagineNew) return TAEHtoHtml::WriteEmbeddedObject(text, record);
    TAEHoggetto* image = record.Owner()->GetObject(immagine, record.I32(kPlacedImage));
    RollOverList().Add(image);
    SetScriptFlags(kBrowserDetection | kRollOverSupport);
    AddToFileList(image);
    text.out += "<IMG>";
  }
};

TEST(Objects, ConversionsPlugIntoTheTextWalk) {
  HtmlFixture f;
  tarn::testing::WriteFile(f.env.Path("pic.gif"), tarn::testing::SmallGif());
  TAEHoggetto* image = f.set->AddImageData(f.env.Path("pic.gif"), false, 3, 4);
  TAEHoggetto* placed = f.set->Register(f.set->AddImmagineNew(image));
  TAEHoggetto* page = f.Page("Pictures", "<Z S0 >see " + Tag(placed->GetId()) + " here");
  RollOverConverter html;
  html.SetLinkedAEHset(f.set.get());
  std::string out;
  RecordList files;
  html.ExportPage(*page, out, nullptr, files, kMainName);
  EXPECT_NE(out.find("<SCRIPT>\r\n<!--//\r\n\r\nTarnC_bname = navigator.appName;"), std::string::npos) << out;
  EXPECT_NE(out.find("function TarnF_over(img,ref)"), std::string::npos);
  EXPECT_NE(out.find("see <IMG>&nbsp;here"), std::string::npos);  // the object does not break the blanks
  EXPECT_TRUE(out.ends_with("&nbsp;</DIV>\r\n\r\n<SCRIPT>\r\n<!--//\r\n  if (TarnC_SensOk == 'true')\r\n  {"
                            "\r\n  TarnP_0= new Image();\r\n  TarnP_0.src=\"site_i000000.gif\";\r\n  }\r\n//-->\r\n"
                            "</SCRIPT>\r\n\r\n</BODY></HTML>\r\n"))
      << out;
  ASSERT_EQ(files.Size(), 1u);
  EXPECT_EQ(files[0], image);
  // The converter itself writes the picture, and a picture without a
  // roll-over needs no script.
  std::string plain;
  f.html.ExportPage(*page, plain, nullptr, files, kMainName);
  EXPECT_NE(plain.find("see <IMG SRC=\"site_i000000.gif\" BORDER=0 ALIGN=MIDDLE ALT="), std::string::npos) << plain;
  EXPECT_NE(plain.find(" WIDTH=4 HEIGHT=3  >&nbsp;here"), std::string::npos) << plain;
  EXPECT_EQ(plain.find("<SCRIPT>"), std::string::npos);
}

// ---- Frame sets ----

TEST(FrameSets, DocumentAheadOfTheBodyAndAFramelessVersion) {
  HtmlFixture f;
  TAEHoggetto* page = f.Page("Framed", "<Z S0 >Text");
  TAEHoggetto* map = f.Object(mappaFrame, 2);
  page->SetI32(kPageFrameMap, map->Index());
  f.html.FrameSetWriter = [](TAEHtoHtml&, const TAEHoggetto&, const TAEHoggetto&, std::string& out, RecordList*) {
    out += "<FRAMESET ROWS=20%,* BORDER=3 FRAMESPACING=3 >\r\n</FRAMESET>\r\n";
    return true;
  };
  std::string main;
  std::string frameless;
  RecordList files;
  f.html.ExportPage(*page, main, nullptr, files, kMainName);
  f.html.ExportPage(*page, frameless, nullptr, files, kFramelessName);
  EXPECT_NE(main.find("</HEAD>\r\n<FRAMESET ROWS=20%,* BORDER=3 FRAMESPACING=3 >\r\n</FRAMESET>\r\n\r\n<NOFRAMES>\r\n<BODY"),
            std::string::npos)
      << main;
  EXPECT_TRUE(main.ends_with("</DIV>\r\n</NOFRAMES>\r\n</BODY></HTML>\r\n")) << main;
  EXPECT_EQ(frameless.find("FRAMESET"), std::string::npos);
  EXPECT_TRUE(frameless.ends_with("</DIV>\r\n\r\n</BODY></HTML>\r\n")) << frameless;
}

}  // namespace
}  // namespace tarn::convert
