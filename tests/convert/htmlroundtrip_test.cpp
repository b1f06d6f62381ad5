// A hypertext exported as a site and the site imported again: the same
// paragraphs with the same styles, the same style sheet, links that lead to
// the same pages. And the link crawler over a small folder of pages with a
// loop, a missing file and a link out of the folder.
#include <gtest/gtest.h>

#include "convert/aehtohtml.h"
#include "convert/htmlfixture.h"
#include "convert/htmlimportfixture.h"
#include "document/recordfields.h"
#include "richtext/styles.h"

namespace tarn::convert {
namespace {

namespace fs = std::filesystem;
using namespace document;
using namespace document::field;
namespace sf = richtext::stylefield;

// The paragraphs of a page as (style name, text): tags left out, escapes
// read back.
std::vector<std::pair<std::string, std::string>> Paragraphs(const TAEHset& set, const std::string& markup) {
  std::vector<std::pair<std::string, std::string>> out;
  for (std::size_t i = 0; i < markup.size() && markup[i] != '\0'; ++i) {
    if (markup.compare(i, 4, "<Z S") == 0) {
      const int style = std::atoi(markup.c_str() + i + 4);
      out.emplace_back(set.GetObject(stileParagrafo, style)->GetCaption(), "");
    }
    if (markup[i] == '<') {
      i = markup.find('>', i);
      continue;
    }
    if (out.empty()) continue;
    if (markup.compare(i, 5, "&amp;") == 0) {
      out.back().second += '&';
      i += 4;
    } else if (markup.compare(i, 4, "&lt;") == 0 || markup.compare(i, 4, "&gt;") == 0) {
      out.back().second += markup[i + 1] == 'l' ? '<' : '>';
      i += 3;
    } else {
      out.back().second += markup[i];
    }
  }
  return out;
}

TEST(HtmlRoundTrip, ExportedSiteReadsBackWithItsStylesAndLinks) {
  testing::HtmlFixture source;
  {
    auto heading = source.set->NewObject(stileParagrafo);
    heading->SetName("Heading");
    heading->SetStr(sf::kFace, sf::kFaceCapacity, "Arial");
    heading->SetI16(sf::kSize, 18);
    heading->SetI32(sf::kColour, 0x800000);
    heading->SetU8(sf::kStyleBits, 1);
    heading->SetU8(sf::kAlignment, 2);
    heading->SetI16(sf::kSpaceAfter, 12);
    heading->SetI32(sf::kLinkColour, 0x008000);
    heading->SetU8(sf::kLinkStyle, 1 | 4);
    source.set->Register(std::move(heading));
    auto list = source.set->NewObject(stileParagrafo);
    list->SetName("Items");
    list->SetU8(sf::kListKind, 10);
    list->SetU8(sf::kUnit, 3);
    list->SetI16(sf::kLeftMargin, 40);
    list->SetI16(sf::kIndent, -16);
    list->SetI16(sf::kLineHeight, 24);
    source.set->Register(std::move(list));
  }
  tarn::testing::WriteFile(source.env.Path("logo.gif"), tarn::testing::SmallGif());
  TAEHoggetto* image = source.set->AddImageData(source.env.Path("logo.gif"), false, 3, 4);
  TAEHoggetto* placed = source.set->Register(source.set->AddImmagineNew(image));
  auto tableRecord = source.set->NewObject(tabellaHtml);
  tableRecord->SetU8(kTableRows, 1);
  tableRecord->SetU8(kTableColumns, 2);
  TAEHoggetto* table = source.set->Register(std::move(tableRecord));
  TAEHoggetto* web = source.set->Register(source.set->NewLink("http://example.org/"));
  TAEHoggetto* first = source.Page("First", "");
  TAEHoggetto* second = source.Page("Second & last", "");
  // Anchors: one in each page, a link to the second page's anchor and one
  // to the first page's own.
  TAEHoggetto* firstAnchor = source.Anchor(2);
  TAEHoggetto* secondAnchor = source.Anchor(5);
  TAEHoggetto* toAnchor = source.Special(1, second->GetId(), 0, 5);  // the page's main file
  TAEHoggetto* inPage = source.Special(1, -1, 6, 2);
  second->SetContent("<Z S2 >Back to <$00000000>the first page<%>.<Z S0 >" + testing::Tag(secondAnchor->GetId()) +
                     "Anchored." + std::string(1, '\0'));
  const std::string firstMarkup =
      "<Z S2 >The title<Z S0 >Plain, <Y y1 >bold<Y > and <Y c0000FF s14 >big red<Y > text, two  blanks, "
      "a &lt;tag&gt; &amp; \xE9t\xE9.<Z S3 >first item<Z S3 >second " + testing::Tag(second->GetId()) +
      "item leads on<%><Z S0 A2 >Centred with " + testing::Tag(web->GetId()) + "a web link<%> " +
      testing::Tag(placed->GetId()) + " and a table:" + testing::Tag(table->GetId()) +
      "<Z S1 >left cell<T><Z S1 >right cell<T><Z S0 >" + testing::Tag(firstAnchor->GetId()) + "See " +
      testing::Tag(toAnchor->GetId()) + "the anchor<%> and " + testing::Tag(inPage->GetId()) + "this one<%>.";
  first->SetContent(firstMarkup + std::string(1, '\0'));
  source.set->SetHeaderI32(header::kCoverPage, first->Index());
  ASSERT_TRUE(source.html.ExportPageList({0, 1}));

  testing::ImportFixture target;
  const fs::path out = source.env.Path("out");
  target.html.ImportFiles({out / "site_index.html", out / "site_000001.html"}, false);
  ASSERT_EQ(target.html.ImportReport().pages, 2);

  // The same paragraphs in the same styles. The objects themselves are not
  // in the exported pages yet; the table's cells are, as paragraphs.
  for (int page = 0; page < 2; ++page) {
    const TAEHoggetto* original = source.set->GetObject(testoHtml, page);
    const TAEHoggetto* imported = target.set->GetObject(testoHtml, page);
    EXPECT_EQ(imported->GetCaption(), original->GetCaption());
    EXPECT_EQ(Paragraphs(*target.set, target.Markup(page)),
              Paragraphs(*source.set, original->ReadContent().value_or("")));
  }
  // The styles come back: the imported hypertext writes the same sheet.
  EXPECT_EQ(target.set->CountOf(stileParagrafo), source.set->CountOf(stileParagrafo));
  target.html.ExportPath = target.env.Path("again");
  target.html.SetExportPrefixOverride("site");
  ASSERT_TRUE(target.html.WriteStyleSheet());
  EXPECT_EQ(tarn::testing::ReadFile(target.env.Path("again") / "site_style.css"),
            tarn::testing::ReadFile(out / "site_style.css"));
  // Links between the pages lead to the same pages; the web link stays one.
  EXPECT_EQ(target.ObjectsOfPage(1).front(), MakeObjectId(testoHtml, 0));
  bool webLink = false;
  for (ObjectId id : target.ObjectsOfPage(0)) {
    webLink = webLink || target.set->GetObjectById(id)->GetCaption() == "http://example.org/";
  }
  EXPECT_TRUE(webLink);
  // The anchors keep their numbers, and the links to them lead to them.
  std::vector<std::string> anchors;
  for (int page = 0; page < 2; ++page) {
    for (ObjectId id : target.ObjectsOfPage(page)) {
      const TAEHoggetto* o = target.set->GetObjectById(id);
      if (o->Kind() == shortObj && o->Subtype() == kShortAnchor) {
        anchors.push_back("page " + std::to_string(page) + " anchor " + std::to_string(o->I32(kShortValue)));
      }
      if (o->Kind() == speclink && o->I32(kSpecialAnchor) >= 0) {
        anchors.push_back("page " + std::to_string(page) + " link to " + std::to_string(o->I32(kSpecialTarget)) +
                          " action " + std::to_string(o->U8(kSpecialAction)) + " anchor " +
                          std::to_string(o->I32(kSpecialAnchor)));
      }
    }
  }
  EXPECT_EQ(anchors, (std::vector<std::string>{"page 0 anchor 2", "page 0 link to 1 action 0 anchor 5",
                                               "page 0 link to -1 action 6 anchor 2", "page 1 anchor 5"}));
}

// ---- The crawler ----

class Crawler : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(env.Path("site/sub"));
    Write("site/start.html", "<a href='a.html'>a</a> <a href=\"sub/b.htm#top\">b</a> <img src='x.gif'>");
    Write("site/a.html", "<a href='start.html'>back</a> <a href='missing.html'>gone</a> <a href=notes.txt>n</a>");
    Write("site/notes.txt", "plain text");
    Write("site/sub/b.htm", "<base href='../'><a href='a.html'>a again</a> <a href='../outside.html'>out</a>"
                            "<frame src='sub/c.html'><a href='http://example.org/x.html'>web</a>");
    Write("site/sub/c.html", "<!-- <a href='commented.html'> --> end");
    Write("outside.html", "<a href='site/start.html'>in</a>");
  }
  void Write(const std::string& name, const std::string& text) { tarn::testing::WriteFile(env.Path(name), text); }
  std::vector<std::string> Names(const std::vector<fs::path>& files) const {
    std::vector<std::string> names;
    for (const fs::path& f : files) names.push_back(f.lexically_relative(env.Dir()).string());
    return names;
  }

