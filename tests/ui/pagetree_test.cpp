// The page order tree, the object list and the Pages panel, driven with the
// mouse and the keyboard: dragging a page into a chapter, renaming in
// place, the Delete key, clicking pages, following the page shown, and a
// page deleted through the delete dialog.
#include <QApplication>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "document/aehorderedtree.h"
#include "document/aehset.h"
#include "document/ui/aehlistview.h"
#include "document/ui/aehorderedtreeview.h"
#include "document/ui/pagespanel.h"
#include "search/linkexplorer.h"
#include "platform/testing/testplatform.h"
#include "search/ui/fcancella.h"

namespace tarn::document::ui {
namespace {

void Settle() {
  for (int i = 0; i < 5; ++i) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
  }
}

std::string Lines(std::initializer_list<std::string_view> lines) {
  std::string out;
  for (std::string_view line : lines) out += std::string(line) + "\r\n";
  return out;
}

// Types a name into the rename editor that has the focus and confirms it
// with Enter; false when no editor is open. An empty name keeps the
// proposed one.
bool TypeName(const QString& name) {
  auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  if (editor == nullptr) return false;
  if (!name.isEmpty()) {
    editor->selectAll();
    QTest::keyClicks(editor, name);
  }
  QTest::keyClick(editor, Qt::Key_Return);
  Settle();
  return true;
}

std::string StoredTree(const TAEHset& set) { return TreeSlot(set, testoHtml)->ReadContent().value_or(""); }

// A hypertext of four pages with the chapters Birds (pages 1 and 2) and
// Fish (page 3).
struct TreeFixture : public ::testing::Test {
  void SetUp() override {
    for (const char* title : {"Cover", "Heron", "Grebe", "Pike"}) {
      auto page = set.NewObject(testoHtml);
      page->SetName(title);
      set.Register(std::move(page));
    }
    auto slot = set.NewObject(shortObj);
    slot->SetContent(Lines({"a0,-2,lake.aeh", "a1,0,x", "a1,-3,Birds", "a2,1,x", "a2,2,x", "a1,-3,Fish", "a2,3,x"}));
    set.SetHeaderI32(header::kFirstTextSlot, set.Register(std::move(slot))->GetId());
    set.SetModified(false);
  }
  static ObjectId Page(int n) { return MakeObjectId(testoHtml, n); }

