// The Format and Paragraphs toolbars: their boxes (font name, colour, size,
// paragraph style) run the commands of the command table when the author
// uses them, and every button and box shows the text at the caret.
#pragma once

#include <QColor>

#include <cstdint>

namespace tarn::document {
class TAEHset;
}
namespace tarn::richtext::ui {
class TAEHbox;
}

namespace tarn::app::ui {

class CommandSet;

// The text shown by the style box when the caret's paragraph has a style
// the list does not hold.
inline constexpr const char* kNoStyleChoice = "[no style...]";

// Gives the boxes their ranges and items, and connects them to the
// commands they run (changes made by ShowFormatFeedback run none).
void ConnectFormatControls(CommandSet& commands);
// Shows the font, colour, size, style bits, link, alignment, list and
// style of the text at the caret (with the formats pending there).
void ShowFormatFeedback(CommandSet& commands, richtext::ui::TAEHbox& box, const document::TAEHset& set);

// A Qt colour as the document keeps colours (red in the lowest byte); the
// other way is platform::qt::ToQColor.
std::uint32_t ColourValue(const QColor& colour);

}  // namespace tarn::app::ui
