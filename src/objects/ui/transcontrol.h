// Transparent controls: widgets that paint nothing of their own background,
// so that what lies under them shows through, and that can be moved in one
// step. The base of every selectable page object, of the sizing handles and
// of the caret.
#pragma once

#include <QWidget>

namespace tarn::objects {

class TKrTransCustomControl : public QWidget {
  Q_OBJECT

 public:
  explicit TKrTransCustomControl(QWidget* parent = nullptr);

  // Moving with FastBounds hides the control first and shows it again
  // afterwards, so that a moved control never leaves a trail while the
  // parent repaints what it uncovered.
  bool FastBounds = false;
  virtual void SetBounds(int left, int top, int width, int height);

  // A transparent control forwards its repaints to the parent: what shows
  // through must be painted again too. Qt composes children over their
  // parent, so forwarding means updating the covered part of the nearest
  // opaque ancestor.
  virtual bool IsOpaque() const { return true; }
  void Invalidate(const QRect& rect);
  void Invalidate() { Invalidate(rect()); }

  // Shows or hides; hiding a transparent control repaints what it covered.
  void SetVisibleInvalidating(bool visible);

 protected:
  // Whether the control takes Tab and the arrow keys itself rather than
  // letting them move the focus.
  virtual bool WantsNavigationKeys() const { return true; }
  bool event(QEvent* event) override;
};

// Takes characters but leaves Tab and the arrows to focus navigation.
class TTransMouseControl : public TKrTransCustomControl {
  Q_OBJECT

 public:
  explicit TTransMouseControl(QWidget* parent = nullptr) : TKrTransCustomControl(parent) {}

 protected:
  bool WantsNavigationKeys() const override { return false; }
};

// Paints only: mouse events go to whatever lies below.
class TTransNoEventsControl : public TTransMouseControl {
  Q_OBJECT

 public:
  explicit TTransNoEventsControl(QWidget* parent = nullptr);
};

}  // namespace tarn::objects
