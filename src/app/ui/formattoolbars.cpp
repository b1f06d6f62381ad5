// The Format and Paragraphs toolbars; see formattoolbars.h.
#include "app/ui/formattoolbars.h"

#include <QAction>
#include <QComboBox>
#include <QFontComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>

#include "app/commandtable.h"
#include "app/ui/commandset.h"
#include "document/aehset.h"
#include "document/objectkinds.h"
#include "document/recordfields.h"
#include "platform/qt/qtcanvas.h"
#include "platform/qt/qtstrings.h"
#include "richtext/ui/aehbox.h"

namespace tarn::app::ui {
namespace {

using platform::qt::ToQColor;
using platform::qt::ToQString;
namespace style = document::field::style;

// The sizes a font may take in the markup.
constexpr int kMinimumSize = 1;
constexpr int kMaximumSize = 1638;
constexpr int kColourRole = Qt::UserRole;

void SetChecked(CommandSet& commands, const char* name, bool on) {
  if (QAction* action = commands.Action(name)) action->setChecked(on);
}

void RunControl(CommandSet& commands, const char* name) {
  if (const CommandEntry* entry = FindCommand(name)) commands.Run(*entry, nullptr);
}

void ShowFace(QFontComboBox& box, const std::string& face) {
  const QSignalBlocker block(&box);
  const QString name = ToQString(face);
  const int found = box.findText(name, Qt::MatchFixedString);
  // A face the system does not have (the document names Windows fonts) is
  // still shown by its own name rather than as the nearest installed one.
  if (found >= 0) {
    box.setCurrentIndex(found);
  } else {
    box.setCurrentIndex(-1);
    box.setEditText(name);
  }
}

void ShowColour(QComboBox& box, std::uint32_t value) {
  const QSignalBlocker block(&box);
  for (int i = 0; i < box.count(); ++i) {
    if (box.itemData(i, kColourRole).toUInt() == value) {
      box.setCurrentIndex(i);
      return;
    }
  }
  // A colour outside the list joins it, so that the box always tells the truth.
  QPixmap swatch(12, 12);
  swatch.fill(ToQColor(value));
  box.addItem(QIcon(swatch), ToQColor(value).name(), QVariant::fromValue(value));
  box.setCurrentIndex(box.count() - 1);
}

void ShowStyles(QComboBox& box, const document::TAEHset& set, int styleIndex) {
  const QSignalBlocker block(&box);
  QStringList names;
  for (const std::string& name : set.StyleNames()) names << ToQString(name);
  names.prepend(QString::fromLatin1(kNoStyleChoice));
  QStringList shown;
  for (int i = 0; i < box.count(); ++i) shown << box.itemText(i);
  if (shown != names) {
    box.clear();
    box.addItems(names);
  }
  const document::TAEHoggetto* record = set.GetObject(document::stileParagrafo, styleIndex);
  const int found = record != nullptr ? box.findText(ToQString(record->GetCaption()), Qt::MatchFixedString) : -1;
  box.setCurrentIndex(found > 0 ? found : 0);
}

}  // namespace

std::uint32_t ColourValue(const QColor& colour) {
  return static_cast<std::uint32_t>(colour.red()) | (static_cast<std::uint32_t>(colour.green()) << 8) |
         (static_cast<std::uint32_t>(colour.blue()) << 16);
}

void ConnectFormatControls(CommandSet& commands) {
  if (auto* face = qobject_cast<QFontComboBox*>(commands.Control("FontName"))) {
    QObject::connect(face, &QComboBox::activated, face, [&commands] { RunControl(commands, "FontName"); });
    if (QLineEdit* edit = face->lineEdit()) {
      QObject::connect(edit, &QLineEdit::returnPressed, face, [&commands] { RunControl(commands, "FontName"); });
    }
  }
  if (auto* colour = qobject_cast<QComboBox*>(commands.Control("FontColor"))) {
    for (int i = 0; i < colour->count(); ++i) {
      colour->setItemData(i, QVariant::fromValue(ColourValue(QColor(colour->itemText(i)))), kColourRole);
    }
    QObject::connect(colour, &QComboBox::activated, colour, [&commands] { RunControl(commands, "FontColor"); });
  }
  if (auto* size = qobject_cast<QSpinBox*>(commands.Control("FontSize"))) {
    size->setRange(kMinimumSize, kMaximumSize);
    // Typed digits wait for Enter; the arrows apply at once.
    size->setKeyboardTracking(false);
    QObject::connect(size, &QSpinBox::valueChanged, size, [&commands] { RunControl(commands, "FontSize"); });
  }
  if (auto* styles = qobject_cast<QComboBox*>(commands.Control("ParStyle"))) {
    styles->addItem(QString::fromLatin1(kNoStyleChoice));
    QObject::connect(styles, &QComboBox::activated, styles, [&commands] { RunControl(commands, "ParStyle"); });
  }
}

void ShowFormatFeedback(CommandSet& commands, richtext::ui::TAEHbox& box, const document::TAEHset& set) {
  richtext::BoxText& text = box.Text();
  if (text.ParagraphCount() == 0) return;
  const richtext::TMyFont font = box.TextAttributes().CaretFont();
  SetChecked(commands, "BoldButton", (font.style & style::kBold) != 0);
  SetChecked(commands, "ItalicButton", (font.style & style::kItalic) != 0);
  if (auto* size = qobject_cast<QSpinBox*>(commands.Control("FontSize"))) {
    const QSignalBlocker block(size);
    size->setValue(font.size);
  }
  if (auto* face = qobject_cast<QFontComboBox*>(commands.Control("FontName"))) ShowFace(*face, font.face);
  if (auto* colour = qobject_cast<QComboBox*>(commands.Control("FontColor"))) ShowColour(*colour, font.colour);

  const richtext::TAEHParaAttributes& paragraph = box.ParaAttributes();
  const std::uint8_t alignment = paragraph.Alignment();
  SetChecked(commands, "LeftAlign", alignment == 0);
  SetChecked(commands, "RightAlign", alignment == 1);
  SetChecked(commands, "CenterAlign", alignment == 2);
  const std::uint8_t list = paragraph.ListKind();
  SetChecked(commands, "BulletsButton", list == style::kListBullet);
  SetChecked(commands, "NumberButton", list == style::kListNumbered);
  if (auto* styles = qobject_cast<QComboBox*>(commands.Control("ParStyle"))) {
    ShowStyles(*styles, set, paragraph.StyleIndex());
  }
}

}  // namespace tarn::app::ui
