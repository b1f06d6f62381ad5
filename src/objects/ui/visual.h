// The screen objects of a page's records: pictures, form controls, buttons,
// multimedia, floating frames and marker glyphs. Each is a child widget of
// the text box whose text places it; the layout tells it where it stands.
// Sizes, values and record fields come from objects/visual; this file adds
// the widgets, the mouse, painting, resizing with undo steps and the modes.
#pragma once

#include <QPointer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "objects/ui/dragcontrol.h"
#include "objects/visual/visualrecord.h"
#include "undo/timbackup.h"

class QMenu;
class QMovie;

namespace tarn::document {
class TAEHpicture;
}
namespace tarn::richtext {
class BoxText;
class EmbeddedObject;
namespace ui {
class TAEHbox;
}
}  // namespace tarn::richtext

namespace tarn::objects {

class TMyyZona;

class TMyyVisual : public TDragCustomControl, public undo::UndoVisual {
  Q_OBJECT

 public:
  static constexpr int kDragStartMajor = 5;
  static constexpr int kDragStartMinor = 2;

  TMyyVisual(visual::VisualClass visualClass, QWidget* parent);
  ~TMyyVisual() override;

  // Makes the screen object of a record; nothing for records the table
  // gives none.
  static TMyyVisual* Create(document::TAEHoggetto& record, QWidget* parent);

  visual::VisualClass Class() const { return m_class; }

  // ---- The record ----
  virtual void SetRecord(document::TAEHoggetto* record);
  document::TAEHoggetto* Record() const { return m_record; }
  // The object's value as a form sends it, and setting it.
  virtual std::string GetValue() const { return {}; }
  virtual void SetValue(const std::string& /*text*/) {}
  virtual void LoadFromRecord();
  virtual void WriteToRecord() {}
  virtual void UpdateView();
  // Sizes the object for the width left on its line and the container's
  // height (percent sizes).
  virtual void SetAvailableWidth(int width);
  virtual void ActivateLink() {}
  virtual void DoubleClickAction();
  virtual bool WantsReloadOnModeChange(bool value) const { return value && m_reloadOnModeChange; }
  // Whether the layout gives it room in the current mode.
  virtual bool ShownInMode() const { return true; }
  int AvailableWidth() const { return m_availableWidth; }
  int ContainerHeight() const;

  // The text box that places it, and the object as the layout sees it.
  richtext::ui::TAEHbox* Box() const;
  void SetEmbedded(richtext::EmbeddedObject* object) { m_embedded = object; }
  richtext::EmbeddedObject* Embedded() const { return m_embedded; }
  // Its character in the box (paragraph -1 when not found).
  struct Place {
    int paragraph = -1;
    int character = 0;
  };
  Place FindInText() const;
  // Lays its paragraph out again after a size change and shows it there.
  void RequestRelayout();
  // Records one undo step for the object with the caption.
  void CreateUndo(std::string_view caption);
  // Numbers the object in its page view, under its object tag's number.
  void RegisterForUndo(int number) { m_undoNumber = number; }

  void SetReadOnly(bool value) override;
  void SetLocked(bool value) override;
  void BeginResize() override;
  void EndResize() override;

  // ---- undo::UndoVisual ----
  document::TAEHoggetto& VisualRecord() override { return *m_record; }
  richtext::BoxText* HoldingText() override;
  void Restored(int zone) override;
  bool UndoFocus() override;

  // The popup menu of the object (made by the owner of the page).
  QPointer<QMenu> ownMenu;
  // The program's answers: the properties dialog of an object (asked by a
  // double click) and the popup menu of an object without its own.
  static std::function<void(TMyyVisual&)> propertiesRequested;
  static std::function<QMenu*(TMyyVisual&)> menuFor;

 protected:
  // Stores the control's size in the record after a resize.
  virtual void StoreSize() {}
  void ApplySize(int width, int height);
  // Fills the frame set's description into the hint.
  void RefreshHint();

  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

  QPoint MoveStart;
  bool IgnoreMove = false;
  bool DragPending = false;
  QPoint DragOrigin;
  bool SuppressNextUp = false;
  bool m_reloadOnModeChange = false;

 private:
  void EnsureRegistered();
  void SelectReference();

  visual::VisualClass m_class;
  document::TAEHoggetto* m_record = nullptr;
  richtext::EmbeddedObject* m_embedded = nullptr;
  int m_availableWidth = 0;
  int m_undoNumber = -1;
};

// A placed image: its picture (or a framed box with the picture's name),
// its click zones, resizing that scales them, zooming, the mouse-over picture.
class TMyyImage : public TMyyVisual {
  Q_OBJECT

 public:
  explicit TMyyImage(QWidget* parent);
  ~TMyyImage() override;

  void LoadFromRecord() override;
  void WriteToRecord() override;
  void UpdateView() override;
  void SetAvailableWidth(int width) override;
  void ActivateLink() override;
  void DoubleClickAction() override;
  void EndResize() override;
  void SetReadOnly(bool value) override;

