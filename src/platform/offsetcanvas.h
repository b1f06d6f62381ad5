// A canvas that draws on another one shifted by an offset: printables and
// table cells draw in the coordinates of the box that holds them, wherever
// that box lies on the sheet or the page.
#pragma once

#include "platform/canvas.h"

namespace tarn::platform {

class OffsetCanvas : public Canvas {
 public:
  OffsetCanvas(Canvas& inner, int dx, int dy) : m_inner(inner), m_dx(dx), m_dy(dy) {}

  FontMetrics Metrics(const FontRequest& font) override { return m_inner.Metrics(font); }
  int TextWidth(const FontRequest& font, std::string_view text) override {
    return m_inner.TextWidth(font, text);
  }
  bool Kerns() const override { return m_inner.Kerns(); }
  void DrawText(const FontRequest& font, int x, int y, std::string_view text) override {
    m_inner.DrawText(font, x + m_dx, y + m_dy, text);
  }
  void DrawTextOn(const FontRequest& font, int x, int y, std::string_view text,
                  std::uint32_t background) override {
    m_inner.DrawTextOn(font, x + m_dx, y + m_dy, text, background);
  }
  void FillRect(const Rect& r, std::uint32_t colour) override { m_inner.FillRect(Shift(r), colour); }
  void FrameRect(const Rect& r, std::uint32_t colour) override { m_inner.FrameRect(Shift(r), colour); }
  void HatchRect(const Rect& r, Hatch hatch, std::uint32_t colour) override {
    m_inner.HatchRect(Shift(r), hatch, colour);
  }
  void DottedLine(int x1, int x2, int y, std::uint32_t colour) override {
    m_inner.DottedLine(x1 + m_dx, x2 + m_dx, y + m_dy, colour);
  }
  void DrawImage(const Rect& r, const base::Bitmap& bitmap) override {
    m_inner.DrawImage(Shift(r), bitmap);
  }
  std::uint32_t System(SystemColour which) override { return m_inner.System(which); }

 private:
  Rect Shift(const Rect& r) const {
    return {r.left + m_dx, r.top + m_dy, r.right + m_dx, r.bottom + m_dy};
  }

  Canvas& m_inner;
  int m_dx;
  int m_dy;
};

}  // namespace tarn::platform
