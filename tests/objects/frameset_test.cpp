// The frame set's model: showing pages and frame maps, history and links,
// storing a layout as the page's frame map, layout files, and the frameset
// description in the HTML export and the document file.
#include <gtest/gtest.h>

#include "app/compose.h"
#include "convert/aehtohtml.h"
#include "document/aehset.h"
#include "document/aehtesto.h"
#include "document/links.h"
#include "document/recordfields.h"
#include "document/testfixtures.h"
#include "objects/frameset.h"
#include "platform/testing/manualeventloop.h"

namespace tarn::objects {
namespace {

using namespace document::field;
using document::TAEHoggetto;

class FrameSetFixture : public ::testing::Test {
 protected:
  FrameSetFixture() : set(env.Services()), frames(env.messages) {
    app::Compose(set);
    for (const char* text : {"Cover", "Second", "Third"}) Page(std::string("<Z S0 >") + text);
    frames.SetLinkedAEHset(&set);
    frames.SetEventLoop(&loop);
    frames.ClientArea = {0, 0, 600, 603};
    frames.OnPageChanged = [this] { ++changes; };
  }

  TAEHoggetto* Page(const std::string& markup) {
    auto page = set.NewObject(document::testoHtml);
    page->SetContent(markup + std::string(1, '\0'));
    return set.Register(std::move(page));
  }

  // Page 0 split into two rows, the second showing page 2, stored as its map.
  void MakeMappedCover() {
    frames.SetMainPageNumber(0);
    ASSERT_TRUE(frames.DragBar(*frames.Top(), SplitDirection::Rows, 120));
    frames.ShowPageInFrame(*frames.Top()->children[0], 2);
    frames.SaveOnExit = true;
    frames.SetMainPageNumber(1);
  }

