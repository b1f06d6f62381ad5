// The format commands of the window; see formatcommands.h.
#include "app/ui/formatcommands.h"

#include <cstdint>

#include "app/ui/commandset.h"
#include "objects/ui/framesetwidget.h"
#include "richtext/ui/aehbox.h"

namespace tarn::app::ui {

void BindFormatCommands(CommandSet& commands, objects::ui::TInsiemeCornici& editor, std::function<void()> changed) {
  // The three buttons share one operation; the tag says which alignment.
  commands.Bind("AlignButtonClick", [&editor, changed](const CommandCall& call) {
    richtext::ui::TAEHbox* box = editor.ReadOnly() ? nullptr : editor.ActiveBox();
    if (box != nullptr && call.entry.tag >= 0 && call.entry.tag <= 2) {
      box->SetAlignment(static_cast<std::uint8_t>(call.entry.tag));
    }
    editor.RestoreFocus();
    if (changed) changed();
  });
}

}  // namespace tarn::app::ui
