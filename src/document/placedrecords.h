// Reading the records of objects placed in a text: the click zones of a
// placed image, the geometry and backgrounds of a table, the items of a
// list or combo box, the loop of a sound or video. The screen objects, the
// printer and the converters read these records alike; the rules for what a
// stored value means live here once.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "document/objectkinds.h"

namespace tarn::document {

class TAEHoggetto;
class TAEHset;

// ---- Click zones of a placed image ----

struct ClickZone {
  int entry = 0;      // its place in the table, 0 the topmost
  ObjectId link = 0;  // 0: a zone without link
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};
// The entries in use (not -1), in table order.
std::vector<ClickZone> ClickZones(const TAEHoggetto& placed);

// ---- Placed images ----

// The image records a placed image shows: its picture, the low-resolution
// picture shown first, the picture shown while the mouse is over it. Each is
// live or nothing; the fields hold an index, possibly with kind 5 on top.
TAEHoggetto* PlacedPicture(const TAEHoggetto& placed);
TAEHoggetto* PlacedLowPicture(const TAEHoggetto& placed);
TAEHoggetto* PlacedRollOverPicture(const TAEHoggetto& placed);
// A live image (kind 5) named by a field holding its index or its ObjectId;
// nothing for a negative value or a record of another kind.
TAEHoggetto* ImageByField(const TAEHset* set, std::int32_t value);

// ---- Tables ----

// A background of a table or a cell.
struct Background {
  enum class Kind { kNone, kColour, kImage };
  Kind kind = Kind::kNone;
  std::uint32_t colour = 0;  // 0x00BBGGRR
  int image = -1;            // index of a kind 5 image
};
// What a stored background value says: a colour below 0x02000000, an image
// index from 0x03000000 to 0x03FFFFFF, nothing otherwise.
Background DecodeBackground(std::int32_t value);

struct TableColumn {
  int kind = 0;  // field::kColumnPercent, kColumnPixels, kColumnFree
  int size = 0;  // percent, or pixels
};

// The shape of a table record, with counts that can be used safely: rows
// and columns at least 1 and at most their limits.
struct TableShape {
  int rows = 1;
  int columns = 1;
  bool percentWidth = true;
  int width = 100;  // percent or pixels
  int padding = 0;
  int spacing = 0;
  int border = 0;
  int verticalAlignment = 0;  // 0 top, 1 middle, 2 bottom
  std::int32_t background = -1;
  std::vector<TableColumn> columnList;
  // One value per cell, row by row; empty when the table has no content
  // data (every cell transparent). A short block leaves the cells past its
  // end transparent.
  std::vector<std::int32_t> cellBackgrounds;

  int Cells() const { return rows * columns; }
  // The stored background of a cell (-1 when there is none).
  std::int32_t CellBackground(int row, int column) const;
};
TableShape ReadTableShape(const TAEHoggetto& table);

// ---- Lists and combo boxes ----

struct ListItem {
  std::string shown;
  std::string value;
  std::string mark;  // the selection mark as stored
};
// The items of a list or combo box: its content read as lines (ended by
// CR LF or LF), three to an item; lines past the last whole item are left.
std::vector<ListItem> ListItems(std::string_view content);
std::vector<ListItem> ListItems(const TAEHoggetto& field);

// ---- Sound and video ----

// The number of times a sound or video plays; negative for ever.
int MediaRepetitions(const TAEHoggetto& media);

}  // namespace tarn::document
