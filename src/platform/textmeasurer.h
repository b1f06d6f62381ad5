// Font metrics for the container's measuring canvas. The layout engine
// measures through the same seam; the real implementation uses the window
// system's fonts, the fixed one makes tests exact.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarn::platform {

struct FontRequest {
  std::string face;  // cp1252 font name as stored in documents
  int sizePoints = 12;
  int styleBits = 0;  // 1 bold, 2 italic, 4 underline, 8 strikeout
  std::uint32_t colour = 0;  // 0x00BBGGRR; drawing only, never measuring
};

struct FontMetrics {
  int height = 0;  // ascent + descent, in pixels
  int ascent = 0;
  int descent = 0;
  int internalLeading = 0;
  int averageCharWidth = 0;
  int maxCharWidth = 0;
};

class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;
  virtual FontMetrics Metrics(const FontRequest& font) = 0;
  // Width in pixels of a cp1252 text drawn in the font.
  virtual int TextWidth(const FontRequest& font, std::string_view text) = 0;
  // Whether a pair of characters can measure other than the sum of the two:
  // only then must widths be taken pair by pair.
  virtual bool Kerns() const { return true; }
};

}  // namespace tarn::platform
