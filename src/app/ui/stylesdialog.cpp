// The styles dialog; see stylesdialog.h.
#include "app/ui/stylesdialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

#include "app/ui/formattoolbars.h"
#include "app/ui/krlanguager.h"
#include "app/ui/paragraphdialog.h"
#include "document/aehset.h"
#include "document/objectkinds.h"
#include "document/recordfields.h"
#include "objects/ui/styleview.h"
#include "platform/messages.h"
#include "platform/qt/dialogbuttons.h"
#include "platform/qt/qtcanvas.h"
#include "platform/qt/qtstrings.h"
#include "richtext/formattingstyles.h"
#include "richtext/styles.h"

namespace tarn::app::ui {
namespace {

namespace style = document::field::style;
using platform::qt::ToQColor;
using platform::qt::ToQString;

constexpr int kListKinds[] = {style::kListNone, style::kListNumbered, style::kListBullet};
// Lengths are entered as the paragraph dialog takes them.
constexpr int kPixelsPerInch = 96;
constexpr double kLengthLimit = 10000;
constexpr int kMaximumSize = 1638;
constexpr int kRole = Qt::UserRole;

void ShowColour(QPushButton* button, std::uint32_t value) {
  QPixmap swatch(16, 12);
  swatch.fill(ToQColor(value));
  button->setIcon(QIcon(swatch));
}

std::int16_t Short(int value) { return static_cast<std::int16_t>(std::clamp(value, -32767, 32767)); }

}  // namespace

QDoubleSpinBox* TFStyles::Length(const char* name) {
  auto* box = new QDoubleSpinBox(this);
  box->setObjectName(QString::fromLatin1(name));
  box->setDecimals(2);
  box->setRange(-kLengthLimit, kLengthLimit);
  connect(box, &QDoubleSpinBox::valueChanged, this, [this] { FieldsChanged(); });
  return box;
}

TFStyles::TFStyles(document::TAEHset& set, platform::Messages& messages, QWidget* parent)
    : QDialog(parent), m_set(set), m_messages(messages) {
  setObjectName(QStringLiteral("FStyles"));
  setWindowTitle(QStringLiteral("Styles"));

  m_list = new QListWidget(this);
  m_list->setObjectName(QStringLiteral("StyleList"));
  m_list->setMinimumWidth(160);
  auto* add = platform::qt::NamedButton(this, "bNew", QStringLiteral("&New"));
  m_rename = platform::qt::NamedButton(this, "bRename", QStringLiteral("&Rename..."));
  m_delete = platform::qt::NamedButton(this, "bDelete", QStringLiteral("&Delete"));
  connect(add, &QPushButton::clicked, this, [this] { NewStyle(); });
  connect(m_rename, &QPushButton::clicked, this, [this] {
    if (m_current < 0) return;
    bool ok = false;
    const QString name = QInputDialog::getText(this, QStringLiteral("Rename style"), QStringLiteral("Name:"),
                                               QLineEdit::Normal, m_list->currentItem()->text(), &ok);
    if (ok) RenameChosen(name);
  });
  connect(m_delete, &QPushButton::clicked, this, [this] {
    if (m_current < 0) return;
    const std::string name = m_list->currentItem() != nullptr
                                 ? platform::qt::FromQString(m_list->currentItem()->text()).value_or(std::string())
                                 : std::string();
    if (m_messages.Ask("Delete the style \"" + name + "\"?") != platform::Answer::Yes) return;
    DeleteChosen();
  });
  auto* listButtons = new QHBoxLayout;
  listButtons->addWidget(add);
  listButtons->addWidget(m_rename);
  listButtons->addWidget(m_delete);
  auto* left = new QVBoxLayout;
  left->addWidget(m_list, 1);
  left->addLayout(listButtons);

  // The font part.
  m_face = new QFontComboBox(this);
  m_face->setObjectName(QStringLiteral("Face"));
  m_face->setEditable(true);
  connect(m_face, &QFontComboBox::currentTextChanged, this, [this] { FieldsChanged(); });
  m_size = new QSpinBox(this);
  m_size->setObjectName(QStringLiteral("Size"));
  m_size->setRange(1, kMaximumSize);
  connect(m_size, &QSpinBox::valueChanged, this, [this] { FieldsChanged(); });
  m_colour = platform::qt::NamedButton(this, "bColour", QStringLiteral("Co&lor..."));
  connect(m_colour, &QPushButton::clicked, this, [this] {
    const QColor chosen = QColorDialog::getColor(ToQColor(m_colourValue), this, QStringLiteral("Color"));
    if (!chosen.isValid()) return;
    m_colourValue = ColourValue(chosen);
    ShowColour(m_colour, m_colourValue);
    FieldsChanged();
  });
  const char* bitNames[] = {"Bold", "Italic", "Underline", "Strikeout"};
  const char* linkBitNames[] = {"LinkBold", "LinkItalic", "LinkUnderline", "LinkStrikeout"};
  auto* bitsRow = new QHBoxLayout;
  auto* linkBitsRow = new QHBoxLayout;
  for (int i = 0; i < 4; ++i) {
    m_bits[i] = new QCheckBox(QString::fromLatin1(bitNames[i]), this);
    m_bits[i]->setObjectName(QString::fromLatin1(bitNames[i]));
    connect(m_bits[i], &QCheckBox::toggled, this, [this] { FieldsChanged(); });
    bitsRow->addWidget(m_bits[i]);
    m_linkBits[i] = new QCheckBox(QString::fromLatin1(bitNames[i]), this);
    m_linkBits[i]->setObjectName(QString::fromLatin1(linkBitNames[i]));
    connect(m_linkBits[i], &QCheckBox::toggled, this, [this] { FieldsChanged(); });
    linkBitsRow->addWidget(m_linkBits[i]);
  }
  m_position = new QComboBox(this);
  m_position->setObjectName(QStringLiteral("Position"));
  m_position->addItems({QStringLiteral("Normal"), QStringLiteral("Subscript"), QStringLiteral("Superscript")});
  connect(m_position, &QComboBox::currentIndexChanged, this, [this] { FieldsChanged(); });
  auto* fontBox = new QGroupBox(QStringLiteral("Font"), this);
  fontBox->setObjectName(QStringLiteral("GroupFont"));
  auto* fontForm = new QFormLayout(fontBox);
  fontForm->addRow(QStringLiteral("Name:"), m_face);
  auto* sizeRow = new QHBoxLayout;
  sizeRow->addWidget(m_size);
  sizeRow->addWidget(m_colour);
  fontForm->addRow(QStringLiteral("Size:"), sizeRow);
  fontForm->addRow(QStringLiteral("Style:"), bitsRow);
  fontForm->addRow(QStringLiteral("Position:"), m_position);

  // The paragraph part.
  m_alignment = new QComboBox(this);
  m_alignment->setObjectName(QStringLiteral("Alignment"));
  // In the order of the stored values: left, right, centred.
  m_alignment->addItems({QStringLiteral("Left"), QStringLiteral("Right"), QStringLiteral("Center")});
  connect(m_alignment, &QComboBox::currentIndexChanged, this, [this] { FieldsChanged(); });
  m_listKind = new QComboBox(this);
  m_listKind->setObjectName(QStringLiteral("ListKind"));
  m_listKind->addItems({QStringLiteral("None"), QStringLiteral("Numbered"), QStringLiteral("Bullets")});
  connect(m_listKind, &QComboBox::currentIndexChanged, this, [this] { FieldsChanged(); });
  m_unit = new QComboBox(this);
  m_unit->setObjectName(QStringLiteral("Unit"));
  m_unit->addItems({QStringLiteral("Centimetres"), QStringLiteral("Millimetres"), QStringLiteral("Inches"),
                    QStringLiteral("Points"), QStringLiteral("Pica"), QStringLiteral("Pixels")});
  connect(m_unit, &QComboBox::currentIndexChanged, this, [this] { UnitChanged(); });
  m_automaticHeight = new QCheckBox(QStringLiteral("Automatic"), this);
  m_automaticHeight->setObjectName(QStringLiteral("AutomaticHeight"));
  m_lineHeight = Length("LineHeight");
  connect(m_automaticHeight, &QCheckBox::toggled, this, [this](bool on) {
    m_lineHeight->setEnabled(!on);
    FieldsChanged();
  });
  auto* heightRow = new QHBoxLayout;
  heightRow->addWidget(m_lineHeight);
  heightRow->addWidget(m_automaticHeight);
  m_before = Length("SpaceBefore");
  m_after = Length("SpaceAfter");
  m_indent = Length("FirstIndent");
  m_left = Length("LeftMargin");
  m_right = Length("RightMargin");
  auto* paragraphBox = ParagraphGroup(
      this, {m_alignment, m_listKind, m_unit, heightRow, m_before, m_after, m_indent, m_left, m_right});

  // The look of links.
  m_linkColour = platform::qt::NamedButton(this, "bLinkColour", QStringLiteral("Colo&r..."));
  connect(m_linkColour, &QPushButton::clicked, this, [this] {
    const QColor chosen = QColorDialog::getColor(ToQColor(m_linkColourValue), this, QStringLiteral("Link color"));
    if (!chosen.isValid()) return;
    m_linkColourValue = ColourValue(chosen);
    ShowColour(m_linkColour, m_linkColourValue);
    FieldsChanged();
  });
  m_linkSize = new QSpinBox(this);
  m_linkSize->setObjectName(QStringLiteral("LinkSize"));
  m_linkSize->setRange(0, kMaximumSize);
  // 0 stands for "the size of the text" (stored as -1).
  m_linkSize->setSpecialValueText(QStringLiteral("As the text"));
  connect(m_linkSize, &QSpinBox::valueChanged, this, [this] { FieldsChanged(); });
  auto* linkBox = new QGroupBox(QStringLiteral("Links"), this);
  linkBox->setObjectName(QStringLiteral("GroupLinks"));
  auto* linkForm = new QFormLayout(linkBox);
  auto* linkRow = new QHBoxLayout;
  linkRow->addWidget(m_linkSize);
  linkRow->addWidget(m_linkColour);
  linkForm->addRow(QStringLiteral("Size:"), linkRow);
  linkForm->addRow(QStringLiteral("Style:"), linkBitsRow);

  m_preview = new objects::ui::TAEHstyleView(messages, this);
  m_preview->setMinimumSize(360, 140);

  auto* fields = new QVBoxLayout;
  fields->addWidget(fontBox);
  fields->addWidget(paragraphBox);
  fields->addWidget(linkBox);
  auto* top = new QHBoxLayout;
  top->addLayout(left);
  top->addLayout(fields, 1);
  auto* close = platform::qt::NamedButton(this, "bClose", QStringLiteral("&Close"));
  close->setDefault(true);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  auto* closeRow = new QHBoxLayout;
  closeRow->addStretch();
  closeRow->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(m_preview, 1);
  layout->addLayout(closeRow);

  connect(m_list, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
    StoreShown();
    m_current = item != nullptr ? item->data(kRole).toInt() : -1;
    if (const document::TAEHoggetto* chosen = m_set.GetObject(document::stileParagrafo, m_current)) {
      ShowFields(*chosen);
      m_preview->ShowStyle(*chosen);
    }
    // The two default styles keep their names.
    m_rename->setEnabled(m_current > 1);
    m_delete->setEnabled(m_current > 1);
  });
  FillList(0);

