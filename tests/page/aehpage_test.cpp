// The page view's model: working copies and their commit, titles from text,
// anchors, search inside a page and the background spell check.
#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <mutex>
#include <thread>

#include "app/compose.h"
#include "page/aehpage.h"
#include "document/aehpicture.h"
#include "platform/testing/fixedcanvas.h"
#include "document/aehset.h"
#include "document/recordfields.h"
#include "document/testfixtures.h"
#include "page/workingcopy.h"
#include "platform/testing/manualeventloop.h"
#include "search/spellthread.h"

namespace tarn::page {
namespace {

using namespace document;
using namespace document::field;

std::string Z(const std::string& markup) { return markup + std::string(1, '\0'); }

std::string Tag(ObjectId id) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "<$%08x>", static_cast<unsigned>(id));
  return buf;
}

// Every "teh" is wrong.
class TehEngine : public search::SpellEngine {
 public:
  bool IsOpen() const override { return true; }
  search::SpellResult Check(std::string_view text, std::size_t start, int) override {
    const std::size_t at = text.find("teh", start);
    if (at == std::string_view::npos) return {};
    return {1, static_cast<int>(at - start), 3};
  }
};

class Host : public PageHost {
 public:
  explicit Host(TAEHset& s) : set(s) {}
  TAEHset& LinkedAEHset() override { return set; }
  bool IsReadOnly() const override { return readOnly; }
  int SearchOptions() const override { return options; }
  bool AutoSpellCheck() const override { return true; }
  search::SpellEngine* SpellChecker() override { return &engine; }
  platform::EventLoop* Dispatcher() override { return &ui; }
  void RegisterPageView(TAEHpage&) override {}
  void PageViewModified() override { ++modified; }

  TAEHset& set;
  bool readOnly = false;
  int options = 0;
  int modified = 0;
  TehEngine engine;
  platform::testing::ManualEventLoop ui;
};

class PageFixture : public ::testing::Test {
 protected:
  PageFixture() : set(env.Services()), host(set), view(host) { app::Compose(set); }

  TAEHtesto* Page(const std::string& markup, const std::string& title = "Untitled") {
    auto page = set.NewObject(testoHtml);
    page->SetName(title);
    page->SetContent(Z(markup));
    return static_cast<TAEHtesto*>(set.Register(std::move(page)));
  }
  TAEHoggetto* Object(int kind, int subtype) {
    auto object = set.NewObject(kind);
    object->SetSubtype(subtype);
    return set.Register(std::move(object));
  }
  PlainTextBox& Box() { return *static_cast<PlainTextBox*>(view.Box()); }

  testing::TestEnv env;
  TAEHset set;
  Host host;
  TAEHpage view;
};

// ---- Working copy and commit ----

TEST_F(PageFixture, PageWithLinksAndObjectsCommittedUnchangedKeepsItsMarkup) {
  Page("<Z S0 >Cover");
  TAEHoggetto* url = set.Register(set.NewLink("http://example.com/"));
  TAEHoggetto* special = Object(speclink, 1);
  special->SetI32(kSpecialTarget, MakeObjectId(testoHtml, 0));
  TAEHoggetto* anchor = Object(shortObj, 14);
  anchor->SetI32(kShortValue, 3);
  TAEHoggetto* placed = Object(immagineNew, 1);
  placed->SetI32(kPlacedZones, url->GetId());
  const std::string markup = "<Z S0 >Go " + Tag(url->GetId()) + "there<%> or " + Tag(special->GetId()) +
                             "back<%>.<Z S0 >" + Tag(anchor->GetId()) + "end" + Tag(placed->GetId());
  TAEHtesto* page = Page(markup, "Links");
  const int links = set.CountOf(internetLink);

  view.ShowPage(page);
  ASSERT_NE(view.Working(), nullptr);
  EXPECT_EQ(view.Working()->links.size(), 2u);
  EXPECT_EQ(view.Working()->objects.size(), 2u);
  // Inside the working copy the zone names the link by its local number.
  EXPECT_EQ(view.Working()->Object(2)->I32(kPlacedZones), LocalLinkValue(0));
  view.CommitPage();

  TAEHtesto* stored = static_cast<TAEHtesto*>(set.GetObject(testoHtml, 1));
  EXPECT_NE(stored, page);  // the working page took the slot
  EXPECT_EQ(stored->Markup(), Z(markup));
  EXPECT_EQ(stored->Title(), "Links");
  EXPECT_EQ(set.CountOf(internetLink), links);  // the equal link was reused
  EXPECT_EQ(set.GetObject(immagineNew, 0)->I32(kPlacedZones), url->GetId());
  EXPECT_EQ(set.GetObject(speclink, 0)->I32(kSpecialTarget), MakeObjectId(testoHtml, 0));
  EXPECT_EQ(set.GetObject(shortObj, 0)->I32(kShortValue), 3);
  EXPECT_EQ(host.modified, 0);
  EXPECT_TRUE(env.messages.entries.empty());
}

