// A canvas that draws on another one shifted by an offset: printables draw
// in the coordinates of the box that holds them, wherever that box lies on
// the sheet being printed.
#pragma once

#include "platform/canvas.h"

namespace tarn::print {

class OffsetCanvas : public platform::Canvas {
 public:
  OffsetCanvas(platform::Canvas& inner, int dx, int dy) : m_inner(inner), m_dx(dx), m_dy(dy) {}

  platform::FontMetrics Metrics(const platform::FontRequest& font) override { return m_inner.Metrics(font); }
  int TextWidth(const platform::FontRequest& font, std::string_view text) override {
    return m_inner.TextWidth(font, text);
  }
  bool Kerns() const override { return m_inner.Kerns(); }
  void DrawText(const platform::FontRequest& font, int x, int y, std::string_view text) override {
    m_inner.DrawText(font, x + m_dx, y + m_dy, text);
  }
  void DrawTextOn(const platform::FontRequest& font, int x, int y, std::string_view text,
                  std::uint32_t background) override {
    m_inner.DrawTextOn(font, x + m_dx, y + m_dy, text, background);
  }
  void FillRect(const platform::Rect& r, std::uint32_t colour) override { m_inner.FillRect(Shift(r), colour); }
  void FrameRect(const platform::Rect& r, std::uint32_t colour) override { m_inner.FrameRect(Shift(r), colour); }
  void HatchRect(const platform::Rect& r, platform::Hatch hatch, std::uint32_t colour) override {
    m_inner.HatchRect(Shift(r), hatch, colour);
  }
  void DottedLine(int x1, int x2, int y, std::uint32_t colour) override {
    m_inner.DottedLine(x1 + m_dx, x2 + m_dx, y + m_dy, colour);
  }
  void DrawImage(const platform::Rect& r, const base::Bitmap& bitmap) override {
    m_inner.DrawImage(Shift(r), bitmap);
  }
  std::uint32_t System(platform::SystemColour which) override { return m_inner.System(which); }

 private:
  platform::Rect Shift(const platform::Rect& r) const {
    return {r.left + m_dx, r.top + m_dy, r.right + m_dx, r.bottom + m_dy};
  }

  platform::Canvas& m_inner;
  int m_dx;
  int m_dy;
};

}  // namespace tarn::print
