// The box's side of its placed objects; see aehbox.h.
#include "richtext/ui/aehbox.h"

namespace tarn::richtext::ui {

void TAEHbox::DragSelection() {
  if (!Editable() || !m_text.HasSelection()) return;
  m_dragCopy = false;
  StartDrag();
}

}  // namespace tarn::richtext::ui
