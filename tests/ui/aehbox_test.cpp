// The text box driven with real key and mouse events, with fixed metrics
// (8 pixels a character, lines 16 high, the first paragraph at y 8, left
// margin 0): selection with Shift, page moves, typing and the refusal of
// characters the code page lacks, the clipboard between two boxes, drag
// and drop within a box, the mouse, and the spelling menu.
#include "richtext/ui/aehbox.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include "convert/clipboardformats.h"
#include "document/aehset.h"
#include "platform/testing/fixedcanvas.h"
#include "platform/testing/testplatform.h"
#include "richtext/documenthost.h"
#include "ui/recordingframeset.h"

namespace tarn::richtext::ui {
namespace {

constexpr int kTop = 8;
constexpr int kLine = 16;

class AehBoxTest : public ::testing::Test {
 protected:
  AehBoxTest()
      : set({&messages, &system, &canvas, &clipboard}),
        host(set, &canvas, &messages),
        page(frameSet),
        box(new TAEHbox(host, &page, &canvas)),
        other(new TAEHbox(host, &page, &canvas)) {
    page.resize(800, 600);
    for (TAEHbox* b : {box, other}) {
      b->SetClipboard(&clipboard);
      b->SetMessages(&messages);
      b->SetPageClientWidth(400);
      b->beep = [this] { ++beeps; };
    }
    other->move(0, 300);
    page.show();
  }

  std::string Saved(TAEHbox& b) {
    std::string s = b.SaveText();
    s.pop_back();
    return s;
  }
  QPoint PointOf(int paragraph, int character, TAEHbox& b) {
    const TextPos pos = b.Text().Layout().PositionToPoint(paragraph, character);
    return {pos.x + 1, pos.y + pos.height / 2};
  }
  void Mouse(QEvent::Type type, TAEHbox& b, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(at), b.mapToGlobal(QPointF(at)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(&b, &event);
  }

  platform::testing::RecordingMessages messages;
  platform::testing::FixedSystemInfo system;
  platform::testing::FixedCanvas canvas;
  platform::testing::MemoryClipboard clipboard;
  document::TAEHset set;
  DocumentHost host;
  testing::RecordingFrameSet frameSet;
  testing::FramedPage page;
  TAEHbox* box;
  TAEHbox* other;
  int beeps = 0;
};

TEST_F(AehBoxTest, ShiftSelectsAndAPlainMoveCollapses) {
  box->LoadText("<Z S0 >abcdefgh");
  box->Text().SetCaret(CharPos{0, 2});
  for (int i = 0; i < 3; ++i) QTest::keyClick(box, Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(box->TextAttributes().SelectedText(), "cde");
  EXPECT_EQ(box->Text().Anchor(), (CharPos{0, 2}));
  QTest::keyClick(box, Qt::Key_Left);
  EXPECT_FALSE(box->Text().HasSelection());
  EXPECT_EQ(box->Text().Caret(), (CharPos{0, 2}));

  // The other collapsing keys go to the selection's end.
  QTest::keyClick(box, Qt::Key_Right, Qt::ShiftModifier);
  QTest::keyClick(box, Qt::Key_Right, Qt::ShiftModifier);
  QTest::keyClick(box, Qt::Key_End);
  EXPECT_EQ(box->Text().Caret(), (CharPos{0, 4}));
  // Ctrl+Shift extends by words, backwards too.
  QTest::keyClick(box, Qt::Key_Left, Qt::ShiftModifier | Qt::ControlModifier);
  EXPECT_EQ(box->TextAttributes().SelectedText(), "abcd");
}

TEST_F(AehBoxTest, PageDownMovesElevenLines) {
  std::string markup;
  for (int i = 0; i < 30; ++i) markup += "<Z S0 >line";
  box->LoadText(markup);
  box->Text().SetCaret(CharPos{0, 2});
  QTest::keyClick(box, Qt::Key_PageDown);
  EXPECT_EQ(box->Text().Caret(), (CharPos{11, 2}));
  QTest::keyClick(box, Qt::Key_PageDown, Qt::ShiftModifier);
  EXPECT_EQ(box->Text().Caret(), (CharPos{22, 2}));
  EXPECT_EQ(box->Text().SelectionStart(), (CharPos{11, 2}));
  QTest::keyClick(box, Qt::Key_PageUp);
  EXPECT_EQ(box->Text().Caret(), (CharPos{11, 2}));  // collapsed to the start
  QTest::keyClick(box, Qt::Key_PageUp);
  EXPECT_EQ(box->Text().Caret(), (CharPos{0, 2}));
}

TEST_F(AehBoxTest, TypingEnterAndTheCodePage) {
  box->LoadText("<Z S0 >");
  QTest::keyClicks(box, "ab");
  QTest::keyClick(box, Qt::Key_Return);
  QTest::keyClicks(box, "c&");
  // The euro sign has a cp1252 code; the Greek omega has none and is
  // refused with a beep, never stored as something else.
  QKeyEvent euro(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(0x20AC)));
  QApplication::sendEvent(box, &euro);
  QKeyEvent omega(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(0x03A9)));
  QApplication::sendEvent(box, &omega);
  EXPECT_EQ(Saved(*box), "<Z S0 >ab<Z S0 >c&amp;\x80");
  EXPECT_EQ(beeps, 1);
  // Ctrl combinations are commands, not text.
  QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(box->Text().Paragraph(1).text, "c&\x80");

