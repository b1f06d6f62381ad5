// The editor control on screen: pages shown in a text box over their
// background with the shared header, typing and writing the page back,
// following links with back and forward, splitting a page into frames by
// dragging a bar, resizing with a splitter and deleting by dragging it shut.
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

#include "app/compose.h"
#include "document/aehset.h"
#include "document/aehtesto.h"
#include "document/recordfields.h"
#include "page/ui/pageview.h"
#include "objects/ui/framesetwidget.h"
#include "objects/ui/styleview.h"
#include "platform/qt/qtcanvas.h"
#include "platform/system.h"
#include "platform/testing/testplatform.h"
#include "richtext/ui/aehbox.h"

namespace tarn::objects::ui {
namespace {

using document::TAEHoggetto;
using richtext::ui::TAEHbox;

std::string Own(TAEHbox& box) {
  std::string text;
  for (int i = box.Text().FirstOwn(); i <= box.Text().LastOwn(); ++i) {
    if (!text.empty()) text += '|';
    text += box.Text().Paragraph(i).text;
  }
  return text;
}

class EditorFixture : public ::testing::Test {
 protected:
  EditorFixture() : set({&messages, &system, &measurer, &clipboard}), editor(messages) {
    app::Compose(set);
    set.NewHypertext();
    // Page 0 links to page 1, page 1 to page 2.
    Page("<Z S0 >Go to <$00000001>second<%> page");
    Page("<Z S0 >Now <$00000002>third<%> one");
    Page("<Z S0 >Last page");
    editor.SetClipboard(&clipboard);
    editor.SetLinkedAEHset(&set);
    editor.events.OnPageChanged = [this] { ++pageChanges; };
    editor.events.OnFrameSetChanged = [this] { ++layoutChanges; };
    editor.resize(600, 400);
    editor.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&editor));
  }

  TAEHoggetto* Page(const std::string& markup) {
    auto page = set.NewObject(document::testoHtml);
    page->SetContent(markup + std::string(1, '\0'));
    return set.Register(std::move(page));
  }
  std::string Stored(int page) { return static_cast<document::TAEHtesto*>(set.GetObject(document::testoHtml, page))->Markup(); }
  TAEHFrame& Top() { return *editor.Model().Top(); }
  TAEHbox& TopBox() { return *editor.BoxOf(Top()); }
  // Lets posted messages and deferred deletions run.
  void Settle() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  // Clicks the middle of a character of the box's first own paragraph.
  void ClickCharacter(TAEHbox& box, int character, bool twice = false) {
    const int p = box.Text().FirstOwn();
    const richtext::TextPos at = box.Text().Layout().PositionToPoint(p, character);
    const QPoint point(at.x + 2, at.y + at.height / 2);
    if (twice) {
      QTest::mouseDClick(&box, Qt::LeftButton, {}, point);
    } else {
      QTest::mouseClick(&box, Qt::LeftButton, {}, point);
    }
    Settle();
  }
  // Drags a bar or splitter by the distance, pressing at its middle.
  static void Drag(QWidget& widget, QPoint by) {
    const QPoint from = widget.rect().center();
    QTest::mousePress(&widget, Qt::LeftButton, {}, from);
    QTest::mouseRelease(&widget, Qt::LeftButton, {}, from + by);
  }

  platform::testing::RecordingMessages messages;
  platform::HostSystemInfo system;
  platform::qt::QtCanvas measurer;
  platform::testing::MemoryClipboard clipboard;
  document::TAEHset set;
  TInsiemeCornici editor;
  int pageChanges = 0;
  int layoutChanges = 0;
};