  m_languager = new TKrLanguager(this);
  ApplyWindowTable(*m_languager, objectName());
}

void TFStyles::FillList(int choose) {
  // Nothing is stored while the list is refilled: the fields are of the
  // style chosen before, already stored.
  m_current = -1;
  {
    const QSignalBlocker block(m_list);
    m_list->clear();
    for (int i = 0; i < m_set.CountOf(document::stileParagrafo); ++i) {
      const document::TAEHoggetto* style = m_set.GetObject(document::stileParagrafo, i);
      if (style == nullptr || style->IsFree()) continue;
      auto* item = new QListWidgetItem(ToQString(style->GetCaption()), m_list);
      item->setData(kRole, i);
    }
    m_list->sortItems();
    m_list->setCurrentRow(-1);
  }
  ChooseStyle(choose);
}

void TFStyles::ChooseStyle(int index) {
  for (int row = 0; row < m_list->count(); ++row) {
    if (m_list->item(row)->data(kRole).toInt() != index) continue;
    m_list->setCurrentRow(row);
    return;
  }
}

void TFStyles::ShowFields(const document::TAEHoggetto& record) {
  m_loading = true;
  m_face->setCurrentText(ToQString(record.Str(style::kFace, style::kFaceCapacity)));
  m_size->setValue(record.I16(style::kSize));
  m_colourValue = static_cast<std::uint32_t>(record.I32(style::kColour));
  ShowColour(m_colour, m_colourValue);
  const int bits = record.U8(style::kStyleBits);
  const int linkBits = record.U8(style::kLinkStyle);
  for (int i = 0; i < 4; ++i) {
    m_bits[i]->setChecked(((bits >> i) & 1) != 0);
    m_linkBits[i]->setChecked(((linkBits >> i) & 1) != 0);
  }
  m_position->setCurrentIndex(std::min<int>(record.U8(style::kPosition), 2));
  m_alignment->setCurrentIndex(std::min<int>(record.U8(style::kAlignment), 2));
  m_listKind->setCurrentIndex(0);
  for (int i = 0; i < 3; ++i) {
    if (kListKinds[i] == record.U8(style::kListKind)) m_listKind->setCurrentIndex(i);
  }
  m_shownUnit = record.U8(style::kUnit) <= 5 ? record.U8(style::kUnit) : 1;
  m_unit->setCurrentIndex(m_shownUnit);
  const auto show = [this](QDoubleSpinBox* box, int pixels) {
    box->setValue(richtext::PixelsToUnit(pixels, m_shownUnit, kPixelsPerInch));
  };
  const int height = record.I16(style::kLineHeight);
  m_automaticHeight->setChecked(height == style::kAutomaticLineHeight);
  m_lineHeight->setEnabled(height != style::kAutomaticLineHeight);
  show(m_lineHeight, height == style::kAutomaticLineHeight ? 0 : height);
  show(m_before, record.I16(style::kSpaceBefore));
  show(m_after, record.I16(style::kSpaceAfter));
  show(m_indent, record.I16(style::kIndent));
  show(m_left, record.I16(style::kLeftMargin));
  show(m_right, record.I16(style::kRightMargin));
  m_linkColourValue = static_cast<std::uint32_t>(record.I32(style::kLinkColour));
  ShowColour(m_linkColour, m_linkColourValue);
  m_linkSize->setValue(std::max<int>(record.I16(style::kLinkSize), 0));
  m_loading = false;
}