  QTest::keyClick(box, Qt::Key_Home);
  QTest::keyClick(box, Qt::Key_Backspace);
  EXPECT_EQ(Saved(*box), "<Z S0 >abc&amp;\x80");
  QTest::keyClick(box, Qt::Key_Delete);
  EXPECT_EQ(Saved(*box), "<Z S0 >ab&amp;\x80");
}

TEST_F(AehBoxTest, ReadOnlyBoxesIgnoreTyping) {
  box->LoadText("<Z S0 >ab");
  box->SetReadOnly(true);
  QTest::keyClicks(box, "xy");
  QTest::keyClick(box, Qt::Key_Delete);
  EXPECT_EQ(Saved(*box), "<Z S0 >ab");
  box->SetReadOnly(false);
  box->SetLocked(true);
  QTest::keyClicks(box, "xy");
  EXPECT_EQ(Saved(*box), "<Z S0 >ab");
}

TEST_F(AehBoxTest, CopyAndPasteBetweenTwoBoxes) {
  box->LoadText("<Z S0 >ab<Y y1 >cd<Z S0 A2 >ef");
  other->LoadText("<Z S0 >XY");
  box->SelectRange({0, 1}, {1, 1});
  box->Copy();
  ASSERT_EQ(clipboard.Data().items.size(), 2u);
  EXPECT_EQ(clipboard.Data().items[0].mimeType, platform::kMimeObjects);
  EXPECT_EQ(clipboard.Data().items[1].bytes, "bcd\r\ne");

  other->Text().SetCaret(CharPos{0, 1});
  other->Paste();
  EXPECT_EQ(Saved(*other), "<Z S0 >X<Y >b<Y y1 >cd<Z S0 A2 >eY");
  EXPECT_EQ(other->TextAttributes().SelectedText(), "bcde");

  // Shift+Delete cuts.
  QTest::keyClick(box, Qt::Key_Delete, Qt::ShiftModifier);
  EXPECT_EQ(Saved(*box), "<Z S0 >af");

  // A wrapped frame set deals in plain text only.
  frameSet.wrapper = true;
  box->LoadText("<Z S0 ><Y y1 >bold");
  box->SelectAll();
  box->Copy();
  ASSERT_EQ(clipboard.Data().items.size(), 1u);
  EXPECT_EQ(clipboard.Data().items[0].mimeType, platform::kMimeText);
  other->LoadText("<Z S0 >");
  other->Paste();
  EXPECT_EQ(Saved(*other), "<Z S0 >bold");
}

TEST_F(AehBoxTest, RtfGoesOutAndComesInThroughTheConverters) {
  convert::ConverterClipboardFormats formats;
  richtext::ClipboardContext context;
  context.set = &set;
  for (TAEHbox* b : {box, other}) b->SetClipboardFormats(&formats, context);
  box->LoadText("<Z S0 >plain <Y y1 >bold<Y > end");
  box->SelectAll();
  box->Copy();
  const auto& items = clipboard.Data().items;
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].mimeType, platform::kMimeObjects);
  EXPECT_EQ(items[1].mimeType, platform::kMimeRtf);
  EXPECT_NE(items[1].bytes.find("\\b\\ul0\\strike0 bold"), std::string::npos) << items[1].bytes;
  EXPECT_EQ(items[2].bytes, "plain bold end");

