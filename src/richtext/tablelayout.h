// The layout of a table's grid: column widths from their kinds (percent of
// what is left, pixels, or free), cells as wide as their widest line needs,
// rows as high as their tallest cell, and the spacing around every cell. The
// screen table, the display-less table and the tests share this one
// algorithm through a small cell interface.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace tarn::richtext {

// One cell as the grid lays it out.
class TableLayoutCell {
 public:
  virtual ~TableLayoutCell() = default;
  // The width the cell was last asked for; -1 before the first layout.
  virtual int WantedWidth() const = 0;
  // Takes the wanted width and lays its text out: the cell is then at least
  // that wide, wider when a line (a long word, an object) needs more.
  virtual void LayOut(int wanted) = 0;
  virtual int CellWidth() const = 0;
  virtual int CellHeight() const = 0;
  virtual void SetCellBounds(int x, int y, int width, int height) = 0;
};

// The columns and spacing of a table. Layout writes into `sizes` the
// minimum width it found for each free column.
struct TableGrid {
  int rows = 0;
  int columns = 0;
  int spacing = 0;
  std::vector<int> kinds;  // 0 percent, 1 pixels, 2 free
  std::vector<int> sizes;
  // In the units of the layout: the room cells get when the spacing alone
  // is wider than the table, and the first trial width of a free column
  // (screen pixels; the printer scales them).
  int noRoom = 10;
  int freeMinimum = 30;
};

struct TableExtent {
  int width = 0;
  int height = 0;
};

// Lays the grid out at width W and answers the table's size.
TableExtent LayoutTableGrid(TableGrid& grid, const std::function<TableLayoutCell&(int, int)>& cell, int width);

// The width a table is laid out at inside an available width: a share of
// it for a percent table (all of it above 100 %), its stored width for a
// pixel table.
int TableWidthFor(int available, bool percent, int percentage, int pixelWidth);

}  // namespace tarn::richtext
