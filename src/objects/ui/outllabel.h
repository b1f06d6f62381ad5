// A label whose caption is drawn over an outline in a second colour, so
// that it reads on any picture behind it.
#pragma once

#include <QColor>
#include <QLabel>

namespace tarn::objects {

class TOutlLabel : public QLabel {
  Q_OBJECT

 public:
  explicit TOutlLabel(QWidget* parent = nullptr);

  QColor ColourShadow() const { return m_shadow; }
  void SetColourShadow(const QColor& colour);
  // Unless transparent, the label fills its background first.
  bool Transparent = false;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor m_shadow = Qt::black;
};

}  // namespace tarn::objects
