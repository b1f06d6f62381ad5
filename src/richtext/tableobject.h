// A table placed in a text without a display: its cells are boxes of text
// of their own (BoxText), laid out in the table's grid and painted with the
// table's and the cells' backgrounds and frames. The page's text tools,
// tarn-cli render, the tests and the benchmarks show and edit tables
// through it; the editor's screen table is a widget over the same record
// helpers and grid layout.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/canvas.h"
#include "richtext/boxtext.h"
#include "richtext/pageobjects.h"
#include "richtext/tablelayout.h"
#include "richtext/tablerecord.h"

namespace tarn::richtext {

// Tables nested deeper than the markup reader reads cells show as a blank.
constexpr int kMaxTableNesting = 32;
// The text of a new, empty cell.
inline constexpr std::string_view kEmptyCellMarkup{"<Z S1 ><T>\0", 11};

class TableCellBox : public TableLayoutCell {
 public:
  TableCellBox(TextHost& host, platform::TextMeasurer& measurer, int padding);

  BoxText& Box() { return m_box; }
  const BoxText& Box() const { return m_box; }
  // A cell always has a paragraph for the caret: a cell the markup did not
  // reach reads as the empty cell.
  void EnsureParagraph();
  void SetPadding(int padding);
  // The next layout lays the cell out whatever its width.
  void Forget() { m_wanted = -1; }

  std::int32_t background = kTransparent;
  // Where the grid put the cell: every cell of a row as high as the row.
  int Left() const { return m_x; }
  int Top() const { return m_y; }
  int BoundsWidth() const { return m_width; }
  int BoundsHeight() const { return m_height; }

  // TableLayoutCell: the size the cell's text needs at its wanted width.
  int WantedWidth() const override { return m_wanted; }
  void LayOut(int wanted) override;
  int CellWidth() const override { return m_naturalWidth; }
  int CellHeight() const override { return m_naturalHeight; }
  void SetCellBounds(int x, int y, int width, int height) override;

 private:
  BoxText m_box;
  int m_padding = 0;
  int m_wanted = -1;
  int m_naturalWidth = 0;
  int m_naturalHeight = 0;
  int m_x = 0;
  int m_y = 0;
  int m_width = 0;
  int m_height = 0;
};

class TableObject : public RecordObject {
 public:
  TableObject(std::int32_t identifier, const TAEHoggetto* record, TextHost& host, platform::TextMeasurer& measurer);

  bool IsTable() const override { return m_rows > 0; }
  int Rows() const override { return m_rows; }
  int Columns() const override { return m_columns; }
  RichText* Cell(int row, int column) override;
  int Width() const override { return m_width; }
  int Height() const override { return m_height; }
  int RecordKind() const override { return document::tabellaHtml; }
  int VerticalAlignment() const override { return 0; }
  void SetAvailableWidth(int width) override;

  TableCellBox* CellAt(int row, int column);
  // Lays the grid out at width W (the table's own width, not the width
  // available to it).
  void LayoutTable(int width);
  // Lays out again at the last width, as after a cell's text changed.
  void Relayout() { LayoutTable(m_layoutWidth); }
  // A cell's text changed: the cell is laid out again, and the grid only
  // when the cell now needs another size.
  void CellChanged(int row, int column);
  // Every cell is laid out again by the next layout.
  void ForgetWidths();
  int LayoutWidth() const { return m_layoutWidth; }
  // Free columns keep the minimum width the last layout found.
  const TableGrid& Grid() const { return m_grid; }

  // Paints the table with its top-left corner at (x, y): backgrounds, the
  // cells' text and the tables nested in it, and with `frames` the sunken
  // cell frames and the raised outer frame of its border width.
  void Paint(platform::Canvas& canvas, int x, int y, bool frames);

 private:
  TextHost& m_host;
  platform::TextMeasurer& m_measurer;
  int m_rows = 0;
  int m_columns = 0;
  int m_border = 0;
  int m_padding = 0;
  std::int32_t m_background = kTransparent;
  std::vector<std::unique_ptr<TableCellBox>> m_cells;
  TableGrid m_grid;
  int m_layoutWidth = 0;
  int m_width = 0;
  int m_height = 0;
  bool m_busy = false;  // a table found inside its own cells stays a blank
};

// Paints the tables placed in a text where its layout placed them.
void PaintPlacedTables(platform::Canvas& canvas, RichText& text, int dx, int dy, bool frames);
// The frame of a box b pixels wide: sunken (shadow left and top) for a
// cell, raised for the table's outer edge.
void PaintTableFrame(platform::Canvas& canvas, const platform::Rect& r, int b, bool sunken);
// Paints a background value over the rectangle; pictures are tiled from
// (originX, originY) so that they line up across the cells of a table.
void PaintTableBackground(platform::Canvas& canvas, const platform::Rect& r, std::int32_t value,
                          const TAEHoggetto* table, int originX, int originY);

}  // namespace tarn::richtext
