// The clipboard container in which text travels between boxes comes from
// other programs too: inserting any bytes as one must never crash, and the
// box's text must still write and read back. The box takes the records a
// container carries (links, styles, images, placed objects, tables) into a page of
// its own hypertext.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/compose.h"
#include "document/aehset.h"
#include "page/containerrecords.h"
#include "page/workingcopy.h"
#include "platform/testing/fixedcanvas.h"
#include "platform/testing/testplatform.h"
#include "richtext/aehtextattributes.h"
#include "richtext/boxtext.h"
#include "richtext/documenthost.h"
#include "richtext/pageobjects.h"

namespace {

using namespace tarn;

struct World {
  platform::testing::RecordingMessages messages;
  platform::testing::FixedCanvas canvas;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static World world;
  // A hypertext for each input: the styles a container adds stay with it.
  document::TAEHset set({&world.messages, nullptr, &world.canvas, nullptr});
  app::Compose(set);
  richtext::DocumentHost host(set, &world.canvas, &world.messages);
  richtext::BoxText box(host, world.canvas, &world.messages);
  box.Layout().layoutWidth = 300;
  box.Layout().widestExtent = 300;
  if (!box.LoadText(std::string("<Z S0 >first<Z S0 >second") + '\0')) std::abort();
  richtext::TAEHTextAttributes commands(box);
  std::unique_ptr<page::WorkingCopy> copy = page::MakeNewPage(set);
  richtext::PageObjects placed;
  page::ConnectContainerRecords(commands, set, *copy, [&copy = *copy, &placed](std::unique_ptr<document::TAEHoggetto> record) {
    const int number = copy.AddObject(std::move(record));
    placed.Add(copy.Object(number));
    return number;
  });
  // Pasted tables join the objects under their numbers too.
  commands.containerHooks.addTable = [&copy = *copy, &placed, add = commands.containerHooks.addTable](
                                         std::string_view record, const richtext::IdMap& map) -> std::int32_t {
    const std::int32_t number = add(record, map);
    if (number >= 0) placed.Add(copy.Object(number));
    return number;
  };
  host.objectLookup = [&placed](std::int32_t id) { return placed.Find(id); };
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  commands.InsertContainer(bytes, "Clipboard insertion");
  const std::string saved = box.SaveText();
  richtext::BoxText again(host, world.canvas, &world.messages);
  if (!again.LoadText(saved)) std::abort();
  world.messages.Clear();
  return 0;
}
