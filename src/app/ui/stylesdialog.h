// The styles dialog: the hypertext's paragraph styles in a list, with New,
// Rename, Delete, and every field of the chosen style (the font part, the
// paragraph part in the style's unit, the look of links) shown in a preview
// of sample text. Field changes are stored into the style when another
// style is chosen and when the dialog closes; creating, renaming and
// deleting act at once. A style that pages still name is not deleted: the
// author is told how many pages use it.
#pragma once

#include <QDialog>

#include <cstdint>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFontComboBox;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace tarn::document {
class TAEHset;
class TAEHoggetto;
}
namespace tarn::objects::ui {
class TAEHstyleView;
}
namespace tarn::platform {
class Messages;
}

namespace tarn::app::ui {

class TKrLanguager;

class TFStyles : public QDialog {
 public:
  TFStyles(document::TAEHset& set, platform::Messages& messages, QWidget* parent = nullptr);

  // Chooses the style of that index in the list (nothing when missing).
  void ChooseStyle(int index);
  int ChosenStyle() const { return m_current; }
  // Whether a style was created, renamed, deleted or changed.
  bool StylesChanged() const { return m_changed; }

  // The list's actions, as the buttons run them (Rename and New take the
  // name that the buttons ask for).
  void NewStyle();
  bool RenameChosen(const QString& name);
  bool DeleteChosen();
  // Stores the fields shown into the chosen style.
  void StoreShown();

  QListWidget* List() const { return m_list; }
  QSpinBox* Size() const { return m_size; }
  QCheckBox* Bold() const { return m_bits[0]; }
  QComboBox* Alignment() const { return m_alignment; }
  QComboBox* Unit() const { return m_unit; }
  QDoubleSpinBox* LeftMargin() const { return m_left; }
  objects::ui::TAEHstyleView* Preview() const { return m_preview; }

 protected:
  void done(int result) override;

 private:
  void FillList(int choose);
  void ShowFields(const document::TAEHoggetto& style);
  void WriteFields(document::TAEHoggetto& style) const;
  void FieldsChanged();
  void UnitChanged();
  QDoubleSpinBox* Length(const char* name);

  document::TAEHset& m_set;
  platform::Messages& m_messages;
  int m_current = -1;
  // The unit the lengths are shown in now.
  int m_shownUnit = 1;
  bool m_loading = false;
  bool m_changed = false;

  QListWidget* m_list;
  QPushButton* m_rename;
  QPushButton* m_delete;
  QFontComboBox* m_face;
  QSpinBox* m_size;
  QPushButton* m_colour;
  std::uint32_t m_colourValue = 0;
  QCheckBox* m_bits[4];
  QComboBox* m_position;
  QComboBox* m_alignment;
  QComboBox* m_listKind;
  QComboBox* m_unit;
  QCheckBox* m_automaticHeight;
  QDoubleSpinBox* m_lineHeight;
  QDoubleSpinBox* m_before;
  QDoubleSpinBox* m_after;
  QDoubleSpinBox* m_indent;
  QDoubleSpinBox* m_left;
  QDoubleSpinBox* m_right;
  QPushButton* m_linkColour;
  std::uint32_t m_linkColourValue = 0;
  QSpinBox* m_linkSize;
  QCheckBox* m_linkBits[4];
  objects::ui::TAEHstyleView* m_preview;
  TKrLanguager* m_languager;
};

}  // namespace tarn::app::ui