TEST_F(PageFixture, APageInTheOlderTextFormIsConvertedBeforeItIsShown) {
  TAEHtesto* page = Page("Hello <B>world</B>");
  page->SetU8(kPageGeneration, 1);
  TAEHtesto* header = Page("Shared <I>head</I>");
  header->SetU8(kPageGeneration, 1);
  page->SetI32(kPageHeaderChoice, header->Index());
  view.ShowPage(page);
  ASSERT_NE(view.Working(), nullptr);
  EXPECT_TRUE(view.Working()->page->Markup().starts_with("<Z")) << view.Working()->page->Markup();
  EXPECT_NE(view.Working()->page->Markup().find("world"), std::string::npos);
  // Converted once, in place: the stored pages hold the current markup now.
  EXPECT_EQ(page->U8(kPageGeneration), 2);
  EXPECT_EQ(header->U8(kPageGeneration), 2);
  ASSERT_NE(view.Working()->header, nullptr);
  EXPECT_TRUE(view.Working()->header->page->Markup().starts_with("<Z"));
}

TEST_F(PageFixture, NewPageIsEmptyAndTakesTheFirstFreeSlot) {
  Page("<Z S0 >a");
  TAEHtesto* freed = Page("<Z S0 >b");
  Page("<Z S0 >c");
  const int slot = freed->Index();
  freed->Clear();
  TAEHtesto* working = view.ShowPage(nullptr);
  EXPECT_TRUE(view.IsNewPage());
  EXPECT_EQ(working->Markup(), std::string(kEmptyPageMarkup));
  view.CommitPage();
  EXPECT_EQ(view.PageNumber(), slot);
  EXPECT_EQ(set.GetObject(testoHtml, slot), working);
  EXPECT_EQ(static_cast<TAEHtesto*>(working)->Markup(), std::string(kEmptyPageMarkup));
}

TEST_F(PageFixture, ModifiedCommitStampsTheRevisionAndTitlesFromText) {
  TAEHtesto* page = Page("<Z S0 >Hello<Z S0 >World and more");
  page->SetRevision(1);
  set.SetHeaderI32(header::kRevision, 9);
  view.ShowPage(page);
  Box().modified = true;
  view.CommitPage();
  TAEHoggetto* stored = set.GetObject(testoHtml, 0);
  EXPECT_EQ(stored->GetRevision(), 9);
  EXPECT_EQ(stored->Str(kPageTitle, 71), "Hello World and more");
  EXPECT_EQ(stored->U8(kPageGeneration), 2);
  EXPECT_EQ(host.modified, 1);
}

TEST_F(PageFixture, CommitIsDroppedWhenThePageWasReplaced) {
  TAEHtesto* page = Page("<Z S0 >old");
  view.ShowPage(page);
  auto other = set.NewObject(testoHtml);
  other->SetContent(Z("<Z S0 >other"));
  TAEHoggetto* replacement = other.get();
  set.RegisterObject(other, 0);
  view.CommitPage();
  EXPECT_EQ(set.GetObject(testoHtml, 0), replacement);
  EXPECT_EQ(static_cast<TAEHtesto*>(replacement)->Markup(), Z("<Z S0 >other"));
}

