// The table dialogs; see tabledialogs.h.
#include "objects/ui/tabledialogs.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

#include "platform/qt/dialogbuttons.h"
#include "platform/qt/qtcanvas.h"
#include "platform/qt/qtstrings.h"

namespace tarn::objects::ui {
using namespace document::field;

namespace {
QSpinBox* Spin(QWidget* parent, const char* name, int low, int high, int value) {
  auto* spin = new QSpinBox(parent);
  spin->setObjectName(QString::fromLatin1(name));
  spin->setRange(low, high);
  spin->setValue(value);
  return spin;
}
std::uint32_t FromColour(const QColor& c) {
  return static_cast<std::uint32_t>(c.red()) | (static_cast<std::uint32_t>(c.green()) << 8) |
         (static_cast<std::uint32_t>(c.blue()) << 16);
}
}  // namespace

// ---- Background picker ----

TBackgroundPicker::TBackgroundPicker(const ImageChoices& images, bool allowTransparent, QWidget* parent)
    : QWidget(parent) {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  if (allowTransparent) {
    m_none = new QRadioButton(QStringLiteral("Transparent"), this);
    m_none->setObjectName(QStringLiteral("rbTransparent"));
    row->addWidget(m_none);
  }
  m_colour = new QRadioButton(QStringLiteral("Colour"), this);
  m_colour->setObjectName(QStringLiteral("rbColour"));
  m_colourButton = platform::qt::NamedButton(this, "bColour", QString());
  m_colourButton->setFixedWidth(40);
  m_image = new QRadioButton(QStringLiteral("Image"), this);
  m_image->setObjectName(QStringLiteral("rbImage"));
  m_images = new QComboBox(this);
  m_images->setObjectName(QStringLiteral("cbImage"));
  for (const auto& [index, name] : images) m_images->addItem(name, index);
  m_image->setEnabled(!images.empty());
  m_images->setEnabled(!images.empty());
  row->addWidget(m_colour);
  row->addWidget(m_colourButton);
  row->addWidget(m_image);
  row->addWidget(m_images, 1);
  connect(m_colourButton, &QPushButton::clicked, this, [this] {
    const QColor chosen = QColorDialog::getColor(platform::qt::ToQColor(m_value), this);
    if (!chosen.isValid()) return;
    m_value = FromColour(chosen);
    m_colour->setChecked(true);
    ShowColour();
  });
  connect(m_images, &QComboBox::activated, this, [this] { m_image->setChecked(true); });
  SetValue(allowTransparent ? richtext::kTransparent : 0xFFFFFF);
}

void TBackgroundPicker::ShowColour() {
  m_colourButton->setStyleSheet(QStringLiteral("background-color: %1").arg(platform::qt::ToQColor(m_value).name()));
}

void TBackgroundPicker::SetValue(std::int32_t value) {
  const richtext::Background b = richtext::Background::Decode(value);
  switch (b.kind) {
    case richtext::Background::Kind::Colour:
      m_value = b.colour;
      m_colour->setChecked(true);
      break;
    case richtext::Background::Kind::Image: {
      const int at = m_images->findData(b.image);
      if (at >= 0) {
        m_images->setCurrentIndex(at);
        m_image->setChecked(true);
        break;
      }
      [[fallthrough]];
    }
    case richtext::Background::Kind::Transparent:
      if (m_none != nullptr) {
        m_none->setChecked(true);
      } else {
        m_colour->setChecked(true);
      }
      break;
  }
  ShowColour();
}

std::int32_t TBackgroundPicker::Value() const {
  if (m_image->isChecked() && m_images->currentIndex() >= 0) {
    return richtext::Background{richtext::Background::Kind::Image, 0, m_images->currentData().toInt()}.Encode();
  }
  if (m_colour->isChecked()) return static_cast<std::int32_t>(m_value & 0xFFFFFFu);
  return richtext::kTransparent;
}

// ---- New table ----

// Three rows and columns of the chosen style.
class TFnewTable::Preview : public QWidget {
 public:
  explicit Preview(TFnewTable& dialog) : QWidget(&dialog), m_dialog(dialog) { setFixedSize(120, 72); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    richtext::NewTable t = m_dialog.Result();
    t.rows = 3;
    t.columns = 3;
    const int w = width() / 3;
    const int h = height() / 3;
    painter.fillRect(rect(), Qt::white);
    for (int r = 0; r < 3; ++r) {
      for (int c = 0; c < 3; ++c) {
        const QRect cell(c * w, r * h, w - 1, h - 1);
        const richtext::Background b = richtext::Background::Decode(richtext::StyleBackground(t, r, c));
        if (b.kind == richtext::Background::Kind::Colour) painter.fillRect(cell, platform::qt::ToQColor(b.colour));
        if (b.kind == richtext::Background::Kind::Image) painter.fillRect(cell, QBrush(Qt::gray, Qt::Dense5Pattern));
        painter.setPen(t.border ? Qt::black : Qt::lightGray);
        painter.drawRect(cell);
      }
    }
  }

