// The object lists: what each kind lists, with which size, file name and
// icon, and renaming with the rule for paragraph styles.
#include "document/objectlist.h"

#include <gtest/gtest.h>

#include "document/aehset.h"
#include "document/recordfields.h"
#include "document/testfixtures.h"

namespace tarn::document {
namespace {

using testing::TestEnv;

std::vector<std::string> Captions(const ObjectList& list) {
  std::vector<std::string> out;
  for (const ObjectListItem& item : list.Items()) out.push_back(item.caption);
  return out;
}

TEST(ObjectList, PagesSortedWithSizeAndIndex) {
  TestEnv env;
  TAEHset set(env.Services());
  for (const char* title : {"walrus", "Beaver", "gone", "ant"}) {
    auto page = set.NewObject(testoHtml);
    page->SetName(title);
    page->SetContent(std::string("<Z S0 >") + title + std::string(1, '\0'));
    set.Register(std::move(page));
  }
  set.GetObject(testoHtml, 2)->Clear();
  ObjectList list(testoHtml);
  int reloads = 0;
  list.OnReload = [&] { ++reloads; };
  list.SetLinkedAEHset(&set);
  list.Reload();
  EXPECT_EQ(Captions(list), (std::vector<std::string>{"ant", "Beaver", "walrus"}));
  EXPECT_EQ(reloads, 1);
  const ObjectListItem& beaver = list.Items()[1];
  EXPECT_EQ(beaver.id, MakeObjectId(testoHtml, 1));
  EXPECT_EQ(beaver.pageIndex, 1);
  EXPECT_EQ(beaver.size, 14);
  EXPECT_EQ(beaver.iconExtension, ".txt");

  list.OnFilter = [](const TAEHoggetto& object, bool accepted) { return accepted && object.Index() != 0; };
  list.Reload();
  EXPECT_EQ(Captions(list), (std::vector<std::string>{"ant", "Beaver"}));
  EXPECT_EQ(list.Find(MakeObjectId(testoHtml, 0)), -1);
}

TEST(ObjectList, EachKindItsIconAndFileName) {
  TestEnv env;
  TAEHset set(env.Services());
  struct Case {
    std::string url;
    std::string icon;
  };
  const Case links[] = {{"http://lake.org/", ".htm"}, {"mailto:ann@lake.org", ".msg"},
                        {"ftp://lake.org/a.zip", ""},  {"ftp://lake.org/page.html", ".htm"},
                        {"tarn://other.aeh|2", ""}};
  for (const Case& c : links) set.Register(set.NewLink(c.url));
  ObjectList list(internetLink);
  list.SetLinkedAEHset(&set);
  list.Reload();
  ASSERT_EQ(list.Items().size(), 4u) << "internal links are left out";
  for (int i = 0; i < 4; ++i) {
    const int at = list.Find(MakeObjectId(internetLink, i));
    ASSERT_GE(at, 0) << links[i].url;
    EXPECT_EQ(list.Items()[static_cast<std::size_t>(at)].iconExtension, links[i].icon) << links[i].url;
  }
  // Added by hand, an internal link shows its description and the
  // hypertext icon.
  list.AddItem(*set.GetObject(internetLink, 4));
  EXPECT_EQ(list.Items().back().caption, "other.aeh Pag.:2");
  EXPECT_EQ(list.Items().back().iconExtension, ".aeh");

  testing::WriteFile(env.Path("lake.gif"), testing::SmallGif());
  TAEHoggetto* image = set.AddImageFile(env.Path("lake.gif"));
  ASSERT_NE(image, nullptr);
  const ObjectListItem item = MakeListItem(*image);
  EXPECT_EQ(item.fileName, "lake.gif");
  EXPECT_EQ(item.iconExtension, ".gif");
  EXPECT_EQ(item.size, static_cast<std::int64_t>(testing::SmallGif().size()));

  auto word = set.NewObject(keyword);
  word->SetName("otter");
  EXPECT_TRUE(MakeListItem(*word).noIcon);
  auto source = set.NewObject(dbloc);
  EXPECT_FALSE(AcceptedByDefault(*source));
  source->SetU8(46, 11);
  EXPECT_TRUE(AcceptedByDefault(*source));
  EXPECT_EQ(MakeListItem(*source).iconExtension, ".dsn");
}

TEST(ObjectList, RenamingStylesKeepsNamesUnique) {
  TestEnv env;
  TAEHset set(env.Services());
  for (const char* name : {"Body", "Quote"}) {
    auto style = set.NewObject(stileParagrafo);
    style->SetName(name);
    set.Register(std::move(style));
  }
  ObjectList list(stileParagrafo);
  std::vector<std::string> events;
  list.OnEditStart = [&](ObjectId) { events.push_back("start"); };
  list.OnEditStop = [&](ObjectId) { events.push_back("stop"); };
  list.SetLinkedAEHset(&set);
  list.Reload();
  const auto body = static_cast<std::size_t>(list.Find(MakeObjectId(stileParagrafo, 2)));
  struct Case {
    std::string name;
    bool taken;
    std::string shown;
  };
  const Case cases[] = {{"BODY", false, "Body"}, {"quote", false, "Body"}, {"Text", true, "Text"}};
  for (const Case& c : cases) {
    events.clear();
    EXPECT_EQ(list.Rename(body, c.name), c.taken) << c.name;
    EXPECT_EQ(list.Items()[body].caption, c.shown) << c.name;
    EXPECT_EQ(set.GetObject(stileParagrafo, 2)->GetCaption(), c.shown) << c.name;
    EXPECT_EQ(events, (std::vector<std::string>{"start", "stop"})) << c.name;
  }
  // Any other object simply takes the name.
  auto page = set.NewObject(testoHtml);
  TAEHoggetto* registered = set.Register(std::move(page));
  ObjectList pages(testoHtml);
  pages.SetLinkedAEHset(&set);
  pages.Reload();
  EXPECT_TRUE(pages.Rename(static_cast<std::size_t>(pages.Find(registered->GetId())), "Otters"));
  EXPECT_EQ(registered->GetCaption(), "Otters");
}

}  // namespace
}  // namespace tarn::document