TEST_F(PageFixture, HeaderAndFooterChoices) {
  Page("<Z S0 >Head");
  Page("<Z S0 >Foot");
  set.SetHeaderI32(header::kHeaderPage, 0);
  set.SetHeaderI32(header::kFooterPage, 1);
  TAEHtesto* page = Page("<Z S0 >Body");
  view.ShowPage(page);
  ASSERT_TRUE(view.Working()->header && view.Working()->footer);
  EXPECT_EQ(Box().HeaderCount(), 1);
  EXPECT_EQ(Box().FooterCount(), 1);
  EXPECT_EQ(Box().Text().paragraphs[0]->text, "Head");
  EXPECT_EQ(Box().Text().paragraphs[1]->text, "Body");
  EXPECT_EQ(Box().SaveText(), Z("<Z S0 >Body"));

  page->SetI32(kPageHeaderChoice, -2);
  page->SetI32(kPageFooterChoice, 0);
  view.ShowPage(page);
  EXPECT_FALSE(view.Working()->header);
  ASSERT_TRUE(view.Working()->footer);
  EXPECT_EQ(view.Working()->footer->Markup(), Z("<Z S0 >Head"));

  // The header page opened itself is not its own header as well: its text
  // shows once, and editing it edits the page.
  view.ShowPage(static_cast<TAEHtesto*>(set.GetObject(testoHtml, 0)));
  EXPECT_FALSE(view.Working()->header);
  ASSERT_TRUE(view.Working()->footer);
  EXPECT_EQ(Box().HeaderCount(), 0);
  EXPECT_EQ(Box().Text().paragraphs[0]->text, "Head");
}

TEST(TitleFromText, Cases) {
  struct Case {
    std::string markup;
    std::string title;
  } cases[] = {
      {"<Z S0 >Hello<Z S0 >World and more", "Hello World and more"},
      {"<Z S0 >Longer first<Z S0 >second", "Longer first"},
      {"<Z S0 >" + std::string(50, 'a'), std::string(36, 'a')},
      {"<Z S0 >Tom &amp; Jerry &lt;3&gt;", "Tom + Jerry [3]"},
      {"<Z S0 >\"Hi\" it's #1", "\x94Hi\x94 it\x92s  1"},
      {"<Z S0 >Top   rest", "Top"},
      {"<Z S0 >   x", "x"},
      {"<Z S0 ><Y g1 >Bold<Y g0 > text", "Bold text"},
      {"<Z S0 >&eacute;t&eacute;", "\xE9t\xE9"},
  };
  for (const Case& c : cases) EXPECT_EQ(TitleFromText(Z(c.markup)), c.title) << c.markup;
}

TEST(NeutraliseFormatTags, OnlyATagDirectlyFollowedByAnother) {
  std::string markup = "<Z S0 ><Y g1 ><Y f\"A>B\" >x<Y g0 >y";
  NeutraliseFormatTags(markup);
  EXPECT_EQ(markup, "<Z S0 >" + std::string(7, '\x03') + "<Y f\"A>B\" >x<Y g0 >y");
}

// ---- Anchors and search ----

TEST_F(PageFixture, AnchorsNumbersAndMissingOnes) {
  TAEHoggetto* three = Object(shortObj, 14);
  three->SetI32(kShortValue, 3);
  TAEHoggetto* seven = Object(shortObj, 14);
  seven->SetI32(kShortValue, 7);
  view.ShowPage(Page("<Z S0 >ab" + Tag(three->GetId()) + "<Z S0 >c" + Tag(seven->GetId())));
  EXPECT_EQ(view.NextAnchorNumber(), 8);
  EXPECT_TRUE(view.GoToAnchor(7));
  EXPECT_EQ(Box().selected.paragraph, 1);
  EXPECT_EQ(Box().selected.from, 1);
  EXPECT_EQ(Box().selected.to, 1);
  EXPECT_FALSE(view.GoToAnchor(5));
  EXPECT_TRUE(env.messages.Saw("Anchor not found: a5"));
  env.messages.Clear();
  view.SetReadOnly(true);
  EXPECT_FALSE(view.GoToAnchor(5));
  EXPECT_TRUE(env.messages.entries.empty());

  view.ShowPage(Page("<Z S0 >none"));
  EXPECT_EQ(view.NextAnchorNumber(), 0);
}