 private:
  TFnewTable& m_dialog;
};

TFnewTable::TFnewTable(const ImageChoices& images, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FnewTable"));
  setWindowTitle(QStringLiteral("Insert table"));
  rows = Spin(this, "seRows", 1, richtext::kMaxNewTableRows, 3);
  columns = Spin(this, "seColumns", 1, kMaxTableColumns, 3);
  style = new QComboBox(this);
  style->setObjectName(QStringLiteral("cbStyle"));
  for (const char* name : richtext::kTableStyles) style->addItem(QString::fromLatin1(name));
  main = new TBackgroundPicker(images, false, this);
  main->setObjectName(QStringLiteral("MainColour"));
  main->SetValue(0xF0E0C0);
  second = new TBackgroundPicker({}, false, this);
  second->setObjectName(QStringLiteral("SecondColour"));
  second->SetValue(0xE0F0E0);
  border = new QCheckBox(QStringLiteral("Border"), this);
  border->setObjectName(QStringLiteral("cbBorder"));
  border->setChecked(true);
  m_preview = new Preview(*this);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Rows:"), rows);
  form->addRow(QStringLiteral("Columns:"), columns);
  form->addRow(QStringLiteral("Style:"), style);
  form->addRow(QStringLiteral("Main colour:"), main);
  form->addRow(QStringLiteral("Second colour:"), second);
  form->addRow(QString(), border);
  auto* top = new QHBoxLayout;
  top->addLayout(form, 1);
  top->addWidget(m_preview, 0, Qt::AlignTop);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(platform::qt::OkCancelRow(this));

  auto refresh = [this] { m_preview->update(); };
  connect(style, &QComboBox::currentIndexChanged, this, refresh);
  connect(border, &QCheckBox::toggled, this, refresh);
  for (auto* child : findChildren<QAbstractButton*>()) connect(child, &QAbstractButton::clicked, this, refresh);
  for (auto* child : findChildren<QComboBox*>()) connect(child, &QComboBox::currentIndexChanged, this, refresh);
}

richtext::NewTable TFnewTable::Result() const {
  richtext::NewTable t;
  t.rows = rows->value();
  t.columns = columns->value();
  t.style = style->currentIndex();
  t.main = main->Value();
  t.second = second->Value();
  t.border = border->isChecked();
  return t;
}

// ---- Table properties ----

TFtableProperties::TFtableProperties(const richtext::TableProperties& p, const ImageChoices& images, QWidget* parent)
    : QDialog(parent), m_initial(p) {
  setObjectName(QStringLiteral("FtableProperties"));
  setWindowTitle(QStringLiteral("Table/cells properties"));
  auto* tableBox = new QGroupBox(QStringLiteral("Table"), this);
  background = new TBackgroundPicker(images, true, tableBox);
  background->setObjectName(QStringLiteral("TableBackground"));
  background->SetValue(p.background);
  width = Spin(tableBox, "seWidth", 1, 32767, p.width);
  percent = new QCheckBox(QStringLiteral("Percent"), tableBox);
  percent->setObjectName(QStringLiteral("cbPercent"));
  percent->setChecked(p.percent);
  spacing = Spin(tableBox, "seSpacing", 0, 255, p.spacing);
  padding = Spin(tableBox, "sePadding", 0, 255, p.padding);
  border = new QCheckBox(QStringLiteral("Border"), tableBox);
  border->setObjectName(QStringLiteral("cbBorder"));
  border->setChecked(p.border > 0);
  borderWidth = Spin(tableBox, "seBorder", 1, 255, std::max(p.border, 1));
  borderWidth->setEnabled(p.border > 0);
  connect(border, &QCheckBox::toggled, borderWidth, &QWidget::setEnabled);
  extra = new QLineEdit(platform::qt::ToQString(p.extra), tableBox);
  extra->setObjectName(QStringLiteral("eExtra"));
  auto* widthRow = new QHBoxLayout;
  widthRow->addWidget(width);
  widthRow->addWidget(percent);
  auto* borderRow = new QHBoxLayout;
  borderRow->addWidget(border);
  borderRow->addWidget(borderWidth);
  auto* tableForm = new QFormLayout(tableBox);
  tableForm->addRow(QStringLiteral("Background:"), background);
  tableForm->addRow(QStringLiteral("Width:"), widthRow);
  tableForm->addRow(QStringLiteral("Cell spacing:"), spacing);
  tableForm->addRow(QStringLiteral("Internal border:"), padding);
  tableForm->addRow(QString(), borderRow);
  tableForm->addRow(QStringLiteral("HTML attributes:"), extra);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tableBox);
  if (p.hasCell) {
    auto* cellBox = new QGroupBox(QStringLiteral("Cell"), this);
    columnKind = new QComboBox(cellBox);
    columnKind->setObjectName(QStringLiteral("cbColumnKind"));
    columnKind->addItems({QStringLiteral("percent"), QStringLiteral("fixed"), QStringLiteral("free")});
    columnKind->setCurrentIndex(p.columnKind);
    columnSize = Spin(cellBox, "seColumnSize", 0, 32767, p.columnSize);
    cellBackground = new TBackgroundPicker(images, true, cellBox);
    cellBackground->setObjectName(QStringLiteral("CellBackground"));
    cellBackground->SetValue(p.cellBackground);
    applyTo = new QComboBox(cellBox);
    applyTo->setObjectName(QStringLiteral("cbApplyTo"));
    for (const char* choice : richtext::kApplyChoices) applyTo->addItem(QString::fromLatin1(choice));
    if (p.selection.top >= 0) applyTo->addItem(QString::fromLatin1(richtext::kApplySelectedCellsCaption));
    applyTo->setCurrentIndex(std::clamp(p.applyTo, 0, applyTo->count() - 1));
    auto* columnRow = new QHBoxLayout;
    columnRow->addWidget(columnKind);
    columnRow->addWidget(columnSize);
    auto* cellForm = new QFormLayout(cellBox);
    cellForm->addRow(QStringLiteral("Column:"), columnRow);
    cellForm->addRow(QStringLiteral("Background:"), cellBackground);
    cellForm->addRow(QStringLiteral("Apply to:"), applyTo);
    layout->addWidget(cellBox);
  }
  layout->addLayout(platform::qt::OkCancelRow(this));
}