void TFStyles::WriteFields(document::TAEHoggetto& record) const {
  // Face names are cp1252 in the records; one outside it keeps the old face.
  if (auto face = platform::qt::FromQString(m_face->currentText().trimmed()); face && !face->empty()) {
    record.SetStr(style::kFace, style::kFaceCapacity, *face);
  }
  record.SetI16(style::kSize, Short(m_size->value()));
  record.SetI32(style::kColour, static_cast<std::int32_t>(m_colourValue));
  int bits = 0;
  int linkBits = 0;
  for (int i = 0; i < 4; ++i) {
    bits |= m_bits[i]->isChecked() ? 1 << i : 0;
    linkBits |= m_linkBits[i]->isChecked() ? 1 << i : 0;
  }
  record.SetU8(style::kStyleBits, static_cast<std::uint8_t>(bits));
  record.SetU8(style::kLinkStyle, static_cast<std::uint8_t>(linkBits));
  record.SetU8(style::kPosition, static_cast<std::uint8_t>(std::max(m_position->currentIndex(), 0)));
  record.SetU8(style::kAlignment, static_cast<std::uint8_t>(std::max(m_alignment->currentIndex(), 0)));
  record.SetU8(style::kListKind, static_cast<std::uint8_t>(kListKinds[std::max(m_listKind->currentIndex(), 0)]));
  record.SetU8(style::kUnit, static_cast<std::uint8_t>(m_shownUnit));
  const auto pixels = [this](const QDoubleSpinBox* box) {
    return Short(richtext::UnitToPixels(box->value(), m_shownUnit, kPixelsPerInch));
  };
  record.SetI16(style::kLineHeight,
                m_automaticHeight->isChecked() ? Short(style::kAutomaticLineHeight) : pixels(m_lineHeight));
  record.SetI16(style::kSpaceBefore, pixels(m_before));
  record.SetI16(style::kSpaceAfter, pixels(m_after));
  record.SetI16(style::kIndent, pixels(m_indent));
  record.SetI16(style::kLeftMargin, pixels(m_left));
  record.SetI16(style::kRightMargin, pixels(m_right));
  record.SetI32(style::kLinkColour, static_cast<std::int32_t>(m_linkColourValue));
  record.SetI16(style::kLinkSize, m_linkSize->value() == 0 ? std::int16_t{-1} : Short(m_linkSize->value()));
}

