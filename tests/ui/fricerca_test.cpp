// The link explorer window and the delete dialog, used as an author uses
// them: choosing a kind of search and an object, searching, walking from
// page to page by double clicks, closing the window while its threads run,
// and deleting with a report of the references first.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <thread>

#include "document/aehset.h"
#include "document/recordfields.h"
#include "document/ui/aehlistview.h"
#include "search/explorerworld.h"
#include "search/linkexplorer.h"
#include "search/ui/fcancella.h"
#include "search/ui/fricerca.h"

namespace tarn::search::ui {
namespace {

using document::ui::TAEHListView;
using testing::ExplorerWorld;
using Ids = std::set<ObjectId>;

void Settle() {
  for (int i = 0; i < 5; ++i) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
  }
}

Ids Listed(const TAEHListView& list) {
  Ids ids;
  for (const auto& item : const_cast<TAEHListView&>(list).List().Items()) ids.insert(item.id);
  return ids;
}

QPoint At(TAEHListView& list, ObjectId id) {
  const QModelIndex index = list.ItemModel().index(list.List().Find(id), 0);
  return list.View()->visualRect(index).center();
}

void Click(TAEHListView& list, ObjectId id) { QTest::mouseClick(list.View()->viewport(), Qt::LeftButton, {}, At(list, id)); }
// The view takes a double click only on the item it saw pressed.
void DoubleClick(TAEHListView& list, ObjectId id) {
  QTest::mouseClick(list.View()->viewport(), Qt::LeftButton, {}, At(list, id));
  QTest::mousePress(list.View()->viewport(), Qt::LeftButton, {}, At(list, id));
  QTest::mouseDClick(list.View()->viewport(), Qt::LeftButton, {}, At(list, id));
  QTest::mouseRelease(list.View()->viewport(), Qt::LeftButton, {}, At(list, id));
}

struct ExplorerFixture : public ::testing::Test {
  void SetUp() override {
    ExplorerHost host;
    host.editor.mainPage = [this] { return shown; };
    host.editor.showPage = [this](long page) {
      asked.push_back(page);
      shown = page;
    };
    host.openUrl = [this](const std::string& url) { opened.push_back(url); };
    explorer = new TFricerca(*w.set, host);
    explorer->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(explorer));
  }
  void TearDown() override { delete explorer.data(); }
  QPushButton* Button(const char* name) { return explorer->findChild<QPushButton*>(QString::fromLatin1(name)); }

  ExplorerWorld w;
  long shown = ExplorerWorld::kTarget;
  std::vector<long> asked;
  std::vector<std::string> opened;
  QPointer<TFricerca> explorer;
};

TEST_F(ExplorerFixture, SearchTabFindsThePagesThatReferToAnObject) {
  EXPECT_EQ(explorer->windowTitle(), "Hypertext search - Link explorer");
  TAEHListView& candidates = explorer->Candidates();
  TAEHListView& found = explorer->Found();
  EXPECT_EQ(candidates.Count(), ExplorerWorld::kPageCount) << "pages are offered first";

  // The keyboard picks the second kind of search: images.
  QComboBox& kinds = explorer->SearchKinds();
  kinds.setFocus();
  QTest::keyClick(&kinds, Qt::Key_Down);
  EXPECT_EQ(kinds.currentText(), "...an image like selected (below):");
  EXPECT_EQ(Listed(candidates), Ids{w.image});
  EXPECT_FALSE(Button("BMostraOgg")->isVisible()) << "only pages can be shown";
  Click(candidates, w.image);
  QTest::mouseClick(Button("BCerca"), Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return explorer->SearchIdle(); }, 2000));
  EXPECT_EQ(Listed(found), Ids{w.PageId(ExplorerWorld::kPictures)});
  // A click among the candidates while no search runs empties the result.
  Click(candidates, w.image);
  EXPECT_EQ(found.Count(), 0);

  // Back to pages: a double click on a candidate searches at once.
  kinds.setFocus();
  QTest::keyClick(&kinds, Qt::Key_Up);
  DoubleClick(candidates, w.PageId(ExplorerWorld::kTarget));
  ASSERT_TRUE(QTest::qWaitFor([&] { return explorer->SearchIdle() && found.Count() > 0; }, 2000));
  EXPECT_EQ(Listed(found), (Ids{w.PageId(ExplorerWorld::kCover), w.PageId(ExplorerWorld::kHeaded),
                                w.PageId(ExplorerWorld::kSpecial), w.PageId(ExplorerWorld::kScript)}));
  Click(found, w.PageId(ExplorerWorld::kHeaded));
  QTest::mouseClick(Button("BMostraTrov"), Qt::LeftButton);
  EXPECT_EQ(asked, std::vector<long>{ExplorerWorld::kHeaded});
  EXPECT_TRUE(explorer->ExploreStale());
}

