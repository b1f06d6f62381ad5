// The outlined label; see outllabel.h.
#include "objects/ui/outllabel.h"

#include <QPainter>

namespace tarn::objects {

TOutlLabel::TOutlLabel(QWidget* parent) : QLabel(parent) {}

void TOutlLabel::SetColourShadow(const QColor& colour) {
  if (colour == m_shadow) return;
  m_shadow = colour;
  update();
}

void TOutlLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!Transparent) painter.fillRect(rect(), palette().color(backgroundRole()));
  painter.setFont(font());
  const QRect area = contentsRect();
  const int flags = static_cast<int>(alignment());
  // Nine copies one pixel apart make the outline; the caption goes in the
  // middle of them.
  painter.setPen(m_shadow);
  for (int dx = 0; dx <= 2; ++dx) {
    for (int dy = 0; dy <= 2; ++dy) painter.drawText(area.translated(dx, dy), flags, text());
  }
  painter.setPen(palette().color(foregroundRole()));
  painter.drawText(area.translated(1, 1), flags, text());
}

}  // namespace tarn::objects
