// A table record, its cell-background data and a page text placing it,
// all from the input: the cells are read, laid out, painted and written
// back, and writing what was read back must give the same text again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/compose.h"
#include "document/aehset.h"
#include "document/recordfields.h"
#include "platform/testing/fixedcanvas.h"
#include "platform/testing/testplatform.h"
#include "richtext/documenthost.h"
#include "richtext/layout.h"
#include "richtext/markup.h"
#include "richtext/pageobjects.h"
#include "richtext/tableobject.h"

namespace {

using namespace tarn;
constexpr std::size_t kRecordBytes = 220;

struct World {
  platform::testing::RecordingMessages messages;
  platform::testing::FixedCanvas canvas;
  document::TAEHset set{{&messages, nullptr, &canvas, nullptr}};
  richtext::DocumentHost host{set, &canvas, &messages};
  World() { app::Compose(set); }

  // Reads the markup with two objects made from the record (so that one
  // table may be nested in the other), lays it out, paints it and writes it.
  std::string Round(const document::TAEHoggetto& record, std::string_view markup) {
    richtext::PageObjects objects;
    objects.SetTableLayout(&host, &canvas);
    objects.Add(&record);
    objects.Add(&record);
    host.objectLookup = [&objects](std::int32_t id) { return objects.Find(id); };
    richtext::RichText text;
    richtext::MarkupStream stream(markup);
    richtext::ReadText(text, stream, host);
    richtext::TextLayout layout(text, canvas);
    layout.layoutWidth = 500;
    layout.widestExtent = 500;
    layout.LayoutAll();
    canvas.ops.clear();
    layout.Paint(canvas, {0, 0, 500, 100000}, {});
    richtext::PaintPlacedTables(canvas, text, 0, 0, true);
    canvas.ops.clear();
    std::string written = richtext::WriteText(text);
    host.objectLookup = nullptr;
    return written;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static World world;
  world.messages.Clear();
  if (size < kRecordBytes + 2) return 0;
  document::TAEHoggetto record;
  record.SetType(document::tabellaHtml);
  record.InitNew();
  std::memcpy(record.Record().data(), data, kRecordBytes);
  // The record's own fields say what it is; the kind stays a table.
  const std::size_t contentLength = std::min<std::size_t>(data[kRecordBytes] * 16u, size - kRecordBytes - 1);
  record.SetContent(std::string(reinterpret_cast<const char*>(data) + kRecordBytes + 1, contentLength));
  std::string markup(reinterpret_cast<const char*>(data) + kRecordBytes + 1 + contentLength,
                     size - kRecordBytes - 1 - contentLength);
  markup.push_back('\0');

  (void)richtext::ReadCellBackgrounds(record);
  richtext::TableProperties p = richtext::ReadTableProperties(record, {data[0] % 4, data[1] % 4}, true);
  p.applyTo = data[2] % richtext::kApplyChoiceCount;
  document::TAEHoggetto changed;
  changed.SetType(document::tabellaHtml);
  changed.InitNew();
  std::memcpy(changed.Record().data(), record.Record().data(), kRecordBytes);
  richtext::ApplyTableProperties(changed, p, {data[0] % 4, data[1] % 4});

  const std::string first = world.Round(record, markup);
  const std::string second = world.Round(record, first);
  if (first != second) std::abort();
  return 0;
}
