// The drawing surface over a QPainter (a widget, an image or a printer);
// without a painter it only measures. Fonts are sized for the device's
// resolution: the screen's 96 pixels per inch, or a printer's.
#pragma once

#include <QFontMetrics>
#include <QPainter>

#include <memory>
#include <string>
#include <unordered_map>

#include "platform/canvas.h"

namespace tarn::platform::qt {

class QtCanvas : public Canvas {
 public:
  explicit QtCanvas(QPainter* painter = nullptr, int pixelsPerInch = 96);
  // Draws with another painter from now on (nothing: measures only).
  void SetPainter(QPainter* painter) { m_painter = painter; }
  int PixelsPerInch() const { return m_pixelsPerInch; }

  FontMetrics Metrics(const FontRequest& font) override;
  int TextWidth(const FontRequest& font, std::string_view text) override;
  // Document fonts are set up without kerning (see qtfonts.cpp).
  bool Kerns() const override { return false; }
  void DrawText(const FontRequest& font, int x, int y, std::string_view text) override;
  void DrawTextOn(const FontRequest& font, int x, int y, std::string_view text, std::uint32_t background) override;
  void FillRect(const Rect& r, std::uint32_t colour) override;
  void FrameRect(const Rect& r, std::uint32_t colour) override;
  void HatchRect(const Rect& r, Hatch hatch, std::uint32_t colour) override;
  void DottedLine(int x1, int x2, int y, std::uint32_t colour) override;
  void DrawImage(const Rect& r, const base::Bitmap& bitmap) override;
  void TileImage(const Rect& area, int originX, int originY, int tileWidth, int tileHeight,
                 const base::Bitmap& bitmap) override;
  std::uint32_t System(SystemColour which) override;

 private:
  struct CachedFont {
    QFont font;
    QFontMetrics metrics;
  };
  CachedFont& Cached(const FontRequest& font);

  QPainter* m_painter;
  int m_pixelsPerInch;
  std::unordered_map<std::string, std::unique_ptr<CachedFont>> m_fonts;
};

QColor ToQColor(std::uint32_t colour);

}  // namespace tarn::platform::qt