  platform::testing::RecordingMessages messages;
  platform::testing::FixedSystemInfo system{std::filesystem::temp_directory_path()};
  TAEHset set{{&messages, &system, nullptr, nullptr}};
};

// Offscreen, the platform's drag returns at once: the test picks the node
// up as the view does when a drag starts, then hands the target the events
// a drag delivers (enter, move, drop). False when the target refused.
bool DragOnto(QAbstractItemView& source, const QModelIndex& from, QAbstractItemView& target, QPoint to) {
  QTest::mouseClick(source.viewport(), Qt::LeftButton, {}, source.visualRect(from).center());
  std::unique_ptr<QMimeData> mime(source.model()->mimeData(source.selectionModel()->selectedIndexes()));
  QWidget* viewport = target.viewport();
  const Qt::DropActions actions = Qt::MoveAction | Qt::CopyAction;
  QDragEnterEvent enter(to, actions, mime.get(), Qt::LeftButton, {});
  QApplication::sendEvent(viewport, &enter);
  if (!enter.isAccepted()) return false;
  QDragMoveEvent move(to, actions, mime.get(), Qt::LeftButton, {});
  QApplication::sendEvent(viewport, &move);
  if (!move.isAccepted()) return false;
  QDropEvent drop(QPointF(to), actions, mime.get(), Qt::LeftButton, {});
  QApplication::sendEvent(viewport, &drop);
  Settle();
  return drop.isAccepted();
}

struct ShownTree {
  explicit ShownTree(TAEHset& set) {
    view.SetEditable(true);
    view.SetLinkedAEHset(&set);
    view.resize(300, 400);
    view.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
  }
  QPoint At(const TreeNode* node) { return view.visualRect(view.ItemModel().IndexOf(node)).center(); }
  TAEHorderedTreeView view;
};

TEST_F(TreeFixture, DraggingPagesAndChaptersOntoChapters) {
  ShownTree shown(set);
  TAEHorderedTreeView& view = shown.view;
  TAEHorderedTree& tree = view.Model();
  TreeNode* heron = tree.FindObject(Page(1));
  TreeNode* birds = tree.RootNode()->Child(1);
  TreeNode* fish = tree.RootNode()->Child(2);
  ASSERT_EQ(fish->Text(), "Fish");

  EXPECT_TRUE(DragOnto(view, view.ItemModel().IndexOf(heron), view, shown.At(fish)));
  EXPECT_EQ(heron->Parent(), fish);
  EXPECT_EQ(StoredTree(set),
            Lines({"a0,-2,lake.aeh", "a1,0,x", "a1,-3,Birds", "a2,2,x", "a1,-3,Fish", "a2,3,x", "a2,1,x"}));
  EXPECT_TRUE(set.IsModified());
  // A page is no place to drop on; nor is a chapter's own inside.
  EXPECT_FALSE(DragOnto(view, view.ItemModel().IndexOf(birds), view, shown.At(heron)));
  EXPECT_TRUE(DragOnto(view, view.ItemModel().IndexOf(fish), view, shown.At(birds)));
  EXPECT_EQ(fish->Parent(), birds);
  EXPECT_FALSE(DragOnto(view, view.ItemModel().IndexOf(birds), view, shown.At(fish)));
  EXPECT_TRUE(view.isExpanded(view.ItemModel().IndexOf(fish))) << "what was open stays open";

  // Pages dragged from an object list join the chapter.
  TAEHListView list;
  list.SetLinkedAEHset(&set);
  list.Reload();
  list.show();
  const QModelIndex pike = list.ItemModel().index(list.List().Find(Page(3)), 0);
  EXPECT_TRUE(DragOnto(*list.View(), pike, view, shown.At(tree.RootNode())));
  EXPECT_EQ(tree.FindObject(Page(3))->Parent(), tree.RootNode());
}

TEST_F(TreeFixture, RenamingAndDeletingWithTheKeyboard) {
  ShownTree shown(set);
  TAEHorderedTreeView& view = shown.view;
  TAEHorderedTree& tree = view.Model();
  TreeNode* birds = tree.RootNode()->Child(1);
  QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, shown.At(birds));
  QTest::keyClick(&view, Qt::Key_F2);
  ASSERT_TRUE(TypeName("Water birds"));
  EXPECT_EQ(birds->Text(), "Water birds");
  EXPECT_NE(StoredTree(set).find("a1,-3,Water birds\r\n"), std::string::npos);
  EXPECT_EQ(view.SelectedChapterName(), "Water birds");

  // A page node is not renamed by the plain tree (the Pages panel does it).
  TreeNode* grebe = tree.FindObject(Page(2));
  EXPECT_FALSE(view.ItemModel().flags(view.ItemModel().IndexOf(grebe)) & Qt::ItemIsEditable);

  // Delete: a live page stays (its owner decides), a chapter goes and its
  // pages take its place.
  ObjectId asked = -1;
  view.OnDel = [&](TreeNode& node) { asked = node.Object(); };
  QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, shown.At(grebe));
  QTest::keyClick(&view, Qt::Key_Delete);
  EXPECT_EQ(asked, Page(2));
  EXPECT_EQ(grebe->Parent(), birds);
  QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, shown.At(birds));
  QTest::keyClick(&view, Qt::Key_Delete);
  Settle();
  EXPECT_EQ(StoredTree(set), Lines({"a0,-2,lake.aeh", "a1,0,x", "a1,1,x", "a1,2,x", "a1,-3,Fish", "a2,3,x"}));
  EXPECT_EQ(view.SelectedNode(), tree.RootNode());
  QTest::keyClick(&view, Qt::Key_Delete);
  EXPECT_NE(tree.RootNode(), nullptr) << "the root stays";

  // Not editable: keys change nothing.
  view.SetEditable(false);
  QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, shown.At(tree.RootNode()->Child(3)));
  QTest::keyClick(&view, Qt::Key_Delete);
  EXPECT_EQ(tree.RootNode()->ChildCount(), 4u);
}

