// Which toolbars and which object menu the main window shows for the object
// being edited.
#pragma once

#include <set>
#include <string>

namespace tarn::app {

enum class SelectedObject { TextBox, TableCell, Image, Table, FloatingFrame, Button, OtherVisual };

struct Feedback {
  // Object toolbars and menus shown (by object name); the others hide.
  std::set<std::string> shown;
  bool rulerControls = false;
};

Feedback SelectionFeedback(SelectedObject object);

}  // namespace tarn::app
