// Selectable page objects and their decoration; see dragcontrol.h.
#include "objects/ui/dragcontrol.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>

#include <algorithm>
#include <cstdlib>

namespace tarn::objects {
namespace {

bool g_resizeInProgress = false;

constexpr QColor kHandleDisabled(192, 192, 192);

Qt::CursorShape HandleCursor(int position) {
  switch (position) {
    case 1:
    case 4: return Qt::SizeFDiagCursor;
    case 2:
    case 3: return Qt::SizeBDiagCursor;
    case 5:
    case 6: return Qt::SizeVerCursor;
    default: return Qt::SizeHorCursor;
  }
}

TrackRect FromQRect(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

}  // namespace

bool ResizeInProgress() { return g_resizeInProgress; }

QRect TrackRect::Normalized() const {
  const int l = std::min(left, left + width);
  const int t = std::min(top, top + height);
  return {l, t, std::abs(width), std::abs(height)};
}

// ---- TDragBorder ----

TDragBorder::TDragBorder(TDragBorderGroup& group, int position, QWidget* parent)
    : TTransMouseControl(parent), Position(position), Mode(group.Mode()), m_group(group), m_groupAlive(&group) {
  resize(kSize, kSize);
  setCursor(HandleCursor(position));
  hide();
}

TDragBorder::~TDragBorder() {
  if (m_groupAlive) m_groupAlive->Forget(this);
}

QPoint TDragBorder::Place(int position, const TrackRect& r) {
  const int l = r.left;
  const int t = r.top;
  const int right = r.left + r.width;
  const int bottom = r.top + r.height;
  const int half = kSize / 2;
  const int middleX = l + (right - l - kSize) / 2;
  const int middleY = t + (bottom - t - kSize) / 2;
  switch (position) {
    case 1: return {l - half, t - half};
    case 2: return {right - half, t - half};
    case 3: return {l - half, bottom - half};
    case 4: return {right - half, bottom - half};
    case 5: return {middleX, t - half};
    case 6: return {middleX, bottom - half};
    case 7: return {l - half, middleY};
    default: return {right - half, middleY};
  }
}

void TDragBorder::SetEnabledLook(bool enabled) {
  if (enabled == m_enabled) return;
  m_enabled = enabled;
  update();
}

void TDragBorder::paintEvent(QPaintEvent*) {
  // While dragging only the rubber band shows; the handle under the
  // pointer stays in place (invisible) to keep receiving the mouse.
  if (Tracking) return;
  QPainter painter(this);
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(m_enabled ? QColor(Qt::white) : kHandleDisabled);
  painter.drawRect(0, 0, width() - 1, height() - 1);
}

void TDragBorder::mousePressEvent(QMouseEvent* event) {
  if (!m_enabled || event->button() != Qt::LeftButton) return;
  StartPoint = event->position().toPoint();
  Tracking = true;
  update();
  m_group.BeginTracking();
  const TrackRect& r = m_group.Track();
  StartBounds = QRect(QPoint(r.left, r.top), QPoint(r.left + r.width, r.top + r.height));
}

void TDragBorder::mouseMoveEvent(QMouseEvent* event) {
  if (!Tracking || Mode != 2) return;
  int dx = event->position().toPoint().x() - StartPoint.x();
  int dy = event->position().toPoint().y() - StartPoint.y();
  if ((event->modifiers() & Qt::ShiftModifier) && Position >= 1 && Position <= 4) {
    dx = dy = std::min(dx, dy);
  }
  // StartBounds holds left, top, right and bottom as given (QRect's own
  // right() is one less).
  const int l = StartBounds.left();
  const int t = StartBounds.top();
  const int w = StartBounds.bottomRight().x() - l;
  const int h = StartBounds.bottomRight().y() - t;
  TrackRect r{l, t, w, h};
  switch (Position) {
    case 1: r = {l + dx, t + dy, w - dx, h - dy}; break;
    case 2: r = {l, t + dy, w + dx, h - dy}; break;
    case 3: r = {l + dx, t, w - dx, h + dy}; break;
    case 4: r = {l, t, w + dx, h + dy}; break;
    case 5: r = {l, t + dy, w, h - dy}; break;
    case 6: r = {l, t, w, h + dy}; break;
    case 7: r = {l + dx, t, w - dx, h}; break;
    case 8: r = {l, t, w + dx, h}; break;
    default: break;
  }
  m_group.SetTrackRect(r);
}

void TDragBorder::mouseReleaseEvent(QMouseEvent*) {
  if (!Tracking) return;
  Tracking = false;
  m_group.EndTracking();
}

// ---- TBoxBorder ----

TBoxBorder::TBoxBorder(int side, QWidget* parent) : TTransNoEventsControl(parent), Side(side) {
  FastBounds = true;
  hide();
}

void TBoxBorder::paintEvent(QPaintEvent*) {
  // White under black dots: a dotted line that shows on any background.
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
  if (width() >= height()) {
    painter.drawLine(0, 0, width() - 1, 0);
  } else {
    painter.drawLine(0, 0, 0, height() - 1);
  }
}

// ---- TDragBorderGroup ----

TDragBorderGroup::TDragBorderGroup(TDragCustomControl& object) : m_object(object) {}

TDragBorderGroup::~TDragBorderGroup() {
  for (auto& handle : m_handles) delete handle.data();
  for (auto& side : m_sides) delete side.data();
  delete m_band.data();
}

QWidget* TDragBorderGroup::Parent() const { return m_object.parentWidget(); }

void TDragBorderGroup::TrackFromObject() {
  const QRect g = m_object.geometry();
  SetTrackRect({g.x(), g.y(), g.width(), g.height()});
}

void TDragBorderGroup::PlaceDecoration() {
  const TrackRect& r = m_track;
  for (const auto& handle : m_handles) {
    if (handle) handle->move(TDragBorder::Place(handle->Position, r));
  }
  const int right = r.left + r.width;
  const int bottom = r.top + r.height;
  const QRect sides[4] = {{r.left, r.top - 1, r.width, 1},
                          {r.left, bottom, r.width, 1},
                          {r.left - 1, r.top, 1, r.height},
                          {right, r.top, 1, r.height}};
  for (std::size_t i = 0; i < m_sides.size(); ++i) {
    if (m_sides[i]) {
      const QRect& s = sides[i];
      m_sides[i]->SetBounds(s.x(), s.y(), std::max(s.width(), 0), std::max(s.height(), 0));
    }
  }
}

void TDragBorderGroup::ShowHandles(bool enabled) {
  QWidget* parent = Parent();
  if (parent == nullptr) return;
  for (std::size_t i = 0; i < m_handles.size(); ++i) {
    if (!m_handles[i]) {
      m_handles[i] = new TDragBorder(*this, static_cast<int>(i) + 1, parent);
      m_handles[i]->Mode = m_mode;
      // A click on a handle must not hand the focus to the widget below it
      // (the text box of an object in a page), which would deselect the
      // object and take its handles away in the middle of the drag.
      m_handles[i]->setFocusPolicy(Qt::ClickFocus);
      m_handles[i]->setFocusProxy(&m_object);
    }
    m_handles[i]->SetEnabledLook(enabled);
  }
  PlaceDecoration();
  for (auto& handle : m_handles) {
    handle->show();
    handle->raise();
  }
}

void TDragBorderGroup::ShowSides(bool show) {
  QWidget* parent = Parent();
  if (show && parent != nullptr) {
    for (std::size_t i = 0; i < m_sides.size(); ++i) {
      if (!m_sides[i]) m_sides[i] = new TBoxBorder(static_cast<int>(i) + 1, parent);
    }
    PlaceDecoration();
  }
  for (auto& side : m_sides) {
    if (!side) continue;
    side->setVisible(show);
    if (show) side->raise();
  }
}

void TDragBorderGroup::ReleaseHandles() {
  for (auto& handle : m_handles) {
    if (!handle) continue;
    // A handle freed while it still lends its focus to the object would
    // take the object's focus with it when it goes.
    handle->setFocusProxy(nullptr);
    handle->hide();
    // A handle may be releasing itself from inside its own mouse event.
    handle->deleteLater();
    handle = nullptr;
  }
}

void TDragBorderGroup::Forget(const TDragBorder* handle) {
  for (auto& entry : m_handles) {
    if (entry.data() == handle) entry = nullptr;
  }
}

void TDragBorderGroup::SetSizing(bool value) {
  m_sizing = value;
  if (value) {
    m_framed = false;
    TrackFromObject();
    ShowHandles(true);
    if (!m_boxAlways) ShowSides(true);
  } else {
    ReleaseHandles();
    if (!m_boxAlways) ShowSides(false);
  }
}

void TDragBorderGroup::SetFramed(bool value) {
  m_framed = value;
  if (value) {
    m_sizing = false;
    TrackFromObject();
    ShowHandles(false);
    if (!m_boxAlways) ShowSides(true);
  } else {
    ReleaseHandles();
    if (!m_boxAlways) ShowSides(false);
  }
}

void TDragBorderGroup::SetBoxAlways(bool value) {
  m_boxAlways = value;
  if (value) {
    TrackFromObject();
    ShowSides(true);
  } else if (!m_sizing && !m_framed) {
    ShowSides(false);
  }
}

void TDragBorderGroup::SetMode(int value) {
  m_mode = value;
  for (auto& handle : m_handles) {
    if (handle) handle->Mode = value;
  }
}

void TDragBorderGroup::SetTrackRect(const TrackRect& r) {
  if (r == m_track) return;
  m_track = r;
  if (m_tracking) {
    if (m_band) m_band->setGeometry(r.Normalized());
    return;
  }
  PlaceDecoration();
}

void TDragBorderGroup::BringDecorationToFront() {
  m_object.raise();
  for (auto& side : m_sides) {
    if (side) side->raise();
  }
  for (auto& handle : m_handles) {
    if (handle) handle->raise();
  }
}

void TDragBorderGroup::SendDecorationToBack() {
  for (auto& handle : m_handles) {
    if (handle) handle->lower();
  }
  for (auto& side : m_sides) {
    if (side) side->lower();
  }
  m_object.lower();
}

void TDragBorderGroup::BeginTracking() {
  m_tracking = true;
  g_resizeInProgress = true;
  const QRect g = m_object.geometry();
  m_track = {g.x(), g.y(), g.width(), g.height()};
  for (auto& side : m_sides) {
    if (side) side->hide();
  }
  // The handle being dragged stays (it paints nothing while tracking) so
  // that it keeps the mouse; the others go.
  for (auto& handle : m_handles) {
    if (handle && !handle->Tracking) handle->hide();
  }
  if (QWidget* parent = Parent()) {
    // The band is an overlay: drawn and removed without repainting the page.
    m_band = new QRubberBand(QRubberBand::Rectangle, parent);
    m_band->setGeometry(m_track.Normalized());
    m_band->show();
  }
  if (OnBeginResize) OnBeginResize();
}

void TDragBorderGroup::EndTracking() {
  if (m_band) {
    m_band->hide();
    m_band->deleteLater();
    m_band = nullptr;
  }
  // The object deals in real rectangles: a handle dragged past the
  // opposite corner turns the rectangle over instead of collapsing it.
  const QRect bounds = m_track.Normalized();
  m_object.SetBounds(bounds.x(), bounds.y(), bounds.width(), bounds.height());
  m_object.show();
  m_track = FromQRect(bounds);
  PlaceDecoration();
  for (auto& handle : m_handles) {
    if (!handle) continue;
    handle->SetEnabledLook(true);
    handle->show();
    handle->update();
  }
  for (auto& side : m_sides) {
    if (side) side->show();
  }
  if (OnEndResize) OnEndResize();
  m_tracking = false;
  g_resizeInProgress = false;
}

// ---- TDragCustomControl ----

TDragCustomControl::TDragCustomControl(QWidget* parent)
    : TKrTransCustomControl(parent), m_group(new TDragBorderGroup(*this)) {
  m_group->SetMode(2);
  m_group->OnBeginResize = [this] { BeginResize(); };
  m_group->OnEndResize = [this] { EndResize(); };
  connect(qApp, &QApplication::focusChanged, this, &TDragCustomControl::FocusWidgetChanged);
}

TDragCustomControl::~TDragCustomControl() {
  // The decoration goes first: it lives beside the object, in its parent.
  delete m_group;
  m_group = nullptr;
}

FrameSetInterface* TDragCustomControl::GetFrameSet() {
  if (m_frameSet == nullptr && !m_frameSetLooked) {
    m_frameSet = FindFrameSet(this);
    m_frameSetLooked = m_frameSet != nullptr;
  }
  return m_frameSet;
}

void TDragCustomControl::SetSelected(bool value) {
  if (value) {
    if (m_selected) return;
    m_selected = true;
    if (m_readOnly || m_locked) return;
    m_group->SetSizing(true);
    if (ReportsSelection()) {
      if (FrameSetInterface* fs = GetFrameSet()) fs->ObjectSelected(this);
    }
    return;
  }
  m_selected = false;
  if (ReportsSelection()) {
    if (FrameSetInterface* fs = GetFrameSet()) fs->ObjectDeselected(this);
  }
  if (m_group != nullptr) m_group->SetSizing(false);
}

void TDragCustomControl::FocusEntered() {
  if (!m_readOnly && !m_locked) SetSelected(true);
}

void TDragCustomControl::FocusLeft() {
  // The owner always hears an edit start before the edit stop.
  SetSelected(true);
  SetSelected(false);
}

void TDragCustomControl::SetShowBox(bool value) {
  m_showBox = value;
  m_group->SetBoxAlways(value && !m_readOnly && !m_locked);
}

void TDragCustomControl::SetReadOnly(bool value) {
  if (value == m_readOnly) return;
  m_readOnly = value;
  ReadOnlyOrLockedChanged();
}

void TDragCustomControl::SetLocked(bool value) {
  if (value == m_locked) return;
  m_locked = value;
  ReadOnlyOrLockedChanged();
}

void TDragCustomControl::ReadOnlyOrLockedChanged() {
  if (m_readOnly || m_locked) {
    m_group->SetBoxAlways(false);
    if (hasFocus()) FocusLeft();
  } else {
    m_group->SetBoxAlways(m_showBox);
    if (hasFocus()) FocusEntered();
  }
}

void TDragCustomControl::SetBounds(int left, int top, int width, int height) {
  TKrTransCustomControl::SetBounds(left, top, width, height);
  if (!m_group->Tracking()) m_group->SetTrackRect({left, top, width, height});
}

void TDragCustomControl::moveEvent(QMoveEvent* event) {
  TKrTransCustomControl::moveEvent(event);
  if (m_group != nullptr && !m_group->Tracking() && (m_group->Sizing() || m_group->Framed() || m_group->BoxAlways())) {
    m_group->SetTrackRect(FromQRect(geometry()));
  }
}

void TDragCustomControl::resizeEvent(QResizeEvent* event) {
  TKrTransCustomControl::resizeEvent(event);
  if (m_group != nullptr && !m_group->Tracking() && (m_group->Sizing() || m_group->Framed() || m_group->BoxAlways())) {
    m_group->SetTrackRect(FromQRect(geometry()));
  }
}

void TDragCustomControl::focusInEvent(QFocusEvent* event) {
  TKrTransCustomControl::focusInEvent(event);
  if (m_selectOnFocus) FocusEntered();
}

void TDragCustomControl::focusOutEvent(QFocusEvent* event) {
  TKrTransCustomControl::focusOutEvent(event);
  if (m_selectOnFocus) FocusLeft();
}

void TDragCustomControl::FocusWidgetChanged(QWidget* old, QWidget* now) {
  if (m_selectOnFocus) return;
  const bool wasIn = old != nullptr && (old == this || isAncestorOf(old));
  const bool isIn = now != nullptr && (now == this || isAncestorOf(now));
  if (!wasIn && isIn) FocusEntered();
  if (wasIn && !isIn) FocusLeft();
}

void TDragCustomControl::mousePressEvent(QMouseEvent* event) {
  if (!IsTextBox() && !hasFocus() && !m_readOnly && !m_locked && isEnabled()) setFocus(Qt::MouseFocusReason);
  TKrTransCustomControl::mousePressEvent(event);
}

}  // namespace tarn::objects
