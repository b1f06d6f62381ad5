// The commands of the Table menu, the Table toolbar and the table popups:
// inserting a new table, the table and cell properties, adding and
// deleting rows and columns, and selecting the table. Each finds its table
// through the box being edited: a cell box names its table and cell.
#pragma once

#include <functional>

class QDialog;

namespace tarn::objects::ui {
class TInsiemeCornici;
}

namespace tarn::app::ui {

class CommandSet;

// changed runs after a command changed the page.
void BindTableCommands(CommandSet& commands, objects::ui::TInsiemeCornici& editor, std::function<void()> changed);

// How the table dialogs are run: modally, unless a test answers them.
std::function<int(QDialog&)>& TableDialogRunner();

}  // namespace tarn::app::ui
