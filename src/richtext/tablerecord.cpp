// The table's object record; see tablerecord.h.
#include "richtext/tablerecord.h"

#include <algorithm>


namespace tarn::richtext {
using namespace document::field;

namespace {
constexpr std::int32_t kColourLimit = 0x02000000;
constexpr std::int32_t kImageLimit = 0x03FFFFFF;
constexpr int kNewColumnSize = 10;

bool ValidColumn(int column) { return column >= 0 && column < kMaxTableColumns; }
}  // namespace

const char* const kTableStyles[kTableStyleCount] = {
    "Simple",
    "Alternate rows",
    "Alternate color rows",
    "Alternate columns",
    "Alternate color columns",
    "First column",
    "Last column",
    "First row and column",
    "First row and last column",
    "Last row and column",
    "Last row and first column",
    "List",
};

Background Background::Decode(std::int32_t value) {
  Background b;
  if (value >= 0 && value < kColourLimit) {
    b.kind = Kind::Colour;
    b.colour = static_cast<std::uint32_t>(value) & 0xFFFFFFu;
  } else if (value >= kBackgroundImage && value <= kImageLimit) {
    b.kind = Kind::Image;
    b.image = value & 0xFFFFFF;
  }
  return b;
}

std::int32_t Background::Encode() const {
  switch (kind) {
    case Kind::Colour: return static_cast<std::int32_t>(colour & 0xFFFFFFu);
    case Kind::Image: return kBackgroundImage | (image & 0xFFFFFF);
    case Kind::Transparent: break;
  }
  return kTransparent;
}

std::optional<TableShape> ReadTableShape(const TAEHoggetto& record) {
  if (record.Kind() != document::tabellaHtml || record.IsFree()) return std::nullopt;
  const int rows = record.U8(kTableRows);
  const int columns = record.U8(kTableColumns);
  if (rows < 1 || rows > kMaxTableRows || columns < 1 || columns > kMaxTableColumns) return std::nullopt;
  return TableShape{rows, columns};
}

int ColumnKind(const TAEHoggetto& record, int column) {
  if (!ValidColumn(column)) return kColumnPixels;
  const int kind = record.U8(kTableColumnKinds + column);
  return kind <= kColumnFree ? kind : kColumnPixels;
}

int ColumnSize(const TAEHoggetto& record, int column) {
  if (!ValidColumn(column)) return 0;
  // A negative size from a damaged record counts as nothing.
  return std::max<int>(0, record.I16(kTableColumnSizes + 2 * column));
}

void SetColumn(TAEHoggetto& record, int column, int kind, int size) {
  if (!ValidColumn(column)) return;
  record.SetU8(kTableColumnKinds + column, static_cast<std::uint8_t>(kind));
  record.SetI16(kTableColumnSizes + 2 * column, static_cast<std::int16_t>(std::clamp(size, -32768, 32767)));
}

std::vector<std::int32_t> ReadCellBackgrounds(const TAEHoggetto& record) {
  const std::optional<TableShape> shape = ReadTableShape(record);
  if (!shape) return {};
  const auto count = static_cast<std::size_t>(shape->rows) * static_cast<std::size_t>(shape->columns);
  std::vector<std::int32_t> values(count, kTransparent);
  // The block is at most 255 x 50 values that matter; a longer one is not
  // read further than that.
  if (!record.Content().Present() || record.ContentLength() <= 0) return values;
  const std::optional<std::string> content = record.ReadContent();
  if (!content) return values;
  const std::size_t available = std::min(count, content->size() / 4);
  for (std::size_t i = 0; i < available; ++i) {
    const auto* b = reinterpret_cast<const unsigned char*>(content->data() + i * 4);
    values[i] = static_cast<std::int32_t>(static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
                                          (static_cast<std::uint32_t>(b[2]) << 16) |
                                          (static_cast<std::uint32_t>(b[3]) << 24));
  }
  return values;
}

void StoreCellBackgrounds(TAEHoggetto& record, const std::vector<std::int32_t>& values) {
  record.SetU8(kTableForm, kTableNew);
  std::string bytes;
  bytes.reserve(values.size() * 4);
  for (const std::int32_t v : values) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<char>((u >> shift) & 0xFFu));
  }
  record.SetContent(std::move(bytes));
}