TEST_F(PageFixture, SearchWholeWordsCaseAndTableCells) {
  TAEHoggetto* table = Object(tabellaHtml, 1);
  table->SetU8(93, 1);
  table->SetU8(94, 2);
  view.ShowPage(Page("<Z S0 >Concatenate the cat" + Tag(table->GetId()) +
                     "<Z S1 >dog<T><Z S1 >a cat.<T><Z S0 >Cat"));
  auto hits = [&](std::string_view text) {
    std::vector<std::string> found;
    view.StartSearch();
    while (view.FindNext(text)) {
      const auto& s = Box().selected;
      found.push_back(std::to_string(s.box == &Box().Text() ? 0 : 1) + ":" + std::to_string(s.paragraph) + ":" +
                      std::to_string(s.from));
    }
    return found;
  };
  EXPECT_EQ(hits("cat"), (std::vector<std::string>{"0:0:3", "0:0:16", "1:0:2", "0:1:0"}));
  host.options = kWholeWord;
  EXPECT_EQ(hits("cat"), (std::vector<std::string>{"0:0:16", "1:0:2", "0:1:0"}));
  host.options = kWholeWord | kMatchCase;
  EXPECT_EQ(hits("Cat"), (std::vector<std::string>{"0:1:0"}));
}

// ---- Background spell check ----

TEST_F(PageFixture, SpellCycleMarksWordsAndSkipsCheckedParagraphs) {
  view.ShowPage(Page("<Z S0 >teh cat<Z S0 ><Z S0 >fine teh end"));
  EXPECT_TRUE(view.SpellTimerRunning());
  view.SpellTimerFired();
  ASSERT_TRUE(view.SpellRunning());
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (view.SpellRunning() && std::chrono::steady_clock::now() < deadline) {
    host.ui.ProcessEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_FALSE(view.SpellRunning());
  auto& paragraphs = Box().Text().paragraphs;
  EXPECT_EQ(paragraphs[0]->spellingMarks, "!!!    ");
  // The empty paragraph does not end the check of the page.
  EXPECT_EQ(paragraphs[2]->spellingMarks, "     !!!    ");
  EXPECT_EQ(Box().redrawn.size(), 2u);

  // Mode 0 checks only paragraphs not yet checked: nothing is handed out.
  view.StartSpellCheck(0);
  view.SpellTimerFired();
  Box().redrawn.clear();
  while (view.SpellRunning() && std::chrono::steady_clock::now() < deadline) {
    host.ui.ProcessEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_TRUE(Box().redrawn.empty());
}

TEST_F(PageFixture, StoppingTheSpellThreadWhileItWaits) {
  view.ShowPage(Page("<Z S0 >teh"));
  view.SpellTimerFired();
  ASSERT_TRUE(view.SpellRunning());
  const auto start = std::chrono::steady_clock::now();
  view.StopSpellThread();
  EXPECT_FALSE(view.SpellRunning());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  // Calls still queued find no page.
  host.ui.ProcessEvents();
  EXPECT_TRUE(Box().Text().paragraphs[0]->spellingMarks.empty());
}

// ---- Background ----

TEST(PaintBackground, TilesFromMultiplesAndFillsUnderTransparentPictures) {
  platform::testing::FixedCanvas canvas;
  PaintBackground(canvas, {25, 5, 70, 30}, 0x123456, nullptr);
  ASSERT_EQ(canvas.ops.size(), 1u);
  EXPECT_EQ(canvas.ops[0].what, "fill");

  testing::TestEnv env;
  const std::filesystem::path gif = env.Path("tile.gif");
  testing::WriteFile(gif, testing::SmallGif(20, 10));
  TAEHpicture picture;
  ASSERT_TRUE(picture.SetImageNameL(gif));
  canvas.ops.clear();
  PaintBackground(canvas, {25, 5, 70, 30}, 0x123456, &picture);
  std::vector<std::pair<int, int>> tiles;
  for (const auto& op : canvas.ops) {
    if (op.what == "image") tiles.emplace_back(op.x, op.y);
  }
  EXPECT_EQ(tiles, (std::vector<std::pair<int, int>>{{20, 0}, {40, 0}, {60, 0}, {20, 10}, {40, 10}, {60, 10},
                                                     {20, 20}, {40, 20}, {60, 20}}));
  EXPECT_EQ(canvas.ops.front().what == "fill", picture.Transparent());
}

}  // namespace
}  // namespace tarn::page