TEST_F(EditorFixture, ShowsAPageInASingleFrameWithTheSharedHeader) {
  set.SetHeaderI32(document::header::kHeaderPage, 2);
  editor.SetMainPageNumber(0);
  EXPECT_EQ(editor.MainPageNumber(), 0);
  EXPECT_EQ(pageChanges, 1);
  ASSERT_NE(editor.Model().Top(), nullptr);
  EXPECT_FALSE(Top().HasChildren());
  page::ui::TPageView* view = editor.PageViewOf(Top());
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(view->isVisible());
  EXPECT_EQ(view->geometry(), editor.rect());
  TAEHbox& box = TopBox();
  EXPECT_TRUE(box.isVisible());
  EXPECT_FALSE(box.PaintsBackground());
  EXPECT_EQ(box.Text().HeaderCount(), 1);
  EXPECT_EQ(Own(box), "Go to second page");
  // The box is as wide as the visible page, and the page view shows it.
  EXPECT_EQ(box.width(), view->viewport()->width());
  EXPECT_TRUE(box.hasFocus());

  // The same page again is not rebuilt.
  editor.SetMainPageNumber(0);
  EXPECT_EQ(&box, &TopBox());
  EXPECT_EQ(pageChanges, 1);

  // A missing page is made and shown.
  editor.SetMainPageNumber(40);
  EXPECT_EQ(editor.MainPageNumber(), 3);
  EXPECT_EQ(Own(TopBox()), "");

  editor.ClosePage();
  Settle();
  EXPECT_EQ(editor.MainPageNumber(), -1);
  EXPECT_EQ(editor.findChildren<page::ui::TPageView*>().size(), 0);
}

TEST_F(EditorFixture, TypingIsWrittenBackWhenAnotherPageIsShown) {
  set.SetHeaderI32(document::header::kFooterPage, 2);
  editor.SetMainPageNumber(0);
  EXPECT_EQ(TopBox().Text().FooterCount(), 1);
  EXPECT_FALSE(editor.PageModified());
  QTest::keyClicks(&TopBox(), "Hi ");
  EXPECT_TRUE(editor.PageModified());
  EXPECT_EQ(Stored(0).find("Hi "), std::string::npos);

  editor.SetMainPageNumber(1);
  EXPECT_NE(Stored(0).find("<Z S0 >Hi Go to <$00000001>second<%> page"), std::string::npos) << Stored(0);
  EXPECT_TRUE(set.IsModified());
  // The shared footer stays in its own page.
  EXPECT_EQ(Stored(0).find("Last page"), std::string::npos);

  // Shown again, the page reads the stored text.
  editor.SetMainPageNumber(0);
  EXPECT_EQ(Own(TopBox()), "Hi Go to second page");
  EXPECT_FALSE(editor.PageModified());
}

TEST_F(EditorFixture, TheActiveObjectAndDroppedFilesAreReported) {
  std::vector<std::string> log;
  editor.OnEditStart = [&](QWidget* object) { log.push_back(object == &TopBox() ? "start box" : "start other"); };
  editor.OnEditStop = [&](QWidget*) { log.push_back("stop"); };
  editor.OnSelectionChange = [&](QWidget*) { log.push_back("selection"); };
  editor.OnRulerPosChanged = [&](QWidget*) { log.push_back("ruler"); };
  std::vector<std::string> dropped;
  editor.OnDropFile = [&](const std::vector<std::string>& files, QWidget*) { dropped = files; };
  editor.SetMainPageNumber(0);
  QTest::mouseClick(&TopBox(), Qt::LeftButton, {}, QPoint(20, 8));
  std::erase(log, "ruler");
  EXPECT_EQ(log, (std::vector<std::string>{"start box", "selection"}));
  log.clear();
  QTest::keyClick(&TopBox(), Qt::Key_Right);
  EXPECT_EQ(log, (std::vector<std::string>{"ruler"}));  // the same object: no new start
  static_cast<objects::FrameSetInterface&>(editor).FilesDropped({"/tmp/a.txt"}, &TopBox());
  EXPECT_EQ(dropped, (std::vector<std::string>{"/tmp/a.txt"}));
}

TEST_F(EditorFixture, SavingWritesThePageBackAndShowsItAgain) {
  editor.SetMainPageNumber(1);
  QTest::keyClicks(&TopBox(), "X");
  const auto file = std::filesystem::temp_directory_path() / "tarn_frameset_test.aeh";
  ASSERT_TRUE(set.SaveToFile(file));
  editor.SetPageModified(false);
  EXPECT_FALSE(editor.PageModified());
  EXPECT_EQ(editor.MainPageNumber(), 1);
  EXPECT_EQ(Own(TopBox()), "XNow third one");

  document::TAEHset reread({&messages, &system, &measurer, &clipboard});
  ASSERT_TRUE(reread.LoadFromFile(file));
  EXPECT_NE(static_cast<document::TAEHtesto*>(reread.GetObject(document::testoHtml, 1))->Markup().find("XNow "), std::string::npos);
  std::filesystem::remove(file);
  std::filesystem::remove(std::filesystem::path(file).replace_extension(".bak"));
}

