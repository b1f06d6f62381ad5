// The drawing surface: measuring and drawing text, rectangles, hatches,
// dotted lines and pictures. Every call takes its font and colours as
// arguments; nothing is "selected" between calls.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "base/bitmap.h"
#include "platform/textmeasurer.h"

namespace tarn::platform {

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;   // exclusive
  int bottom = 0;  // exclusive
  bool Intersects(const Rect& o) const { return left < o.right && o.left < right && top < o.bottom && o.top < bottom; }
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

// Colours of the desktop scheme that text drawing uses.
enum class SystemColour { Highlight, HighlightText, Highlight3D, ButtonShadow, Window, WindowText };

enum class Hatch { ForwardDiagonal, BackwardDiagonal };

class Canvas : public TextMeasurer {
 public:
  // Text with its top-left corner at (x, y), in the font's colour. A
  // background colour fills the text's cell first when given.
  virtual void DrawText(const FontRequest& font, int x, int y, std::string_view text) = 0;
  virtual void DrawTextOn(const FontRequest& font, int x, int y, std::string_view text,
                          std::uint32_t background) = 0;
  virtual void FillRect(const Rect& r, std::uint32_t colour) = 0;
  virtual void FrameRect(const Rect& r, std::uint32_t colour) = 0;
  virtual void HatchRect(const Rect& r, Hatch hatch, std::uint32_t colour) = 0;
  // A horizontal dotted line from x1 to x2 (exclusive) at y.
  virtual void DottedLine(int x1, int x2, int y, std::uint32_t colour) = 0;
  virtual void DrawImage(const Rect& r, const base::Bitmap& bitmap) = 0;
  // Covers the area, and nothing outside it, with copies of the picture
  // each tileWidth x tileHeight, one of them with its corner at the origin.
  // This version draws tile by tile, cutting the tiles at the area's edge.
  virtual void TileImage(const Rect& area, int originX, int originY, int tileWidth, int tileHeight,
                         const base::Bitmap& bitmap);
  virtual std::uint32_t System(SystemColour which) = 0;
};

inline void Canvas::TileImage(const Rect& area, int originX, int originY, int tileWidth, int tileHeight,
                              const base::Bitmap& bitmap) {
  if (bitmap.Empty() || tileWidth <= 0 || tileHeight <= 0) return;
  auto floorTo = [](int value, int origin, int step) {
    const int d = value - origin;
    return origin + (d >= 0 ? d / step : -((-d + step - 1) / step)) * step;
  };
  for (int y = floorTo(area.top, originY, tileHeight); y < area.bottom; y += tileHeight) {
    for (int x = floorTo(area.left, originX, tileWidth); x < area.right; x += tileWidth) {
      const Rect tile{x, y, x + tileWidth, y + tileHeight};
      const Rect shown{std::max(tile.left, area.left), std::max(tile.top, area.top),
                       std::min(tile.right, area.right), std::min(tile.bottom, area.bottom)};
      if (shown.left == tile.left && shown.top == tile.top && shown.right == tile.right &&
          shown.bottom == tile.bottom) {
        DrawImage(tile, bitmap);
        continue;
      }
      // The part of the picture that falls inside the area.
      const int x0 = (shown.left - x) * bitmap.width / tileWidth;
      const int y0 = (shown.top - y) * bitmap.height / tileHeight;
      const int x1 = std::max(x0 + 1, (shown.right - x) * bitmap.width / tileWidth);
      const int y1 = std::max(y0 + 1, (shown.bottom - y) * bitmap.height / tileHeight);
      base::Bitmap part;
      part.width = std::min(x1, bitmap.width) - x0;
      part.height = std::min(y1, bitmap.height) - y0;
      part.transparent = bitmap.transparent;
      if (part.Empty()) continue;
      part.pixels.reserve(static_cast<std::size_t>(part.width) * static_cast<std::size_t>(part.height));
      for (int py = y0; py < y0 + part.height; ++py) {
        for (int px = x0; px < x0 + part.width; ++px) part.pixels.push_back(bitmap.At(px, py));
      }
      DrawImage(shown, part);
    }
  }
}

}  // namespace tarn::platform