void InsertColumnSpecs(TAEHoggetto& record, int at, int count) {
  if (count < 1 || at < 0 || at >= kMaxTableColumns) return;
  for (int c = kMaxTableColumns - 1; c >= at + count; --c) {
    SetColumn(record, c, record.U8(kTableColumnKinds + c - count), record.I16(kTableColumnSizes + 2 * (c - count)));
  }
  for (int c = at; c < std::min(at + count, kMaxTableColumns); ++c) SetColumn(record, c, kColumnPercent, kNewColumnSize);
}

void RemoveColumnSpecs(TAEHoggetto& record, int first, int last) {
  if (first < 0 || last < first || last >= kMaxTableColumns) return;
  const int count = last - first + 1;
  for (int c = first; c + count < kMaxTableColumns; ++c) {
    SetColumn(record, c, record.U8(kTableColumnKinds + c + count), record.I16(kTableColumnSizes + 2 * (c + count)));
  }
}

std::int32_t StyleBackground(const NewTable& t, int r, int c) {
  const std::int32_t q = t.main;
  const std::int32_t p = t.second;
  const bool lastRow = r == t.rows - 1;
  const bool lastColumn = c == t.columns - 1;
  switch (t.style) {
    case 1: return r % 2 == 0 ? q : kTransparent;
    case 2: return r % 2 == 0 ? q : p;
    case 3: return c % 2 == 0 ? q : kTransparent;
    case 4: return c % 2 == 0 ? q : p;
    case 5: return c == 0 ? q : kTransparent;
    case 6: return lastColumn ? q : kTransparent;
    case 7: return r == 0 || c == 0 ? q : kTransparent;
    case 8: return r == 0 || lastColumn ? q : kTransparent;
    case 9: return lastRow || lastColumn ? q : kTransparent;
    case 10: return c == 0 || lastRow ? q : kTransparent;
    case 11: return lastColumn ? p : (r % 2 == 0 ? q : kTransparent);
    default: return kTransparent;
  }
}

void FillNewTable(TAEHoggetto& record, const NewTable& table) {
  const int rows = std::clamp(table.rows, 1, kMaxTableRows);
  const int columns = std::clamp(table.columns, 1, kMaxTableColumns);
  const int style = std::clamp(table.style, 0, kTableStyleCount - 1);
  record.SetU8(kTableRows, static_cast<std::uint8_t>(rows));
  record.SetU8(kTableColumns, static_cast<std::uint8_t>(columns));
  record.SetU8(kTableStyle, static_cast<std::uint8_t>(style));
  record.SetU8(kTableBorder, table.border ? 1 : 0);
  const int share = 100 / columns;
  for (int c = 0; c < columns; ++c) SetColumn(record, c, kColumnPercent, share);
  record.SetU8(kTableWidthPercent, static_cast<std::uint8_t>(share * columns));
  record.SetU8(kTablePercentWidth, 1);
  if (style == 0) return;
  record.SetU8(kTableSpacing, 0);
  NewTable shaped = table;
  shaped.rows = rows;
  shaped.columns = columns;
  shaped.style = style;
  std::vector<std::int32_t> values;
  values.reserve(static_cast<std::size_t>(rows * columns));
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) values.push_back(StyleBackground(shaped, r, c));
  }
  StoreCellBackgrounds(record, values);
}

CellPos NeighbourCell(int rows, int columns, CellPos from, int direction) {
  if (rows < 1 || columns < 1) return from;
  const int lastRow = rows - 1;
  const int lastColumn = columns - 1;
  CellPos to = from;
  switch (direction) {
    case 1:
      if (from.column > 0) {
        to.column = from.column - 1;
      } else if (from.row > 0) {
        to = {from.row - 1, lastColumn};
      }
      break;
    case 2:
      if (from.column < lastColumn) {
        to.column = from.column + 1;
      } else if (from.row < lastRow) {
        to = {from.row + 1, 0};
      }
      break;
    case 3:
      if (from.row > 0) to.row = from.row - 1;
      break;
    case 4:
      if (from.row < lastRow) to.row = from.row + 1;
      break;
    case 5: to = {lastRow, lastColumn}; break;
    case 7: to = {lastRow, 0}; break;
    case 6:
    case 8: to = {0, 0}; break;
    default: break;
  }
  return to;
}

}  // namespace tarn::richtext

