// The commands of the Format and Paragraphs toolbars that act on the text
// box being edited. So far the alignment buttons.
#pragma once

#include <functional>

namespace tarn::objects::ui {
class TInsiemeCornici;
}

namespace tarn::app::ui {

class CommandSet;

// changed runs after a command changed the page.
void BindFormatCommands(CommandSet& commands, objects::ui::TInsiemeCornici& editor, std::function<void()> changed);

}  // namespace tarn::app::ui
