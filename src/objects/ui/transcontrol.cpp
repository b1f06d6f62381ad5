// Transparent controls; see transcontrol.h.
#include "objects/ui/transcontrol.h"

#include <QKeyEvent>

#include "objects/ui/framesetinterface.h"

namespace tarn::objects {

FrameSetInterface* FindFrameSet(const QWidget* widget) {
  for (const QWidget* w = widget ? widget->parentWidget() : nullptr; w != nullptr; w = w->parentWidget()) {
    if (auto* provider = dynamic_cast<const FrameSetProvider*>(w)) {
      if (FrameSetInterface* frameSet = const_cast<FrameSetProvider*>(provider)->ProvidedFrameSet()) return frameSet;
    }
  }
  return nullptr;
}

TKrTransCustomControl::TKrTransCustomControl(QWidget* parent) : QWidget(parent) {
  // Nothing of the window system's background is drawn: the control
  // paints what it has and the rest shows what lies below.
  setAutoFillBackground(false);
  setAttribute(Qt::WA_NoSystemBackground);
  setFocusPolicy(Qt::NoFocus);
}

void TKrTransCustomControl::SetBounds(int left, int top, int width, int height) {
  const QRect bounds(left, top, width, height);
  if (bounds == geometry()) return;
  if (FastBounds && isVisible() && !isMinimized()) {
    hide();
    setGeometry(bounds);
    show();
    return;
  }
  setGeometry(bounds);
}

void TKrTransCustomControl::Invalidate(const QRect& area) {
  if (IsOpaque() && isVisible()) {
    update(area);
    return;
  }
  // Up the chain of transparent parents to one that paints its background.
  QRect r = area;
  QWidget* w = this;
  while (w->parentWidget() != nullptr) {
    r.translate(w->pos());
    w = w->parentWidget();
    auto* trans = qobject_cast<TKrTransCustomControl*>(w);
    if (trans == nullptr || trans->IsOpaque()) break;
  }
  w->update(r);
}

void TKrTransCustomControl::SetVisibleInvalidating(bool visible) {
  if (visible == isVisible()) return;
  const bool forward = !visible && !IsOpaque();
  const QRect covered = rect();
  setVisible(visible);
  if (forward) Invalidate(covered);
}

bool TKrTransCustomControl::event(QEvent* event) {
  if (event->type() == QEvent::KeyPress && WantsNavigationKeys()) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
      keyPressEvent(key);
      return true;
    }
  }
  return QWidget::event(event);
}

TTransNoEventsControl::TTransNoEventsControl(QWidget* parent) : TTransMouseControl(parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

}  // namespace tarn::objects