  // What a word processor puts on the clipboard: RTF and plain text.
  platform::ClipboardData foreign;
  foreign.items.push_back({std::string(platform::kMimeRtf), "{\\rtf1\\ansi\\deff0 {\\b Strong} words\\par}"});
  foreign.items.push_back({std::string(platform::kMimeText), "Strong words"});
  clipboard.Set(foreign);
  other->LoadText("<Z S0 >XY");
  other->Text().SetCaret(CharPos{0, 1});
  other->Paste();
  EXPECT_NE(Saved(*other).find("<Y y1 >Strong<Y > words"), std::string::npos) << Saved(*other);
  EXPECT_EQ(other->Text().Paragraph(0).text.substr(0, 1), "X");
}

TEST_F(AehBoxTest, DragAndDropWithinABox) {
  box->LoadText("<Z S0 >abcdef");
  box->SelectRange({0, 1}, {0, 3});  // "bc"
  // Onto itself: nothing happens.
  EXPECT_FALSE(box->DropText(PointOf(0, 2, *box), box, false));
  EXPECT_FALSE(box->DragOverAt(PointOf(0, 2, *box), box));
  EXPECT_EQ(Saved(*box), "<Z S0 >abcdef");
  // Just after it: the text moves, and the drop point moves back with it.
  EXPECT_TRUE(box->DragOverAt(PointOf(0, 5, *box), box));
  EXPECT_TRUE(box->DropText(PointOf(0, 5, *box), box, false));
  EXPECT_EQ(box->Text().Paragraph(0).text, "adebcf");
  EXPECT_EQ(box->TextAttributes().SelectedText(), "bc");
  EXPECT_EQ(box->Text().SelectionStart(), (CharPos{0, 3}));

  // Into a later paragraph the point moves back by the removed breaks.
  box->LoadText("<Z S0 >ab<Z S0 >cd<Z S0 >ef");
  box->SelectRange({0, 1}, {1, 1});
  EXPECT_TRUE(box->DropText(PointOf(2, 1, *box), box, false));
  // A text cut from the middle of a paragraph restates its font.
  EXPECT_EQ(Saved(*box), "<Z S0 >ad<Z S0 >e<Y >b<Z S0 >cf");

  // A copy leaves the source.
  box->LoadText("<Z S0 >abc");
  other->LoadText("<Z S0 >XY");
  box->SelectRange({0, 0}, {0, 2});
  EXPECT_TRUE(other->DropText(PointOf(0, 1, *other), box, true));
  EXPECT_EQ(box->Text().Paragraph(0).text, "abc");
  EXPECT_EQ(other->Text().Paragraph(0).text, "XabY");
}

