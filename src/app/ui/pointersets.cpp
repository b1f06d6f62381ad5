// Pointer sets: the shapes are PNG resources drawn by tarn-make-cursors,
// each with its hot spot in the text chunks "HotX" and "HotY".
#include "app/ui/pointersets.h"

#include <QImage>
#include <QPixmap>

#include "app/ui/resources.h"
#include "platform/registry.h"

namespace tarn::app::ui {
namespace {
constexpr int kSlotOrder[7] = {kLinkPointer, kEditLinkPointer, kImageLinkPointer, kZonePointer,
                               kTextEditPointer, kGrabPointer, kFistPointer};
}

PointerSets& PointerSets::Instance() {
  InitResources();
  static PointerSets sets;
  return sets;
}

std::array<QString, 7> PointerSetNames(int set) {
  static const char* const kPrefix[4] = {"", "B", "S", "G"};
  if (set < 0 || set > 3) set = 0;
  const QString prefix = QString::fromLatin1(kPrefix[set]);
  return {prefix + "HANDPNT", prefix + "EDITHAND", prefix + "DEFMANO", prefix + "DEFMANOZ",
          set == 0 ? QString() : prefix + "EDIT", QStringLiteral("GRABBR"), QStringLiteral("FIST")};
}

std::optional<QCursor> LoadPointer(const QString& name) {
  InitResources();
  QImage image(QStringLiteral(":/cursors/") + name + QStringLiteral(".png"));
  if (image.isNull()) return std::nullopt;
  const int hotX = image.text(QStringLiteral("HotX")).toInt();
  const int hotY = image.text(QStringLiteral("HotY")).toInt();
  return QCursor(QPixmap::fromImage(image), hotX, hotY);
}

void PointerSets::Apply(int set) {
  if (set < 0 || set > 3) set = 0;
  const auto names = PointerSetNames(set);
  for (int i = 0; i < 7; ++i) {
    // Set 0 loads nothing into slot 9: text is edited with the system I-beam.
    m_slots[kSlotOrder[i]] = names[i].isEmpty() ? std::nullopt : LoadPointer(names[i]);
  }
  m_set = set;
}

QCursor PointerSets::Pointer(int slot) const {
  if (slot >= 0 && slot < static_cast<int>(m_slots.size()) && m_slots[slot]) return *m_slots[slot];
  switch (slot) {
    case kTextEditPointer: return QCursor(Qt::IBeamCursor);
    case kGrabPointer: return QCursor(Qt::OpenHandCursor);
    case kFistPointer: return QCursor(Qt::ClosedHandCursor);
    default: return QCursor(Qt::PointingHandCursor);
  }
}

QCursor PointerSets::TextEditPointer() const {
  if (m_set == 0) return QCursor(Qt::IBeamCursor);
  return Pointer(kTextEditPointer);
}

void ApplyPointerSet(platform::Registry& registry) {
  PointerSets::Instance().Apply(platform::ReadProgramOptions(registry).pointerSet);
}

}  // namespace tarn::app::ui
