// Drawing placed objects; see visualpaint.h.
#include "objects/ui/visualpaint.h"

#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>
#include <memory>

#include "document/aehpicture.h"
#include "document/aehset.h"
#include "document/aehtesto.h"
#include "document/placedrecords.h"
#include "document/recordfields.h"
#include "objects/visual/visualrecord.h"
#include "page/aehpage.h"
#include "page/workingcopy.h"
#include "platform/qt/qtcanvas.h"
#include "platform/qt/qtstrings.h"
#include "richtext/layout.h"
#include "richtext/pageobjects.h"
#include "richtext/tableobject.h"

namespace tarn::objects {
using namespace document::field;
namespace {

// Floating frames that show pages with floating frames stop here.
constexpr int kMaxFrameDepth = 3;
int g_frameDepth = 0;

class DepthGuard {
 public:
  DepthGuard() { ++g_frameDepth; }
  ~DepthGuard() { --g_frameDepth; }
  DepthGuard(const DepthGuard&) = delete;
  DepthGuard& operator=(const DepthGuard&) = delete;
};

// Glyphs: a colour and a letter or two for each marker.
struct GlyphLook {
  std::string_view name;
  QColor colour;
  const char* text;
};
constexpr std::uint32_t kGrey = 0xC0C0C0;

GlyphLook LookOf(std::string_view name) {
  static const GlyphLook looks[] = {
      {"notepad", QColor(255, 240, 150), "N"},  {"html", QColor(255, 200, 120), "<>"},
      {"binary", QColor(200, 200, 255), "01"},  {"lancia", QColor(200, 255, 200), "W"},
      {"ancora", QColor(120, 170, 255), "A"},   {"triang", QColor(255, 120, 120), "!"},
      {"imagelk", QColor(200, 230, 255), "Im"}, {"fogliolk", QColor(230, 230, 255), "Pg"},
      {"foglio", QColor(240, 240, 240), "Pg"},  {"fond", QColor(220, 220, 220), "F"},
      {"xcoord", QColor(220, 255, 220), "X"},   {"ycoord", QColor(220, 255, 220), "Y"},
      {"par", QColor(255, 230, 200), "P"},      {"dinlist", QColor(200, 240, 240), "DL"},
      {"dinhtml", QColor(200, 240, 240), "DH"}, {"iniziof", QColor(150, 220, 150), "F"},
      {"hidden", QColor(210, 210, 210), "H"},   {"nota", QColor(255, 220, 255), "\xE2\x99\xAA"},
      {"dbdb", QColor(230, 210, 180), "DB"},    {"dbquery", QColor(230, 210, 180), "Q"},
      {"dbbegin", QColor(230, 210, 180), "["},  {"dbend", QColor(230, 210, 180), "]"},
      {"dbcount", QColor(230, 210, 180), "#"},  {"dbfirst", QColor(230, 210, 180), "|<"},
      {"dblast", QColor(230, 210, 180), ">|"},  {"dbtesto", QColor(230, 210, 180), "T"},
      {"dbrep", QColor(230, 210, 180), "R"},    {"dbsalto", QColor(230, 210, 180), "J"},
  };
  for (const GlyphLook& look : looks) {
    if (look.name == name) return look;
  }
  return {name, QColor(kGrey >> 16, (kGrey >> 8) & 0xFF, kGrey & 0xFF), ""};
}

QString Name(const document::TAEHoggetto& record) {
  return platform::qt::ToQString(visual::PlaceholderName(record));
}

}  // namespace

QImage SharedImage(const document::TAEHpicture& picture) {
  const base::Bitmap& b = picture.Bitmap();
  if (b.Empty() || b.pixels.size() < static_cast<std::size_t>(b.width) * static_cast<std::size_t>(b.height)) {
    return {};
  }
  // 0xAARRGGBB words are Qt's ARGB32; a pixel's alpha is 0 or 255, so the
  // premultiplied and the straight forms agree and painting needs no copy.
  return QImage(reinterpret_cast<const uchar*>(b.pixels.data()), b.width, b.height, b.width * 4,
                QImage::Format_ARGB32);
}

bool PaintPicture(QPainter& painter, const QRect& rect, const document::TAEHpicture& picture) {
  if (!picture.Bitmap().Empty()) {
    painter.drawImage(rect, SharedImage(picture));
    return true;
  }
  if (!picture.Svg().empty()) {
    QSvgRenderer renderer(QByteArray::fromRawData(picture.Svg().data(), static_cast<qsizetype>(picture.Svg().size())));
    if (!renderer.isValid()) return false;
    renderer.render(&painter, QRectF(rect));
    return true;
  }
  return false;
}

void PaintPlaceholder(QPainter& painter, const QRect& rect, const QString& name) {
  painter.save();
  painter.fillRect(rect, QColor(245, 245, 245));
  painter.setPen(QColor(128, 128, 128));
  painter.drawRect(rect.adjusted(0, 0, -1, -1));
  // The cross says "no picture" where the name does not fit.
  painter.setPen(QColor(200, 200, 200));
  painter.drawLine(rect.topLeft(), rect.bottomRight());
  painter.drawLine(rect.topRight(), rect.bottomLeft());
  painter.setPen(Qt::black);
  QFont font = painter.font();
  font.setPointSize(8);
  painter.setFont(font);
  painter.drawText(rect.adjusted(3, 2, -3, -2), Qt::AlignCenter | Qt::TextWrapAnywhere, name);
  painter.restore();
}

void PaintGlyph(QPainter& painter, const QRect& rect, std::string_view name) {
  const GlyphLook look = LookOf(name);
  const QRect box(rect.topLeft(), QSize(visual::kGlyphSize, visual::kGlyphSize));
  painter.save();
  painter.fillRect(box.adjusted(1, 1, -1, -1), look.colour);
  painter.setPen(Qt::black);
  painter.drawRect(box.adjusted(1, 1, -2, -2));
  QFont font = painter.font();
  font.setPixelSize(9);
  font.setBold(true);
  painter.setFont(font);
  painter.drawText(box, Qt::AlignCenter, QString::fromUtf8(look.text));
  painter.restore();
}

void PaintControl(QPainter& painter, const QRect& rect, document::TAEHoggetto& record) {
  painter.save();
  const visual::VisualClass cls = visual::ClassOf(record);
  const QRect inner = rect.adjusted(0, 0, -1, -1);
  QFont font = painter.font();
  font.setPixelSize(11);
  painter.setFont(font);
  auto frame = [&](const QColor& fill) {
    painter.fillRect(rect, fill);
    painter.setPen(QColor(128, 128, 128));
    painter.drawRect(inner);
    painter.setPen(Qt::black);
  };
  switch (cls) {
    case visual::VisualClass::Edit: {
      frame(Qt::white);
      QString text;
      if (record.U8(kFieldHasValue) != 0) text = platform::qt::ToQString(record.Str(kFieldValue, kFieldValueCapacity));
      if (record.Subtype() == kFieldPassword) text = QString(text.size(), QLatin1Char('#'));
      painter.drawText(rect.adjusted(3, 0, -3, 0), Qt::AlignVCenter | Qt::AlignLeft, text);
      break;
    }
    case visual::VisualClass::Memo:
    case visual::VisualClass::ListBox: {
      frame(Qt::white);
      const bool list = cls == visual::VisualClass::ListBox;
      QStringList lines;
      if (list) {
        for (const document::ListItem& item : document::ListItems(record)) {
          lines << platform::qt::ToQString(item.shown);
        }
      } else if (record.U8(kFieldHasValue) != 0) {
        if (auto content = record.ReadContent()) lines = platform::qt::ToQString(*content).split(QLatin1Char('\n'));
      }
      int y = rect.top() + 2;
      for (const QString& line : lines) {
        if (y + visual::kListItemHeight > rect.bottom()) break;
        painter.drawText(QRect(rect.left() + 3, y, rect.width() - 6, visual::kListItemHeight),
                         Qt::AlignVCenter | Qt::AlignLeft, line.trimmed());
        y += visual::kListItemHeight;
      }
      break;
    }
    case visual::VisualClass::ComboBox: {
      frame(Qt::white);
      const auto items = document::ListItems(record);
      const int selected = visual::InitialSelection(items, true);
      if (selected >= 0) {
        painter.drawText(rect.adjusted(3, 0, -18, 0), Qt::AlignVCenter | Qt::AlignLeft,
                         platform::qt::ToQString(items[static_cast<std::size_t>(selected)].shown));
      }
      const QRect arrow(rect.right() - 15, rect.top() + 2, 13, rect.height() - 4);
      painter.fillRect(arrow, QColor(224, 224, 224));
      painter.drawText(arrow, Qt::AlignCenter, QStringLiteral("\u25BE"));
      break;
    }
    case visual::VisualClass::CheckBox:
    case visual::VisualClass::RadioButton: {
      const bool checked = record.U8(kFieldChecked) != 0;
      painter.setRenderHint(QPainter::Antialiasing);
      painter.setPen(QColor(96, 96, 96));
      painter.setBrush(Qt::white);
      if (cls == visual::VisualClass::CheckBox) {
        painter.drawRect(inner);
        if (checked) {
          painter.setPen(QPen(Qt::black, 2));
          painter.drawLine(rect.left() + 3, rect.center().y(), rect.center().x() - 1, rect.bottom() - 3);
          painter.drawLine(rect.center().x() - 1, rect.bottom() - 3, rect.right() - 2, rect.top() + 3);
        }
      } else {
        painter.drawEllipse(inner);
        if (checked) {
          painter.setBrush(Qt::black);
          painter.drawEllipse(QRectF(rect).adjusted(4, 4, -4, -4));
        }
      }
      break;
    }
    case visual::VisualClass::Button: {
      painter.fillRect(rect, QColor(224, 224, 224));
      painter.setPen(Qt::white);
      painter.drawLine(rect.topLeft(), rect.topRight());
      painter.drawLine(rect.topLeft(), rect.bottomLeft());
      painter.setPen(QColor(96, 96, 96));
      painter.drawLine(rect.bottomLeft(), rect.bottomRight());
      painter.drawLine(rect.topRight(), rect.bottomRight());
      painter.setPen(Qt::black);
      painter.drawText(rect, Qt::AlignCenter, platform::qt::ToQString(record.Str(kFieldValue, kFieldValueCapacity)));
      break;
    }
    default: frame(QColor(240, 240, 240)); break;
  }
  painter.restore();
}

void PaintPageInto(QPainter& painter, const QRect& rect, document::TAEHset& set, int pageIndex) {
  painter.save();
  painter.setClipRect(rect);
  painter.fillRect(rect, Qt::white);
  document::TAEHtesto* record = nullptr;
  if (auto* object = set.GetObject(document::testoHtml, pageIndex); object != nullptr && !object->IsFree()) {
    record = dynamic_cast<document::TAEHtesto*>(object);
  }
  if (record == nullptr || g_frameDepth >= kMaxFrameDepth) {
    painter.setPen(QColor(128, 128, 128));
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.restore();
    return;
  }
  DepthGuard depth;
  // The page is read into a copy of its own, not shown in a page view: a
  // page view that closes empties the hypertext's undo steps, and this runs
  // at every paint of the page that holds the frame.
  std::unique_ptr<page::WorkingCopy> copy = page::MakeWorkingCopy(set, *record, true);
  page::PlainTextBox box(set, *copy);
  painter.translate(rect.topLeft());
  platform::qt::QtCanvas canvas(&painter);
  const PictureHolds holds = SizePlacedObjects(box.Text(), rect.width());
  richtext::TextLayout layout(box.Text(), canvas);
  layout.layoutWidth = rect.width();
  layout.widestExtent = rect.width();
  layout.headerCount = box.HeaderCount();
  layout.footerCount = box.FooterCount();
  layout.LayoutAll();
  const platform::Rect area{0, 0, rect.width(), rect.height()};
  page::PaintPageBackground(canvas, area, *record);
  layout.Paint(canvas, area, {});
  richtext::PaintPlacedTables(canvas, box.Text(), 0, 0, true);
  PaintPlacedObjects(painter, box.Text(), false);
  painter.restore();
}

void PaintRecord(QPainter& painter, const QRect& rect, document::TAEHoggetto& record, bool editMode) {
  switch (visual::ClassOf(record)) {
    case visual::VisualClass::Image: {
      const document::TAEHpicture* picture = record.GetPicture();
      if (picture == nullptr || !PaintPicture(painter, rect, *picture)) PaintPlaceholder(painter, rect, Name(record));
      return;
    }
    case visual::VisualClass::BelPanel:
    case visual::VisualClass::InizioForm: {
      const visual::Glyph glyph = visual::GlyphOf(record);
      if (editMode || glyph.name == "triang") PaintGlyph(painter, rect, glyph.name);
      return;
    }
    case visual::VisualClass::Multimedia: {
      const visual::Glyph glyph = visual::GlyphOf(record);
      if (!glyph.name.empty()) {
        if (editMode) PaintGlyph(painter, rect, glyph.name);
        return;
      }
      PaintPlaceholder(painter, rect, Name(record));
      return;
    }
    case visual::VisualClass::Button:
      if (record.I32(kButtonImage) >= 0) {
        document::TAEHoggetto* image = document::ImageByField(record.Owner(), record.I32(kButtonImage));
        const document::TAEHpicture* picture = image != nullptr ? image->GetPicture() : nullptr;
        if (picture == nullptr || !PaintPicture(painter, rect, *picture)) PaintPlaceholder(painter, rect, Name(record));
        return;
      }
      PaintControl(painter, rect, record);
      return;
    case visual::VisualClass::Floating:
      if (record.Owner() != nullptr && visual::FloatingPage(record) >= 0) {
        PaintPageInto(painter, rect, *record.Owner(), visual::FloatingPage(record));
        painter.save();
        painter.setPen(QColor(128, 128, 128));
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
        painter.restore();
      } else {
        PaintPlaceholder(painter, rect, QStringLiteral("(no page)"));
      }
      return;
    case visual::VisualClass::None: return;
    default: PaintControl(painter, rect, record); return;
  }
}

PictureHolds SizePlacedObjects(richtext::RichText& text, int width) {
  PictureHolds holds;
  for (const auto& p : text.paragraphs) {
    for (richtext::EmbeddedObject* object : p->objects) {
      auto* placed = dynamic_cast<richtext::RecordObject*>(object);
      if (placed == nullptr || placed->Record() == nullptr || placed->IsTable()) continue;
      auto& record = const_cast<document::TAEHoggetto&>(*placed->Record());
      const visual::VisualClass cls = visual::ClassOf(record);
      if (cls == visual::VisualClass::None) continue;
      // A reader does not see the markers of scripts, anchors and forms.
      const bool marker = cls == visual::VisualClass::BelPanel || cls == visual::VisualClass::InizioForm ||
                          (cls == visual::VisualClass::Multimedia && !visual::GlyphOf(record).name.empty());
      if (marker && visual::GlyphOf(record).name != "triang") {
        placed->SetSize(0, 1);
        continue;
      }
      const visual::PixelSize size = record.Kind() == document::immagineNew
                                         ? visual::ImageDisplaySize(record)
                                         : visual::ResolveSize(visual::ObjectScreenSize(record), width, 0);
      placed->SetSize(size.width, size.height);
      if (record.Kind() == document::immagineNew && record.Owner() != nullptr) {
        if (auto picture = record.Owner()->SharedPicture(&record)) holds.push_back(std::move(picture));
      }
    }
  }
  return holds;
}

void PaintPlacedObjects(QPainter& painter, richtext::RichText& text, bool editMode) {
  for (const auto& p : text.paragraphs) {
    for (richtext::EmbeddedObject* object : p->objects) {
      auto* placed = dynamic_cast<richtext::RecordObject*>(object);
      if (placed == nullptr || placed->Record() == nullptr || object->placedX <= -20000) continue;
      const QRect rect(object->placedX, object->placedY, std::max(object->Width(), 1), std::max(object->Height(), 1));
      // Tables paint their own cells.
      if (object->IsTable()) continue;
      PaintRecord(painter, rect, const_cast<document::TAEHoggetto&>(*placed->Record()), editMode);
    }
  }
}

}  // namespace tarn::objects
