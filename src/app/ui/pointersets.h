// The pointer shapes shown over links, linked images, click zones and
// editable text. Like the screen's pointer slots they are shared by every
// window: one set is loaded at a time, chosen by the "Cursors" option.
#pragma once

#include <QCursor>
#include <QString>

#include <array>
#include <optional>

namespace tarn::platform {
class Registry;
}

namespace tarn::app::ui {

enum PointerSlot : int {
  kLinkPointer = 2,       // a link that cannot be edited, linked objects in read-only mode
  kEditLinkPointer = 4,   // a link in editable text
  kImageLinkPointer = 5,  // an image with a link in edit mode
  kGrabPointer = 6,       // a selected click zone
  kFistPointer = 7,
  kZonePointer = 8,      // a click zone in edit mode that is not selected
  kTextEditPointer = 9,  // editing text (sets 1..3)
};

class PointerSets {
 public:
  static PointerSets& Instance();

  // Loads set 0..3; any other number loads set 0.
  void Apply(int set);
  int CurrentSet() const { return m_set; }
  // The pointer in a slot; a slot that holds nothing gives the system
  // pointer closest to its meaning.
  QCursor Pointer(int slot) const;
  // The pointer of editable text: the system I-beam with set 0, slot 9
  // with the others (and before any set is applied).
  QCursor TextEditPointer() const;

 private:
  PointerSets() = default;
  std::array<std::optional<QCursor>, 10> m_slots;
  int m_set = -1;
};

// A pointer shape of the program's resources by its name ("HANDPNT"), with
// its hot spot; nothing when there is no such resource.
std::optional<QCursor> LoadPointer(const QString& name);
// The resource names of a set's slots, in the order 2, 4, 5, 8, 9, 6, 7
// (slot 9 empty for set 0).
std::array<QString, 7> PointerSetNames(int set);

// Applies the set chosen by the "Cursors" option.
void ApplyPointerSet(platform::Registry& registry);

}  // namespace tarn::app::ui
