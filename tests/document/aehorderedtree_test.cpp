// The page order tree: the default tree, the stored text read back, the
// mending of damaged texts, editing, and the default order that browsing
// follows.
#include "document/aehorderedtree.h"

#include <gtest/gtest.h>

#include "document/aehset.h"
#include "document/recordfields.h"
#include "document/testfixtures.h"

namespace tarn::document {
namespace {

using testing::TestEnv;

// Pages P0..Pn-1; the listed ones deleted afterwards.
void AddPages(TAEHset& set, int n, std::vector<int> freed = {}) {
  for (int i = 0; i < n; ++i) {
    auto page = set.NewObject(testoHtml);
    page->SetName("P" + std::to_string(i));
    set.Register(std::move(page));
  }
  for (int i : freed) set.GetObject(testoHtml, i)->Clear();
}

// Stores text as the hypertext's page tree, as a file written elsewhere would.
void StoreText(TAEHset& set, const std::string& text) {
  auto slot = set.NewObject(shortObj);
  slot->SetContent(text);
  set.SetHeaderI32(header::kFirstTextSlot, set.Register(std::move(slot))->GetId());
}

std::string Lines(std::initializer_list<std::string_view> lines) {
  std::string out;
  for (std::string_view line : lines) out += std::string(line) + "\r\n";
  return out;
}

std::vector<ObjectId> Pages(std::initializer_list<int> indexes) {
  std::vector<ObjectId> out;
  for (int i : indexes) out.push_back(MakeObjectId(testoHtml, i));
  return out;
}

TEST(PageOrderTree, DefaultTreeIsStoredWithoutMarkingTheHypertextModified) {
  TestEnv env;
  TAEHset set(env.Services());
  AddPages(set, 3, {1});
  set.SetModified(false);
  TAEHorderedTree tree;
  tree.SetLinkedAEHset(&set);
  EXPECT_EQ(tree.TreeText(), Lines({"a0,-2,Untitled", "a1,0,x", "a1,2,x"}));
  EXPECT_EQ(tree.RootNode()->Child(1)->Text(), "P2");
  EXPECT_FALSE(set.IsModified());
  const TAEHoggetto* slot = TreeSlot(set, testoHtml);
  ASSERT_NE(slot, nullptr);
  EXPECT_EQ(slot->Subtype(), 1);
  EXPECT_EQ(set.HeaderI32(header::kFirstTextSlot), slot->GetId());
  EXPECT_EQ(*slot->ReadContent(), tree.TreeText());

  // Saved and opened again, the same tree comes back.
  ASSERT_TRUE(set.SaveToFile(env.Path("guide.aeh")));
  TAEHorderedTree again;
  again.SetLinkedAEHset(&set);
  EXPECT_EQ(again.TreeText(), tree.TreeText());
  EXPECT_FALSE(again.Mended());
}

TEST(PageOrderTree, ChaptersAndNestingRoundTrip) {
  TestEnv env;
  TAEHset set(env.Services());
  AddPages(set, 5);
  const std::string text = Lines({"a0,-2,guide.aeh", "a1,-3,Intro", "a2,3,x", "a2,-3,Deeper", "a3,1,x",
                                  "a1,0,x", "a1,-1,loose note", "a2,4,x", "a1,2,x"});
  StoreText(set, text);
  TAEHorderedTree tree;
  tree.SetLinkedAEHset(&set);
  EXPECT_EQ(tree.TreeText(), text);
  EXPECT_FALSE(tree.Mended());
  const TreeNode* intro = tree.RootNode()->Child(0);
  EXPECT_TRUE(intro->IsChapter());
  EXPECT_EQ(intro->Text(), "Intro");
  EXPECT_EQ(intro->Child(1)->Child(0)->Text(), "P1");
  EXPECT_EQ(intro->Child(1)->Child(0)->Level(), 3);
  std::vector<ObjectId> order;
  tree.OrderedObjects(order);
  EXPECT_EQ(order, Pages({3, 1, 0, 4, 2}));
  EXPECT_EQ(DefaultOrder(set), order);
}

TEST(PageOrderTree, DamagedTextsAreMendedSoEveryLivePageAppearsOnce) {
  struct Case {
    const char* what;
    std::string stored;
    std::string read;  // the tree text after reading
    const char* error;  // the one message shown, or nothing
  };
  const std::string deep = [] {
    std::string t = "a0,-2,g\r\n";
    for (int level = 1; level <= 70; ++level) t += "a" + std::to_string(level) + ",-3,c\r\n";
    return t + "a71,0,x\r\na1,1,x\r\na1,2,x\r\na1,3,x\r\n";
  }();
  const std::string flattened = [] {
    std::string t = "a0,-2,g\r\n";
    for (int level = 1; level <= 64; ++level) t += "a" + std::to_string(level) + ",-3,c\r\n";
    for (int level = 65; level <= 70; ++level) t += "a64,-3,c\r\n";
    return t + "a64,0,x\r\na1,1,x\r\na1,2,x\r\na1,3,x\r\n";
  }();
  const Case cases[] = {
      {"page beyond the list dropped, its child lifted",
       Lines({"a0,-2,g", "a1,0,x", "a1,99,x", "a2,1,x", "a1,2,x", "a1,3,x"}),
       Lines({"a0,-2,g", "a1,0,x", "a1,1,x", "a1,2,x", "a1,3,x"}), nullptr},
      {"deleted page dropped", Lines({"a0,-2,g", "a1,0,x", "a1,4,x", "a1,1,x", "a1,2,x", "a1,3,x"}),
       Lines({"a0,-2,g", "a1,0,x", "a1,1,x", "a1,2,x", "a1,3,x"}), nullptr},
      {"duplicate kept once", Lines({"a0,-2,g", "a1,-3,A", "a2,2,x", "a1,2,x", "a1,0,x", "a1,1,x", "a1,3,x"}),
       Lines({"a0,-2,g", "a1,-3,A", "a2,2,x", "a1,0,x", "a1,1,x", "a1,3,x"}), nullptr},
      {"pages not named appended under the root", Lines({"a0,-2,g", "a1,-3,A", "a2,3,x", "a1,-3,B"}),
       Lines({"a0,-2,g", "a1,-3,A", "a2,3,x", "a1,-3,B", "a1,0,x", "a1,1,x", "a1,2,x"}), nullptr},
      {"level jump goes under the last node", Lines({"a0,-2,x", "a2,1,x", "a1,0,x", "a1,2,x", "a1,3,x"}),
       Lines({"a0,-2,x", "a1,1,x", "a1,0,x", "a1,2,x", "a1,3,x"}), "error loading nodes"},
      {"undecodable line skipped", Lines({"a0,-2,g", "b1,0,x", "a1,0,x", "", "a1,1,x", "a1,2,x", "a1,3,x"}),
       Lines({"a0,-2,g", "a1,0,x", "a1,1,x", "a1,2,x", "a1,3,x"}), "error decoding nodes"},
      {"nesting without end flattened", deep, flattened, "error loading nodes"},
      {"another kind's object kept as a plain node",
       Lines({"a0,-2,g", "a1,16777216,x", "a1,0,x", "a1,1,x", "a1,2,x", "a1,3,x"}),
       Lines({"a0,-2,g", "a1,-1,x", "a1,0,x", "a1,1,x", "a1,2,x", "a1,3,x"}), nullptr},
      {"a number that is not one binds nothing", Lines({"a0,-2,g", "a1,zz,x", "a1,0,x", "a1,1,x", "a1,2,x", "a1,3,x"}),
       Lines({"a0,-2,g", "a1,-1,x", "a1,0,x", "a1,1,x", "a1,2,x", "a1,3,x"}), nullptr},
      {"no root: missing pages at the top level", Lines({"a0,-3,A", "a1,1,x"}),
       Lines({"a0,-3,A", "a1,1,x", "a0,0,x", "a0,2,x", "a0,3,x"}), nullptr},
      {"root not last: missing pages at the very end", Lines({"a0,-2,g", "a1,0,x", "a0,-3,A", "a1,1,x"}),
       Lines({"a0,-2,g", "a1,0,x", "a0,-3,A", "a1,1,x", "a0,2,x", "a0,3,x"}), nullptr},
      {"lower level walks up; trailing byte 0 ignored",
       Lines({"a0,-2,g", "a1,-3,A", "a2,-3,B", "a3,0,x", "a1,1,x", "a1,2,x", "a1,3,x"}) + std::string(1, '\0'),
       Lines({"a0,-2,g", "a1,-3,A", "a2,-3,B", "a3,0,x", "a1,1,x", "a1,2,x", "a1,3,x"}), nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestEnv env;
    TAEHset set(env.Services());
    AddPages(set, 5, {4});
    StoreText(set, c.stored);
    set.SetModified(false);
    TAEHorderedTree tree;
    tree.SetLinkedAEHset(&set);
    EXPECT_EQ(tree.TreeText(), c.read);
    // A trailing byte 0 is not worth rewriting the text for.
    EXPECT_EQ(tree.Mended(), c.stored != c.read && !c.stored.ends_with('\0'));
    if (c.error != nullptr) {
      ASSERT_EQ(env.messages.entries.size(), 1u);
      EXPECT_EQ(env.messages.entries[0].kind, "error");
      EXPECT_EQ(env.messages.entries[0].text, c.error);
    } else {
      EXPECT_TRUE(env.messages.entries.empty());
    }
    // Reading changes nothing stored; the next change writes the mended tree.
    EXPECT_FALSE(set.IsModified());
    EXPECT_EQ(*TreeSlot(set, testoHtml)->ReadContent(), c.stored);
    std::vector<ObjectId> order;
    tree.OrderedObjects(order);
    EXPECT_EQ(DefaultOrder(set), order);
    tree.Store();
    EXPECT_EQ(*TreeSlot(set, testoHtml)->ReadContent(), c.read);
  }
}

TEST(PageOrderTree, EditingIsStoredAtOnce) {
  TestEnv env;
  TAEHset set(env.Services());
  AddPages(set, 4);
  TAEHorderedTree tree;
  tree.SetLinkedAEHset(&set);
  TreeNode& root = *tree.RootNode();
  // Not editable: nothing moves.
  EXPECT_EQ(tree.AddChapter(root, "Intro"), nullptr);
  EXPECT_FALSE(tree.MoveUp(*root.Child(1)));

  tree.Editable = true;
  set.SetModified(false);
  TreeNode* intro = tree.AddChapter(root, "Intro\r\nline");
  ASSERT_NE(intro, nullptr);
  EXPECT_EQ(intro->Text(), "Intro  line");
  EXPECT_TRUE(set.IsModified());
  EXPECT_EQ(tree.AddChapter(*root.Child(0), "under a page"), nullptr);
  EXPECT_TRUE(tree.MoveInto(*root.Child(2), *intro));
  EXPECT_TRUE(tree.MoveInto(*root.Child(0), *intro));
  EXPECT_FALSE(tree.MoveInto(*intro, *intro->Child(0))) << "a page takes no children";
  TreeNode* sub = tree.AddChapter(*intro, "Sub");
  EXPECT_FALSE(tree.MoveInto(*intro, *sub)) << "a chapter cannot go inside itself";
  EXPECT_FALSE(tree.MoveInto(root, *sub)) << "the root stays";
  EXPECT_EQ(*TreeSlot(set, testoHtml)->ReadContent(),
            Lines({"a0,-2,Untitled", "a1,1,x", "a1,3,x", "a1,-3,Intro  line", "a2,2,x", "a2,0,x", "a2,-3,Sub"}));

  // Moving: the second child up becomes the first; the last child does not
  // move down; the next-to-last goes to the end.
  EXPECT_TRUE(tree.MoveUp(*intro->Child(1)));
  EXPECT_EQ(intro->Child(0)->Object(), MakeObjectId(testoHtml, 0));
  EXPECT_FALSE(tree.MoveUp(*intro->Child(0)));
  EXPECT_FALSE(tree.MoveDown(*intro->Child(2)));
  EXPECT_TRUE(tree.MoveDown(*intro->Child(1)));
  EXPECT_TRUE(intro->Child(2)->HoldsObject());
  // An object already in the tree moves rather than appearing twice.
  TreeNode* moved = tree.AddObject(*sub, MakeObjectId(testoHtml, 3));
  EXPECT_EQ(moved, sub->Child(0));
  EXPECT_EQ(root.ChildCount(), 2u);

  EXPECT_TRUE(tree.Rename(*sub, "Details"));
  EXPECT_FALSE(tree.Rename(*sub->Child(0), "page titles are not edited here"));
  EXPECT_TRUE(tree.RenamePage(*sub->Child(0), "Third"));
  EXPECT_EQ(set.GetObject(testoHtml, 3)->GetCaption(), "Third");

  // Deleting: the root and live pages stay; a chapter's nodes take its place.
  EXPECT_FALSE(tree.DeleteNode(root));
  EXPECT_FALSE(tree.DeleteNode(*sub->Child(0)));
  EXPECT_TRUE(tree.DeleteNode(*intro));
  EXPECT_EQ(tree.TreeText(), Lines({"a0,-2,Untitled", "a1,1,x", "a1,0,x", "a1,-3,Details", "a2,3,x", "a1,2,x"}));
  TAEHorderedTree again;
  again.SetLinkedAEHset(&set);
  EXPECT_EQ(again.TreeText(), tree.TreeText());
}

TEST(PageOrderTree, PrototypeTreeRenamesItsObjects) {
  TestEnv env;
  TAEHset set(env.Services());
  set.Register(set.NewObject(custom));
  TAEHorderedTree tree(custom);
  tree.Editable = true;
  TreeNode* renamed = nullptr;
  tree.OnRenameItem = [&](TreeNode& node) { renamed = &node; };
  tree.SetLinkedAEHset(&set);
  EXPECT_NE(set.HeaderI32(header::kSecondTextSlot), 0);
  EXPECT_EQ(set.HeaderI32(header::kFirstTextSlot), 0);
  TreeNode& node = *tree.RootNode()->Child(0);
  EXPECT_EQ(node.Text(), "New prototype");
  EXPECT_TRUE(tree.Rename(node, "Banner"));
  EXPECT_EQ(set.GetObject(custom, 0)->GetCaption(), "Banner");
  EXPECT_EQ(renamed, &node);
}

TEST(PageOrderTree, DamagedHeaderSlotNeverOverwritesAnotherObject) {
  TestEnv env;
  TAEHset set(env.Services());
  AddPages(set, 2);
  // The header names page 1 as the tree's slot.
  set.SetHeaderI32(header::kFirstTextSlot, MakeObjectId(testoHtml, 1));
  EXPECT_EQ(TreeSlot(set, testoHtml), nullptr);
  TAEHorderedTree tree;
  tree.SetLinkedAEHset(&set);
  EXPECT_EQ(KindOf(set.HeaderI32(header::kFirstTextSlot)), shortObj);
  EXPECT_EQ(set.GetObject(testoHtml, 1)->ContentLength(), 8) << "the page keeps its text";
}

TEST(PageOrderTree, BrowsingFollowsTheDefaultOrderOutsideNumberedSequences) {
  TestEnv env;
  TAEHset set(env.Services());
  AddPages(set, 5, {3});
  StoreText(set, Lines({"a0,-2,g", "a1,-3,A", "a2,2,x", "a2,0,x", "a1,4,x"}));
  // Page 1 is not named, so it comes last; page 3 is deleted.
  const int next[] = {4, 1, 0, 3, 1};
  const int previous[] = {2, 4, 2, 3, 0};
  for (int page = 0; page < 5; ++page) {
    EXPECT_EQ(set.NextInSequence(page), next[page]) << page;
    EXPECT_EQ(set.PreviousInSequence(page), previous[page]) << page;
  }
  // A page in a numbered sequence keeps it.
  for (int page : {0, 4}) {
    set.GetObject(testoHtml, page)->SetI16(field::kPageBrowseGroup, 1);
    set.GetObject(testoHtml, page)->SetI16(field::kPageBrowseNumber, static_cast<std::int16_t>(page));
  }
  EXPECT_EQ(set.NextInSequence(0), 4);
  EXPECT_EQ(set.PreviousInSequence(4), 0);
  EXPECT_EQ(set.NextInSequence(2), 0);
}

}  // namespace
}  // namespace tarn::document