TEST_F(EditorFixture, PreviewIsReadOnly) {
  editor.SetMainPageNumber(0);
  editor.SetReadOnly(true);
  QTest::keyClicks(&TopBox(), "Hi");
  EXPECT_EQ(Own(TopBox()), "Go to second page");
  EXPECT_FALSE(editor.PageModified());
  // No bars to split frames in preview.
  EXPECT_FALSE(editor.BarOf(Top(), SplitDirection::Rows)->isVisible());
  editor.SetReadOnly(false);
  EXPECT_TRUE(editor.BarOf(Top(), SplitDirection::Rows)->isVisible());
  EXPECT_TRUE(editor.BarOf(Top(), SplitDirection::Columns)->isVisible());
}

TEST_F(EditorFixture, FollowingLinksWithBackAndForward) {
  editor.SetMainPageNumber(0);
  editor.SetReadOnly(true);
  ClickCharacter(TopBox(), 7);  // "second"
  EXPECT_EQ(editor.MainPageNumber(), 1);
  EXPECT_EQ(editor.Model().History(), std::vector<int>{0});
  ClickCharacter(TopBox(), 5);  // "third"
  EXPECT_EQ(editor.MainPageNumber(), 2);
  EXPECT_EQ(Own(TopBox()), "Last page");

  EXPECT_TRUE(editor.GoBack());
  EXPECT_EQ(editor.MainPageNumber(), 1);
  EXPECT_TRUE(editor.GoBack());
  EXPECT_EQ(editor.MainPageNumber(), 0);
  EXPECT_FALSE(editor.GoBack());
  EXPECT_TRUE(editor.GoForward());
  EXPECT_EQ(editor.MainPageNumber(), 1);
  EXPECT_EQ(editor.ForwardHistory(), std::vector<int>{2});

  // A new link forgets the pages ahead.
  editor.SetReadOnly(false);
  ClickCharacter(TopBox(), 5, true);  // double click in edit mode
  EXPECT_EQ(editor.MainPageNumber(), 2);
  EXPECT_TRUE(editor.ForwardHistory().empty());
  EXPECT_FALSE(editor.GoForward());

  // A plain click in edit mode places the caret and follows nothing.
  editor.SetMainPageNumber(0);
  ClickCharacter(TopBox(), 7);
  EXPECT_EQ(editor.MainPageNumber(), 0);
}

TEST_F(EditorFixture, DraggingBarsSplitsAndSplittersResizeAndDelete) {
  editor.SetMainPageNumber(0);
  QTest::keyClicks(&TopBox(), "A");
  Drag(*editor.BarOf(Top(), SplitDirection::Rows), {0, 150});
  Settle();
  ASSERT_EQ(Top().children.size(), 2u);
  EXPECT_EQ(layoutChanges, 1);
  EXPECT_TRUE(editor.PageModified());
  TAEHFrame& first = *Top().children[0];
  TAEHFrame& second = *Top().children[1];
  // The second frame kept the page and its edit; the first has a new page.
  ASSERT_NE(editor.BoxOf(second), nullptr);
  EXPECT_EQ(Own(*editor.BoxOf(second)), "AGo to second page");
  ASSERT_NE(editor.BoxOf(first), nullptr);
  EXPECT_EQ(Own(*editor.BoxOf(first)), "");
  EXPECT_NEAR(first.bounds.Height(), 150, 4);
  EXPECT_EQ(editor.PageViewOf(first)->geometry().height(), first.bounds.Height());
  EXPECT_EQ(editor.findChildren<page::ui::TPageView*>().size(), 2);
  // A row can only be split into columns now.
  EXPECT_FALSE(editor.BarOf(first, SplitDirection::Rows)->isVisible());
  EXPECT_TRUE(editor.BarOf(first, SplitDirection::Columns)->isVisible());

  // Too short a drag does nothing.
  Drag(*editor.BarOf(first, SplitDirection::Columns), {30, 0});
  EXPECT_FALSE(first.HasChildren());

  // The splitter resizes the first row.
  TFrameSplitter* splitter = editor.SplitterAfter(first);
  ASSERT_NE(splitter, nullptr);
  Drag(*splitter, {0, 60});
  Settle();
  EXPECT_NEAR(first.bounds.Height(), 210, 4);
  EXPECT_EQ(layoutChanges, 2);

  // Dragged shut, the first row goes and the page fills the top frame again.
  Drag(*editor.SplitterAfter(first), {0, -first.bounds.Height()});
  Settle();
  EXPECT_FALSE(Top().HasChildren());
  EXPECT_EQ(Own(TopBox()), "AGo to second page");
  EXPECT_EQ(editor.findChildren<page::ui::TPageView*>().size(), 1);
  EXPECT_EQ(editor.PageViewOf(Top())->geometry(), editor.rect());
  EXPECT_TRUE(messages.entries.empty());
}