TEST_F(ExplorerFixture, ExploreTabWalksFromPageToPage) {
  explorer->SelectTab(TFricerca::kExploreTab);
  TAEHListView& from = explorer->ReferringPages();
  TAEHListView& to = explorer->ReferencedObjects();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !explorer->ThreadsRunning() && from.Count() == 4; }, 2000));
  Settle();
  EXPECT_EQ(explorer->CurrentCaption(), "Target");
  EXPECT_EQ(Listed(from), (Ids{w.PageId(ExplorerWorld::kCover), w.PageId(ExplorerWorld::kHeaded),
                               w.PageId(ExplorerWorld::kSpecial), w.PageId(ExplorerWorld::kScript)}));
  EXPECT_EQ(to.Count(), 0);

  // To the cover page: it becomes the page shown and is explored in turn.
  DoubleClick(from, w.PageId(ExplorerWorld::kCover));
  EXPECT_EQ(asked, std::vector<long>{ExplorerWorld::kCover});
  EXPECT_EQ(explorer->CurrentCaption(), "Cover");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !explorer->ThreadsRunning() && to.Count() == 3; }, 2000));
  Settle();
  EXPECT_EQ(Listed(to), (Ids{w.PageId(ExplorerWorld::kTarget), w.web, w.file}));
  EXPECT_EQ(from.Count(), 0);

  // A web link goes to the desktop; the explorer stays on its page.
  DoubleClick(to, w.web);
  EXPECT_EQ(opened, std::vector<std::string>{"http://lakes.example/"});
  EXPECT_EQ(asked.size(), 1u);
  EXPECT_EQ(explorer->CurrentCaption(), "Cover");
}

TEST_F(ExplorerFixture, ClosingWhileThreadsRunStopsThem) {
  document::TAEHset& set = *w.set;
  // Pages still in the older text form, each of which takes the searches
  // 5 ms to convert: a thousand of them keep the threads busy for seconds.
  set.OlderTextConverter = [](document::TAEHoggetto& page) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    page.SetU8(document::field::kPageGeneration, 2);
  };
  for (int i = 0; i < 1000; ++i) {
    auto page = set.NewObject(document::testoHtml);
    page->SetU8(document::field::kPageGeneration, 1);
    set.Register(std::move(page));
  }
  explorer->Update();
  Click(explorer->Candidates(), w.PageId(ExplorerWorld::kTarget));
  QTest::mouseClick(Button("BCerca"), Qt::LeftButton);
  explorer->SelectTab(TFricerca::kExploreTab);
  EXPECT_TRUE(explorer->ThreadsRunning());
  EXPECT_FALSE(explorer->SearchIdle());
  // Closing stops the threads after the page each is on, and reports they
  // queued must not reach the window, which is gone.
  const auto start = std::chrono::steady_clock::now();
  QTest::mouseClick(Button("BCancel"), Qt::LeftButton);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  Settle();
  EXPECT_TRUE(explorer.isNull()) << "the window frees itself when closed";
  QTest::qWait(50);
  Settle();
}

TEST(DeleteDialog, ReportsThenDeletesEverythingOrNothing) {
  ExplorerWorld w;
  long shown = ExplorerWorld::kTarget;
  std::vector<long> asked;
  document::ui::EditorLink editor{[&] { return shown; }, [&](long page) {
                                    asked.push_back(page);
                                    shown = page;
                                  }};
  const ObjectId target = w.PageId(ExplorerWorld::kTarget);
  // Page 0 is shown after Headed as the next slide.
  w.set->GetObject(document::testoHtml, ExplorerWorld::kHeaded)->SetI32(document::field::kPageSlideTarget, 0);
  w.set->SetModified(false);
  const std::vector<ObjectId> ids = {w.image, target, w.PageId(0)};
  {
    TFcancella dialog(*w.set, ids, editor);
    EXPECT_EQ(dialog.windowTitle(), "Delete objects from internal archives");
    dialog.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.ReportRunning(); }, 2000));
    Settle();
    EXPECT_EQ(dialog.References().toStdString(),
              "+ \"LAKE\" is present in/ linked from/ used by:\n"
              "    - Pictures   {in text background}\n"
              "+ \"TARGET\" is present in/ linked from/ used by:\n"
              "    - Cover   {in text}\n"
              "    - Headed   {as header or footer}\n"
              "    - Special   {as/in special link}\n"
              "    - Script   {in script/html}\n"
              "+ \"COVER\" is present in/ linked from/ used by:\n"
              "    - Headed   {as next slide}");
    EXPECT_EQ(dialog.ReportLines()[3].object, w.PageId(ExplorerWorld::kCover));
    EXPECT_EQ(dialog.Selected(), "lake\nTarget\nCover");
    EXPECT_EQ(dialog.Tabs().currentIndex(), TFcancella::kReferencesTab);
    QTest::mouseClick(dialog.findChild<QPushButton*>("BCancel"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
  }
  EXPECT_FALSE(w.set->IsModified()) << "Cancel changes nothing";
  EXPECT_FALSE(w.set->GetObjectById(target)->IsFree());
  EXPECT_TRUE(asked.empty());

  TFcancella dialog(*w.set, ids, editor);
  dialog.show();
  QTest::mouseClick(dialog.findChild<QPushButton*>("BOk"), Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Selected(), "lake [X] Deleted\nTarget [X] Deleted\nCover");
  EXPECT_EQ(dialog.Tabs().currentIndex(), TFcancella::kSelectedTab);
  EXPECT_EQ(asked, (std::vector<long>{-1, 0})) << "the page shown was deleted: page 0 comes instead";
  EXPECT_TRUE(w.set->GetObjectById(w.image)->IsFree());
  EXPECT_TRUE(w.set->GetObjectById(target)->IsFree());
  EXPECT_FALSE(w.set->GetObjectById(w.PageId(0))->IsFree());
  EXPECT_TRUE(PagesReferringTo(*w.set, target).empty());
  EXPECT_TRUE(PagesReferringTo(*w.set, w.image).empty());
  EXPECT_FALSE(PagesReferringTo(*w.set, w.PageId(0)).empty()) << "page 0 keeps its references";
}

}  // namespace
}  // namespace tarn::search::ui