TEST_F(TreeFixture, ObjectListShowsColumnsAndSelections) {
  TAEHListView list;
  list.SetLinkedAEHset(&set);
  list.SetMultiSelect(true);
  list.Reload();
  list.resize(400, 300);
  list.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
  const ObjectListItemModel& model = list.ItemModel();
  EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "Title");
  EXPECT_EQ(model.headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), "File name");
  EXPECT_EQ(model.headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), "");
  EXPECT_EQ(model.index(0, 0).data().toString(), "Cover");
  EXPECT_EQ(model.index(1, 0).data().toString(), "Grebe");
  EXPECT_EQ(model.index(1, 3).data().toInt(), 2);
  EXPECT_FALSE(model.index(1, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
  EXPECT_EQ(list.SelectedId(), -1);

  // Cover (page 0) and Grebe selected: page 0 is left out.
  QAbstractItemView* view = list.View();
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(model.index(0, 0)).center());
  QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ControlModifier, view->visualRect(model.index(1, 0)).center());
  EXPECT_EQ(list.SelectedObjects(), std::vector<ObjectId>{Page(2)});
  // A right click selects the item under the mouse and counts as a click.
  ObjectId clicked = -1;
  list.OnClick = [&](ObjectId id) { clicked = id; };
  QTest::mouseClick(view->viewport(), Qt::RightButton, {}, view->visualRect(model.index(3, 0)).center());
  EXPECT_EQ(clicked, Page(3));
  EXPECT_EQ(list.SelectedId(), Page(3));
  int deletes = 0;
  list.OnDel = [&] { ++deletes; };
  QTest::keyClick(view, Qt::Key_Delete);
  EXPECT_EQ(deletes, 1);
  // Renaming in place; the icon views show the same items.
  QTest::keyClick(view, Qt::Key_F2);
  ASSERT_TRUE(TypeName("Zander"));
  EXPECT_EQ(set.GetObjectById(Page(3))->GetCaption(), "Zander");
  list.SetViewStyle(TAEHListView::ViewStyle::Icon);
  EXPECT_NE(list.View(), view);
  EXPECT_EQ(list.SelectedId(), Page(3));
}

// The Pages panel with an editor that only remembers what it was asked.
struct PanelFixture : public TreeFixture {
  void SetUp() override {
    TreeFixture::SetUp();
    PagesPanelHost host;
    host.editor.mainPage = [this] { return shown; };
    host.editor.showPage = [this](long page) {
      asked.push_back(page);
      shown = page;
      if (panel && page >= 0) panel->ShowPage(page);
    };
    host.deleteObjects = [this](const std::vector<ObjectId>& ids) {
      // The real delete command, answered OK once its report is in.
      QTimer::singleShot(0, [this] {
        auto* dialog = qobject_cast<search::ui::TFcancella*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->ReportRunning() && !dialog->References().isEmpty(); }, 2000));
        report = dialog->References().toStdString();
        dialog->accept();
      });
      search::ui::AskAndDeleteObjects(panel.get(), set, ids, editorLink);
    };
    editorLink = host.editor;
    panel = std::make_unique<TPagesPanel>(host);
    panel->SetHypertext(&set);
    panel->resize(300, 400);
    panel->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panel.get()));
  }
  QPoint At(const TreeNode* node) {
    TAEHorderedTreeView& view = panel->Tree();
    return view.visualRect(view.ItemModel().IndexOf(node)).center();
  }
  long shown = 0;
  std::vector<long> asked;
  std::string report;
  EditorLink editorLink;
  std::unique_ptr<TPagesPanel> panel;
};

