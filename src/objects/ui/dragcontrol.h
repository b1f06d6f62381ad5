// The selectable, resizable base of every object on a page, with its
// decoration: eight sizing handles and a dotted box drawn around the
// object, and the rubber band shown while a handle is dragged.
#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>

#include <array>
#include <functional>

#include "objects/ui/framesetinterface.h"
#include "objects/ui/transcontrol.h"

class QRubberBand;

namespace tarn::objects {

class TDragBorderGroup;
class TDragCustomControl;

// True while a handle is being dragged anywhere in the program; layout
// leaves hidden embedded objects hidden meanwhile.
bool ResizeInProgress();

// The rectangle the decoration shows. Unlike QRect it keeps a negative
// width or height as it is, which a handle dragged past the opposite
// corner produces.
struct TrackRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = -1;
  bool operator==(const TrackRect&) const = default;
  QRect Normalized() const;
};

// One sizing handle, 8 by 8 pixels, centred on a corner or a side's middle.
class TDragBorder : public TTransMouseControl {
  Q_OBJECT

 public:
  static constexpr int kSize = 8;
  TDragBorder(TDragBorderGroup& group, int position, QWidget* parent);
  ~TDragBorder() override;

  int Position = 0;  // 1..8: corners, then the middles of top, bottom, left, right
  int Mode = 1;      // 2 allows resizing
  bool Tracking = false;
  QRect StartBounds;
  QPoint StartPoint;

  void SetEnabledLook(bool enabled);
  bool EnabledLook() const { return m_enabled; }
  // Where the handle goes for a rectangle: its top-left corner.
  static QPoint Place(int position, const TrackRect& r);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  TDragBorderGroup& m_group;
  // A released handle waits for its deferred deletion and may outlive the
  // group; only a living group is told the handle is gone.
  QPointer<TDragBorderGroup> m_groupAlive;
  bool m_enabled = true;
};

// One side of the dotted box, one pixel wide.
class TBoxBorder : public TTransNoEventsControl {
  Q_OBJECT

 public:
  TBoxBorder(int side, QWidget* parent);
  int Side = 0;  // 1 top, 2 bottom, 3 left, 4 right

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// The decoration of one object and the state of a resize.
class TDragBorderGroup : public QObject {
  Q_OBJECT

 public:
  explicit TDragBorderGroup(TDragCustomControl& object);
  ~TDragBorderGroup() override;

  std::function<void()> OnBeginResize;
  std::function<void()> OnEndResize;

  int Mode() const { return m_mode; }
  bool Framed() const { return m_framed; }
  bool Sizing() const { return m_sizing; }
  bool BoxAlways() const { return m_boxAlways; }
  bool Tracking() const { return m_tracking; }
  const TrackRect& Track() const { return m_track; }

  void SetSizing(bool value);
  void SetFramed(bool value);
  void SetBoxAlways(bool value);
  void SetMode(int value);
  void SetTracking(bool value) { m_tracking = value; }
  void SetTrackRect(const TrackRect& r);
  void ReleaseHandles();
  // A handle being destroyed leaves the group at once: focus moving away
  // from it during its destruction can reach the group before its guard
  // is cleared, and the half-destroyed handle must not be touched then.
  void Forget(const TDragBorder* handle);
  void BringDecorationToFront();
  void SendDecorationToBack();

  // The resize protocol, driven by a handle.
  void BeginTracking();
  void EndTracking();

  // For tests and the frame set: the decoration as it stands.
  TDragBorder* Handle(int position) const { return m_handles[static_cast<std::size_t>(position - 1)]; }
  TBoxBorder* Side(int side) const { return m_sides[static_cast<std::size_t>(side - 1)]; }

 private:
  void ShowHandles(bool enabled);
  void ShowSides(bool show);
  void PlaceDecoration();
  void TrackFromObject();
  QWidget* Parent() const;

  TDragCustomControl& m_object;
  int m_mode = 1;
  bool m_framed = false;
  bool m_sizing = false;
  bool m_boxAlways = false;
  bool m_tracking = false;
  TrackRect m_track;
  std::array<QPointer<TDragBorder>, 8> m_handles{};
  std::array<QPointer<TBoxBorder>, 4> m_sides{};
  QPointer<QRubberBand> m_band;
};

class TDragCustomControl : public TKrTransCustomControl, public FrameSetProvider {
  Q_OBJECT

 public:
  explicit TDragCustomControl(QWidget* parent = nullptr);
  ~TDragCustomControl() override;

  TDragBorderGroup& Group() { return *m_group; }

  // The frame set showing the object: set by the owner, or found up the
  // parent chain once and kept.
  virtual FrameSetInterface* GetFrameSet();
  void SetFrameSet(FrameSetInterface* frameSet) { m_frameSet = frameSet; }
  FrameSetInterface* ProvidedFrameSet() override { return GetFrameSet(); }

  bool Selected() const { return m_selected; }
  bool ShowBox() const { return m_showBox; }
  bool Locked() const { return m_locked; }
  bool ShowFramesOnly() const { return m_showFramesOnly; }
  bool ReadOnly() const { return m_readOnly; }
  // True: selection follows the focus of this widget. False: it follows
  // the focus entering or leaving the widget and its children.
  bool SelectOnFocus() const { return m_selectOnFocus; }
  void SetSelectOnFocus(bool value) { m_selectOnFocus = value; }

  virtual void SetReadOnly(bool value);
  virtual void SetShowFramesOnly(bool value) { m_showFramesOnly = value; }
  virtual void SetLocked(bool value);
  virtual void SetSelected(bool value);
  void SetShowBox(bool value);
  virtual void BeginResize() {}
  // Called after a resize with the new bounds in place.
  virtual void EndResize() {}
  virtual void FocusEntered();
  virtual void FocusLeft();

  void SetBounds(int left, int top, int width, int height) override;

 protected:
  // Text boxes take the focus their own way; click zones and tables do not
  // report their selection to the frame set.
  virtual bool IsTextBox() const { return false; }
  virtual bool ReportsSelection() const { return true; }

  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ReadOnlyOrLockedChanged();
  void FocusWidgetChanged(QWidget* old, QWidget* now);

  TDragBorderGroup* m_group;
  FrameSetInterface* m_frameSet = nullptr;
  bool m_frameSetLooked = false;
  bool m_selected = false;
  bool m_showBox = false;
  bool m_locked = false;
  bool m_showFramesOnly = false;
  bool m_readOnly = false;
  bool m_selectOnFocus = true;
};

}  // namespace tarn::objects
