// The text box: the widget in which a page's rich text (or a cell's, or a
// frame's) is shown and edited with the caret, the selection, the keyboard,
// the mouse, the clipboard and drag and drop. The text itself and the
// commands live in the core (BoxText, TAEHTextAttributes); the box turns
// input into calls on them and paints the result.
#pragma once

#include <QPointer>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "objects/ui/dragcontrol.h"
#include "richtext/aehparaattributes.h"
#include "richtext/aehtextattributes.h"
#include "richtext/boxtext.h"
#include "richtext/ui/aehcursor.h"
#include "richtext/ui/pointershapes.h"
#include "undo/tbobackup.h"

class QAbstractScrollArea;
class QMenu;
class QMimeData;

namespace tarn::platform {
class Clipboard;
namespace qt {
class QtCanvas;
}
}  // namespace tarn::platform

namespace tarn::richtext::ui {

class TAEHbox : public objects::TDragCustomControl {
  Q_OBJECT

 public:
  static constexpr std::uint32_t kDefaultBackground = 0xC0C0C0;
  static constexpr int kMinimumWidth = 20;
  static constexpr int kDragDistance = 4;
  static constexpr int kScrollBand = 30;
  static constexpr int kPageLines = 11;
  static constexpr int kReadOnlyScrollStep = 10;

  // Characters are measured through the host; layout takes font heights
  // from the layout measurer (the window system's fonts when none is given).
  explicit TAEHbox(TextHost& host, QWidget* parent = nullptr, platform::TextMeasurer* layoutMeasurer = nullptr);
  ~TAEHbox() override;

  BoxText& Text() { return m_text; }
  TAEHTextAttributes& TextAttributes() { return m_textAttributes; }
  TAEHParaAttributes& ParaAttributes() { return m_paraAttributes; }
  TAEHcursor& Caret() { return *m_caret; }
  TAEHcursor& DropCaret() { return *m_dropCaret; }

  bool LoadText(std::string_view content, std::string_view header = {}, std::string_view footer = {},
                int version = 2);
  std::string SaveText() const { return m_text.SaveText(); }
  void Rebuild(int first, int last) { m_text.Rebuild(first, last); }
  void SelectRange(CharPos from, CharPos to);
  void SelectAll();
  void BeginUpdate() { m_text.BeginUpdate(); }
  void EndUpdate() { m_text.EndUpdate(); }
  void ScrollCaretIntoView();

  std::uint32_t BackgroundColour() const { return m_background; }
  void SetBackgroundColour(std::uint32_t colour);
  // A page box lies over the page's background (colour and tiled picture),
  // which its page view paints; such a box leaves its own ground unpainted.
  void SetPaintsBackground(bool on);
  bool PaintsBackground() const { return m_paintsBackground; }

  // The width of the page's visible area: a page box lays its text out to
  // it and is at least as wide. Called by the page view when it resizes.
  void SetPageClientWidth(int width);
  // The size the owner asks for; text taller or wider makes the box bigger.
  void SetRequestedSize(int width, int height);

  // Clipboard requests (the command table calls them too).
  void SetClipboard(platform::Clipboard* clipboard) { m_clipboard = clipboard; }
  // The converters of RTF and plain text, and what the box's text refers to.
  void SetClipboardFormats(ClipboardFormats* formats, ClipboardContext context) {
    m_textAttributes.SetClipboardFormats(formats, std::move(context));
  }
  // Where the box's error messages go.
  void SetMessages(platform::Messages* messages) { m_text.SetMessages(messages); }
  void Copy();
  void Cut();
  void Paste();
  // The alignment of the paragraphs the selection touches (0 left, 1 right,
  // 2 centred), as the paragraph toolbar sets it.
  void SetAlignment(std::uint8_t alignment);

  // Drag and drop of text: the drop caret follows the pointer; a drop moves
  // or copies the source box's selection to the point.
  bool DragOverAt(QPoint point, const TAEHbox* source);
  bool DropText(QPoint point, TAEHbox* source, bool copy);
  // Within the band along the page's edges, scrolls towards the nearest
  // edge by half the depth of the point in the band.
  void AutoScroll(QPoint point);
  // The box whose text is being dragged in this program, if any.
  static TAEHbox* DragSource();

