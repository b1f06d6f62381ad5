// The drop-down list of undo steps; see tundobox.h.
#include "undo/ui/tundobox.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>

#include <algorithm>

#include "platform/qt/qtstrings.h"
#include "undo/aehundolist.h"

namespace tarn::undo::ui {

TUndoBox::TUndoBox(const std::vector<std::string>& captions, QWidget* parent)
    : QListWidget(parent) {
  setObjectName(QStringLiteral("UndoBox"));
  setWindowFlags(Qt::Popup | Qt::FramelessWindowHint);
  setAttribute(Qt::WA_DeleteOnClose, false);
  // The list draws the selection itself; the mouse and keys do not go
  // through the view's own selection rules.
  setSelectionMode(QAbstractItemView::MultiSelection);
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  // A flat line of one pixel: a sunken box would be two wide and hide the
  // last row behind a scroll bar.
  setFrameShape(QFrame::Box);
  setFrameShadow(QFrame::Plain);
  setLineWidth(1);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  for (const std::string& caption : captions) addItem(platform::qt::ToQString(caption));
  const int rows = std::min(count(), kRows);
  if (count() <= kRows) setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  const int rowHeight = count() > 0 ? sizeHintForRow(0) : fontMetrics().height();
  setFixedSize(kWidth, rows * rowHeight + 2 * frameWidth());
  if (count() > 0) SelectTo(0);
  connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
    if (state != Qt::ApplicationActive) Finish(false);
  });
}

TUndoBox::~TUndoBox() = default;

void TUndoBox::SelectTo(int row) {
  if (row < 0 || row >= count()) return;
  for (int i = 0; i < count(); ++i) item(i)->setSelected(i <= row);
  m_count = row + 1;
  scrollToItem(item(row));
}

int TUndoBox::RowAt(const QPointF& global) const {
  const QModelIndex index = indexAt(viewport()->mapFromGlobal(global.toPoint()));
  return index.isValid() ? index.row() : -1;
}

bool TUndoBox::Inside(const QPointF& global) const { return rect().contains(mapFromGlobal(global.toPoint())); }

void TUndoBox::PopupAt(QWidget* anchor) {
  QPoint at(0, 0);
  if (anchor != nullptr) {
    const QPoint corner = anchor->mapToGlobal(QPoint(0, 0));
    at = corner + QPoint(0, anchor->height());
    const QScreen* screen = anchor->screen();
    const QRect area = screen != nullptr ? screen->availableGeometry() : QRect();
    if (area.isValid()) {
      if (at.x() + width() > area.right() + 1) at.setX(corner.x() + anchor->width() - width());
      if (at.y() + height() > area.bottom() + 1) at.setY(corner.y() - height());
    }
  }
  move(at);
  show();
  raise();
  activateWindow();
  setFocus(Qt::PopupFocusReason);
}

int TUndoBox::Exec(QWidget* anchor) {
  if (count() == 0) return 0;
  QEventLoop loop;
  connect(this, &TUndoBox::Finished, &loop, &QEventLoop::quit);
  PopupAt(anchor);
  if (!m_done) loop.exec();
  return m_count;
}

void TUndoBox::Finish(bool confirmed) {
  if (m_done) return;
  m_done = true;
  if (!confirmed) m_count = 0;
  hide();
  emit Finished(m_count);
}

bool TUndoBox::event(QEvent* event) {
  // A pop-up receives the clicks made outside it, but a scroll area passes
  // on those that do not reach its viewport (the frame, the rest of the
  // screen): they must still close the list.
  switch (event->type()) {
    case QEvent::MouseButtonPress: mousePressEvent(static_cast<QMouseEvent*>(event)); return true;
    case QEvent::MouseButtonRelease: mouseReleaseEvent(static_cast<QMouseEvent*>(event)); return true;
    case QEvent::MouseButtonDblClick: mouseDoubleClickEvent(static_cast<QMouseEvent*>(event)); return true;
    case QEvent::MouseMove: mouseMoveEvent(static_cast<QMouseEvent*>(event)); return true;
    default: return QListWidget::event(event);
  }
}

void TUndoBox::mousePressEvent(QMouseEvent* event) {
  const QPointF global = event->globalPosition();
  // A press outside the list closes it, as any pop-up.
  if (!Inside(global)) {
    Finish(false);
    return;
  }
  m_pressedInside = true;
  SelectTo(RowAt(global));
}

void TUndoBox::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() == Qt::NoButton) return;
  SelectTo(RowAt(event->globalPosition()));
}

void TUndoBox::mouseReleaseEvent(QMouseEvent*) {
  // Only a click that began in the list chooses.
  Finish(m_pressedInside);
}

void TUndoBox::mouseDoubleClickEvent(QMouseEvent* event) {
  const QPointF global = event->globalPosition();
  if (!Inside(global)) {
    Finish(false);
    return;
  }
  SelectTo(RowAt(global));
  Finish(true);
}

void TUndoBox::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left: SelectTo(std::max(m_count - 2, 0)); break;
    case Qt::Key_Down:
    case Qt::Key_Right: SelectTo(std::min(m_count, count() - 1)); break;
    case Qt::Key_Return:
    case Qt::Key_Enter: Finish(true); break;
    case Qt::Key_Escape: Finish(false); break;
    default: break;
  }
}

void TUndoBox::hideEvent(QHideEvent* event) {
  QListWidget::hideEvent(event);
  // Closed by the window system (a click elsewhere, another window
  // activated): nothing is chosen.
  Finish(false);
}

UndoControl* ShowList(TAEHundoList& list, int direction, QWidget* anchor) {
  bool waiting = false;
  UndoControl* control = list.ShowList(direction, [&](const std::vector<std::string>& captions) {
    TUndoBox box(captions, anchor != nullptr ? anchor->window() : nullptr);
    const int chosen = box.Exec(anchor);
    if (chosen > 0) {
      QApplication::setOverrideCursor(Qt::WaitCursor);
      waiting = true;
    }
    return chosen;
  });
  if (waiting) QApplication::restoreOverrideCursor();
  return control;
}

}  // namespace tarn::undo::ui
