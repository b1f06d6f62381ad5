// The drawing surface: measuring and drawing text, rectangles, hatches,
// dotted lines and pictures. Every call takes its font and colours as
// arguments; nothing is "selected" between calls.
#pragma once

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
  virtual std::uint32_t System(SystemColour which) = 0;
};

}  // namespace tarn::platform
