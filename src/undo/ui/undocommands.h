// Undo and redo in the main window: the Edit menu's items (Alt+Backspace,
// Ctrl+Z), the toolbar buttons and the drop-down lists beside them, bound
// by name to the command table. The commands are enabled while their stack
// holds a step.
#pragma once

#include <QObject>

class QWidget;

namespace tarn::document {
class TAEHset;
}
namespace tarn::app::ui {
class CommandSet;
class EditorControl;
}  // namespace tarn::app::ui

namespace tarn::undo::ui {

class UndoCommands : public QObject {
 public:
  UndoCommands(app::ui::CommandSet& commands, document::TAEHset& set, app::ui::EditorControl& editor,
               QObject* parent = nullptr);
  ~UndoCommands() override;

  // One step back (kUndo) or forward (kRedo), as the window does it: the
  // object being edited lets go of the focus, the step is taken, and the
  // focus goes to what the step names (or back where it was).
  void Step(int direction);
  // The drop-down list of the stack under the anchor.
  void DropDown(int direction, QWidget* anchor);
  // Enables the commands from the undo list.
  void Refresh();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Take(int direction, QWidget* anchor);
  void WatchButton(const char* button, const char* dropMenu, int direction);

  app::ui::CommandSet& m_commands;
  document::TAEHset& m_set;
  app::ui::EditorControl& m_editor;
};

}  // namespace tarn::undo::ui
