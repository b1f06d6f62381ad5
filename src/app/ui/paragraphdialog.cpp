// The paragraph-style dialog; see paragraphdialog.h.
#include "app/ui/paragraphdialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>

#include "app/ui/formattoolbars.h"
#include "app/ui/krlanguager.h"
#include "document/recordfields.h"
#include "platform/qt/dialogbuttons.h"
#include "platform/qt/qtcanvas.h"
#include "richtext/aehparaattributes.h"

namespace tarn::app::ui {
namespace {

namespace style = document::field::style;
using platform::qt::ToQColor;

constexpr int kListKinds[] = {style::kListNone, style::kListNumbered, style::kListBullet};
constexpr double kLengthLimit = 10000;
constexpr int kMaximumLinkSize = 1638;

bool Changed(double a, double b) { return std::fabs(a - b) > 1e-4; }

void ShowColour(QPushButton* button, std::uint32_t value) {
  QPixmap swatch(16, 12);
  swatch.fill(ToQColor(value));
  button->setIcon(QIcon(swatch));
}

}  // namespace

QGroupBox* ParagraphGroup(QWidget* parent, const ParagraphFields& fields) {
  auto* group = new QGroupBox(QStringLiteral("Paragraph"), parent);
  group->setObjectName(QStringLiteral("GroupParagraph"));
  auto* form = new QFormLayout(group);
  form->addRow(QStringLiteral("Alignment:"), fields.alignment);
  form->addRow(QStringLiteral("List:"), fields.list);
  form->addRow(QStringLiteral("Unit of measure:"), fields.unit);
  form->addRow(QStringLiteral("Line height:"), fields.lineHeight);
  form->addRow(QStringLiteral("Space before:"), fields.before);
  form->addRow(QStringLiteral("Space after:"), fields.after);
  form->addRow(QStringLiteral("First line indent:"), fields.indent);
  form->addRow(QStringLiteral("Left margin:"), fields.left);
  form->addRow(QStringLiteral("Right margin:"), fields.right);
  return group;
}

QDoubleSpinBox* TFParagraph::Length(const char* name, double value) {
  auto* box = new QDoubleSpinBox(this);
  box->setObjectName(QString::fromLatin1(name));
  box->setDecimals(2);
  box->setRange(-kLengthLimit, kLengthLimit);
  box->setValue(value);
  return box;
}

TFParagraph::TFParagraph(const richtext::TAEHParaAttributes& paragraph, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FParagraph"));
  setWindowTitle(QStringLiteral("Paragraph style"));
  m_shown.alignment = paragraph.Alignment();
  m_shown.list = paragraph.ListKind();
  m_shown.unit = paragraph.Unit();
  m_shown.automaticHeight = paragraph.AutomaticLineHeight();
  m_shown.lineHeight = m_shown.automaticHeight ? 0.0 : paragraph.LineHeight();
  m_shown.before = paragraph.SpaceBefore();
  m_shown.after = paragraph.SpaceAfter();
  m_shown.indent = paragraph.FirstIndent();
  m_shown.left = paragraph.LeftMargin();
  m_shown.right = paragraph.RightMargin();
  m_shown.linkColour = paragraph.LinkColor();
  m_shown.linkSize = paragraph.LinkSize();
  m_shown.linkStyle = paragraph.LinkStyle();

  m_alignment = new QComboBox(this);
  m_alignment->setObjectName(QStringLiteral("Alignment"));
  // In the order of the stored values: left, right, centred.
  m_alignment->addItems({QStringLiteral("Left"), QStringLiteral("Right"), QStringLiteral("Center")});
  m_alignment->setCurrentIndex(m_shown.alignment <= 2 ? m_shown.alignment : 0);
  m_list = new QComboBox(this);
  m_list->setObjectName(QStringLiteral("ListKind"));
  m_list->addItems({QStringLiteral("None"), QStringLiteral("Numbered"), QStringLiteral("Bullets")});
  for (int i = 0; i < 3; ++i) {
    if (kListKinds[i] == m_shown.list) m_list->setCurrentIndex(i);
  }
  m_unit = new QComboBox(this);
  m_unit->setObjectName(QStringLiteral("Unit"));
  m_unit->addItems({QStringLiteral("Centimetres"), QStringLiteral("Millimetres"), QStringLiteral("Inches"),
                    QStringLiteral("Points"), QStringLiteral("Pica"), QStringLiteral("Pixels")});
  m_unit->setCurrentIndex(m_shown.unit <= 5 ? m_shown.unit : 1);

  m_automaticHeight = new QCheckBox(QStringLiteral("Automatic"), this);
  m_automaticHeight->setObjectName(QStringLiteral("AutomaticHeight"));
  m_automaticHeight->setChecked(m_shown.automaticHeight);
  m_lineHeight = Length("LineHeight", m_shown.lineHeight);
  m_lineHeight->setEnabled(!m_shown.automaticHeight);
  connect(m_automaticHeight, &QCheckBox::toggled, m_lineHeight, [this](bool on) { m_lineHeight->setEnabled(!on); });
  auto* heightRow = new QHBoxLayout;
  heightRow->addWidget(m_lineHeight);
  heightRow->addWidget(m_automaticHeight);
  m_before = Length("SpaceBefore", m_shown.before);
  m_after = Length("SpaceAfter", m_shown.after);
  m_indent = Length("FirstIndent", m_shown.indent);
  m_left = Length("LeftMargin", m_shown.left);
  m_right = Length("RightMargin", m_shown.right);
  // What counts as unchanged is what the boxes show (two decimals).
  m_shown.lineHeight = m_lineHeight->value();
  m_shown.before = m_before->value();
  m_shown.after = m_after->value();
  m_shown.indent = m_indent->value();
  m_shown.left = m_left->value();
  m_shown.right = m_right->value();

  auto* paragraphBox = ParagraphGroup(
      this, {m_alignment, m_list, m_unit, heightRow, m_before, m_after, m_indent, m_left, m_right});

  auto* linkBox = new QGroupBox(QStringLiteral("Links"), this);
  linkBox->setObjectName(QStringLiteral("GroupLinks"));
  auto* linkForm = new QFormLayout(linkBox);
  m_linkColourValue = m_shown.linkColour;
  m_linkColour = platform::qt::NamedButton(this, "bLinkColour", QStringLiteral("Colo&r..."));
  ShowColour(m_linkColour, m_linkColourValue);
  connect(m_linkColour, &QPushButton::clicked, this, [this] {
    const QColor chosen = QColorDialog::getColor(ToQColor(m_linkColourValue), this, QStringLiteral("Link color"));
    if (!chosen.isValid()) return;
    m_linkColourValue = ColourValue(chosen);
    ShowColour(m_linkColour, m_linkColourValue);
  });
  m_linkSize = new QSpinBox(this);
  m_linkSize->setObjectName(QStringLiteral("LinkSize"));
  m_linkSize->setRange(0, kMaximumLinkSize);
  // 0 stands for "the size of the text" (stored as -1).
  m_linkSize->setSpecialValueText(QStringLiteral("As the text"));
  m_linkSize->setValue(m_shown.linkSize < 0 ? 0 : m_shown.linkSize);
  auto* bitsRow = new QHBoxLayout;
  const char* names[] = {"LinkBold", "LinkItalic", "LinkUnderline", "LinkStrikeout"};
  const char* captions[] = {"Bold", "Italic", "Underline", "Strikeout"};
  for (int i = 0; i < 4; ++i) {
    m_linkBits[i] = new QCheckBox(QString::fromLatin1(captions[i]), this);
    m_linkBits[i]->setObjectName(QString::fromLatin1(names[i]));
    m_linkBits[i]->setChecked((m_shown.linkStyle >> i) & 1);
    bitsRow->addWidget(m_linkBits[i]);
  }
  linkForm->addRow(QStringLiteral("Color:"), m_linkColour);
  linkForm->addRow(QStringLiteral("Size:"), m_linkSize);
  linkForm->addRow(QStringLiteral("Style:"), bitsRow);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(paragraphBox);
  layout->addWidget(linkBox);
  layout->addLayout(platform::qt::OkCancelRow(this));

  m_languager = new TKrLanguager(this);
  ApplyWindowTable(*m_languager, objectName());
}

void TFParagraph::ApplyTo(richtext::TAEHParaAttributes& paragraph) const {
  if (m_alignment->currentIndex() != m_shown.alignment) {
    paragraph.SetAlignment(static_cast<std::uint8_t>(m_alignment->currentIndex()));
  }
  const int list = kListKinds[std::max(m_list->currentIndex(), 0)];
  if (list != m_shown.list) paragraph.SetListKind(static_cast<std::uint8_t>(list));
  // The unit first: the lengths are read in it.
  if (m_unit->currentIndex() != m_shown.unit) paragraph.SetUnit(static_cast<std::uint8_t>(m_unit->currentIndex()));
  const bool unitChanged = m_unit->currentIndex() != m_shown.unit;
  const auto length = [unitChanged](QDoubleSpinBox* box, double shown, auto set) {
    if (unitChanged || Changed(box->value(), shown)) set(box->value());
  };
  if (m_automaticHeight->isChecked() != m_shown.automaticHeight ||
      (!m_automaticHeight->isChecked() && (unitChanged || Changed(m_lineHeight->value(), m_shown.lineHeight)))) {
    if (m_automaticHeight->isChecked()) {
      paragraph.SetAutomaticLineHeight();
    } else {
      paragraph.SetLineHeight(m_lineHeight->value());
    }
  }
  length(m_before, m_shown.before, [&paragraph](double v) { paragraph.SetSpaceBefore(v); });
  length(m_after, m_shown.after, [&paragraph](double v) { paragraph.SetSpaceAfter(v); });
  length(m_indent, m_shown.indent, [&paragraph](double v) { paragraph.SetFirstIndent(v); });
  length(m_left, m_shown.left, [&paragraph](double v) { paragraph.SetLeftMargin(v); });
  length(m_right, m_shown.right, [&paragraph](double v) { paragraph.SetRightMargin(v); });
  if (m_linkColourValue != m_shown.linkColour) paragraph.SetLinkColor(m_linkColourValue);
  const int size = m_linkSize->value() == 0 ? -1 : m_linkSize->value();
  if (size != m_shown.linkSize) paragraph.SetLinkSize(size);
  int bits = 0;
  for (int i = 0; i < 4; ++i) bits |= m_linkBits[i]->isChecked() ? 1 << i : 0;
  if (bits != m_shown.linkStyle) paragraph.SetLinkStyle(static_cast<std::uint8_t>(bits));
}

}  // namespace tarn::app::ui
