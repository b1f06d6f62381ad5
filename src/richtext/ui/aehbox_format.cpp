// The formatting side of the text box: commands run from the window's
// menus and toolbars, and the keys that toggle bold, italic and underline.
#include <QKeyEvent>

#include "document/recordfields.h"
#include "richtext/ui/aehbox.h"

namespace tarn::richtext::ui {

namespace style = document::field::style;

bool TAEHbox::Format(const std::function<void(TAEHTextAttributes&, TAEHParaAttributes&)>& command) {
  if (!Editable() || m_text.UpdateDepth() > 0 || m_text.Text().paragraphs.empty()) return false;
  command(m_textAttributes, m_paraAttributes);
  Changed();
  return true;
}

bool TAEHbox::FormatKey(QKeyEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
  std::uint8_t bit = 0;
  if (mods == Qt::ControlModifier && event->key() == Qt::Key_B) bit = style::kBold;
  if (mods == Qt::ControlModifier && event->key() == Qt::Key_U) bit = style::kUnderline;
  // Ctrl+I belongs to the image command of the Insert menu.
  if (mods == (Qt::ControlModifier | Qt::ShiftModifier) && event->key() == Qt::Key_I) bit = style::kItalic;
  if (bit == 0 || !Editable()) return false;
  Format([bit](TAEHTextAttributes& text, TAEHParaAttributes&) {
    const bool on = (text.StyleBits() & bit) != 0;
    text.ChangeStyleBits(on ? 0 : bit, on ? bit : 0);
  });
  event->accept();
  return true;
}

}  // namespace tarn::richtext::ui
