// What the windows that walk a hypertext need of the editor: which page it
// shows, and showing another. Handed in by the main window; tests pass
// their own.
#pragma once

#include <functional>

namespace tarn::document::ui {

struct EditorLink {
  // The page shown (its index); negative when none.
  std::function<long()> mainPage;
  // Shows a page; -1 writes the page shown back into the hypertext and
  // closes it.
  std::function<void(long page)> showPage;
};

}  // namespace tarn::document::ui
