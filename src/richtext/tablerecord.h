// The table's object record (kind 8) as the table code reads and changes it:
// its shape, its columns, the background values of the table and of its
// cells (kept in the record's content data), the record of a new table in
// one of the preset styles, and the moves from cell to cell. Every value
// read from a stored record is checked against the record's limits, so a
// damaged record never makes the table code index past its arrays.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "document/aehoggetto.h"
#include "document/recordfields.h"

namespace tarn::richtext {

using document::TAEHoggetto;

constexpr std::int32_t kTransparent = -1;
constexpr int kMaxColumnsAdded = 20;  // the "Add..." dialog's upper bound
constexpr int kMaxNewTableRows = 200;

// What a background value means: a colour below 0x02000000, an image of the
// hypertext (kind 5, by index) from 0x03000000 to 0x03FFFFFF, anything else
// transparent.
struct Background {
  enum class Kind { Colour, Image, Transparent };
  Kind kind = Kind::Transparent;
  std::uint32_t colour = 0;  // 0x00BBGGRR
  int image = -1;
  static Background Decode(std::int32_t value);
  std::int32_t Encode() const;
};

// A table's shape as a valid record gives it; nothing for a record that is
// not a table or whose rows or columns lie outside 1..255 and 1..50.
struct TableShape {
  int rows = 0;
  int columns = 0;
};
std::optional<TableShape> ReadTableShape(const TAEHoggetto& record);

// A column's width kind (0 percent, 1 pixels, 2 free; anything else reads as
// pixels) and its stored size.
int ColumnKind(const TAEHoggetto& record, int column);
int ColumnSize(const TAEHoggetto& record, int column);
void SetColumn(TAEHoggetto& record, int column, int kind, int size);

// The background of every cell, row by row. Content data shorter than
// rows x columns values leaves the cells it does not reach transparent; a
// table without content data has transparent cells. Extra bytes are
// ignored (they are rewritten away by the next StoreCellBackgrounds).
std::vector<std::int32_t> ReadCellBackgrounds(const TAEHoggetto& record);
// Rewrites the content data from the values (empty for no cells) and marks
// the record as being of the current form.
void StoreCellBackgrounds(TAEHoggetto& record, const std::vector<std::int32_t>& values);

// The columns after `at` move `count` places right; the new ones are percent
// columns of size 10. The column count itself is left to the caller.
void InsertColumnSpecs(TAEHoggetto& record, int at, int count);
// The columns after last move left over first..last.
void RemoveColumnSpecs(TAEHoggetto& record, int first, int last);

// The new-table dialog's choices.
struct NewTable {
  int rows = 3;
  int columns = 3;
  int style = 0;  // 0..11, kTableStyles
  std::int32_t main = kTransparent;    // q: a colour or an encoded image
  std::int32_t second = kTransparent;  // p
  bool border = false;
};
constexpr int kTableStyleCount = 12;
extern const char* const kTableStyles[kTableStyleCount];
// The background of cell (r, c) in a style; nothing for "Simple".
std::int32_t StyleBackground(const NewTable& table, int row, int column);
// Fills a record that InitNew prepared: shape, style, border, equal percent
// columns, and the cell backgrounds of the style (Algorithm of the dialog).
void FillNewTable(TAEHoggetto& record, const NewTable& table);

// Moves between cells: 1 left, 2 right, 3 up, 4 down, 5 last cell, 6 first
// cell, 7 first cell of the last row, 8 first cell. Answers the same cell
// when the move leaves the table.
struct CellPos {
  int row = 0;
  int column = 0;
  bool operator==(const CellPos&) const = default;
};
CellPos NeighbourCell(int rows, int columns, CellPos from, int direction);

}  // namespace tarn::richtext

namespace tarn::richtext {

// What the table-properties dialog edits: the table's fields and, for the
// current cell, its column and a background applied to a choice of cells.
struct TableProperties {
  std::int32_t background = kTransparent;
  bool percent = true;
  int width = 100;  // percent or pixels
  int spacing = 2;
  int padding = 2;
  int border = 0;   // 0: no border
  std::string extra;  // additional HTML attributes of the TABLE tag
  // The current cell's column; none when the dialog was opened without one.
  bool hasCell = false;
  int columnKind = document::field::kColumnPercent;
  int columnSize = 0;
  std::int32_t cellBackground = kTransparent;
  int applyTo = 0;  // kApplyChoices, or kApplySelectedCells
  // The cells selected in the table (rows top..bottom, columns left..right);
  // top -1 when no several cells are selected.
  struct Selection {
    int top = -1, left = -1, bottom = -1, right = -1;
  } selection;
};
constexpr int kApplyChoiceCount = 8;
extern const char* const kApplyChoices[kApplyChoiceCount];
// A further choice, offered while several cells are selected.
constexpr int kApplySelectedCells = kApplyChoiceCount;
inline constexpr const char* kApplySelectedCellsCaption = "Selected cells";

TableProperties ReadTableProperties(const TAEHoggetto& record, CellPos cell, bool hasCell);
// Writes the properties into the record and its cell backgrounds (made
// first, all transparent, when the record has none).
void ApplyTableProperties(TAEHoggetto& record, const TableProperties& properties, CellPos cell);

}  // namespace tarn::richtext
