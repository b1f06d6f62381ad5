// The clipboard container in which text travels between boxes comes from
// other programs too: inserting any bytes as one must never crash, and the
// box's text must still write and read back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/compose.h"
#include "document/aehset.h"
#include "platform/testing/fixedcanvas.h"
#include "platform/testing/testplatform.h"
#include "richtext/aehtextattributes.h"
#include "richtext/boxtext.h"
#include "richtext/documenthost.h"

namespace {

using namespace tarn;

struct World {
  platform::testing::RecordingMessages messages;
  platform::testing::FixedCanvas canvas;
  document::TAEHset set{{&messages, nullptr, &canvas, nullptr}};
  richtext::DocumentHost host{set, &canvas, &messages};
  World() { app::Compose(set); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static World world;
  richtext::BoxText box(world.host, world.canvas, &world.messages);
  box.Layout().layoutWidth = 300;
  box.Layout().widestExtent = 300;
  if (!box.LoadText(std::string("<Z S0 >first<Z S0 >second") + '\0')) std::abort();
  richtext::TAEHTextAttributes commands(box);
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  commands.InsertContainer(bytes, "Clipboard insertion");
  const std::string saved = box.SaveText();
  richtext::BoxText again(world.host, world.canvas, &world.messages);
  if (!again.LoadText(saved)) std::abort();
  world.messages.Clear();
  return 0;
}
