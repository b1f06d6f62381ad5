// The drop-down list of steps: the selection always runs from the first
// entry, keys and clicks choose or cancel, and the list opens where the
// screen leaves room.
#include "undo/ui/tundobox.h"

#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace tarn::undo::ui {
namespace {

std::vector<std::string> Captions(int count) {
  std::vector<std::string> captions;
  for (int i = count; i >= 1; --i) captions.push_back("Step " + std::to_string(i));
  return captions;
}

int Selected(const TUndoBox& box) {
  int selected = 0;
  for (int i = 0; i < box.count(); ++i) {
    if (!box.item(i)->isSelected()) break;
    ++selected;
  }
  return selected;
}

class UndoBox : public ::testing::Test {
 protected:
  UndoBox() {
    anchor.setGeometry(100, 100, 30, 24);
    anchor.show();
  }
  std::unique_ptr<TUndoBox> Open(int count) {
    auto box = std::make_unique<TUndoBox>(Captions(count));
    finished = std::make_unique<QSignalSpy>(box.get(), &TUndoBox::Finished);
    box->PopupAt(&anchor);
    return box;
  }
  int Result() const { return finished->count() == 1 ? finished->at(0).at(0).toInt() : -1; }
  QPoint RowCentre(const TUndoBox& box, int row) const { return box.visualItemRect(box.item(row)).center(); }

  QPushButton anchor;
  std::unique_ptr<QSignalSpy> finished;
};

TEST_F(UndoBox, KeysMoveTheEndOfTheRunAndEnterChooses) {
  auto box = Open(5);
  EXPECT_EQ(box->width(), TUndoBox::kWidth);
  EXPECT_EQ(box->item(0)->text(), "Step 5");  // newest first
  EXPECT_EQ(Selected(*box), 1);
  QTest::keyClick(box.get(), Qt::Key_Down);
  QTest::keyClick(box.get(), Qt::Key_Right);
  EXPECT_EQ(Selected(*box), 3);
  QTest::keyClick(box.get(), Qt::Key_Up);
  EXPECT_EQ(Selected(*box), 2);
  for (int i = 0; i < 9; ++i) QTest::keyClick(box.get(), Qt::Key_Down);
  EXPECT_EQ(Selected(*box), 5);
  for (int i = 0; i < 9; ++i) QTest::keyClick(box.get(), Qt::Key_Left);
  EXPECT_EQ(Selected(*box), 1);  // never fewer than one
  QTest::keyClick(box.get(), Qt::Key_Down);
  QTest::keyClick(box.get(), Qt::Key_Return);
  EXPECT_EQ(Result(), 2);
  EXPECT_FALSE(box->isVisible());

  box = Open(5);
  QTest::keyClick(box.get(), Qt::Key_Down);
  QTest::keyClick(box.get(), Qt::Key_Escape);
  EXPECT_EQ(Result(), 0);
}

TEST_F(UndoBox, AClickInTheListChoosesUpToItsEntryAndAClickElsewhereCancels) {
  auto box = Open(6);
  QTest::mousePress(box->viewport(), Qt::LeftButton, {}, RowCentre(*box, 3));
  EXPECT_EQ(Selected(*box), 4);
  QTest::mouseRelease(box->viewport(), Qt::LeftButton, {}, RowCentre(*box, 3));
  EXPECT_EQ(Result(), 4);

  box = Open(6);
  QTest::mouseDClick(box->viewport(), Qt::LeftButton, {}, RowCentre(*box, 1));
  EXPECT_EQ(Result(), 2);

  box = Open(6);
  QTest::mouseClick(box.get(), Qt::LeftButton, {}, QPoint(box->width() + 40, 10));
  EXPECT_EQ(Result(), 0);

  // A release of a press made elsewhere chooses nothing.
  box = Open(6);
  QTest::mouseRelease(box->viewport(), Qt::LeftButton, {}, RowCentre(*box, 2));
  EXPECT_EQ(Result(), 0);
}

TEST_F(UndoBox, TenRowsAtMostAndPlacedWhereTheScreenHasRoom) {
  auto few = Open(3);
  auto many = Open(14);
  const int row = many->sizeHintForRow(0);
  EXPECT_EQ(few->height(), 3 * row + 2);
  EXPECT_EQ(many->height(), TUndoBox::kRows * row + 2);
  // Every row of a short list is seen whole; a long one scrolls.
  EXPECT_FALSE(few->verticalScrollBar()->isVisible());
  EXPECT_LE(few->visualItemRect(few->item(2)).bottom(), few->viewport()->height() - 1);
  EXPECT_TRUE(many->verticalScrollBar()->isVisible());
  // Below the anchor, left edges together.
  EXPECT_EQ(many->pos(), anchor.mapToGlobal(QPoint(0, anchor.height())));

  const QRect screen = anchor.screen()->availableGeometry();
  anchor.move(screen.right() - 40, screen.bottom() - 30);
  auto corner = Open(14);
  const QPoint anchorCorner = anchor.mapToGlobal(QPoint(0, 0));
  EXPECT_EQ(corner->x() + corner->width(), anchorCorner.x() + anchor.width());
  EXPECT_EQ(corner->y() + corner->height(), anchorCorner.y());
}

}  // namespace
}  // namespace tarn::undo::ui
