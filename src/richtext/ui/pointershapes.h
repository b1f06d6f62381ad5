// The mouse pointer shapes a text box shows, by slot. The program's pointer
// sets are wired in through SetPointerShapeSource; until then, and for any
// slot a source leaves empty, the window system's shapes stand in.
#pragma once

#include <QCursor>

#include <functional>
#include <optional>

namespace tarn::richtext::ui {

// The numbers of the program's pointer resources, plus the shapes of the
// window system that the box uses too.
enum class PointerSlot {
  HandPoint = 2,     // a link in a read-only box or in header and footer text
  HandPoint2 = 3,
  EditHand = 4,      // a link in editable text
  DefMano = 5,
  Grab = 6,
  Fist = 7,
  DefManoZ = 8,
  Zoom = 10,
  Anchor = 11,
  Text = 100,        // editable text
  Default = 101,     // read-only text, header and footer text
  DragSelection = 102,
};

using PointerShapeSource = std::function<std::optional<QCursor>(PointerSlot)>;

// Program-wide; an empty source restores the defaults.
void SetPointerShapeSource(PointerShapeSource source);
QCursor PointerShape(PointerSlot slot);

}  // namespace tarn::richtext::ui
