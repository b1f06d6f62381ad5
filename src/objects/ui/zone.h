// A click zone of a placed image: a transparent, selectable rectangle over
// the picture that the author moves and resizes while editing and that
// follows its link when a reader clicks it.
#pragma once

#include <functional>

class QMenu;

#include "objects/ui/dragcontrol.h"
#include "objects/visual/visualrecord.h"

namespace tarn::objects {

class TMyyImage;

class TMyyZona : public TDragCustomControl {
  Q_OBJECT

 public:
  // A move starts when the pointer went further than this from the press.
  static constexpr int kMoveThreshold = 4;

  TMyyZona(TMyyImage& image, int tableIndex);

  // The zone's entry and link, and back.
  void LoadZone(const visual::Zone& zone);
  visual::Zone SaveZone() const;
  document::ObjectId Link() const { return m_link; }
  void SetLink(document::ObjectId link);
  int TableIndex = -1;

  void SetSelected(bool value) override;
  void BeginResize() override;
  void EndResize() override;
  void FocusEntered() override;
  bool IsMoving() const { return m_moving; }
  // The popup menu of zones (the program's); nothing without one.
  static std::function<QMenu*()> menu;

 protected:
  bool ReportsSelection() const override { return false; }
  bool IsOpaque() const override { return false; }
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  bool event(QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void Follow();

  TMyyImage& m_image;
  document::ObjectId m_link = 0;
  bool m_moving = false;
  QPoint m_moveOffset;
  bool m_movePending = false;
  QPoint m_pressPoint;
  bool m_ignoreMouse = false;
};

}  // namespace tarn::objects
