// The frame tree's widgets; see framewidget.h.
#include "objects/ui/framewidget.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/qt/qtcanvas.h"
#include "platform/qt/qtstrings.h"

namespace tarn::objects::ui {
namespace {

QRect ToQRect(const platform::Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

}  // namespace

QColor FrameColour(std::uint32_t colour, const QWidget& widget) {
  // The records keep the desktop's button-face colour as a system colour
  // value; the palette's button colour stands for it.
  if ((colour & 0xFF000000u) == 0x80000000u) return widget.palette().button().color();
  return platform::qt::ToQColor(colour & 0xFFFFFFu);
}

// ---- Panel ----

TAEHFramePanel::TAEHFramePanel(FrameOwner& owner, QWidget* parent) : QWidget(parent), m_owner(owner) {
  setObjectName(QStringLiteral("AEHFrame"));
}

void TAEHFramePanel::Mirror(TAEHFrame* frame, bool framesOnly, bool highlighted) {
  m_frame = frame;
  m_name = platform::qt::ToQString(frame->Name());
  m_colour = frame->Colour();
  m_framesOnly = framesOnly;
  m_highlighted = highlighted;
  setGeometry(ToQRect(frame->bounds));
  update();
}

void TAEHFramePanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QColor face = palette().button().color();
  if (!m_framesOnly) {
    painter.fillRect(rect(), face);
    return;
  }
  // Frames only: each frame is a bordered box with its name, inset by a
  // margin so that nested frames stay apart; the chosen one is darker.
  painter.fillRect(rect(), face);
  const QRect inner = rect().adjusted(kFramesOnlyMargin / 2, kFramesOnlyMargin / 2, -kFramesOnlyMargin / 2 - 1,
                                      -kFramesOnlyMargin / 2 - 1);
  painter.fillRect(inner, m_highlighted ? palette().dark().color() : face);
  painter.setPen(Qt::black);
  painter.drawRect(inner);
  if (m_frame != nullptr && !m_frame->HasChildren()) {
    painter.drawText(inner.adjusted(kFramesOnlyMargin, kFramesOnlyMargin, 0, 0), Qt::AlignLeft | Qt::AlignTop, m_name);
  }
}

void TAEHFramePanel::mousePressEvent(QMouseEvent* event) {
  if (m_framesOnly && event->button() == Qt::LeftButton && m_owner.FrameAlive(m_frame)) {
    m_owner.FrameClicked(*m_frame);
    return;
  }
  QWidget::mousePressEvent(event);
}

// ---- Bar ----

TFrameBar::TFrameBar(FrameOwner& owner, SplitDirection direction, QWidget* parent)
    : QWidget(parent), m_owner(owner), m_direction(direction) {
  setObjectName(direction == SplitDirection::Rows ? QStringLiteral("TopBar") : QStringLiteral("LeftBar"));
  setCursor(direction == SplitDirection::Rows ? Qt::SplitVCursor : Qt::SplitHCursor);
  setToolTip(QStringLiteral("Muovi per creare cornici"));
}

void TFrameBar::Mirror(TAEHFrame* frame) {
  m_frame = frame;
  m_dragging = false;
  const platform::Rect& b = frame->bounds;
  m_home = m_direction == SplitDirection::Rows ? QRect(b.left, b.top, b.Width(), kThickness)
                                               : QRect(b.left, b.top, kThickness, b.Height());
  setGeometry(m_home);
}

int TFrameBar::Along(QPoint global) const {
  return m_direction == SplitDirection::Rows ? global.y() : global.x();
}

void TFrameBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), m_dragging ? palette().dark().color() : palette().midlight().color());
}

void TFrameBar::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  m_dragging = true;
  m_start = Along(event->globalPosition().toPoint());
  raise();
  update();
}

void TFrameBar::mouseMoveEvent(QMouseEvent* event) {
  if (!m_dragging) return;
  const int dragged = std::max(0, Along(event->globalPosition().toPoint()) - m_start);
  setGeometry(m_home.translated(m_direction == SplitDirection::Rows ? QPoint(0, dragged) : QPoint(dragged, 0)));
}

void TFrameBar::mouseReleaseEvent(QMouseEvent* event) {
  if (!m_dragging || event->button() != Qt::LeftButton) return;
  m_dragging = false;
  const int dragged = Along(event->globalPosition().toPoint()) - m_start;
  // The bar goes back to its edge whatever the frame set makes of the drag.
  setGeometry(m_home);
  update();
  if (dragged > 0 && m_owner.FrameAlive(m_frame)) m_owner.BarDragged(*m_frame, m_direction, dragged);
}

// ---- Splitter ----

TFrameSplitter::TFrameSplitter(FrameOwner& owner, QWidget* parent) : QWidget(parent), m_owner(owner) {
  setObjectName(QStringLiteral("Splitter"));
}

void TFrameSplitter::Mirror(TAEHFrame* child) {
  m_child = child;
  m_dragging = false;
  m_colour = child->Colour();
  m_columns = child->parent != nullptr && child->parent->ChildrenAreColumns();
  m_childBounds = ToQRect(child->bounds);
  const int spacing = child->parent != nullptr ? child->parent->Spacing() : 0;
  const int thickness = std::max(spacing, kMinimumThickness);
  // Centred on the gap after the child, at least thick enough to grab.
  if (m_columns) {
    const int centre = m_childBounds.right() + 1 + spacing / 2;
    m_home = QRect(centre - thickness / 2, m_childBounds.top(), thickness, m_childBounds.height());
  } else {
    const int centre = m_childBounds.bottom() + 1 + spacing / 2;
    m_home = QRect(m_childBounds.left(), centre - thickness / 2, m_childBounds.width(), thickness);
  }
  setGeometry(m_home);
  setCursor(m_columns ? Qt::SplitHCursor : Qt::SplitVCursor);
  update();
}

int TFrameSplitter::Along(QPoint global) const { return m_columns ? global.x() : global.y(); }

void TFrameSplitter::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), m_dragging ? palette().dark().color() : FrameColour(m_colour, *this));
}

void TFrameSplitter::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  m_dragging = true;
  m_start = Along(event->globalPosition().toPoint());
  raise();
  update();
}

void TFrameSplitter::mouseMoveEvent(QMouseEvent* event) {
  if (!m_dragging) return;
  const int delta = Along(event->globalPosition().toPoint()) - m_start;
  setGeometry(m_home.translated(m_columns ? QPoint(delta, 0) : QPoint(0, delta)));
}

void TFrameSplitter::mouseReleaseEvent(QMouseEvent* event) {
  if (!m_dragging || event->button() != Qt::LeftButton) return;
  m_dragging = false;
  const int delta = Along(event->globalPosition().toPoint()) - m_start;
  setGeometry(m_home);
  update();
  if (delta == 0 || !m_owner.FrameAlive(m_child)) return;
  const int width = m_columns ? m_childBounds.width() + delta : m_childBounds.width();
  const int height = m_columns ? m_childBounds.height() : m_childBounds.height() + delta;
  m_owner.SplitterDragged(*m_child, width, height);
}

}  // namespace tarn::objects::ui
