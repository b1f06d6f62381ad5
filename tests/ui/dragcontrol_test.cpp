// Selectable page objects: handle placement, the rubber-band resize, and
// the selection protocol towards the frame set.
#include "objects/ui/dragcontrol.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include "objects/ui/outllabel.h"
#include "ui/recordingframeset.h"

namespace tarn::objects {
namespace {

class DragControlTest : public ::testing::Test {
 protected:
  DragControlTest() : page(frameSet) {
    page.resize(400, 300);
    object = new TDragCustomControl(&page);
    object->SetBounds(50, 50, 100, 50);
    page.show();
  }

  // Drags a handle by (dx, dy) with real mouse events.
  void DragHandle(int position, int dx, int dy, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    TDragBorder* handle = object->Group().Handle(position);
    ASSERT_NE(handle, nullptr);
    const QPoint start(4, 4);
    QTest::mousePress(handle, Qt::LeftButton, Qt::NoModifier, start);
    QMouseEvent move(QEvent::MouseMove, QPointF(start + QPoint(dx, dy)), handle->mapToGlobal(QPointF(start + QPoint(dx, dy))),
                     Qt::NoButton, Qt::LeftButton, mods);
    QApplication::sendEvent(handle, &move);
    QTest::mouseRelease(handle, Qt::LeftButton, mods, start + QPoint(dx, dy));
  }

  testing::RecordingFrameSet frameSet;
  testing::FramedPage page;
  TDragCustomControl* object;
};

TEST_F(DragControlTest, HandlesSitOnTheCornersAndMiddles) {
  const TrackRect r{10, 20, 101, 51};
  const QPoint expected[] = {{6, 16},  {107, 16}, {6, 67},  {107, 67},
                             {56, 16}, {56, 67},  {6, 41}, {107, 41}};
  for (int position = 1; position <= 8; ++position) {
    EXPECT_EQ(TDragBorder::Place(position, r), expected[position - 1]) << position;
  }
}

TEST_F(DragControlTest, ResizingWithTheHandles) {
  struct Case {
    const char* name;
    int position;
    int dx;
    int dy;
    Qt::KeyboardModifiers mods;
    QRect result;
  } cases[] = {
      {"bottom-right", 4, 30, 10, Qt::NoModifier, {50, 50, 130, 60}},
      {"bottom-right with Shift keeps the diagonal", 4, 30, 10, Qt::ShiftModifier, {50, 50, 110, 60}},
      {"top middle", 5, 30, -10, Qt::NoModifier, {50, 40, 100, 60}},
      {"left middle", 7, -5, 99, Qt::NoModifier, {45, 50, 105, 50}},
      // Past the opposite corner: the object takes the turned-over rectangle.
      {"top-left past the corner", 1, 130, 70, Qt::NoModifier, {150, 100, 30, 20}},
  };
  for (const auto& c : cases) {
    object->SetBounds(50, 50, 100, 50);
    object->SetSelected(false);
    object->SetSelected(true);
    DragHandle(c.position, c.dx, c.dy, c.mods);
    EXPECT_EQ(object->geometry(), c.result) << c.name;
    EXPECT_FALSE(ResizeInProgress());
    EXPECT_EQ(object->Group().Handle(4)->pos(), TDragBorder::Place(4, object->Group().Track())) << c.name;
  }
}

TEST_F(DragControlTest, ATurnedOverRectangleWhileTracking) {
  object->SetSelected(true);
  TDragBorder* handle = object->Group().Handle(1);
  QTest::mousePress(handle, Qt::LeftButton, Qt::NoModifier, {4, 4});
  EXPECT_TRUE(ResizeInProgress());
  QMouseEvent move(QEvent::MouseMove, QPointF(134, 74), handle->mapToGlobal(QPointF(134, 74)), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(handle, &move);
  EXPECT_EQ(object->Group().Track(), (TrackRect{180, 120, -30, -20}));
  QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, {134, 74});
}

TEST_F(DragControlTest, AHandleOfAGroupNotInResizeModeKeepsTheSize) {
  object->Group().SetMode(0);
  object->SetSelected(true);
  DragHandle(4, 30, 10);
  EXPECT_EQ(object->geometry(), QRect(50, 50, 100, 50));
}

TEST_F(DragControlTest, SelectionProtocol) {
  object->SetSelected(true);
  EXPECT_TRUE(object->Group().Sizing());
  EXPECT_TRUE(object->Group().Handle(1)->isVisible());
  EXPECT_TRUE(object->Group().Side(1)->isVisible());
  object->SetSelected(false);
  EXPECT_EQ(object->Group().Handle(1), nullptr);
  EXPECT_FALSE(object->Group().Side(1)->isVisible());
  EXPECT_EQ(frameSet.events, (std::vector<std::string>{"selected", "deselected"}));

  // Read-only: no handles and no edit start.
  frameSet.events.clear();
  object->SetReadOnly(true);
  object->SetSelected(true);
  EXPECT_EQ(object->Group().Handle(1), nullptr);
  EXPECT_TRUE(frameSet.events.empty());
  object->SetSelected(false);
  object->SetReadOnly(false);

  // Losing the focus unselected: an edit start, then the edit stop.
  frameSet.events.clear();
  object->FocusLeft();
  EXPECT_EQ(frameSet.events, (std::vector<std::string>{"selected", "deselected"}));
  EXPECT_FALSE(object->Selected());
}

TEST_F(DragControlTest, ThePermanentBoxGivesWayToReadOnly) {
  object->SetShowBox(true);
  EXPECT_TRUE(object->Group().Side(3)->isVisible());
  EXPECT_EQ(object->Group().Side(3)->geometry(), QRect(49, 50, 1, 50));
  object->SetReadOnly(true);
  EXPECT_FALSE(object->Group().Side(3)->isVisible());
  object->SetReadOnly(false);
  EXPECT_TRUE(object->Group().Side(3)->isVisible());
  // The box follows the object.
  object->SetBounds(60, 70, 10, 10);
  EXPECT_EQ(object->Group().Side(1)->geometry(), QRect(60, 69, 10, 1));
}

TEST(OutlLabelTest, DrawsAnOutline) {
  TOutlLabel label;
  label.setText(QStringLiteral("Tarn"));
  label.resize(60, 24);
  label.SetColourShadow(Qt::red);
  QPalette palette = label.palette();
  palette.setColor(QPalette::WindowText, Qt::white);
  palette.setColor(QPalette::Window, Qt::blue);
  label.setPalette(palette);
  const QImage image = label.grab().toImage();
  bool red = false;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) red = red || image.pixelColor(x, y) == QColor(Qt::red);
  }
  EXPECT_TRUE(red);
  EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::blue));
}

}  // namespace
}  // namespace tarn::objects
