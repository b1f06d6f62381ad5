// Pointer shapes by slot; see pointershapes.h.
#include "richtext/ui/pointershapes.h"

#include <utility>

namespace tarn::richtext::ui {
namespace {

PointerShapeSource& Source() {
  static PointerShapeSource source;
  return source;
}

Qt::CursorShape DefaultShape(PointerSlot slot) {
  switch (slot) {
    case PointerSlot::HandPoint:
    case PointerSlot::HandPoint2:
    case PointerSlot::EditHand:
    case PointerSlot::DefMano:
    case PointerSlot::DefManoZ:
    case PointerSlot::Anchor: return Qt::PointingHandCursor;
    case PointerSlot::Grab: return Qt::OpenHandCursor;
    case PointerSlot::Fist: return Qt::ClosedHandCursor;
    case PointerSlot::Zoom: return Qt::CrossCursor;
    case PointerSlot::Text: return Qt::IBeamCursor;
    case PointerSlot::DragSelection:
    case PointerSlot::Default: return Qt::ArrowCursor;
  }
  return Qt::ArrowCursor;
}

}  // namespace

void SetPointerShapeSource(PointerShapeSource source) { Source() = std::move(source); }

QCursor PointerShape(PointerSlot slot) {
  if (Source()) {
    if (std::optional<QCursor> cursor = Source()(slot)) return *cursor;
  }
  return QCursor(DefaultShape(slot));
}

}  // namespace tarn::richtext::ui
