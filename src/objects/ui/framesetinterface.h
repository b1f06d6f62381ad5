// What the objects of a page (text boxes, pictures, zones, tables) ask of
// the frame set that shows the page: selection, focus and read-only
// state, link following, hints, the popup menus, dropped files and the
// spelling operations. The frame set implements it; a page view or any
// other ancestor widget hands it out through FrameSetProvider.
#pragma once

#include <QPoint>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

class QMenu;
class QWidget;

namespace tarn::objects {

class TDragCustomControl;

class FrameSetInterface {
 public:
  virtual ~FrameSetInterface() = default;

  // An object became the active one (the frame set ends the editing of the
  // previous text box and raises its edit-start event), or stopped being it.
  virtual void ObjectSelected(TDragCustomControl* object) = 0;
  virtual void ObjectDeselected(TDragCustomControl* object) = 0;
  // The selected object changed its size: what shows it (the status bar)
  // is brought up to date.
  virtual void ObjectChanged(TDragCustomControl* /*object*/) {}

  // A text box's caret or selection changed, it was entered or left, or
  // it was double-clicked.
  virtual void CaretChanged(QWidget* /*box*/) {}
  virtual void BoxEntered(QWidget* /*box*/) {}
  virtual void BoxLeft(QWidget* /*box*/) {}
  virtual void DoubleClicked(QWidget* /*box*/) {}
  // In read-only mode a click gives the focus to the frame set.
  virtual void TakeFocus() {}

  // Properties of the frame set that the box reads.
  virtual bool Enabled() const { return true; }
  // A wrapped frame set deals in plain text only.
  virtual bool Wrapper() const { return false; }
  virtual bool AutoEngQuote() const { return false; }

  // Links carried by characters (the box's working link values).
  virtual QString LinkDescription(std::int32_t /*link*/) { return {}; }
  // The record kind behind a link value (3 embedded file, 10 special link,
  // ...), or -1.
  virtual int LinkRecordKind(std::int32_t /*link*/) { return -1; }
  virtual void FollowLink(std::int32_t /*link*/, QWidget* /*from*/) {}
  virtual void ShowHint(const QString& /*hint*/) {}

  // The frame set's popup menus; none when it has not made them.
  virtual QMenu* PopupInactive() { return nullptr; }
  virtual QMenu* PopupSpell() { return nullptr; }
  virtual QMenu* PopupGenLink() { return nullptr; }
  virtual QMenu* PopupSpecLink() { return nullptr; }
  enum class DropChoice { Move, Copy, Cancel };
  // The menu after a drag with the right button.
  virtual DropChoice DropMenu(QPoint /*global*/) { return DropChoice::Cancel; }

  // Files dropped from the desktop: a hypertext to open (read-only boxes),
  // or files to insert or import at the caret of the box.
  virtual void OpenHypertext(const std::string& /*path*/) {}
  virtual void FilesDropped(const std::vector<std::string>& /*paths*/, QWidget* /*box*/) {}

  // Spelling (words are cp1252).
  virtual std::vector<std::string> Suggest(const std::string& /*word*/) { return {}; }
  virtual void IgnoreAll(const std::string& /*word*/) {}
  virtual void AddWord(const std::string& /*word*/) {}
  virtual void SpellCheckFrom(QWidget* /*box*/) {}
  virtual void RestartBackgroundCheck(QWidget* /*box*/) {}
};

// Implemented by widgets that know the frame set of the objects under them
// (the page view, and every selectable object for its children).
class FrameSetProvider {
 public:
  virtual ~FrameSetProvider() = default;
  virtual FrameSetInterface* ProvidedFrameSet() = 0;
};

// The frame set of the nearest ancestor that provides one.
FrameSetInterface* FindFrameSet(const QWidget* widget);

}  // namespace tarn::objects
