// Pointer sets: every shape a set names is in the resources, and the text
// pointer follows the set.
#include "app/ui/pointersets.h"

#include <QPixmap>

#include <gtest/gtest.h>

#include "platform/memorysettings.h"
#include "platform/registry.h"

namespace tarn::app::ui {
namespace {

TEST(PointerSets, EverySetLoadsItsShapesWithHotSpots) {
  for (int set = 0; set < 4; ++set) {
    for (const QString& name : PointerSetNames(set)) {
      if (name.isEmpty()) continue;
      const auto cursor = LoadPointer(name);
      ASSERT_TRUE(cursor.has_value()) << name.toStdString();
      EXPECT_FALSE(cursor->pixmap().isNull());
      EXPECT_GE(cursor->hotSpot().x(), 0);
    }
  }
  EXPECT_EQ(LoadPointer("GHANDPNT")->pixmap().width(), 48);  // the big sets are bigger
  EXPECT_EQ(LoadPointer("HANDPNT")->pixmap().width(), 32);
  EXPECT_FALSE(LoadPointer("NOSUCH").has_value());
}

TEST(PointerSets, TheOptionChoosesTheSetAndTheTextPointer) {
  platform::MemorySettings store;
  platform::Registry registry(store);
  PointerSets& sets = PointerSets::Instance();
  const std::pair<const char*, int> cases[] = {{"", 0}, {"1", 1}, {"3", 3}, {"4", 0}, {"x", 0}, {"2", 2}};
  for (auto [stored, expected] : cases) {
    registry.WriteOption("Cursors", stored);
    ApplyPointerSet(registry);
    EXPECT_EQ(sets.CurrentSet(), expected) << stored;
  }
  EXPECT_EQ(sets.TextEditPointer().shape(), Qt::BitmapCursor);  // slot 9 of the big set
  EXPECT_EQ(sets.Pointer(kLinkPointer).pixmap().width(), 48);
  sets.Apply(0);
  EXPECT_EQ(sets.TextEditPointer().shape(), Qt::IBeamCursor);
  EXPECT_EQ(sets.Pointer(kLinkPointer).pixmap().width(), 32);
  EXPECT_EQ(sets.Pointer(kTextEditPointer).shape(), Qt::IBeamCursor);  // empty slot: the system's
}

}  // namespace
}  // namespace tarn::app::ui
