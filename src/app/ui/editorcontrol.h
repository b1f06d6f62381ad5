// What the main window asks of the control that shows the current page:
// which page, edit or preview, whether the page was changed, and the events
// it reports back. The frame set implements it; so does the read-only page
// view the window uses until the frame set exists.
#pragma once

#include <functional>

class QWidget;

namespace tarn::document {
class TAEHset;
}

namespace tarn::app::ui {

struct EditorEvents {
  std::function<void()> OnPageChanged;
  std::function<void()> OnFrameSetChanged;
  std::function<void()> OnClickFrame;
};

class EditorControl {
 public:
  virtual ~EditorControl() = default;
  virtual QWidget* Widget() = 0;

  virtual void SetLinkedAEHset(document::TAEHset* set) = 0;
  // Shows page n (-1: none), writing the page shown before back first.
  virtual void SetMainPageNumber(long page) = 0;
  virtual long MainPageNumber() const = 0;
  // Shows no page and forgets the history.
  virtual void ClosePage() = 0;
  virtual void ShowCover() = 0;
  virtual void ShowContents() = 0;
  // Back and forward through the pages shown by following links.
  virtual bool GoBack() = 0;
  virtual bool GoForward() = 0;

  virtual void SetReadOnly(bool readOnly) = 0;
  virtual bool ReadOnly() const = 0;
  // The main window is switching between edit and preview: the page change
  // that follows is not an edit.
  virtual void SetModeSwitching(bool switching) = 0;
  virtual bool PageModified() const = 0;
  virtual void SetPageModified(bool modified) = 0;
  virtual void SetAutoEngQuote(bool on) = 0;
  // Frame maps shown (a page with a frame set shows its frames).
  virtual void SetShowNested(bool on) = 0;
  virtual bool ShowNested() const = 0;
  // Gives the focus back to the object being edited.
  virtual void RestoreFocus() = 0;
  virtual void SelectAll() = 0;
  // The clipboard commands act on the active object.
  virtual void Cut() = 0;
  virtual void Copy() = 0;
  virtual void Paste() = 0;

  EditorEvents events;
};

}  // namespace tarn::app::ui
