// The paragraph-style dialog: alignment, list, unit of measure, the lengths
// (in that unit), line height and the appearance of links of the paragraphs
// the selection touches, shown for the caret's paragraph. On Ok each field
// the author changed is applied as its own command, so that each is one
// undo step with its own caption.
#pragma once

#include <QDialog>

#include <cstdint>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLayout;
class QPushButton;
class QSpinBox;

namespace tarn::richtext {
class TAEHParaAttributes;
}

namespace tarn::app::ui {

class TKrLanguager;

// The paragraph fields, laid out alike in the paragraph-style dialog and the
// styles dialog.
struct ParagraphFields {
  QComboBox* alignment;
  QComboBox* list;
  QComboBox* unit;
  QLayout* lineHeight;
  QDoubleSpinBox* before;
  QDoubleSpinBox* after;
  QDoubleSpinBox* indent;
  QDoubleSpinBox* left;
  QDoubleSpinBox* right;
};
QGroupBox* ParagraphGroup(QWidget* parent, const ParagraphFields& fields);

class TFParagraph : public QDialog {
 public:
  explicit TFParagraph(const richtext::TAEHParaAttributes& paragraph, QWidget* parent = nullptr);

  // Applies what changed to the paragraphs.
  void ApplyTo(richtext::TAEHParaAttributes& paragraph) const;

  QComboBox* Alignment() const { return m_alignment; }
  QComboBox* List() const { return m_list; }
  QDoubleSpinBox* LeftMargin() const { return m_left; }

 private:
  QDoubleSpinBox* Length(const char* name, double value);

  // What the dialog showed at first.
  struct Shown {
    int alignment = 0;
    int list = 0;
    int unit = 0;
    double lineHeight = 0;
    bool automaticHeight = true;
    double before = 0, after = 0, indent = 0, left = 0, right = 0;
    std::uint32_t linkColour = 0;
    int linkSize = -1;
    int linkStyle = 0;
  } m_shown;

  QComboBox* m_alignment;
  QComboBox* m_list;
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
  TKrLanguager* m_languager;
};

}  // namespace tarn::app::ui
