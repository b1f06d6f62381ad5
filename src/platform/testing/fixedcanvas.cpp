// Fixed-metric recording canvas; see fixedcanvas.h.
#include "platform/testing/fixedcanvas.h"

#include "platform/testing/testplatform.h"

namespace tarn::platform::testing {

// The same metrics as the fixed measurer; only the "AV" pair differs.
FontMetrics FixedCanvas::Metrics(const FontRequest& font) { return FixedTextMeasurer().Metrics(font); }

int FixedCanvas::TextWidth(const FontRequest& font, std::string_view text) {
  int width = FixedTextMeasurer().TextWidth(font, text);
  for (std::size_t i = 1; i < text.size(); ++i) {
    if (text[i - 1] == 'A' && text[i] == 'V') --width;
  }
  return width;
}

void FixedCanvas::DrawText(const FontRequest& font, int x, int y, std::string_view text) {
  ops.push_back({"text", x, y, x + TextWidth(font, text), y + Metrics(font).height, std::string(text), font.face,
                 font.colour, 0});
}

void FixedCanvas::DrawTextOn(const FontRequest& font, int x, int y, std::string_view text, std::uint32_t background) {
  DrawText(font, x, y, text);
  ops.back().background = background | 0x01000000u;
}

void FixedCanvas::FillRect(const Rect& r, std::uint32_t colour) {
  ops.push_back({"fill", r.left, r.top, r.right, r.bottom, {}, {}, colour, 0});
}
void FixedCanvas::FrameRect(const Rect& r, std::uint32_t colour) {
  ops.push_back({"frame", r.left, r.top, r.right, r.bottom, {}, {}, colour, 0});
}
void FixedCanvas::HatchRect(const Rect& r, Hatch hatch, std::uint32_t colour) {
  ops.push_back({"hatch", r.left, r.top, r.right, r.bottom, hatch == Hatch::ForwardDiagonal ? "/" : "\\", {}, colour, 0});
}
void FixedCanvas::DottedLine(int x1, int x2, int y, std::uint32_t colour) {
  ops.push_back({"dotted", x1, y, x2, y, {}, {}, colour, 0});
}
void FixedCanvas::DrawImage(const Rect& r, const base::Bitmap&) {
  ops.push_back({"image", r.left, r.top, r.right, r.bottom, {}, {}, 0, 0});
}

std::uint32_t FixedCanvas::System(SystemColour which) {
  switch (which) {
    case SystemColour::Highlight: return 0x6A240A;
    case SystemColour::HighlightText: return 0xFFFFFF;
    case SystemColour::Highlight3D: return 0xFFFFFF;
    case SystemColour::ButtonShadow: return 0x808080;
    case SystemColour::Window: return 0xFFFFFF;
    case SystemColour::WindowText: return 0;
  }
  return 0;
}

}  // namespace tarn::platform::testing