TEST_F(EditorFixture, ADeletedFrameWithTypedTextAsksFirst) {
  editor.SetMainPageNumber(0);
  Drag(*editor.BarOf(Top(), SplitDirection::Columns), {200, 0});
  Settle();
  ASSERT_EQ(Top().children.size(), 2u);
  QTest::keyClicks(editor.BoxOf(*Top().children[0]), "new");
  const int pages = set.CountOf(document::testoHtml);
  messages.answers.push_back(platform::Answer::Yes);
  Drag(*editor.SplitterAfter(*Top().children[0]), {-250, 0});
  Settle();
  EXPECT_FALSE(Top().HasChildren());
  ASSERT_FALSE(messages.entries.empty());
  EXPECT_EQ(messages.entries[0].kind, "question");
  EXPECT_EQ(set.CountOf(document::testoHtml), pages + 1);
  EXPECT_NE(Stored(pages).find("new"), std::string::npos);
}

TEST_F(EditorFixture, DeletingNextToASplitFrameIsRefusedWithoutLeavingAHole) {
  editor.SetMainPageNumber(0);
  Drag(*editor.BarOf(Top(), SplitDirection::Rows), {0, 150});
  TAEHFrame& second = *Top().children[1];
  Drag(*editor.BarOf(second, SplitDirection::Columns), {0 + 200, 0});
  Settle();
  ASSERT_TRUE(second.HasChildren());
  TAEHFrame& first = *Top().children[0];
  Drag(*editor.SplitterAfter(first), {0, -first.bounds.Height()});
  Settle();
  ASSERT_EQ(Top().children.size(), 2u);
  EXPECT_TRUE(messages.Saw("You should modify another frame before."));
  // The refused row is 60 pixels high across the whole width, and the
  // other row takes the rest.
  EXPECT_NEAR(first.bounds.Height(), 60, 2);  // kept as a percent of the height
  EXPECT_EQ(first.bounds.Width(), editor.width());
  EXPECT_EQ(editor.PageViewOf(first)->geometry().height(), first.bounds.Height());
  EXPECT_EQ(second.bounds.bottom, editor.height());

  // Deleting a column of the split row merges it, and then the first row goes.
  Drag(*editor.SplitterAfter(*second.children[0]), {-300, 0});
  Settle();
  EXPECT_FALSE(second.HasChildren());
  Drag(*editor.SplitterAfter(first), {0, -100});
  Settle();
  EXPECT_FALSE(Top().HasChildren());
  EXPECT_EQ(Own(TopBox()), "Go to second page");
}

TEST_F(EditorFixture, MenusOfTheObjectKinds) {
  for (const char* name : {"PopupSpell", "PopupSpecLink", "PopupGenLink", "PopupInactive", "PopupTable", "PopupFrame"}) {
    EXPECT_NE(editor.findChild<QMenu*>(QString::fromLatin1(name)), nullptr) << name;
  }
  QStringList items;
  for (QAction* action : editor.DropMenuWidget()->actions()) items << action->text();
  EXPECT_EQ(items, (QStringList{"&Move", "&Copy", "", "&Cancel"}));
}

TEST(StyleView, ShowsTheSampleInTheStyleAndGivesItBack) {
  platform::testing::RecordingMessages messages;
  TAEHstyleView view(messages);
  view.resize(400, 300);
  int changes = 0;
  view.OnStyleChange = [&] { ++changes; };
  TAEHoggetto& style = view.Style();
  style.SetName("Big");
  view.ShowStyle(style);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(view.MainPageNumber(), 0);
  EXPECT_TRUE(view.ReadOnly());
  TAEHbox* box = view.BoxOf(*view.Model().Top());
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->Text().ParagraphCount(), 3);
  view.NewStyle();
  EXPECT_EQ(view.MainPageNumber(), -1);
  EXPECT_EQ(view.Style().GetCaption().rfind("Nuovo stile ", 0), 0u) << view.Style().GetCaption();
}

}  // namespace
}  // namespace tarn::objects::ui