namespace tarn::richtext {

const char* const kApplyChoices[kApplyChoiceCount] = {
    "Nothing",
    "Cell",
    "Row",
    "Column",
    "Row with alternate cols",
    "Column with alternate rows",
    "Row with alternate cols 1",
    "Column with alternate rows 1",
};

TableProperties ReadTableProperties(const TAEHoggetto& record, CellPos cell, bool hasCell) {
  TableProperties p;
  p.background = record.I32(kTableBackground);
  p.percent = record.U8(kTablePercentWidth) == 1;
  p.width = p.percent ? record.U8(kTableWidthPercent) : static_cast<std::uint16_t>(record.I16(kTablePixelWidth));
  p.spacing = record.U8(kTableSpacing);
  p.padding = record.U8(kTablePadding);
  p.border = record.U8(kTableBorder);
  if (record.Extra().Present()) p.extra = std::string(record.Extra().View());
  const std::optional<TableShape> shape = ReadTableShape(record);
  p.hasCell = hasCell && shape && cell.row >= 0 && cell.row < shape->rows && cell.column >= 0 &&
              cell.column < shape->columns;
  if (p.hasCell) {
    p.columnKind = ColumnKind(record, cell.column);
    p.columnSize = ColumnSize(record, cell.column);
    const std::vector<std::int32_t> values = ReadCellBackgrounds(record);
    p.cellBackground = values[static_cast<std::size_t>(cell.row * shape->columns + cell.column)];
  }
  return p;
}

void ApplyTableProperties(TAEHoggetto& record, const TableProperties& p, CellPos cell) {
  record.SetI32(kTableBackground, p.background);
  record.SetU8(kTablePercentWidth, p.percent ? 1 : 0);
  if (p.percent) {
    record.SetU8(kTableWidthPercent, static_cast<std::uint8_t>(std::clamp(p.width, 1, 100)));
  } else {
    record.SetI16(kTablePixelWidth, static_cast<std::int16_t>(std::clamp(p.width, 1, 32767)));
  }
  record.SetU8(kTableSpacing, static_cast<std::uint8_t>(std::clamp(p.spacing, 0, 255)));
  record.SetU8(kTablePadding, static_cast<std::uint8_t>(std::clamp(p.padding, 0, 255)));
  record.SetU8(kTableBorder, static_cast<std::uint8_t>(std::clamp(p.border, 0, 255)));
  if (p.extra.empty()) {
    record.DropExtra();
  } else {
    record.SetExtra(p.extra);
  }
  const std::optional<TableShape> shape = ReadTableShape(record);
  if (!p.hasCell || !shape || cell.row < 0 || cell.row >= shape->rows || cell.column < 0 ||
      cell.column >= shape->columns) {
    return;
  }
  SetColumn(record, cell.column, std::clamp(p.columnKind, 0, 2), p.columnSize);
  const bool toSelection = p.applyTo == kApplySelectedCells && p.selection.top >= 0;
  if (p.applyTo <= 0 || (p.applyTo >= kApplyChoiceCount && !toSelection)) return;
  std::vector<std::int32_t> values = ReadCellBackgrounds(record);
  for (int r = 0; r < shape->rows; ++r) {
    for (int c = 0; c < shape->columns; ++c) {
      bool chosen = false;
      switch (p.applyTo) {
        case 1: chosen = r == cell.row && c == cell.column; break;
        case 2: chosen = r == cell.row; break;
        case 3: chosen = c == cell.column; break;
        case 4: chosen = r == cell.row && c % 2 == 0; break;
        case 5: chosen = c == cell.column && r % 2 == 0; break;
        case 6: chosen = r == cell.row && c % 2 == 1; break;
        case 7: chosen = c == cell.column && r % 2 == 1; break;
        case kApplySelectedCells:
          chosen = r >= p.selection.top && r <= p.selection.bottom && c >= p.selection.left && c <= p.selection.right;
          break;
        default: break;
      }
      if (chosen) values[static_cast<std::size_t>(r * shape->columns + c)] = p.cellBackground;
    }
  }
  StoreCellBackgrounds(record, values);
}

}  // namespace tarn::richtext
