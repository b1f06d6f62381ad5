// The layout of a table's grid; see tablelayout.h.
#include "richtext/tablelayout.h"

#include <algorithm>

#include "document/recordfields.h"

namespace tarn::richtext {
using document::field::kColumnFree;
using document::field::kColumnPercent;
using document::field::kColumnPixels;


TableExtent LayoutTableGrid(TableGrid& g, const std::function<TableLayoutCell&(int, int)>& cell, int width) {
  const int S = g.spacing;
  const int C = g.columns;
  const int R = g.rows;
  if (R < 1 || C < 1) return {};
  g.kinds.resize(static_cast<std::size_t>(C), kColumnPixels);
  g.sizes.resize(static_cast<std::size_t>(C), 0);
  auto kind = [&g](int c) { return g.kinds[static_cast<std::size_t>(c)]; };
  auto size = [&g](int c) -> int& { return g.sizes[static_cast<std::size_t>(c)]; };

  int available = width - (C + 1) * S;
  if (available < 0) available = g.noRoom;

  // The minimum width of every pixel and free column: what its widest cell
  // needs, starting from the stored size (30 for a free column).
  std::vector<int> stored(static_cast<std::size_t>(C), 0);
  for (int c = 0; c < C; ++c) {
    if (kind(c) == kColumnPercent) continue;
    stored[static_cast<std::size_t>(c)] = size(c);
    int m = kind(c) == kColumnFree ? g.freeMinimum : size(c);
    for (int r = 0; r < R; ++r) {
      TableLayoutCell& k = cell(r, c);
      k.LayOut(m);
      m = std::max(m, k.CellWidth());
    }
    size(c) = m;
  }

  // Each row: percent columns share what the others leave, the remainders
  // of their divisions carried so that a pixel is added only where the
  // carry passes the sum of the percentages.
  int star = -1;
  for (int c = 0; c < C; ++c) {
    if (kind(c) == kColumnFree) star = c;
  }
  int fixed = 0;
  int P = 0;
  for (int c = 0; c < C; ++c) {
    if (kind(c) == kColumnPercent) {
      P += size(c);
    } else {
      fixed += size(c);
    }
  }
  for (int r = 0; r < R; ++r) {
    const long long rest = available - fixed;
    long long carry = 0;
    for (int c = 0; c < C; ++c) {
      int w = size(c);
      if (kind(c) == kColumnPercent) {
        if (P > 0) {
          const long long h = rest * size(c);
          w = static_cast<int>(h / P);
          carry += h % P;
          if (carry > P) {
            ++w;
            carry -= P;
          }
        } else {
          w = 0;
        }
        w = std::max(w, 1);
      }
      TableLayoutCell& k = cell(r, c);
      if (w != k.WantedWidth()) k.LayOut(w);
    }
  }
  for (int c = 0; c < C; ++c) {
    if (kind(c) == kColumnPercent) star = -1;
  }

  // Every cell of a column takes the column's widest cell's width.
  int rest = available;
  for (int c = 0; c < C; ++c) {
    if (c == star) continue;
    int w = 0;
    for (int r = 0; r < R; ++r) w = std::max(w, cell(r, c).CellWidth());
    for (int r = 0; r < R; ++r) {
      TableLayoutCell& k = cell(r, c);
      if (k.WantedWidth() != w) k.LayOut(w);
    }
    rest -= w;
    if (kind(c) == kColumnPixels) size(c) = stored[static_cast<std::size_t>(c)];
  }
  // The free column takes what is left once the others are placed.
  if (star >= 0) {
    int w = size(star);
    if (w < rest) w = rest;
    for (int r = 0; r < R; ++r) {
      TableLayoutCell& k = cell(r, star);
      if (k.WantedWidth() != w || k.CellWidth() < w) k.LayOut(w);
    }
  }

  int y = S;
  int x = S;
  for (int r = 0; r < R; ++r) {
    int h = 0;
    for (int c = 0; c < C; ++c) h = std::max(h, cell(r, c).CellHeight());
    x = S;
    for (int c = 0; c < C; ++c) {
      TableLayoutCell& k = cell(r, c);
      const int w = k.CellWidth();
      k.SetCellBounds(x, y, w, h);
      x += w + S;
    }
    y += h + S;
  }
  return {x, y};
}

int TableWidthFor(int available, bool percent, int percentage, int pixelWidth) {
  if (percent) return percentage > 100 ? available : available * percentage / 100;
  return pixelWidth;
}

}  // namespace tarn::richtext
