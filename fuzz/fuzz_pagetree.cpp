// Reads arbitrary bytes as a stored page order tree. Whatever the text,
// every live page must come out exactly once, in the order browsing uses,
// and the mended tree must write and read back unchanged.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "document/aehorderedtree.h"
#include "document/aehset.h"
#include "platform/testing/testplatform.h"

namespace {

using namespace tarn;
using namespace tarn::document;

constexpr int kPages = 12;

struct World {
  World() {
    for (int i = 0; i < kPages; ++i) set.Register(set.NewObject(testoHtml));
    // Two deleted pages, which must never appear.
    set.GetObject(testoHtml, 3)->Clear();
    set.GetObject(testoHtml, 7)->Clear();
    slot = set.Register(set.NewObject(shortObj));
    set.SetHeaderI32(header::kFirstTextSlot, slot->GetId());
  }
  platform::testing::RecordingMessages messages;
  TAEHset set{{&messages, nullptr, nullptr, nullptr}};
  TAEHoggetto* slot = nullptr;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static World world;
  world.slot->SetContent(std::string(reinterpret_cast<const char*>(data), size));
  TAEHorderedTree tree;
  tree.Silent = true;
  tree.SetLinkedAEHset(&world.set);
  std::vector<ObjectId> order;
  tree.OrderedObjects(order);
  std::vector<ObjectId> sorted = order;
  std::sort(sorted.begin(), sorted.end());
  if (sorted.size() != kPages - 2 || std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end()) __builtin_trap();
  if (DefaultOrder(world.set) != order) __builtin_trap();
  tree.Store();
  TAEHorderedTree again;
  again.Silent = true;
  again.SetLinkedAEHset(&world.set);
  if (again.Mended() || again.TreeText() != tree.TreeText()) __builtin_trap();
  return 0;
}
