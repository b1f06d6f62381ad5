// A canvas with fixed metrics that records what is drawn, for exact layout
// and painting tests: every character is 8 pixels wide at 12 points (the
// width scales with the size), 16 pixels high with an ascent of 12, and the
// pair "AV" kerns by one pixel.
#pragma once

#include <string>
#include <vector>

#include "platform/canvas.h"

namespace tarn::platform::testing {

class FixedCanvas : public Canvas {
 public:
  struct Op {
    std::string what;  // "text", "fill", "frame", "hatch", "dotted", "image"
    int x = 0;
    int y = 0;
    int x2 = 0;
    int y2 = 0;
    std::string text;
    std::string face;
    std::uint32_t colour = 0;
    std::uint32_t background = 0;
  };

  FontMetrics Metrics(const FontRequest& font) override;
  int TextWidth(const FontRequest& font, std::string_view text) override;
  void DrawText(const FontRequest& font, int x, int y, std::string_view text) override;
  void DrawTextOn(const FontRequest& font, int x, int y, std::string_view text, std::uint32_t background) override;
  void FillRect(const Rect& r, std::uint32_t colour) override;
  void FrameRect(const Rect& r, std::uint32_t colour) override;
  void HatchRect(const Rect& r, Hatch hatch, std::uint32_t colour) override;
  void DottedLine(int x1, int x2, int y, std::uint32_t colour) override;
  void DrawImage(const Rect& r, const base::Bitmap& bitmap) override;
  std::uint32_t System(SystemColour which) override;

  std::vector<Op> ops;
};

}  // namespace tarn::platform::testing
