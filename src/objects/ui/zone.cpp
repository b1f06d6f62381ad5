// Click zones; see zone.h.
#include "objects/ui/zone.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

#include "document/aehset.h"
#include "document/links.h"
#include "objects/ui/visual.h"
#include "platform/clipboard.h"
#include "platform/qt/qtstrings.h"
#include "richtext/ui/aehbox.h"

namespace tarn::objects {

std::function<QMenu*()> TMyyZona::menu;

TMyyZona::TMyyZona(TMyyImage& image, int tableIndex) : TDragCustomControl(&image), TableIndex(tableIndex), m_image(image) {
  setObjectName(QStringLiteral("TMyyZona"));
  FastBounds = true;
  resize(30, 30);
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::ClickFocus);
  setMouseTracking(true);
  Group().SetMode(2);
}

void TMyyZona::LoadZone(const visual::Zone& zone) {
  SetLink(zone.link);
  SetBounds(zone.left, zone.top, zone.width, zone.height);
}

visual::Zone TMyyZona::SaveZone() const { return {m_link, x(), y(), width(), height()}; }

void TMyyZona::SetLink(document::ObjectId link) {
  m_link = link;
  setToolTip({});
  if (link == 0 || link == -1) return;
  if (FrameSetInterface* fs = const_cast<TMyyZona*>(this)->GetFrameSet()) setToolTip(fs->LinkDescription(link));
}

void TMyyZona::SetSelected(bool value) {
  TDragCustomControl::SetSelected(value);
  setCursor(ReadOnly() ? Qt::PointingHandCursor : (value ? Qt::OpenHandCursor : Qt::CrossCursor));
}

void TMyyZona::BeginResize() {
  if (!m_moving) m_image.CreateUndo("Clic area resize");
}

void TMyyZona::EndResize() {
  if (Selected()) setFocus(Qt::OtherFocusReason);
}

void TMyyZona::FocusEntered() { TDragCustomControl::FocusEntered(); }

void TMyyZona::paintEvent(QPaintEvent*) {
  // Transparent: the picture shows through. While the page is edited the
  // dotted box of the decoration marks it; a faint tint helps to find it.
  if (ReadOnly()) return;
  QPainter painter(this);
  painter.fillRect(rect(), QColor(0, 0, 255, Selected() ? 48 : 24));
}

void TMyyZona::Follow() {
  if (m_link == 0 || m_link == -1) return;
  if (FrameSetInterface* fs = GetFrameSet()) fs->FollowLink(m_link, m_image.Box());
}

void TMyyZona::mousePressEvent(QMouseEvent* event) {
  if (m_ignoreMouse || event->button() != Qt::LeftButton) return;
  if (ReadOnly()) return;
  setFocus(Qt::MouseFocusReason);
  SetSelected(true);
  m_movePending = true;
  m_pressPoint = event->position().toPoint();
}

void TMyyZona::mouseMoveEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  if (m_moving) {
    move(pos() + point - m_moveOffset);
    return;
  }
  if (!m_movePending) return;
  const QPoint d = point - m_pressPoint;
  if (std::abs(d.x()) <= kMoveThreshold && std::abs(d.y()) <= kMoveThreshold) return;
  m_image.CreateUndo("Clic area move");
  m_moving = true;
  m_moveOffset = m_pressPoint;
  setCursor(Qt::SizeAllCursor);
  move(pos() + point - m_moveOffset);
}

void TMyyZona::mouseReleaseEvent(QMouseEvent* event) {
  if (m_ignoreMouse) {
    m_ignoreMouse = false;
    return;
  }
  const bool moved = m_moving;
  m_moving = false;
  m_movePending = false;
  if (ReadOnly()) {
    if (event->button() == Qt::LeftButton) Follow();
    return;
  }
  if (moved) {
    setCursor(Qt::OpenHandCursor);
    // The decoration follows the zone to its new place.
    SetBounds(x(), y(), width(), height());
    setFocus(Qt::OtherFocusReason);
  }
  if (event->button() == Qt::RightButton) {
    setFocus(Qt::MouseFocusReason);
    SetSelected(true);
  }
}

void TMyyZona::mouseDoubleClickEvent(QMouseEvent*) {
  m_ignoreMouse = true;
  Follow();
}

void TMyyZona::keyPressEvent(QKeyEvent* event) {
  const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  if (plain && event->key() == Qt::Key_Delete && !ReadOnly()) {
    // The image deletes its zone once this event is over.
    QPointer<TMyyZona> self(this);
    QMetaObject::invokeMethod(
        &m_image, [self, image = &m_image] {
          if (self) image->DeleteZone(self.data());
        },
        Qt::QueuedConnection);
    return;
  }
  if (event->matches(QKeySequence::Copy)) {
    auto* mime = new QMimeData;
    const std::string bytes = m_image.CopyZone(*this);
    mime->setData(QString::fromLatin1(platform::kMimeZone.data(), static_cast<qsizetype>(platform::kMimeZone.size())),
                  QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    QApplication::clipboard()->setMimeData(mime);
    return;
  }
  if (event->matches(QKeySequence::Paste)) {
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    const QString format =
        QString::fromLatin1(platform::kMimeZone.data(), static_cast<qsizetype>(platform::kMimeZone.size()));
    if (mime != nullptr && mime->hasFormat(format)) {
      const QByteArray bytes = mime->data(format);
      m_image.PasteZone(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    }
    return;
  }
  TDragCustomControl::keyPressEvent(event);
}

bool TMyyZona::event(QEvent* event) {
  // Copy, paste and Delete on a zone are the zone's, not the window's.
  if (event->type() == QEvent::ShortcutOverride) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->matches(QKeySequence::Copy) || (key->matches(QKeySequence::Paste) && !ReadOnly()) ||
        (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier && !ReadOnly())) {
      event->accept();
      return true;
    }
  }
  return TDragCustomControl::event(event);
}

void TMyyZona::contextMenuEvent(QContextMenuEvent* event) {
  if (ReadOnly() || !menu) return;
  QMenu* popup = menu();
  if (popup == nullptr) return;
  setFocus(Qt::MouseFocusReason);
  SetSelected(true);
  popup->popup(event->globalPos());
}

void TMyyZona::enterEvent(QEnterEvent* event) {
  if (toolTip().isEmpty()) SetLink(m_link);
  TDragCustomControl::enterEvent(event);
}

}  // namespace tarn::objects
