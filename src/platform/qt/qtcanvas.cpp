// The Qt drawing surface; see qtcanvas.h.
#include "platform/qt/qtcanvas.h"

#include <QGuiApplication>
#include <QImage>
#include <QPalette>
#include <QTransform>

#include "platform/qt/qtfonts.h"
#include "platform/qt/qtstrings.h"

namespace tarn::platform::qt {

QColor ToQColor(std::uint32_t colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

namespace {
std::uint32_t FromQColor(const QColor& c) {
  return static_cast<std::uint32_t>(c.red()) | (static_cast<std::uint32_t>(c.green()) << 8) |
         (static_cast<std::uint32_t>(c.blue()) << 16);
}
}  // namespace

QtCanvas::QtCanvas(QPainter* painter, int pixelsPerInch)
    : m_painter(painter), m_pixelsPerInch(pixelsPerInch > 0 ? pixelsPerInch : 96) {
  RegisterDocumentFonts();
}

QtCanvas::CachedFont& QtCanvas::Cached(const FontRequest& font) {
  std::string key = font.face;
  key += '\0';
  key += std::to_string(font.sizePoints) + ',' + std::to_string(font.styleBits);
  auto it = m_fonts.find(key);
  if (it == m_fonts.end()) {
    QFont qfont = ToQFont(font, m_pixelsPerInch);
    auto cached = std::unique_ptr<CachedFont>(new CachedFont{qfont, QFontMetrics(qfont)});
    it = m_fonts.emplace(std::move(key), std::move(cached)).first;
  }
  return *it->second;
}

FontMetrics QtCanvas::Metrics(const FontRequest& font) {
  const QFontMetrics& m = Cached(font).metrics;
  FontMetrics out;
  out.ascent = m.ascent();
  out.descent = m.descent();
  out.height = m.height();
  out.internalLeading = m.leading();
  out.averageCharWidth = m.averageCharWidth();
  out.maxCharWidth = m.maxWidth();
  return out;
}

int QtCanvas::TextWidth(const FontRequest& font, std::string_view text) {
  return Cached(font).metrics.horizontalAdvance(ToQString(text));
}

void QtCanvas::DrawText(const FontRequest& font, int x, int y, std::string_view text) {
  if (m_painter == nullptr) return;
  CachedFont& cached = Cached(font);
  m_painter->setFont(cached.font);
  m_painter->setPen(ToQColor(font.colour));
  m_painter->drawText(x, y + cached.metrics.ascent(), ToQString(text));
}

void QtCanvas::DrawTextOn(const FontRequest& font, int x, int y, std::string_view text, std::uint32_t background) {
  if (m_painter == nullptr) return;
  CachedFont& cached = Cached(font);
  const QString s = ToQString(text);
  m_painter->fillRect(x, y, cached.metrics.horizontalAdvance(s), cached.metrics.height(), ToQColor(background));
  DrawText(font, x, y, text);
}

void QtCanvas::FillRect(const Rect& r, std::uint32_t colour) {
  if (m_painter != nullptr) m_painter->fillRect(r.left, r.top, r.Width(), r.Height(), ToQColor(colour));
}

void QtCanvas::FrameRect(const Rect& r, std::uint32_t colour) {
  if (m_painter == nullptr) return;
  m_painter->setPen(ToQColor(colour));
  m_painter->setBrush(Qt::NoBrush);
  m_painter->drawRect(r.left, r.top, r.Width() - 1, r.Height() - 1);
}

void QtCanvas::HatchRect(const Rect& r, Hatch hatch, std::uint32_t colour) {
  if (m_painter == nullptr) return;
  m_painter->fillRect(r.left, r.top, r.Width(), r.Height(),
                      QBrush(ToQColor(colour), hatch == Hatch::ForwardDiagonal ? Qt::FDiagPattern : Qt::BDiagPattern));
}

void QtCanvas::DottedLine(int x1, int x2, int y, std::uint32_t colour) {
  if (m_painter == nullptr || x2 <= x1) return;
  QPen pen(ToQColor(colour));
  pen.setStyle(Qt::DotLine);
  m_painter->setPen(pen);
  m_painter->drawLine(x1, y, x2 - 1, y);
}

void QtCanvas::DrawImage(const Rect& r, const base::Bitmap& bitmap) {
  if (m_painter == nullptr || bitmap.Empty()) return;
  QImage image(reinterpret_cast<const uchar*>(bitmap.pixels.data()), bitmap.width, bitmap.height,
               bitmap.width * 4, QImage::Format_ARGB32);
  m_painter->drawImage(QRect(r.left, r.top, r.Width(), r.Height()), image);
}

// One brush of the picture fills the area: a printed page gets one pattern
// instead of a copy of the picture per tile.
void QtCanvas::TileImage(const Rect& area, int originX, int originY, int tileWidth, int tileHeight,
                         const base::Bitmap& bitmap) {
  if (m_painter == nullptr || bitmap.Empty() || tileWidth <= 0 || tileHeight <= 0) return;
  const QImage image(reinterpret_cast<const uchar*>(bitmap.pixels.data()), bitmap.width, bitmap.height,
                     bitmap.width * 4, QImage::Format_ARGB32);
  QBrush brush(image.copy());
  brush.setTransform(QTransform::fromTranslate(originX, originY)
                         .scale(static_cast<double>(tileWidth) / bitmap.width,
                                static_cast<double>(tileHeight) / bitmap.height));
  m_painter->fillRect(QRect(area.left, area.top, area.Width(), area.Height()), brush);
}

std::uint32_t QtCanvas::System(SystemColour which) {
  const QPalette palette = QGuiApplication::palette();
  switch (which) {
    case SystemColour::Highlight: return FromQColor(palette.color(QPalette::Highlight));
    case SystemColour::HighlightText: return FromQColor(palette.color(QPalette::HighlightedText));
    case SystemColour::Highlight3D: return FromQColor(palette.color(QPalette::Light));
    case SystemColour::ButtonShadow: return FromQColor(palette.color(QPalette::Dark));
    case SystemColour::Window: return FromQColor(palette.color(QPalette::Base));
    case SystemColour::WindowText: return FromQColor(palette.color(QPalette::Text));
  }
  return 0;
}

}  // namespace tarn::platform::qt