  testing::ImportFixture fixture;
  tarn::testing::TestEnv& env = fixture.env;
};

TEST_F(Crawler, FollowsLinksLevelByLevelOnce) {
  const CrawlResult r = fixture.html.CollectLinkedFiles(env.Path("site/start.html"), CrawlLimits{});
  EXPECT_EQ(Names(r.files), (std::vector<std::string>{"site/start.html", "site/a.html", "site/sub/b.htm",
                                                      "site/notes.txt", "site/sub/c.html"}));
  EXPECT_EQ(Names(r.missing), (std::vector<std::string>{"site/missing.html"}));
  EXPECT_EQ(r.outside, 1);
}

TEST_F(Crawler, Limits) {
  CrawlLimits limits;
  limits.depth = 1;
  EXPECT_EQ(fixture.html.CollectLinkedFiles(env.Path("site/start.html"), limits).files.size(), 3u);
  limits = {};
  limits.maxPages = 2;
  const CrawlResult few = fixture.html.CollectLinkedFiles(env.Path("site/start.html"), limits);
  EXPECT_EQ(few.files.size(), 2u);
  EXPECT_GT(few.overLimit, 0);
  limits = {};
  limits.allowOutside = true;
  const CrawlResult all = fixture.html.CollectLinkedFiles(env.Path("site/start.html"), limits);
  EXPECT_EQ(all.files.size(), 6u);
  EXPECT_EQ(all.outside, 0);
}

TEST_F(Crawler, DepthInLevelsLeavesOutTheStartFile) {
  std::vector<fs::path> list;
  fixture.html.CollectLinkedFiles(env.Path("site/start.html"), list, 2);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"site/a.html", "site/sub/b.htm"}));
  list.clear();
  fixture.html.CollectLinkedFiles(env.Path("site/start.html"), list, 1);
  EXPECT_TRUE(list.empty());
}

TEST_F(Crawler, ImportedSetLinksItsPages) {
  const CrawlResult r = fixture.html.CollectLinkedFiles(env.Path("site/start.html"), CrawlLimits{});
  fixture.html.ImportFiles(r.files, false);
  EXPECT_EQ(fixture.html.ImportReport().pages, 5);
  // The start page's link to a.html leads to the page made from it.
  EXPECT_EQ(fixture.ObjectsOfPage(0).front(), MakeObjectId(testoHtml, 1));
}

}  // namespace
}  // namespace tarn::convert
