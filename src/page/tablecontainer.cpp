// The tables of copied selections; see tablecontainer.h.
#include "page/tablecontainer.h"

#include <algorithm>
#include <vector>

#include "base/bytes.h"
#include "document/aehset.h"
#include "document/objectkinds.h"
#include "document/recordfields.h"
#include "page/workingcopy.h"
#include "richtext/aehtextattributes.h"
#include "richtext/tablerecord.h"

namespace tarn::page {

std::vector<int> TableImages(const document::TAEHoggetto& table) {
  std::vector<int> images;
  if (table.Kind() != document::tabellaHtml) return images;
  std::vector<std::int32_t> values = richtext::ReadCellBackgrounds(table);
  values.push_back(table.I32(document::field::kTableBackground));
  for (const std::int32_t v : values) {
    const richtext::Background b = richtext::Background::Decode(v);
    if (b.kind == richtext::Background::Kind::Image && std::find(images.begin(), images.end(), b.image) == images.end()) {
      images.push_back(b.image);
    }
  }
  return images;
}

void ConnectTableRecords(richtext::TAEHTextAttributes& commands, document::TAEHset& set, WorkingCopy& copy) {
  auto& hooks = commands.containerHooks;
  // The set and the working copy outlive the box's commands.
  hooks.addTable = [&set, &copy](std::string_view stream, const richtext::IdMap& map) -> std::int32_t {
    std::unique_ptr<document::TAEHoggetto> table = set.NewObject(document::tabellaHtml);
    base::ByteReader in(stream);
    // A record that does not read as a table the reader can show is left
    // out: its place in the text becomes a blank.
    if (!table->LoadFromStream(in) || table->Kind() != document::tabellaHtml || !richtext::ReadTableShape(*table)) {
      return -1;
    }
    // Background images become the hypertext's images that came with the
    // table; one that did not come shows no picture rather than another.
    auto translate = [&map](std::int32_t value) {
      const richtext::Background b = richtext::Background::Decode(value);
      if (b.kind != richtext::Background::Kind::Image) return value;
      const auto typed = static_cast<std::int32_t>((static_cast<std::uint32_t>(document::immagine) << 24) |
                                                   static_cast<std::uint32_t>(b.image));
      const auto it = map.find(typed);
      if (it == map.end() || it->second < 0) return richtext::kTransparent;
      richtext::Background moved = b;
      moved.image = it->second & 0xFFFFFF;
      return moved.Encode();
    };
    table->SetI32(document::field::kTableBackground, translate(table->I32(document::field::kTableBackground)));
    if (table->ReadContent()) {
      std::vector<std::int32_t> values = richtext::ReadCellBackgrounds(*table);
      for (std::int32_t& v : values) v = translate(v);
      richtext::StoreCellBackgrounds(*table, values);
    }
    return copy.AddObject(std::move(table));
  };
}

}  // namespace tarn::page
