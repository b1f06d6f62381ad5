// Records of placed objects; see placedrecords.h.
#include "document/placedrecords.h"

#include <algorithm>
#include <span>

#include "base/bytes.h"
#include "document/aehoggetto.h"
#include "document/aehset.h"
#include "document/recordfields.h"

namespace tarn::document {
using namespace field;
namespace {

constexpr std::int32_t kColourLimit = 0x02000000;
constexpr std::int32_t kImageLimit = 0x04000000;

}  // namespace

std::vector<ClickZone> ClickZones(const TAEHoggetto& placed) {
  std::vector<ClickZone> zones;
  for (int i = 0; i < kZoneCount; ++i) {
    const int at = kPlacedZones + i * kZoneSize;
    const ObjectId link = placed.I32(at);
    if (link == -1) continue;
    zones.push_back({i, link, placed.I16(at + kZoneLeft), placed.I16(at + kZoneTop), placed.I16(at + kZoneWidth),
                     placed.I16(at + kZoneHeight)});
  }
  return zones;
}

TAEHoggetto* ImageByField(const TAEHset* set, std::int32_t value) {
  if (set == nullptr || value < 0) return nullptr;
  const int kind = KindOf(value);
  if (kind != 0 && kind != immagine) return nullptr;
  TAEHoggetto* image = set->GetObject(immagine, IndexOf(value));
  return image != nullptr && !image->IsFree() ? image : nullptr;
}

TAEHoggetto* PlacedPicture(const TAEHoggetto& placed) { return ImageByField(placed.Owner(), placed.I32(kPlacedImage)); }

TAEHoggetto* PlacedLowPicture(const TAEHoggetto& placed) {
  return ImageByField(placed.Owner(), placed.I32(kPlacedImage2));
}

TAEHoggetto* PlacedRollOverPicture(const TAEHoggetto& placed) {
  return ImageByField(placed.Owner(), placed.I32(kPlacedImage3));
}

Background DecodeBackground(std::int32_t value) {
  Background b;
  if (value >= 0 && value < kColourLimit) {
    b.kind = Background::Kind::kColour;
    b.colour = static_cast<std::uint32_t>(value) & 0xFFFFFF;
  } else if (value >= kBackgroundImage && value < kImageLimit) {
    b.kind = Background::Kind::kImage;
    b.image = IndexOf(value);
  }
  return b;
}

std::int32_t TableShape::CellBackground(int row, int column) const {
  const std::size_t at = static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) +
                         static_cast<std::size_t>(column);
  return row >= 0 && column >= 0 && column < columns && at < cellBackgrounds.size() ? cellBackgrounds[at] : -1;
}

TableShape ReadTableShape(const TAEHoggetto& table) {
  TableShape s;
  s.rows = std::clamp<int>(table.U8(kTableRows), 1, kMaxTableRows);
  s.columns = std::clamp<int>(table.U8(kTableColumns), 1, kMaxTableColumns);
  s.percentWidth = table.U8(kTablePercentWidth) == 1;
  s.width = s.percentWidth ? table.U8(kTableWidthPercent) : table.I16(kTablePixelWidth);
  s.padding = table.U8(kTablePadding);
  s.spacing = table.U8(kTableSpacing);
  s.border = table.U8(kTableBorder);
  s.verticalAlignment = table.U8(kTableVerticalAlignment);
  s.background = table.I32(kTableBackground);
  s.columnList.reserve(static_cast<std::size_t>(s.columns));
  for (int c = 0; c < s.columns; ++c) s.columnList.push_back({table.U8(kTableColumnKinds + c), table.I16(kTableColumnSizes + 2 * c)});
  if (table.Content().Present()) {
    // Only the cells the table has are read, however long the block claims
    // to be.
    const std::string content = table.ReadContent().value_or(std::string());
    const std::size_t count = std::min(content.size() / 4, static_cast<std::size_t>(s.Cells()));
    std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(content.data()), content.size());
    s.cellBackgrounds.reserve(count);
    for (std::size_t i = 0; i < count; ++i) s.cellBackgrounds.push_back(base::GetI32(bytes, 4 * i));
  }
  return s;
}

std::vector<ListItem> ListItems(std::string_view content) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t end = content.find('\n', start);
    const bool last = end == std::string_view::npos;
    if (last) end = content.size();
    std::string_view line = content.substr(start, end - start);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.emplace_back(line);
    start = end + 1;
  }
  std::vector<ListItem> items;
  for (std::size_t i = 0; i + 3 <= lines.size(); i += 3) items.push_back({lines[i], lines[i + 1], lines[i + 2]});
  return items;
}

std::vector<ListItem> ListItems(const TAEHoggetto& field) {
  if (!field.Content().Present()) return {};
  return ListItems(field.ReadContent().value_or(std::string()));
}

int MediaRepetitions(const TAEHoggetto& media) { return static_cast<std::int8_t>(media.U8(kMediaRepetitions)); }

}  // namespace tarn::document
