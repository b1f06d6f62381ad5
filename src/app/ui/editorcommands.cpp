// The editor's commands; see editorcommands.h.
#include "app/ui/editorcommands.h"

#include <QAction>
#include <QSignalBlocker>

#include "app/ui/commandset.h"
#include "app/ui/editorcontrol.h"

namespace tarn::app::ui {

void BindEditorCommands(CommandSet& commands, EditorControl& editor, std::function<void()> changed) {
  auto clipboard = [&editor, changed](void (EditorControl::*command)()) {
    return [&editor, changed, command](const CommandCall&) {
      (editor.*command)();
      editor.RestoreFocus();
      if (changed) changed();
    };
  };
  commands.Bind("EditCut", clipboard(&EditorControl::Cut));
  commands.Bind("EditCopy", clipboard(&EditorControl::Copy));
  commands.Bind("EditPaste", clipboard(&EditorControl::Paste));
  // Both select the whole text of the active box (or the shown page's).
  commands.Bind("Selezionabrano1Click", [&editor](const CommandCall&) { editor.SelectAll(); });
  commands.Bind("Selezionatutto3Click", [&editor](const CommandCall&) { editor.SelectAll(); });
  // The frames button and its menu item show one state.
  auto showFrames = [&commands, &editor](bool on) {
    for (const char* name : {"NestedButton", "Mostracornici1"}) {
      if (QAction* action = commands.Action(name)) {
        const QSignalBlocker block(action);
        action->setChecked(on);
      }
    }
    editor.SetShowNested(on);
    editor.RestoreFocus();
  };
  commands.Bind("NestedButtonClick", [showFrames](const CommandCall& call) { showFrames(call.checked); });
  commands.Bind("Mostracornici1Click", [showFrames](const CommandCall& call) { showFrames(call.checked); });
  if (QAction* item = commands.Action("Mostracornici1")) item->setChecked(editor.ShowNested());
}

}  // namespace tarn::app::ui
