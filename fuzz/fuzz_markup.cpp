// Reads arbitrary bytes as rich-text markup, writes the paragraphs back and
// reads that again: the second writing must equal the first.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>

#include "app/compose.h"
#include "document/aehset.h"
#include "document/recordfields.h"
#include "platform/testing/testplatform.h"
#include "richtext/documenthost.h"
#include "richtext/markup.h"
#include "richtext/pageobjects.h"

namespace {

using namespace tarn;

struct World {
  platform::testing::RecordingMessages messages;
  platform::testing::FixedTextMeasurer measurer;
  document::TAEHset set{{&messages, nullptr, &measurer, nullptr}};
  richtext::DocumentHost host{set, &measurer, &messages};
  std::unique_ptr<richtext::RecordObject> image;
  std::unique_ptr<richtext::RecordObject> table;

  World() {
    app::Compose(set);
    auto style = set.NewObject(document::stileParagrafo);
    style->SetName("Third");
    set.Register(std::move(style));
    auto* placed = set.Register(set.NewObject(document::immagineNew));
    auto tableRecord = set.NewObject(document::tabellaHtml);
    tableRecord->SetU8(document::field::kTableRows, 2);
    tableRecord->SetU8(document::field::kTableColumns, 2);
    auto* t = set.Register(std::move(tableRecord));
    image = std::make_unique<richtext::RecordObject>(1, placed);
    table = std::make_unique<richtext::RecordObject>(2, t);
    host.objectLookup = [this](std::int32_t id) -> richtext::EmbeddedObject* {
      return id == 1 ? image.get() : id == 2 ? table.get() : nullptr;
    };
  }

  std::string ReadWrite(std::string_view markup) {
    richtext::RichText text;
    richtext::MarkupStream stream(markup);
    richtext::ReadText(text, stream, host);
    return richtext::WriteText(text);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static World world;
  world.messages.Clear();
  const std::string first = world.ReadWrite({reinterpret_cast<const char*>(data), size});
  const std::string second = world.ReadWrite(first);
  if (first != second) std::abort();
  return 0;
}