void TFStyles::FieldsChanged() {
  if (m_loading || m_current < 0) return;
  WriteFields(m_preview->Style());
  m_preview->ShowStyle(m_preview->Style());
}

void TFStyles::UnitChanged() {
  if (m_loading) return;
  // The lengths keep their size: shown again in the new unit.
  const int unit = std::max(m_unit->currentIndex(), 0);
  m_loading = true;
  for (QDoubleSpinBox* box : {m_lineHeight, m_before, m_after, m_indent, m_left, m_right}) {
    const int pixels = richtext::UnitToPixels(box->value(), m_shownUnit, kPixelsPerInch);
    box->setValue(richtext::PixelsToUnit(pixels, unit, kPixelsPerInch));
  }
  m_shownUnit = unit;
  m_loading = false;
  FieldsChanged();
}

void TFStyles::StoreShown() {
  document::TAEHoggetto* record = m_set.GetObject(document::stileParagrafo, m_current);
  if (record == nullptr || record->IsFree()) return;
  const auto before = std::vector<std::uint8_t>(record->Record().begin(), record->Record().end());
  WriteFields(*record);
  if (!std::equal(before.begin(), before.end(), record->Record().begin())) {
    m_changed = true;
    m_set.SetModified(true);
  }
}

void TFStyles::NewStyle() {
  StoreShown();
  const int index = richtext::AddNewStyle(m_set);
  if (index < 0) return;
  m_changed = true;
  FillList(index);
}

bool TFStyles::RenameChosen(const QString& name) {
  if (m_current < 0) return false;
  StoreShown();
  const int index = m_current;
  const std::string bytes = platform::qt::FromQString(name).value_or(std::string());
  const richtext::StyleChange result = richtext::RenameStyle(m_set, index, bytes);
  if (result != richtext::StyleChange::kDone) {
    m_messages.Warning(richtext::StyleChangeMessage(result, bytes, 0));
    return false;
  }
  m_changed = true;
  FillList(index);
  return true;
}

bool TFStyles::DeleteChosen() {
  if (m_current < 0) return false;
  StoreShown();
  const document::TAEHoggetto* record = m_set.GetObject(document::stileParagrafo, m_current);
  const std::string name = record != nullptr ? record->GetCaption() : std::string();
  int pages = 0;
  const richtext::StyleChange result = richtext::DeleteStyle(m_set, m_current, pages);
  if (result != richtext::StyleChange::kDone) {
    m_messages.Warning(richtext::StyleChangeMessage(result, name, pages));
    return false;
  }
  m_changed = true;
  FillList(0);
  return true;
}

void TFStyles::done(int result) {
  StoreShown();
  QDialog::done(result);
}

}  // namespace tarn::app::ui