TEST_F(PanelFixture, ClickShowsPagesAndTheTreeFollowsThePageShown) {
  TAEHorderedTreeView& view = panel->Tree();
  EXPECT_EQ(view.SelectedObject(), Page(0)) << "the page shown is selected at once";
  QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, At(view.Model().FindObject(Page(2))));
  EXPECT_EQ(asked, std::vector<long>{2});
  QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, At(view.Model().RootNode()->Child(1)));
  EXPECT_EQ(asked, std::vector<long>{2}) << "a chapter shows nothing";
  panel->ShowPage(3);
  EXPECT_EQ(view.SelectedObject(), Page(3));
  EXPECT_EQ(asked, std::vector<long>{2}) << "following the editor does not ask it again";
  // A page made elsewhere (the editor makes one for a number past the end)
  // joins the tree when it is shown; retitled pages show their new titles.
  TAEHoggetto* made = set.Register(set.NewObject(testoHtml));
  set.GetObjectById(Page(1))->SetName("Grey heron");
  panel->ShowPage(made->Index());
  EXPECT_EQ(view.SelectedObject(), made->GetId());
  EXPECT_EQ(view.Model().FindObject(Page(1))->Text(), "Grey heron");
}

TEST_F(PanelFixture, AddRenameMoveAndDeleteThroughTheDialog) {
  TAEHorderedTreeView& view = panel->Tree();
  TAEHorderedTree& tree = view.Model();
  // A new page in the chapter of the selected page, shown and named at once.
  panel->ShowPage(1);
  panel->Action("PagesAddPage")->trigger();
  ASSERT_TRUE(TypeName("Coot"));
  const ObjectId coot = MakeObjectId(testoHtml, 4);
  EXPECT_EQ(set.GetObjectById(coot)->GetCaption(), "Coot");
  EXPECT_EQ(tree.FindObject(coot)->Parent()->Text(), "Birds");
  // The editor let go of the page while its title changed, then showed it again.
  EXPECT_EQ(asked, (std::vector<long>{4, -1, 4}));
  EXPECT_EQ(shown, 4);

  panel->Action("PagesUp")->trigger();
  EXPECT_EQ(tree.FindObject(coot)->Row(), 1);
  panel->Action("PagesAddChapter")->trigger();
  ASSERT_TRUE(TypeName({}));
  EXPECT_NE(StoredTree(set).find("a2,-3,New chapter\r\n"), std::string::npos) << StoredTree(set);

  // Deleting the page shown: the dialog reports who links to it, then the
  // page and every reference go, and the editor is left on page 0.
  set.GetObjectById(Page(0))->SetContent("<Z S0 ><$00000004>to the coot<%>" + std::string(1, '\0'));
  QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, At(tree.FindObject(coot)));
  EXPECT_TRUE(panel->Action("PagesDelete")->isEnabled());
  panel->Action("PagesDelete")->trigger();
  Settle();
  EXPECT_EQ(report, "+ \"COOT\" is present in/ linked from/ used by:\n    - Cover   {in text}");
  EXPECT_TRUE(set.GetObjectById(coot)->IsFree());
  EXPECT_EQ(tree.FindObject(coot), nullptr);
  EXPECT_EQ(shown, 0);
  EXPECT_EQ(search::PagesReferringTo(set, coot), std::vector<ObjectId>{});
  EXPECT_EQ(StoredTree(set).find("a2,67108868"), std::string::npos);
  // Page 0 cannot be deleted.
  QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, At(tree.FindObject(Page(0))));
  EXPECT_FALSE(panel->Action("PagesDelete")->isEnabled());
}

}  // namespace
}  // namespace tarn::document::ui
