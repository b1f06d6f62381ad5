// The link explorer's searches and the delete command: what refers to what
// in a hypertext that uses every kind of reference, the threads that hand
// their results over in groups and stop when asked, the report's lines, and
// a deletion that leaves no reference behind.
#include "search/linkexplorer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <set>
#include <thread>

#include "base/filestream.h"
#include "document/aehorderedtree.h"
#include "platform/testing/manualeventloop.h"
#include "search/referencereport.h"
#include "search/explorerworld.h"

namespace tarn::search {
namespace {

using namespace document;
using testing::ExplorerWorld;
using Ids = std::set<ObjectId>;

Ids AsSet(const std::vector<ObjectId>& ids) { return Ids(ids.begin(), ids.end()); }

// The user-interface thread's event loop as a test drives it: the workers
// post to it from their threads, the test runs what is pending.
class PostQueue {
 public:
  PostToUi Post() { return PostThrough(m_loop); }
  // Runs what is pending until done() holds; false after two seconds.
  bool RunUntil(const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!done()) {
      if (!RunPending()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      if (std::chrono::steady_clock::now() > end) return false;
    }
    return true;
  }
  bool RunPending() {
    const bool any = m_loop.Pending() > 0;
    m_loop.ProcessEvents();
    return any;
  }

 private:
  platform::testing::ManualEventLoop m_loop;
};

TEST(LinkExplorer, FindsEveryKindOfReference) {
  ExplorerWorld w;
  TAEHset& set = *w.set;
  struct Case {
    const char* what;
    ObjectId id;
    Ids pages;
  };
  const Case cases[] = {
      {"a page: text link, header, special link, script",
       w.PageId(ExplorerWorld::kTarget),
       {w.PageId(ExplorerWorld::kCover), w.PageId(ExplorerWorld::kHeaded), w.PageId(ExplorerWorld::kSpecial),
        w.PageId(ExplorerWorld::kScript)}},
      {"an image", w.image, {w.PageId(ExplorerWorld::kPictures)}},
      {"a file", w.file, {w.PageId(ExplorerWorld::kCover)}},
      {"a web link", w.web, {w.PageId(ExplorerWorld::kCover)}},
      {"a special link", w.special, {w.PageId(ExplorerWorld::kSpecial)}},
      {"an anchor", w.anchor, {w.PageId(ExplorerWorld::kAnchored)}},
      {"a keyword", w.word, {w.PageId(ExplorerWorld::kMail)}},
      {"a page nothing refers to", w.PageId(ExplorerWorld::kMail), {}},
  };
  for (const Case& c : cases) EXPECT_EQ(AsSet(PagesReferringTo(set, c.id)), c.pages) << c.what;
  // The search's shortcut (a page that holds the tag) answers as the full
  // examination does, for every object of the hypertext.
  for (int kind = 0; kind < kKindCount; ++kind) {
    for (int i = 0; i < set.CountOf(kind); ++i) {
      const ObjectId id = MakeObjectId(kind, i);
      Ids expected;
      for (int p = 0; p < set.CountOf(testoHtml); ++p) {
        if (IsContainedIn(*set.GetObject(testoHtml, p), id) != kNotContained) expected.insert(w.PageId(p));
      }
      EXPECT_EQ(AsSet(PagesReferringTo(set, id)), expected) << kind << " " << i;
    }
  }

  const Ids outOfCover = {w.PageId(ExplorerWorld::kTarget), w.web, w.file};
  EXPECT_EQ(AsSet(ReferencesOf(set, w.PageId(ExplorerWorld::kCover))), outOfCover);
  EXPECT_EQ(AsSet(ReferencesOf(set, w.PageId(ExplorerWorld::kSpecial))), Ids{w.PageId(ExplorerWorld::kTarget)});
  EXPECT_EQ(AsSet(ReferencesOf(set, w.PageId(ExplorerWorld::kScript))), Ids{w.PageId(ExplorerWorld::kTarget)});
  EXPECT_EQ(AsSet(ReferencesOf(set, w.PageId(ExplorerWorld::kHeaded))), Ids{w.PageId(ExplorerWorld::kTarget)});
  EXPECT_EQ(AsSet(ReferencesOf(set, w.PageId(ExplorerWorld::kMail))), Ids{w.mail});
  EXPECT_TRUE(ReferencesOf(set, w.PageId(ExplorerWorld::kPictures)).empty());

  // The delete report also looks at prototypes.
  const std::vector<Referrer> users = ReferrersOf(set, w.file);
  ASSERT_EQ(users.size(), 2u);
  EXPECT_EQ(users[0].object, w.PageId(ExplorerWorld::kCover));
  EXPECT_EQ(users[0].how, kInText);
  EXPECT_EQ(users[1].object, w.prototype);
  EXPECT_EQ(users[1].how, kInPrototype);
}

TEST(LinkExplorer, LeftListFillsInGroupsOfFive) {
  ExplorerWorld w;
  TAEHset& set = *w.set;
  // Three more pages link to the target: seven refer to it in all.
  for (int i = 0; i < 3; ++i) {
    auto page = set.NewObject(testoHtml);
    page->SetContent("<Z S0 >" + ExplorerWorld::Tag(w.PageId(ExplorerWorld::kTarget)) + "go<%>" + std::string(1, '\0'));
    set.Register(std::move(page));
  }
  PostQueue queue;
  std::vector<std::size_t> groups;
  Ids found;
  bool finished = false;
  TKrSearchThreadDa da(
      set, w.PageId(ExplorerWorld::kTarget), queue.Post(),
      [&](std::vector<ObjectId> pages) {
        groups.push_back(pages.size());
        found.insert(pages.begin(), pages.end());
      },
      [&] { finished = true; });
  std::vector<ObjectId> outgoing;
  TKrSearchThreadPer per(set, w.PageId(ExplorerWorld::kCover), queue.Post(),
                         [&](std::vector<ObjectId> ids) { outgoing = ids; });
  ASSERT_TRUE(queue.RunUntil([&] { return finished && !per.Running(); }));
  queue.RunPending();
  EXPECT_EQ(groups, (std::vector<std::size_t>{5, 2}));
  EXPECT_EQ(found.size(), 7u);
  EXPECT_EQ(AsSet(outgoing), (Ids{w.PageId(ExplorerWorld::kTarget), w.web, w.file}));
}

TEST(LinkExplorer, PageSearchReportsProgressAndResults) {
  ExplorerWorld w;
  PostQueue queue;
  Ids found;
  int percent = -1;
  bool finished = false;
  TKrPageSearchThread search(
      *w.set, w.PageId(ExplorerWorld::kTarget), queue.Post(),
      [&](std::vector<ObjectId> pages, int p) {
        found.insert(pages.begin(), pages.end());
        percent = p;
      },
      [&] { finished = true; });
  ASSERT_TRUE(queue.RunUntil([&] { return finished; }));
  EXPECT_EQ(found, AsSet(PagesReferringTo(*w.set, w.PageId(ExplorerWorld::kTarget))));
  EXPECT_EQ(percent, 100);
}

TEST(LinkExplorer, StoppedThreadsHandNothingMoreAndNeverSeeLaterEdits) {
  ExplorerWorld w;
  TAEHset& set = *w.set;
  const std::string markup = "<Z S0 >" + ExplorerWorld::Tag(w.PageId(ExplorerWorld::kTarget)) + "go<%>";
  for (int i = 0; i < 3000; ++i) {
    auto page = set.NewObject(testoHtml);
    page->SetContent(markup + std::string(4000, 'x') + std::string(1, '\0'));
    set.Register(std::move(page));
  }
  PostQueue queue;
  int reports = 0;
  bool finished = false;
  auto search = std::make_unique<TKrPageSearchThread>(
      set, w.PageId(ExplorerWorld::kTarget), queue.Post(), [&](std::vector<ObjectId>, int) { ++reports; },
      [&] { finished = true; });
  // The live hypertext changes under the running search: the search reads
  // its own copy, so this is safe and does not change what it finds.
  for (int i = 0; i < set.CountOf(testoHtml); ++i) set.GetObject(testoHtml, i)->SetContent("<Z S0 >");
  search->Terminate();
  const int before = reports;
  search.reset();  // waits for the worker
  queue.RunPending();
  EXPECT_EQ(reports, before);
  EXPECT_FALSE(finished);

  // A fresh search sees the hypertext as it is now.
  Ids found;
  finished = false;
  TKrSearchThreadDa da(
      set, w.PageId(ExplorerWorld::kTarget), queue.Post(),
      [&](std::vector<ObjectId> pages) { found.insert(pages.begin(), pages.end()); }, [&] { finished = true; });
  ASSERT_TRUE(queue.RunUntil([&] { return finished; }));
  EXPECT_EQ(found, (Ids{w.PageId(ExplorerWorld::kHeaded), w.PageId(ExplorerWorld::kScript)}));
}

TEST(ReferenceReport, LinesForEachObject) {
  ExplorerWorld w;
  TAEHset& set = *w.set;
  // An image nothing uses.
  auto unused = set.NewObject(immagine);
  unused->SetName("pond");
  const ObjectId pond = set.Register(std::move(unused))->GetId();
  std::vector<ReportLine> report = ReferenceReport(set, pond);
  ASSERT_EQ(report.size(), 1u);
  EXPECT_EQ(report[0].text, "- \"POND\" seems unused");

  report = ReferenceReport(set, w.PageId(ExplorerWorld::kTarget));
  std::vector<std::string> lines;
  for (const ReportLine& line : report) lines.push_back(line.text);
  EXPECT_EQ(lines, (std::vector<std::string>{"+ \"TARGET\" is present in/ linked from/ used by:",
                                             "    - Cover   {in text}", "    - Headed   {as header or footer}",
                                             "    - Special   {as/in special link}",
                                             "    - Script   {in script/html}"}));
  EXPECT_EQ(report[2].object, w.PageId(ExplorerWorld::kHeaded));
  EXPECT_TRUE(ReferenceReport(set, MakeObjectId(immagine, 999)).empty());

  PostQueue queue;
  std::vector<std::vector<ReportLine>> blocks;
  bool finished = false;
  TKrSearchThread thread(set, {pond, MakeObjectId(immagine, 999), w.file}, queue.Post(),
                         [&](std::vector<ReportLine> block) { blocks.push_back(block); }, [&] { finished = true; });
  ASSERT_TRUE(queue.RunUntil([&] { return finished; }));
  ASSERT_EQ(blocks.size(), 3u);
  EXPECT_TRUE(blocks[1].empty()) << "no object: nothing reported";
  ASSERT_EQ(blocks[2].size(), 3u);
  EXPECT_EQ(blocks[2][2].text, "    - New prototype   {in prototype object}");
}

TEST(DeleteObjects, RemovesEveryReferenceAndTheObjects) {
  ExplorerWorld w;
  TAEHset& set = *w.set;
  const ObjectId target = w.PageId(ExplorerWorld::kTarget);
  set.SetHeaderI32(header::kCoverPage, IndexOf(target));
  set.SetHeaderI32(header::kBackgroundImage, IndexOf(w.image));
  TAEHorderedTree tree;
  tree.SetLinkedAEHset(&set);
  const std::filesystem::path copy = set.GetObjectById(w.file)->FilePath();
  ASSERT_TRUE(std::filesystem::exists(copy));

  // A file object that names the author's own file (not a copy the
  // hypertext made): deleting the object leaves the file alone.
  const std::filesystem::path own = w.folder / "own.txt";
  base::WriteWholeFile(own, "mine");
  TAEHoggetto* other = set.Register(set.NewObject(genLink));
  other->SetFilePath(own);

  std::vector<ObjectId> ids = {target, w.image, w.file, w.web, w.PageId(0), other->GetId()};
  int visited = 0;
  std::vector<std::size_t> cancelled;
  const int shown = DeleteObjects(set, ids, IndexOf(target), {[&] { ++visited; }, [&](std::size_t i) {
                                                               cancelled.push_back(i);
                                                             }});
  EXPECT_EQ(shown, 0) << "the page shown was deleted";
  EXPECT_EQ(cancelled, (std::vector<std::size_t>{0, 1, 2, 3, 5})) << "page 0 keeps its references";
  EXPECT_EQ(visited, 5 * (ExplorerWorld::kPageCount + 1));
  EXPECT_FALSE(std::filesystem::exists(copy)) << "the embedded file's copy goes";
  EXPECT_TRUE(std::filesystem::exists(own));
  EXPECT_TRUE(other->IsFree());
  EXPECT_TRUE(set.IsModified());

  const std::filesystem::path saved = w.folder / "after.aeh";
  ASSERT_TRUE(set.SaveToFile(saved));
  TAEHset reread({&w.messages, &w.system, nullptr, nullptr});
  ASSERT_TRUE(reread.LoadFromFile(saved));
  for (ObjectId id : {target, w.image, w.file, w.web}) {
    EXPECT_TRUE(reread.GetObjectById(id)->IsFree()) << id;
    EXPECT_TRUE(PagesReferringTo(reread, id).empty()) << id;
    EXPECT_TRUE(ReferrersOf(reread, id).empty()) << id;
  }
  EXPECT_FALSE(reread.GetObject(testoHtml, 0)->IsFree());
  EXPECT_EQ(reread.HeaderI32(header::kCoverPage), 0);
  EXPECT_EQ(reread.HeaderI32(header::kBackgroundImage), -1);
  EXPECT_EQ(AsSet(ReferencesOf(reread, w.PageId(ExplorerWorld::kCover))), Ids{});
  // The stored page order forgets the deleted page, so that a new page
  // taking its index does not inherit its place.
  const std::vector<ObjectId> order = DefaultOrder(reread);
  EXPECT_EQ(std::count(order.begin(), order.end(), target), 0);
  EXPECT_EQ(TreeSlot(reread, testoHtml)->ReadContent()->find("a1," + std::to_string(target) + ",x"), std::string::npos);
}

}  // namespace
}  // namespace tarn::search