  // Rebuilds the frame set's spelling menu for the misspelt word covering
  // the character; the suggestions replace the word when chosen.
  void BuildSpellMenu(QMenu& menu, CharPos at);

  // Undo for this box: its commands record their steps in the hypertext's
  // undo list, and the steps find the box again through this control. The
  // box's owner attaches it (and fills in the object hooks of the page);
  // detaching forgets the box's number.
  undo::TextBoxControl& AttachUndo(document::TAEHset& set);
  void DetachUndo() { m_undo.reset(); }
  undo::TextBoxControl* UndoControl() const { return m_undo.get(); }

  // Follows the link of the character at the caret (or before it), as a
  // double click on it does.
  void FollowLinkAtCaret();

  // The box's own popup menu (the owner makes it).
  QPointer<QMenu> popupMenu;
  // Refused input; the system bell unless replaced.
  std::function<void()> beep;

  void SetReadOnly(bool value) override;
  void SetLocked(bool value) override;

  // ---- Formatting (aehbox_format.cpp) ----
  // Runs a character or paragraph command on an editable box and shows the
  // result; false when the box cannot be changed.
  bool Format(const std::function<void(TAEHTextAttributes&, TAEHParaAttributes&)>& command);

  // ---- Tables (aehbox_tables.cpp) ----
  // Moves the screen tables placed in the text to where the layout put
  // them, and hides those the text no longer places.
  void PlaceTables();
  // The caret enters the table of a paragraph: the cell that a move in the
  // direction (5 left, 6 right, 7 up, 8 down) reaches first.
  bool EnterTableAt(int paragraph, int direction);

  // ---- Objects (aehbox_objects.cpp) ----
  // Drags the selected text (an object's character, selected by the
  // object) as the box's own drag: a drop within the box moves it.
  void DragSelection();

 signals:
  void CaretMoved();
  // The box grew or shrank with its text or the page's width.
  void ExtentChanged(QSize size);

 protected:
  bool IsTextBox() const override { return true; }

  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dragLeaveEvent(QDragLeaveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  bool Editable() const { return !ReadOnly() && !Locked(); }
  void Navigate(CaretMove move, int times, bool toEnd, bool extend);
  void HandleBoundary(Boundary status);
  void TypeText(const QString& text);
  // After every change of text, caret or selection.
  void Changed();
  void UpdateCaret();
  void UpdateExtent();
  void ShowContextMenu(QPoint point);
  void ShowHover(QPoint point);
  void StartDrag();
  void DropFiles(const QMimeData& mime, QPoint point);
  std::int32_t LinkAt(const TextPos& pos) const;
  QAbstractScrollArea* PageArea() const;
  void ResetMouse();

  std::unique_ptr<platform::qt::QtCanvas> m_ownMeasurer;
  BoxText m_text;
  TAEHTextAttributes m_textAttributes;
  TAEHParaAttributes m_paraAttributes;
  // Refers to m_text: declared after it, so that it goes first.
  std::unique_ptr<undo::TextBoxControl> m_undo;
  TAEHcursor* m_caret;
  TAEHcursor* m_dropCaret;
  platform::Clipboard* m_clipboard = nullptr;
  std::uint32_t m_background = kDefaultBackground;
  bool m_paintsBackground = true;
  int m_clientWidth = -1;
  int m_requestedWidth = 0;
  int m_requestedHeight = 0;
  bool m_selectionShown = true;
  QPointer<QWidget> m_watchedViewport;

  // Mouse state.
  QPoint m_pressPoint;
  CharPos m_pressPos;
  bool m_pressed = false;
  bool m_pressedInText = false;
  bool m_selecting = false;
  bool m_pressedInSelection = false;
  bool m_dragging = false;
  Qt::MouseButton m_dragButton = Qt::NoButton;
  bool m_dragCopy = false;
  std::int32_t m_hoverLink = -1;
  bool m_doubleClicked = false;

  // ---- Formatting (aehbox_format.cpp) ----
  // Ctrl+B and Ctrl+U toggle bold and underline, Ctrl+Shift+I italic.
  bool FormatKey(QKeyEvent* event);

  // ---- Tables (aehbox_tables.cpp) ----
  void HandleTableBoundary(Boundary status);
};

}  // namespace tarn::richtext::ui