  // ---- Zones ----
  const std::vector<TMyyZona*>& Zones() const { return m_zones; }
  TMyyZona* AddZone();
  void DeleteZone(TMyyZona* zone);
  bool DeleteSelectedZone();
  TMyyZona* SelectedZoneControl() const;
  void BringZoneToFront(TMyyZona* zone);
  void SendZoneToBack(TMyyZona* zone);
  // The zone as the clipboard carries it; pasting adds a zone 5 pixels
  // right and down from it.
  std::string CopyZone(const TMyyZona& zone) const;
  TMyyZona* PasteZone(std::string_view bytes);
  // Zoom to a percentage of the picture's own size.
  void Zoom(int percent);
  QPoint LastMouseDown() const { return MoveStart; }

  // ---- undo::UndoVisual ----
  void FinishPendingChange() override { WriteToRecord(); }
  int SelectedZone() const override;
  void Restored(int zone) override;

 protected:
  void StoreSize() override;
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  bool IsOpaque() const override;

 private:
  void ClearZones();
  TMyyZona* MakeZone(const visual::Zone& zone, int tableIndex);
  void StartAnimation();

  std::vector<TMyyZona*> m_zones;
  // The picture shown, held while the page is: a page with more distinct
  // pictures than the hypertext's cache keeps does not decode them again.
  std::shared_ptr<document::TAEHpicture> m_picture;
  QPointer<QMovie> m_movie;
  bool m_hover = false;
};

// A marker glyph: anchors, scripts, comments, raw HTML, hidden fields,
// dynamic markers; and the form start.
class TMyyBelPanel : public TMyyVisual {
  Q_OBJECT

 public:
  explicit TMyyBelPanel(QWidget* parent, visual::VisualClass visualClass = visual::VisualClass::BelPanel);
  void UpdateView() override;
  void ActivateLink() override;
  bool ShownInMode() const override;
  bool WantsReloadOnModeChange(bool value) const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool IsOpaque() const override { return false; }
};

class TMyyInizioForm : public TMyyBelPanel {
  Q_OBJECT

 public:
  explicit TMyyInizioForm(QWidget* parent) : TMyyBelPanel(parent, visual::VisualClass::InizioForm) {}
};

// Form controls and buttons hold a platform control that fills them.
class TMyyControlHost : public TMyyVisual {
  Q_OBJECT

 public:
  using TMyyVisual::TMyyVisual;
  void SetReadOnly(bool value) override;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void Adopt(QWidget* control);
  QWidget* Control() const { return m_control; }

 private:
  QPointer<QWidget> m_control;
};

class TMyyButton : public TMyyControlHost {
  Q_OBJECT

 public:
  explicit TMyyButton(QWidget* parent);
  void UpdateView() override;
  void SetAvailableWidth(int width) override;
  void ActivateLink() override;
  // Resets the values of the form the button belongs to.
  void ResetForm();

 protected:
  void StoreSize() override;
  void paintEvent(QPaintEvent* event) override;
};

class TMyyEdit : public TMyyControlHost {
  Q_OBJECT

 public:
  explicit TMyyEdit(QWidget* parent);
  void UpdateView() override;
  std::string GetValue() const override;
  void SetValue(const std::string& text) override;
};

class TMyyMemo : public TMyyControlHost {
  Q_OBJECT

 public:
  explicit TMyyMemo(QWidget* parent);
  void UpdateView() override;
  std::string GetValue() const override;
  void SetValue(const std::string& text) override;
};

class TMyyCheckedControl : public TMyyVisual {
  Q_OBJECT

 public:
  using TMyyVisual::TMyyVisual;
  void UpdateView() override;
  std::string GetValue() const override;
  void SetValue(const std::string& text) override;
  bool Checked() const { return m_checked; }
  void SetChecked(bool on);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  bool IsOpaque() const override { return false; }
  virtual void Clicked() = 0;

 private:
  bool m_checked = false;
  bool m_pressed = false;
};

class TMyyRadioButton : public TMyyCheckedControl {
  Q_OBJECT

 public:
  explicit TMyyRadioButton(QWidget* parent) : TMyyCheckedControl(visual::VisualClass::RadioButton, parent) {}

 protected:
  void Clicked() override { SetChecked(true); }
};

class TMyyCheckBox : public TMyyCheckedControl {
  Q_OBJECT

 public:
  explicit TMyyCheckBox(QWidget* parent) : TMyyCheckedControl(visual::VisualClass::CheckBox, parent) {}

 protected:
  void Clicked() override { SetChecked(!Checked()); }
};

class TMyyListBox : public TMyyControlHost {
  Q_OBJECT

 public:
  explicit TMyyListBox(QWidget* parent);
  void UpdateView() override;
  std::string GetValue() const override;
  void SetValue(const std::string& text) override;
};

class TMyyComboBox : public TMyyControlHost {
  Q_OBJECT

 public:
  explicit TMyyComboBox(QWidget* parent);
  void UpdateView() override;
  std::string GetValue() const override;
  void SetValue(const std::string& text) override;
};

// Sound, video, plug-ins, custom components, data-source markers: their
// glyph or a framed box with the file's name.
class TMyyMultimedia : public TMyyVisual {
  Q_OBJECT

 public:
  explicit TMyyMultimedia(QWidget* parent);
  void UpdateView() override;
  bool ShownInMode() const override;

 protected:
  void StoreSize() override;
  void paintEvent(QPaintEvent* event) override;
};

// A floating frame: the page it names, shown read-only inside the object.
class TMyyFloating : public TMyyVisual {
  Q_OBJECT

 public:
  explicit TMyyFloating(QWidget* parent);
  void UpdateView() override;

 protected:
  void StoreSize() override;
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace tarn::objects
