// Draws the program's pointer shapes into PNG files, the resources the
// pointer sets are loaded from. Each file carries its hot spot in the text
// chunks "HotX" and "HotY".
//   cmake --build build --target cursors   (rewrites src/app/ui/cursors/*.png)
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <functional>

namespace {

// The shapes are drawn on a 24 x 24 grid and scaled to the canvas.
constexpr double kGrid = 24.0;

struct Look {
  int size;       // canvas in pixels
  QColor fill;    // the body of the shape
  QColor accent;  // badges and marks
  double outline; // outline width in grid units
};

QPainterPath RoundRect(double x, double y, double w, double h, double r) {
  QPainterPath path;
  path.addRoundedRect(QRectF(x, y, w, h), r, r);
  return path;
}

QPainterPath PointingHand() {
  QPainterPath hand = RoundRect(6, 1, 4, 13, 2);  // the index finger
  hand = hand.united(RoundRect(9.5, 7, 3.5, 7, 1.7));
  hand = hand.united(RoundRect(12.5, 8, 3.5, 6.5, 1.7));
  hand = hand.united(RoundRect(15.5, 9, 3.5, 6, 1.7));
  hand = hand.united(RoundRect(5.5, 10, 13.5, 10.5, 3));
  QPainterPath thumb;
  thumb.moveTo(6.5, 13.5);
  thumb.lineTo(3, 10.5);
  thumb.quadTo(1, 10.5, 1.5, 12.5);
  thumb.lineTo(6, 19);
  thumb.closeSubpath();
  return hand.united(thumb);
}

QPainterPath OpenHand() {
  QPainterPath hand = RoundRect(5, 10, 14, 11, 3.5);
  hand = hand.united(RoundRect(5.5, 3, 3.2, 10, 1.6));
  hand = hand.united(RoundRect(8.8, 1.5, 3.2, 11, 1.6));
  hand = hand.united(RoundRect(12.1, 2, 3.2, 11, 1.6));
  hand = hand.united(RoundRect(15.4, 4, 3.2, 9, 1.6));
  QPainterPath thumb;
  thumb.moveTo(5.5, 16);
  thumb.lineTo(1.5, 10.5);
  thumb.quadTo(0.5, 8.5, 2.5, 8.5);
  thumb.lineTo(6.5, 12);
  thumb.closeSubpath();
  return hand.united(thumb);
}

QPainterPath Fist() {
  QPainterPath fist = RoundRect(4, 9, 15, 11, 3.5);
  for (int i = 0; i < 4; ++i) fist = fist.united(RoundRect(4.5 + i * 3.5, 6.5, 3.5, 5, 1.7));
  return fist;
}

QPainterPath IBeam() {
  QPainterPath beam;
  beam.addRect(QRectF(10.8, 4, 2.4, 16));
  beam.addRect(QRectF(7.5, 3, 9, 2.2));
  beam.addRect(QRectF(7.5, 18.8, 9, 2.2));
  return beam.simplified();
}

using Badge = std::function<void(QPainter&, const Look&)>;

void DrawShape(QPainter& p, const QPainterPath& shape, const Look& look) {
  p.setPen(QPen(Qt::black, look.outline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(look.fill);
  p.drawPath(shape);
}

// A small caret in the lower right corner: the link can be edited.
void EditBadge(QPainter& p, const Look& look) {
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(17, 13, 7, 11));
  p.setBrush(look.accent);
  p.drawRect(QRectF(19.8, 14, 1.4, 9));
  p.drawRect(QRectF(18, 14, 5, 1.3));
  p.drawRect(QRectF(18, 21.7, 5, 1.3));
}

// A small framed picture: the image carries a link.
void ImageBadge(QPainter& p, const Look& look) {
  p.setPen(QPen(Qt::black, 0.8));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(15.5, 15.5, 8, 7.5));
  QPainterPath hill;
  hill.moveTo(16, 22.5);
  hill.lineTo(19, 18);
  hill.lineTo(21, 20.5);
  hill.lineTo(23, 19);
  hill.lineTo(23, 22.5);
  hill.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(look.accent);
  p.drawPath(hill);
}

// A dashed frame: a click zone.
void ZoneBadge(QPainter& p, const Look& look) {
  p.setBrush(Qt::white);
  p.setPen(Qt::NoPen);
  p.drawRect(QRectF(15, 15, 9, 8.5));
  p.setPen(QPen(look.accent, 1.2, Qt::DashLine));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(16, 16, 7, 6.5));
}

bool Write(const QString& folder, const char* name, const QPainterPath& shape, const Badge& badge, QPointF hot,
           const Look& look) {
  QImage image(look.size, look.size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(look.size / kGrid, look.size / kGrid);
    DrawShape(p, shape, look);
    if (badge) badge(p, look);
  }
  const QPoint hotPixel = (hot * (look.size / kGrid)).toPoint();
  image.setText("HotX", QString::number(hotPixel.x()));
  image.setText("HotY", QString::number(hotPixel.y()));
  const QString path = folder + "/" + name + ".png";
  if (!image.save(path, "PNG")) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: tarn-make-cursors FOLDER\n");
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  // Normal: white and small; evident: yellow with a heavier outline; big:
  // one and a half times the size.
  const Look looks[] = {{32, Qt::white, Qt::black, 1.0},
                        {32, QColor(255, 221, 0), QColor(200, 0, 0), 1.5},
                        {48, Qt::white, Qt::black, 1.0},
                        {48, QColor(255, 221, 0), QColor(200, 0, 0), 1.5}};
  const char* prefixes[] = {"", "B", "S", "G"};
  const QPointF fingertip(8, 1);
  bool ok = true;
  for (int set = 0; set < 4; ++set) {
    const Look& look = looks[set];
    const QString prefix = prefixes[set];
    auto name = [&](const char* base) { return (prefix + base).toLatin1(); };
    ok &= Write(folder, name("HANDPNT").constData(), PointingHand(), nullptr, fingertip, look);
    ok &= Write(folder, name("EDITHAND").constData(), PointingHand(), EditBadge, fingertip, look);
    ok &= Write(folder, name("DEFMANO").constData(), PointingHand(), ImageBadge, fingertip, look);
    ok &= Write(folder, name("DEFMANOZ").constData(), PointingHand(), ZoneBadge, fingertip, look);
    if (set > 0) ok &= Write(folder, name("EDIT").constData(), IBeam(), nullptr, QPointF(12, 12), look);
  }
  ok &= Write(folder, "GRABBR", OpenHand(), nullptr, QPointF(12, 12), looks[0]);
  ok &= Write(folder, "FIST", Fist(), nullptr, QPointF(12, 12), looks[0]);
  return ok ? 0 : 1;
}
