// The table dialogs: a new table (rows, columns, a preset style with its
// colours or picture, a border) with a preview of the style; the table and
// cell properties (every field of the table's record and the current
// cell's column and background); and the choice of rows or columns to add.
#pragma once

#include <QDialog>

#include <cstdint>
#include <utility>
#include <vector>

#include "richtext/tablerecord.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace tarn::objects::ui {

// The hypertext's images a background may show: (index, name).
using ImageChoices = std::vector<std::pair<int, QString>>;

// Picks a background value: transparent, a colour or an image.
class TBackgroundPicker : public QWidget {
  Q_OBJECT

 public:
  TBackgroundPicker(const ImageChoices& images, bool allowTransparent, QWidget* parent = nullptr);
  void SetValue(std::int32_t value);
  std::int32_t Value() const;

 private:
  void ShowColour();
  QRadioButton* m_none = nullptr;
  QRadioButton* m_colour;
  QRadioButton* m_image;
  QPushButton* m_colourButton;
  QComboBox* m_images;
  std::uint32_t m_value = 0xFFFFFF;
};

class TFnewTable : public QDialog {
  Q_OBJECT

 public:
  TFnewTable(const ImageChoices& images, QWidget* parent = nullptr);
  richtext::NewTable Result() const;

  QSpinBox* rows;
  QSpinBox* columns;
  QComboBox* style;
  TBackgroundPicker* main;
  TBackgroundPicker* second;
  QCheckBox* border;

 private:
  class Preview;
  Preview* m_preview;
};

class TFtableProperties : public QDialog {
  Q_OBJECT

 public:
  TFtableProperties(const richtext::TableProperties& properties, const ImageChoices& images,
                    QWidget* parent = nullptr);
  richtext::TableProperties Result() const;

  TBackgroundPicker* background;
  QCheckBox* percent;
  QSpinBox* width;
  QSpinBox* spacing;
  QSpinBox* padding;
  QCheckBox* border;
  QSpinBox* borderWidth;
  QLineEdit* extra;
  QComboBox* columnKind = nullptr;
  QSpinBox* columnSize = nullptr;
  TBackgroundPicker* cellBackground = nullptr;
  QComboBox* applyTo = nullptr;

 private:
  richtext::TableProperties m_initial;
};

// "Add rows/columns": rows or columns, before (0) or after (1) the
// selected cell, 1..20 of them.
class TFaddCells : public QDialog {
  Q_OBJECT

 public:
  explicit TFaddCells(QWidget* parent = nullptr);
  bool Rows() const;
  int Position() const;
  int Count() const;

  QRadioButton* rowsChoice;
  QRadioButton* columnsChoice;
  QComboBox* position;
  QSpinBox* count;
};

}  // namespace tarn::objects::ui
