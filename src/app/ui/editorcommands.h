// The commands that act on the page being edited through the editor
// control: the clipboard, selecting all, showing the frames.
#pragma once

#include <functional>

namespace tarn::app::ui {

class CommandSet;
class EditorControl;

// changed runs after a command that may have changed the page.
void BindEditorCommands(CommandSet& commands, EditorControl& editor, std::function<void()> changed);

}  // namespace tarn::app::ui