richtext::TableProperties TFtableProperties::Result() const {
  richtext::TableProperties p = m_initial;
  p.background = background->Value();
  p.percent = percent->isChecked();
  p.width = p.percent ? std::min(width->value(), 100) : width->value();
  p.spacing = spacing->value();
  p.padding = padding->value();
  p.border = border->isChecked() ? borderWidth->value() : 0;
  p.extra = platform::qt::FromQString(extra->text()).value_or(p.extra);
  if (p.hasCell) {
    p.columnKind = columnKind->currentIndex();
    p.columnSize = columnSize->value();
    p.cellBackground = cellBackground->Value();
    p.applyTo = applyTo->currentIndex();
  }
  return p;
}

// ---- Add rows or columns ----

TFaddCells::TFaddCells(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FaddCells"));
  setWindowTitle(QStringLiteral("Add rows/columns"));
  rowsChoice = new QRadioButton(QStringLiteral("Rows"), this);
  rowsChoice->setObjectName(QStringLiteral("rbRows"));
  rowsChoice->setChecked(true);
  columnsChoice = new QRadioButton(QStringLiteral("Columns"), this);
  columnsChoice->setObjectName(QStringLiteral("rbColumns"));
  position = new QComboBox(this);
  position->setObjectName(QStringLiteral("cbPosition"));
  position->addItems({QStringLiteral("before selected cell"), QStringLiteral("after")});
  count = Spin(this, "seCount", 1, richtext::kMaxColumnsAdded, 1);
  auto* kinds = new QHBoxLayout;
  kinds->addWidget(rowsChoice);
  kinds->addWidget(columnsChoice);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Add:"), kinds);
  form->addRow(QStringLiteral("Position:"), position);
  form->addRow(QStringLiteral("Number:"), count);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(platform::qt::OkCancelRow(this));
}

bool TFaddCells::Rows() const { return rowsChoice->isChecked(); }
int TFaddCells::Position() const { return position->currentIndex(); }
int TFaddCells::Count() const { return count->value(); }

}  // namespace tarn::objects::ui