  tarn::testing::TestEnv env;
  document::TAEHset set;
  platform::testing::ManualEventLoop loop;
  TAEHCustomFrameSet frames;
  int changes = 0;
};

TEST_F(FrameSetFixture, ShowingPagesSingleFramesAndNewPages) {
  frames.SetMainPageNumber(1);
  ASSERT_NE(frames.Top(), nullptr);
  EXPECT_EQ(frames.Top()->Name(), "Pag1");
  EXPECT_EQ(frames.Top()->splitMode, kSplitFree);
  ASSERT_EQ(frames.Views().size(), 1u);
  EXPECT_EQ(frames.Views()[0]->PageNumber(), 1);
  const TAEHFrame* top = frames.Top();
  frames.SetMainPageNumber(1);
  EXPECT_EQ(frames.Top(), top);  // the same page is not rebuilt
  EXPECT_EQ(changes, 1);

  // A page that does not exist is created and shown.
  frames.SetMainPageNumber(40);
  EXPECT_EQ(frames.MainPageNumber(), 3);
  EXPECT_EQ(set.CountOf(document::testoHtml), 4);

  frames.SetShowNested(false);
  EXPECT_EQ(frames.Top()->splitMode, kNoBars);
  frames.ClosePage();
  EXPECT_EQ(frames.Top(), nullptr);
  EXPECT_EQ(frames.MainPageNumber(), -1);
}

TEST_F(FrameSetFixture, LinksHistoryAndGoingBack) {
  frames.SetMainPageNumber(0);
  page::TAEHpage* source = frames.Views()[0];
  frames.FollowLink({false, source}, document::MakeObjectId(document::testoHtml, 2));
  EXPECT_EQ(frames.MainPageNumber(), 0);  // nothing happens inside the event
  TAEHoggetto* followed = nullptr;
  frames.OnDoLink = [&](const LinkSource&, TAEHoggetto* link) { followed = link; };
  loop.ProcessEvents();
  EXPECT_EQ(frames.MainPageNumber(), 2);
  EXPECT_EQ(followed, set.GetObject(document::testoHtml, 2));
  EXPECT_EQ(frames.History(), (std::vector<int>{0}));

  // A special link to the next page of the browse sequence.
  auto next = set.NewObject(document::speclink);
  next->SetSubtype(document::kSpecialNext);
  TAEHoggetto* special = set.Register(std::move(next));
  frames.SetMainPageNumber(1);
  frames.FollowLink({false, frames.Views()[0]}, special->GetId());
  loop.ProcessEvents();
  EXPECT_EQ(frames.MainPageNumber(), set.NextInSequence(1));

  EXPECT_EQ(frames.History(), (std::vector<int>{0, 1}));
  frames.GoBack();
  EXPECT_EQ(frames.MainPageNumber(), 1);
  EXPECT_EQ(frames.History(), (std::vector<int>{0}));
  frames.SetAutoJump(false);
  EXPECT_TRUE(frames.History().empty());
  // Without jumping nothing is followed by the frame set itself.
  frames.FollowLink({false, frames.Views()[0]}, document::MakeObjectId(document::testoHtml, 0));
  loop.ProcessEvents();
  EXPECT_EQ(frames.MainPageNumber(), 1);
}

TEST_F(FrameSetFixture, SlideShowInPreview) {
  TAEHoggetto* cover = set.GetObject(document::testoHtml, 0);
  cover->SetI32(kPageSlideTarget, 2);
  cover->SetI16(kPageSlideDelay, 3);
  frames.SetMainPageNumber(0);
  EXPECT_FALSE(frames.SlideTimerRunning());  // only in preview with active slides
  frames.SetReadOnly(true);
  frames.ActivePreview = true;
  frames.SetMainPageNumber(1);
  frames.SetMainPageNumber(0);
  EXPECT_TRUE(frames.SlideTimerRunning());
  TAEHoggetto* followed = nullptr;
  bool busyWhenFired = false;
  frames.OnDoLink = [&](const LinkSource& source, TAEHoggetto* link) {
    EXPECT_TRUE(source.isFrameSet);
    followed = link;
    busyWhenFired = frames.LinkBusy();
  };
  // The slide lasts its delay in seconds: nothing a moment before.
  loop.Advance(2999);
  EXPECT_EQ(followed, nullptr);
  // The timer fires, stops itself and posts the link; the link is followed
  // after the timer's event.
  loop.messages.clear();
  loop.Advance(1);
  EXPECT_FALSE(frames.SlideTimerRunning());
  EXPECT_EQ(loop.messages, (std::vector<int>{kMsgFollowLink}));
  EXPECT_TRUE(busyWhenFired);
  EXPECT_EQ(followed, set.GetObject(document::testoHtml, 2));
  EXPECT_FALSE(frames.LinkBusy());
  EXPECT_EQ(frames.History(), (std::vector<int>{0}));
}

TEST_F(FrameSetFixture, LayoutStoredAsTheFrameMapAndShownAgain) {
  MakeMappedCover();
  // Committing replaces page records, so the cover is looked up each time.
  auto cover = [this] { return set.GetObject(document::testoHtml, 0); };
  const std::int32_t mapIndex = cover()->I32(kPageFrameMap);
  ASSERT_GE(mapIndex, 0);
  TAEHoggetto* map = set.GetObject(document::mappaFrame, mapIndex);
  EXPECT_EQ(map->I32(kFrameRecordSizeField), kFrameRecordSize);
  EXPECT_EQ(map->ContentLength(), 3 * kFrameRecordSize);

  frames.SetMainPageNumber(0);
  ASSERT_TRUE(frames.MapShown());
  ASSERT_EQ(frames.Top()->children.size(), 2u);
  const auto views = frames.Views();
  ASSERT_EQ(views.size(), 2u);
  EXPECT_EQ(views[0]->PageNumber(), 2);
  EXPECT_EQ(views[1]->PageNumber(), 0);
  EXPECT_EQ(frames.Top()->children[0]->bounds.Height(), 120);

  // Deleting the first frame merges the set back into one frame.
  frames.EndSplitterDrag(*frames.Top()->children[0], 600, 4);
  EXPECT_EQ(frames.Top()->children.size(), 2u);  // deferred
  loop.ProcessEvents();
  EXPECT_TRUE(frames.Top()->children.empty());
  ASSERT_EQ(frames.Views().size(), 1u);
  frames.SetMainPageNumber(1);
  EXPECT_EQ(cover()->I32(kPageFrameMap), -1);
  EXPECT_TRUE(map->IsFree());
}

TEST_F(FrameSetFixture, MapWithoutDataShowsASingleFrame) {
  auto map = set.NewObject(document::mappaFrame);
  TAEHoggetto* empty = set.Register(std::move(map));
  set.GetObject(document::testoHtml, 1)->SetI32(kPageFrameMap, empty->Index());
  frames.SetMainPageNumber(1);
  EXPECT_TRUE(env.messages.Saw("Map problem."));
  EXPECT_TRUE(frames.Top()->children.empty());
}

TEST_F(FrameSetFixture, LayoutFiles) {
  frames.SetMainPageNumber(0);
  EXPECT_EQ(frames.SaveLayout(kLayoutSave), "");  // a single frame writes nothing
  frames.DragBar(*frames.Top(), SplitDirection::Columns, 200);
  const std::string bytes = frames.SaveLayout(kLayoutTemplate);
  ASSERT_FALSE(bytes.empty());

  frames.SetMainPageNumber(1);
  EXPECT_FALSE(frames.LoadLayout(std::string("\x35\x12\0\0\x3a\0\0\0", 8), kLayoutSave));
  EXPECT_TRUE(env.messages.Saw("File format error!"));
  EXPECT_TRUE(frames.Top()->children.empty());
  ASSERT_TRUE(frames.LoadLayout(bytes, kLayoutTemplate));
  ASSERT_EQ(frames.Top()->children.size(), 2u);
  EXPECT_TRUE(frames.Top()->ChildrenAreColumns());
  EXPECT_EQ(frames.Top()->Name(), "Pag1");
  for (page::TAEHpage* view : frames.Views()) EXPECT_TRUE(view->IsNewPage());
}

TEST_F(FrameSetFixture, FrameSetInTheHtmlExportAndTheDocumentFile) {
  MakeMappedCover();
  convert::TAEHtoHtml html;
  html.SetLinkedAEHset(&set);
  set.SetExpPrefix("site");
  std::string out;
  convert::RecordList frameless;
  convert::RecordList files;
  html.ExportPage(*set.GetObject(document::testoHtml, 0), out, &frameless, files, convert::kMainName);
  const std::string expected =
      "</HEAD>\r\n<FRAMESET ROWS=20%,* BORDER=3 FRAMESPACING=3 >\r\n"
      "\r<FRAME NAME=\"Frame000001\" SRC=\"site-000002.html\" SCROLLING=auto >\r\n"
      "\r<FRAME NAME=\"Frame000002\" SRC=\"site-index.html\" SCROLLING=auto >\r\n"
      "</FRAMESET>\r\n\r\n<NOFRAMES>\r\n<BODY";
  EXPECT_NE(out.find(expected), std::string::npos) << out;
  ASSERT_EQ(frameless.Size(), 2u);

  const auto path = env.Path("framed.aeh");
  ASSERT_TRUE(set.SaveToFile(path));
  document::TAEHset again(env.Services());
  ASSERT_TRUE(again.LoadFromFile(path));
  const TAEHoggetto* map =
      again.GetObject(document::mappaFrame, again.GetObject(document::testoHtml, 0)->I32(kPageFrameMap));
  ASSERT_NE(map, nullptr);
  EXPECT_EQ(map->FrameDescription(),
            "<FRAMESET ROWS=20%,* BORDER=3 FRAMESPACING=3 >\r\n"
            "\r<FRAME NAME=\"Frame000001\" SRC=\"$00000002\" SCROLLING=auto >\r\n"
            "\r<FRAME NAME=\"Frame000002\" SRC=\"$00000000\" SCROLLING=auto >\r\n"
            "</FRAMESET>\r\n");
  EXPECT_EQ(map->I32(kFrameWriterValue), static_cast<std::int32_t>(map->FrameDescription().size()));
  EXPECT_EQ(map->ContentLength(), 3 * kFrameRecordSize);
}

}  // namespace
}  // namespace tarn::objects
