// Toolbar pictures; see commandicons.h. Each drawing is made of a few
// shapes on a 32-pixel grid (a page, a folder, an arrow, a grid, a letter),
// in the colours of the old toolbars: dark outlines, one strong colour.
#include "app/ui/commandicons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>
#include <map>
#include <string>

namespace tarn::app::ui {
namespace {

constexpr int kSize = 32;
const QColor kInk(40, 40, 40);
const QColor kPaper(255, 255, 255);
const QColor kBlue(30, 90, 190);
const QColor kGreen(30, 140, 60);
const QColor kRed(200, 40, 40);
const QColor kYellow(235, 190, 40);

using Drawing = std::function<void(QPainter&)>;

void Pen(QPainter& p, const QColor& colour, qreal width = 2) {
  p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

// A sheet of paper with a folded corner.
void Page(QPainter& p, QRectF r = {7, 3, 18, 26}) {
  QPainterPath path;
  path.moveTo(r.left(), r.top());
  path.lineTo(r.right() - 6, r.top());
  path.lineTo(r.right(), r.top() + 6);
  path.lineTo(r.right(), r.bottom());
  path.lineTo(r.left(), r.bottom());
  path.closeSubpath();
  Pen(p, kInk, 1.5);
  p.setBrush(kPaper);
  p.drawPath(path);
  p.drawLine(QPointF(r.right() - 6, r.top()), QPointF(r.right() - 6, r.top() + 6));
  p.drawLine(QPointF(r.right() - 6, r.top() + 6), QPointF(r.right(), r.top() + 6));
}

void TextLines(QPainter& p, QRectF r, int alignment) {
  Pen(p, kInk, 2);
  const qreal widths[] = {1.0, 0.6, 0.85, 0.5};
  for (int i = 0; i < 4; ++i) {
    const qreal w = r.width() * widths[i];
    const qreal y = r.top() + i * r.height() / 3.5;
    qreal x = r.left();
    if (alignment == 1) x = r.right() - w;
    if (alignment == 2) x = r.left() + (r.width() - w) / 2;
    p.drawLine(QPointF(x, y), QPointF(x + w, y));
  }
}

void Arrow(QPainter& p, bool right, const QColor& colour = kBlue) {
  QPolygonF shape{{4, 16}, {15, 6}, {15, 12}, {28, 12}, {28, 20}, {15, 20}, {15, 26}};
  if (right) {
    for (QPointF& point : shape) point.setX(kSize - point.x());
  }
  Pen(p, colour.darker(140), 1.5);
  p.setBrush(colour);
  p.drawPolygon(shape);
}

void Folder(QPainter& p) {
  Pen(p, kInk, 1.5);
  p.setBrush(kYellow);
  QPolygonF back{{3, 9}, {11, 9}, {14, 12}, {28, 12}, {28, 27}, {3, 27}};
  p.drawPolygon(back);
  p.setBrush(kYellow.lighter(120));
  QPolygonF front{{3, 27}, {7, 16}, {31, 16}, {28, 27}};
  p.drawPolygon(front);
}

void Disk(QPainter& p) {
  Pen(p, kInk, 1.5);
  p.setBrush(kBlue);
  p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
  p.setBrush(kPaper);
  p.drawRect(QRectF(9, 4, 14, 9));
  p.setBrush(QColor(220, 220, 220));
  p.drawRect(QRectF(8, 18, 16, 10));
}

void Letter(QPainter& p, const QString& text, const QColor& colour, int pixelSize = 22, bool bold = true,
            bool italic = false, QRectF box = {0, 0, kSize, kSize}) {
  QFont font(QStringLiteral("Liberation Serif"));
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  font.setItalic(italic);
  p.setFont(font);
  p.setPen(colour);
  p.drawText(box, Qt::AlignCenter, text);
}

void Plus(QPainter& p, QPointF at, const QColor& colour = kGreen) {
  Pen(p, colour, 3);
  p.drawLine(at + QPointF(-5, 0), at + QPointF(5, 0));
  p.drawLine(at + QPointF(0, -5), at + QPointF(0, 5));
}

void Cross(QPainter& p, QPointF at) {
  Pen(p, kRed, 3);
  p.drawLine(at + QPointF(-4, -4), at + QPointF(4, 4));
  p.drawLine(at + QPointF(-4, 4), at + QPointF(4, -4));
}

void Grid(QPainter& p, QRectF r, int rows, int columns, int highlightRow = -1, int highlightColumn = -1) {
  Pen(p, kInk, 1.5);
  p.setBrush(kPaper);
  p.drawRect(r);
  const qreal h = r.height() / rows;
  const qreal w = r.width() / columns;
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(170, 200, 240));
  if (highlightRow >= 0) p.drawRect(QRectF(r.left(), r.top() + highlightRow * h, r.width(), h));
  if (highlightColumn >= 0) p.drawRect(QRectF(r.left() + highlightColumn * w, r.top(), w, r.height()));
  Pen(p, kInk, 1.5);
  p.setBrush(Qt::NoBrush);
  p.drawRect(r);
  for (int i = 1; i < rows; ++i) p.drawLine(QPointF(r.left(), r.top() + i * h), QPointF(r.right(), r.top() + i * h));
  for (int i = 1; i < columns; ++i) {
    p.drawLine(QPointF(r.left() + i * w, r.top()), QPointF(r.left() + i * w, r.bottom()));
  }
}

void Picture(QPainter& p, QRectF r = {3, 6, 26, 20}) {
  Pen(p, kInk, 1.5);
  p.setBrush(QColor(190, 225, 250));
  p.drawRect(r);
  p.setBrush(kGreen);
  p.drawPolygon(QPolygonF{{r.left(), r.bottom()},
                          {r.left() + r.width() * 0.35, r.top() + r.height() * 0.4},
                          {r.left() + r.width() * 0.6, r.top() + r.height() * 0.7},
                          {r.left() + r.width() * 0.75, r.top() + r.height() * 0.5},
                          {r.right(), r.bottom()}});
  p.setBrush(kYellow);
  p.drawEllipse(QPointF(r.right() - r.width() * 0.2, r.top() + r.height() * 0.25), 3, 3);
}

void Chain(QPainter& p, QPointF at = {16, 16}, qreal scale = 1) {
  Pen(p, kBlue, 2.5 * scale);
  p.setBrush(Qt::NoBrush);
  p.save();
  p.translate(at);
  p.rotate(-45);
  p.drawRoundedRect(QRectF(-11 * scale, -4 * scale, 12 * scale, 8 * scale), 4 * scale, 4 * scale);
  p.drawRoundedRect(QRectF(-1 * scale, -4 * scale, 12 * scale, 8 * scale), 4 * scale, 4 * scale);
  p.restore();
}

void DashedZone(QPainter& p, QRectF r = {4, 6, 20, 16}) {
  p.setPen(QPen(kRed, 2, Qt::DashLine));
  p.setBrush(QColor(250, 220, 220));
  p.drawRect(r);
}

void Frames(QPainter& p) {
  Pen(p, kInk, 1.5);
  p.setBrush(kPaper);
  p.drawRect(QRectF(3, 4, 26, 24));
  p.setBrush(QColor(200, 220, 245));
  p.drawRect(QRectF(3, 4, 9, 24));
  p.drawLine(QPointF(12, 14), QPointF(29, 14));
}

void Overlap(QPainter& p, bool frontFirst) {
  const QRectF back(4, 4, 16, 14);
  const QRectF front(12, 13, 16, 14);
  Pen(p, kInk, 1.5);
  p.setBrush(frontFirst ? QColor(200, 200, 200) : kBlue);
  p.drawRect(back);
  p.setBrush(frontFirst ? kBlue : QColor(200, 200, 200));
  p.drawRect(front);
}

void Key(QPainter& p, QPointF at = {12, 12}) {
  Pen(p, QColor(150, 110, 20), 3);
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(at, 5, 5);
  p.drawLine(at + QPointF(4, 4), at + QPointF(15, 15));
  p.drawLine(at + QPointF(11, 11), at + QPointF(8, 14));
  p.drawLine(at + QPointF(14, 14), at + QPointF(11, 17));
}

void Pencil(QPainter& p, QPointF tip = {8, 26}) {
  Pen(p, kInk, 1.2);
  p.setBrush(kYellow);
  p.save();
  p.translate(tip);
  p.rotate(-45);
  p.drawPolygon(QPolygonF{{0, 0}, {6, -3}, {24, -3}, {24, 3}, {6, 3}});
  p.setBrush(kInk);
  p.drawPolygon(QPolygonF{{0, 0}, {3, -1.5}, {3, 1.5}});
  p.restore();
}

void Lines(QPainter& p, int kind) {
  // kind 0 bullets, 1 numbers
  for (int i = 0; i < 3; ++i) {
    const qreal y = 8 + i * 8;
    if (kind == 0) {
      p.setPen(Qt::NoPen);
      p.setBrush(kInk);
      p.drawEllipse(QPointF(6, y), 2.5, 2.5);
    } else {
      Letter(p, QString::number(i + 1), kInk, 9, true, false, QRectF(0, y - 6, 11, 12));
    }
    Pen(p, kInk, 2);
    p.drawLine(QPointF(12, y), QPointF(28, y));
  }
}

void Indent(QPainter& p, bool more) {
  Pen(p, kInk, 2);
  for (int i = 0; i < 4; ++i) {
    const qreal y = 6 + i * 6.5;
    p.drawLine(QPointF(i == 0 || i == 3 ? 4 : 15, y), QPointF(28, y));
  }
  Pen(p, kBlue, 2.5);
  if (more) {
    p.drawLine(QPointF(4, 13), QPointF(10, 16));
    p.drawLine(QPointF(4, 19), QPointF(10, 16));
  } else {
    p.drawLine(QPointF(10, 13), QPointF(4, 16));
    p.drawLine(QPointF(10, 19), QPointF(4, 16));
  }
}

void Curve(QPainter& p, bool undo) {
  QPainterPath path;
  if (undo) {
    path.moveTo(9, 13);
    path.cubicTo(14, 6, 28, 8, 26, 20);
    path.cubicTo(25, 25, 20, 27, 16, 26);
  } else {
    path.moveTo(23, 13);
    path.cubicTo(18, 6, 4, 8, 6, 20);
    path.cubicTo(7, 25, 12, 27, 16, 26);
  }
  Pen(p, kBlue, 3);
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
  p.setBrush(kBlue);
  p.setPen(Qt::NoPen);
  if (undo) {
    p.drawPolygon(QPolygonF{{3, 8}, {13, 9}, {7, 17}});
  } else {
    p.drawPolygon(QPolygonF{{29, 8}, {19, 9}, {25, 17}});
  }
}

void Printer(QPainter& p) {
  Pen(p, kInk, 1.5);
  p.setBrush(kPaper);
  p.drawRect(QRectF(9, 3, 14, 10));
  p.setBrush(QColor(180, 180, 180));
  p.drawRoundedRect(QRectF(3, 12, 26, 12), 2, 2);
  p.setBrush(kPaper);
  p.drawRect(QRectF(8, 20, 16, 9));
  p.setBrush(kGreen);
  p.setPen(Qt::NoPen);
  p.drawEllipse(QPointF(24, 16), 1.5, 1.5);
}

void Clipboard(QPainter& p) {
  Pen(p, kInk, 1.5);
  p.setBrush(QColor(190, 140, 80));
  p.drawRoundedRect(QRectF(5, 5, 20, 24), 2, 2);
  p.setBrush(QColor(200, 200, 200));
  p.drawRect(QRectF(11, 3, 8, 5));
  Page(p, QRectF(12, 11, 16, 19));
}

void Scissors(QPainter& p) {
  Pen(p, kInk, 2);
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(9, 24), 4, 4);
  p.drawEllipse(QPointF(23, 24), 4, 4);
  p.drawLine(QPointF(11, 21), QPointF(22, 4));
  p.drawLine(QPointF(21, 21), QPointF(10, 4));
}

void Copy(QPainter& p) {
  Page(p, QRectF(4, 3, 15, 20));
  Page(p, QRectF(13, 9, 15, 20));
}

void Film(QPainter& p) {
  Pen(p, kInk, 1.5);
  p.setBrush(QColor(60, 60, 60));
  p.drawRect(QRectF(4, 7, 24, 18));
  p.setBrush(kPaper);
  for (int i = 0; i < 5; ++i) {
    p.drawRect(QRectF(6 + i * 4.6, 8.5, 2.5, 2.5));
    p.drawRect(QRectF(6 + i * 4.6, 21, 2.5, 2.5));
  }
  p.setBrush(QColor(190, 225, 250));
  p.drawRect(QRectF(8, 12.5, 16, 7));
}

void Field(QPainter& p) {
  Pen(p, kInk, 1.5);
  p.setBrush(kPaper);
  p.drawRect(QRectF(3, 10, 26, 12));
  Pen(p, kInk, 1.5);
  p.drawLine(QPointF(7, 13), QPointF(7, 19));
}

void PushButton(QPainter& p) {
  Pen(p, kInk, 1.5);
  p.setBrush(QColor(215, 215, 215));
  p.drawRoundedRect(QRectF(3, 9, 26, 14), 4, 4);
  Letter(p, QStringLiteral("OK"), kInk, 9, true, false, QRectF(3, 9, 26, 14));
}

void FloatingFrame(QPainter& p) {
  Page(p);
  Pen(p, kBlue, 1.5);
  p.setBrush(QColor(200, 220, 245));
  p.drawRect(QRectF(11, 11, 12, 10));
}

void Puzzle(QPainter& p) {
  Pen(p, kInk, 1.5);
  p.setBrush(QColor(150, 110, 200));
  QPainterPath path;
  path.addRect(QRectF(5, 9, 18, 18));
  path.addEllipse(QPointF(14, 9), 4, 4);
  path.addEllipse(QPointF(23, 18), 4, 4);
  p.drawPath(path.simplified());
}

void Database(QPainter& p) {
  Pen(p, kInk, 1.5);
  p.setBrush(QColor(200, 200, 220));
  p.drawRect(QRectF(7, 8, 18, 17));
  p.drawEllipse(QRectF(7, 21, 18, 7));
  p.setPen(Qt::NoPen);
  p.drawRect(QRectF(7.8, 8, 16.4, 16));
  Pen(p, kInk, 1.5);
  p.drawLine(QPointF(7, 8), QPointF(7, 25));
  p.drawLine(QPointF(25, 8), QPointF(25, 25));
  p.drawEllipse(QRectF(7, 4, 18, 7));
}

void House(QPainter& p) {
  Pen(p, kInk, 1.5);
  p.setBrush(kRed);
  p.drawPolygon(QPolygonF{{3, 15}, {16, 4}, {29, 15}});
  p.setBrush(kYellow.lighter(130));
  p.drawRect(QRectF(7, 15, 18, 13));
  p.setBrush(QColor(150, 100, 50));
  p.drawRect(QRectF(14, 20, 5, 8));
}

void Contents(QPainter& p) {
  Page(p);
  Pen(p, kBlue, 2);
  for (int i = 0; i < 4; ++i) {
    p.drawPoint(QPointF(11, 11 + i * 4.5));
    p.drawLine(QPointF(14, 11 + i * 4.5), QPointF(21, 11 + i * 4.5));
  }
}

void Magnifier(QPainter& p, QPointF at = {13, 13}) {
  Pen(p, kInk, 2.5);
  p.setBrush(QColor(220, 240, 255));
  p.drawEllipse(at, 7, 7);
  Pen(p, kInk, 4);
  p.drawLine(at + QPointF(5, 5), at + QPointF(13, 13));
}

void EditPreview(QPainter& p) {
  Page(p);
  Pencil(p, QPointF(9, 27));
}

const std::map<std::string, Drawing, std::less<>>& Drawings() {
  static const std::map<std::string, Drawing, std::less<>> drawings = {
      {"BPrecedente", [](QPainter& p) { Arrow(p, false); }},
      {"Bseguente", [](QPainter& p) { Arrow(p, true); }},
      {"BFileOpen", [](QPainter& p) { Folder(p); }},
      {"BfileSave", [](QPainter& p) { Disk(p); }},
      {"BFileExport",
       [](QPainter& p) {
         Page(p, QRectF(3, 3, 16, 22));
         Pen(p, kGreen, 3);
         p.drawLine(QPointF(14, 20), QPointF(28, 20));
         p.drawLine(QPointF(23, 15), QPointF(28, 20));
         p.drawLine(QPointF(23, 25), QPointF(28, 20));
       }},
      {"PrintButton", [](QPainter& p) { Printer(p); }},
      {"EditButton", [](QPainter& p) { EditPreview(p); }},
      {"CoverButton", [](QPainter& p) { House(p); }},
      {"SummaryButton", [](QPainter& p) { Contents(p); }},
      {"CercaKeyButton",
       [](QPainter& p) {
         Magnifier(p, QPointF(12, 12));
         Key(p, QPointF(20, 18));
       }},
      {"NewButton",
       [](QPainter& p) {
         Page(p);
         Plus(p, QPointF(23, 23));
       }},
      {"BDBloc", [](QPainter& p) { Database(p); }},
      {"FontButton", [](QPainter& p) { Letter(p, QStringLiteral("A"), kBlue, 24); }},
      {"BoldButton", [](QPainter& p) { Letter(p, QStringLiteral("B"), kInk, 24); }},
      {"ItalicButton", [](QPainter& p) { Letter(p, QStringLiteral("I"), kInk, 24, true, true); }},
      {"LinkButton", [](QPainter& p) { Chain(p); }},
      {"StyleParButton", [](QPainter& p) { Letter(p, QString(QChar(0x00B6)), kInk, 24); }},
      {"LeftAlign", [](QPainter& p) { TextLines(p, QRectF(4, 7, 24, 20), 0); }},
      {"CenterAlign", [](QPainter& p) { TextLines(p, QRectF(4, 7, 24, 20), 2); }},
      {"RightAlign", [](QPainter& p) { TextLines(p, QRectF(4, 7, 24, 20), 1); }},
      {"BulletsButton", [](QPainter& p) { Lines(p, 0); }},
      {"NumberButton", [](QPainter& p) { Lines(p, 1); }},
      {"RiduciRientroButton", [](QPainter& p) { Indent(p, false); }},
      {"AumentaRientroButton", [](QPainter& p) { Indent(p, true); }},
      {"BfileImport",
       [](QPainter& p) {
         Page(p, QRectF(13, 3, 16, 22));
         Pen(p, kGreen, 3);
         p.drawLine(QPointF(3, 20), QPointF(17, 20));
         p.drawLine(QPointF(12, 15), QPointF(17, 20));
         p.drawLine(QPointF(12, 25), QPointF(17, 20));
       }},
      {"CutButton", [](QPainter& p) { Scissors(p); }},
      {"CopyButton", [](QPainter& p) { Copy(p); }},
      {"PasteButton", [](QPainter& p) { Clipboard(p); }},
      {"UndoButton", [](QPainter& p) { Curve(p, true); }},
      {"RedoButton", [](QPainter& p) { Curve(p, false); }},
      {"NestedButton", [](QPainter& p) { Frames(p); }},
      {"NuovaPagina",
       [](QPainter& p) {
         Page(p);
         TextLines(p, QRectF(10, 12, 10, 10), 0);
         Plus(p, QPointF(23, 24));
       }},
      {"KeyPageButton",
       [](QPainter& p) {
         Page(p);
         Key(p, QPointF(13, 12));
       }},
      {"PropCorn",
       [](QPainter& p) {
         Frames(p);
         Pencil(p, QPointF(14, 29));
       }},
      {"BpropPagina",
       [](QPainter& p) {
         Page(p);
         Letter(p, QStringLiteral("i"), kBlue, 16, true, false, QRectF(7, 8, 18, 20));
       }},
      {"ImageButton", [](QPainter& p) { Picture(p); }},
      {"TableButton", [](QPainter& p) { Grid(p, QRectF(3, 5, 26, 22), 3, 3, 0); }},
      {"InputsButton", [](QPainter& p) { Field(p); }},
      {"ButtonButton", [](QPainter& p) { PushButton(p); }},
      {"AniButton", [](QPainter& p) { Film(p); }},
      {"FloatingButton", [](QPainter& p) { FloatingFrame(p); }},
      {"CustomButton", [](QPainter& p) { Puzzle(p); }},
      {"BinsDBloc", [](QPainter& p) { Database(p); }},
      {"ImageProp",
       [](QPainter& p) {
         Picture(p, QRectF(2, 4, 22, 17));
         Letter(p, QStringLiteral("i"), kBlue, 16, true, false, QRectF(16, 14, 16, 18));
       }},
      {"LinkImmagine",
       [](QPainter& p) {
         Picture(p, QRectF(2, 3, 22, 17));
         Chain(p, QPointF(21, 22), 0.8);
       }},
      {"AddClickZone",
       [](QPainter& p) {
         DashedZone(p);
         Plus(p, QPointF(24, 24));
       }},
      {"CancelClickZone",
       [](QPainter& p) {
         DashedZone(p);
         Cross(p, QPointF(24, 24));
       }},
      {"SecondoPiano", [](QPainter& p) { Overlap(p, true); }},
      {"PrimoPiano", [](QPainter& p) { Overlap(p, false); }},
      {"LinkZone",
       [](QPainter& p) {
         DashedZone(p, QRectF(2, 3, 20, 15));
         Chain(p, QPointF(21, 22), 0.8);
       }},
      {"BEditImage",
       [](QPainter& p) {
         Picture(p, QRectF(2, 3, 24, 19));
         Pencil(p, QPointF(12, 30));
       }},
      {"FloatProp",
       [](QPainter& p) {
         FloatingFrame(p);
         Letter(p, QStringLiteral("i"), kBlue, 12, true, false, QRectF(11, 10, 12, 12));
       }},
      {"ToolbarButton974",
       [](QPainter& p) {
         FloatingFrame(p);
         Pencil(p, QPointF(11, 30));
       }},
      {"PrecFloating",
       [](QPainter& p) {
         FloatingFrame(p);
         Pen(p, kBlue, 2.5);
         p.drawLine(QPointF(20, 16), QPointF(14, 16));
         p.drawLine(QPointF(14, 16), QPointF(17, 13));
         p.drawLine(QPointF(14, 16), QPointF(17, 19));
       }},
      {"TableProp",
       [](QPainter& p) {
         Grid(p, QRectF(2, 3, 24, 20), 3, 3);
         Letter(p, QStringLiteral("i"), kBlue, 16, true, false, QRectF(16, 14, 16, 18));
       }},
      {"AddCol",
       [](QPainter& p) {
         Grid(p, QRectF(2, 4, 22, 22), 2, 3, -1, 2);
         Plus(p, QPointF(25, 25));
       }},
      {"AddRow",
       [](QPainter& p) {
         Grid(p, QRectF(2, 4, 22, 22), 3, 2, 2);
         Plus(p, QPointF(25, 25));
       }},
      {"BaggInTab",
       [](QPainter& p) {
         Grid(p, QRectF(2, 4, 22, 22), 3, 3, 2, 2);
         Plus(p, QPointF(25, 25));
       }},
      {"CancColonna",
       [](QPainter& p) {
         Grid(p, QRectF(2, 4, 22, 22), 2, 3, -1, 1);
         Cross(p, QPointF(25, 25));
       }},
      {"CancRiga",
       [](QPainter& p) {
         Grid(p, QRectF(2, 4, 22, 22), 3, 2, 1);
         Cross(p, QPointF(25, 25));
       }},
  };
  return drawings;
}

// The desktop theme's names for the buttons that have a common meaning.
const std::map<std::string, const char*, std::less<>>& ThemeNames() {
  static const std::map<std::string, const char*, std::less<>> names = {
      {"BPrecedente", "go-previous"},  {"Bseguente", "go-next"},      {"BFileOpen", "document-open"},
      {"BfileSave", "document-save"},  {"PrintButton", "document-print"}, {"NewButton", "document-new"},
      {"CoverButton", "go-home"},      {"CutButton", "edit-cut"},     {"CopyButton", "edit-copy"},
      {"PasteButton", "edit-paste"},   {"UndoButton", "edit-undo"},   {"RedoButton", "edit-redo"},
      {"BoldButton", "format-text-bold"}, {"ItalicButton", "format-text-italic"},
      {"LeftAlign", "format-justify-left"}, {"CenterAlign", "format-justify-center"},
      {"RightAlign", "format-justify-right"}, {"RiduciRientroButton", "format-indent-less"},
      {"AumentaRientroButton", "format-indent-more"},
  };
  return names;
}

}  // namespace

QIcon CommandIcon(std::string_view buttonName) {
  QIcon drawn;
  const auto& drawings = Drawings();
  if (const auto it = drawings.find(buttonName); it != drawings.end()) {
    for (int size : {16, 24, 32}) {
      QPixmap pixmap(size, size);
      pixmap.fill(Qt::transparent);
      QPainter painter(&pixmap);
      painter.setRenderHint(QPainter::Antialiasing);
      painter.scale(size / static_cast<qreal>(kSize), size / static_cast<qreal>(kSize));
      it->second(painter);
      painter.end();
      drawn.addPixmap(pixmap);
    }
  } else {
    // Every button has a drawing; a new one without gets its initial.
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    Letter(painter, QString::fromLatin1(buttonName.substr(0, 1).data(), 1), kBlue);
    painter.end();
    drawn.addPixmap(pixmap);
  }
  const auto& themes = ThemeNames();
  if (const auto it = themes.find(buttonName); it != themes.end()) {
    return QIcon::fromTheme(QString::fromLatin1(it->second), drawn);
  }
  return drawn;
}

}  // namespace tarn::app::ui
