// The on-screen pieces of a frame tree: a panel per frame (which holds the
// page view of a leaf, or shows the frame's name in frames-only mode), the
// bars along a frame's top and left edges that are dragged out to create
// frames, and the splitters between sibling frames that resize them and,
// dragged shut, delete them. They mirror the model's TAEHFrame tree and
// hand every drag to their owner, which asks the model.
#pragma once

#include <QPoint>
#include <QString>
#include <QWidget>

#include <cstdint>

#include "objects/frames.h"

namespace tarn::objects::ui {

// What the pieces ask of the frame set that owns them.
class FrameOwner {
 public:
  virtual ~FrameOwner() = default;
  // The model may have freed the frame since the widget last looked.
  virtual bool FrameAlive(const TAEHFrame* frame) const = 0;
  virtual void BarDragged(TAEHFrame& frame, SplitDirection direction, int dragged) = 0;
  virtual void SplitterDragged(TAEHFrame& child, int width, int height) = 0;
  virtual void FrameClicked(TAEHFrame& frame) = 0;
};

// One frame. A leaf's page view lies over it; an inner frame shows only
// where its children leave room (the spacing between them).
class TAEHFramePanel : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kFramesOnlyMargin = 10;

  TAEHFramePanel(FrameOwner& owner, QWidget* parent);
  // Takes the frame's state; called after every change of the tree.
  void Mirror(TAEHFrame* frame, bool framesOnly, bool highlighted);
  TAEHFrame* Frame() const { return m_frame; }
  QString FrameName() const { return m_name; }
  bool Highlighted() const { return m_highlighted; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  FrameOwner& m_owner;
  TAEHFrame* m_frame = nullptr;
  QString m_name;
  std::uint32_t m_colour = kButtonFaceColour;
  bool m_framesOnly = false;
  bool m_highlighted = false;
};

// A strip along the top (rows) or left (columns) edge of a frame. Dragged
// into the frame, it follows the pointer; released, it goes back to the
// edge and the frame set splits the frame at the distance dragged.
class TFrameBar : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kThickness = 4;

  TFrameBar(FrameOwner& owner, SplitDirection direction, QWidget* parent);
  void Mirror(TAEHFrame* frame);
  TAEHFrame* Frame() const { return m_frame; }
  SplitDirection Direction() const { return m_direction; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  int Along(QPoint global) const;
  FrameOwner& m_owner;
  SplitDirection m_direction;
  TAEHFrame* m_frame = nullptr;
  QRect m_home;
  bool m_dragging = false;
  int m_start = 0;
};

// The splitter after a child frame (every child but the last has one). The
// drag sizes that child; its new size is given to the frame set on release.
class TFrameSplitter : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kMinimumThickness = 4;

  TFrameSplitter(FrameOwner& owner, QWidget* parent);
  void Mirror(TAEHFrame* child);
  TAEHFrame* Child() const { return m_child; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool Columns() const { return m_columns; }
  int Along(QPoint global) const;
  FrameOwner& m_owner;
  TAEHFrame* m_child = nullptr;
  bool m_columns = false;
  std::uint32_t m_colour = kButtonFaceColour;
  QRect m_home;
  QRect m_childBounds;
  bool m_dragging = false;
  int m_start = 0;
};

// A colour of the frame records (a system colour or red, green, blue).
QColor FrameColour(std::uint32_t colour, const QWidget& widget);

}  // namespace tarn::objects::ui