TEST_F(AehBoxTest, MouseSelectsClicksAndDoubleClicks) {
  box->LoadText("<Z S0 >foo, bar  baz");
  const QPoint a = PointOf(0, 1, *box);
  const QPoint b = PointOf(0, 6, *box);
  Mouse(QEvent::MouseButtonPress, *box, a, Qt::LeftButton, Qt::LeftButton);
  Mouse(QEvent::MouseMove, *box, b, Qt::NoButton, Qt::LeftButton);
  Mouse(QEvent::MouseButtonRelease, *box, b, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(box->TextAttributes().SelectedText(), "oo, b");
  EXPECT_EQ(box->Text().Caret(), (CharPos{0, 6}));

  // A small move is a click: the selection goes and the caret follows.
  Mouse(QEvent::MouseButtonPress, *box, PointOf(0, 2, *box), Qt::LeftButton, Qt::LeftButton);
  Mouse(QEvent::MouseButtonRelease, *box, PointOf(0, 2, *box), Qt::LeftButton, Qt::NoButton);
  EXPECT_FALSE(box->Text().HasSelection());
  EXPECT_EQ(box->Text().Caret(), (CharPos{0, 2}));

  // A double click takes the word and the blanks after it.
  QTest::mouseDClick(box, Qt::LeftButton, Qt::NoModifier, PointOf(0, 6, *box));
  EXPECT_EQ(box->TextAttributes().SelectedText(), "bar  ");
  EXPECT_EQ(frameSet.events.back(), "double click");
}

TEST_F(AehBoxTest, LinksAreFollowedInReadOnlyBoxes) {
  box->LoadText("<Z S0 >go <$00000004>there<%>");
  box->SetReadOnly(true);
  const QPoint link = PointOf(0, 4, *box);
  Mouse(QEvent::MouseButtonPress, *box, link, Qt::LeftButton, Qt::LeftButton);
  Mouse(QEvent::MouseButtonRelease, *box, link, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(frameSet.events.back(), "follow 4");
  Mouse(QEvent::MouseMove, *box, link, Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(box->toolTip(), "link 4");
  EXPECT_EQ(box->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(AehBoxTest, SpellingMenuWithoutSuggestions) {
  box->LoadText("<Z S0 >a wrnog word");
  box->Text().Paragraph(0).spellingMarks = "  !!!!!     ";
  QMenu menu;
  auto* kept = menu.addAction(QStringLiteral("kept"));
  kept->setData(10);
  menu.addAction(QStringLiteral("old suggestion"));
  box->BuildSpellMenu(menu, {0, 3});
  QStringList texts;
  for (QAction* action : menu.actions()) texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
  EXPECT_EQ(texts, (QStringList{"(no suggestions)", "-", "&Ignore all", "&Add", "-", "&Spell check", "kept"}));
  EXPECT_FALSE(menu.actions().front()->isEnabled());

  frameSet.suggestions = {"wrong", "wrung"};
  box->BuildSpellMenu(menu, {0, 3});
  ASSERT_EQ(menu.actions().front()->text(), "wrong");
  menu.actions().front()->trigger();
  EXPECT_EQ(box->Text().Paragraph(0).text, "a wrong word");
}

// Regression: the scroll band once mapped the pointer the wrong way round
// and crashed on the first drag over a page in a scroll area.
TEST_F(AehBoxTest, DraggingNearAnEdgeScrollsThePage) {
  QScrollArea area;
  area.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  area.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  auto* pageView = new testing::FramedPage(frameSet);
  auto* scrolled = new TAEHbox(host, pageView, &canvas);
  std::string markup;
  for (int i = 0; i < 40; ++i) markup += "<Z S0 >line";
  scrolled->LoadText(markup);
  pageView->resize(scrolled->size());
  area.setWidget(pageView);
  area.resize(300, 200);
  area.show();
  QScrollBar* bar = area.verticalScrollBar();
  bar->setValue(100);
  const int bottom = area.viewport()->height() - 1;
  // 10 pixels from the bottom edge: 20 pixels into the band, half of it.
  const QPoint at = scrolled->mapFrom(area.viewport(), QPoint(50, bottom - 10));
  scrolled->AutoScroll(at);
  EXPECT_EQ(bar->value(), 110);
  scrolled->AutoScroll(scrolled->mapFrom(area.viewport(), QPoint(50, 100)));
  EXPECT_EQ(bar->value(), 110);  // outside the band
}

TEST_F(AehBoxTest, PaintsTheTextAndTheSelection) {
  box->LoadText("<Z S0 >Hello, world");
  box->SelectRange({0, 0}, {0, 5});
  const QImage image = box->grab().toImage();
  EXPECT_EQ(image.pixelColor(390, 2), QColor(0xC0, 0xC0, 0xC0));  // the default background
  // The selection shows in the highlight colour, the rest does not.
  const QColor highlight = QApplication::palette().color(QPalette::Highlight);
  auto highlighted = [&](int from, int to) {
    int count = 0;
    for (int x = from; x < to; ++x) {
      for (int y = kTop; y < kTop + kLine; ++y) count += image.pixelColor(x, y) == highlight ? 1 : 0;
    }
    return count;
  };
  EXPECT_GT(highlighted(10, 40), 20);
  EXPECT_EQ(highlighted(60, 120), 0);
  EXPECT_EQ(box->height(), box->Text().Layout().ContentHeight() + 1);
}

}  // namespace
}  // namespace tarn::richtext::ui
