// The selection feedback of the main window.
#include "app/selectionfeedback.h"

namespace tarn::app {

Feedback SelectionFeedback(SelectedObject object) {
  switch (object) {
    case SelectedObject::Image: return {{"ToolBarImage", "mImage"}, false};
    case SelectedObject::Table: return {{"ToolbarTable", "mTable"}, true};
    case SelectedObject::FloatingFrame: return {{"ToolbarFloating", "mFloating"}, false};
    case SelectedObject::Button: return {{"mButton"}, false};
    case SelectedObject::OtherVisual: return {{}, false};
    case SelectedObject::TableCell:
      return {{"ToolbarInserimenti", "ToolbarFormato", "ToolbarParag", "ToolbarTable", "mTable"}, true};
    case SelectedObject::TextBox: return {{"ToolbarInserimenti", "ToolbarFormato", "ToolbarParag"}, true};
  }
  return {};
}

}  // namespace tarn::app
