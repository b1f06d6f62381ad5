// The system clipboard; see qtclipboard.h.
#include "platform/qt/qtclipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include "platform/qt/qtstrings.h"

namespace tarn::platform::qt {
namespace {

QImage ToQImage(const base::Bitmap& bitmap) {
  QImage image(bitmap.width, bitmap.height, QImage::Format_ARGB32);
  if (bitmap.pixels.size() < static_cast<std::size_t>(bitmap.width) * static_cast<std::size_t>(bitmap.height)) return {};
  for (int y = 0; y < bitmap.height; ++y) {
    for (int x = 0; x < bitmap.width; ++x) image.setPixel(x, y, bitmap.At(x, y));
  }
  return image;
}

}  // namespace

std::string TextFromSystem(const QString& text) {
  if (std::optional<std::string> whole = FromQString(text)) return *whole;
  std::string out;
  for (const char32_t code : text.toUcs4()) {
    const std::optional<std::string> one = FromQString(QString::fromUcs4(&code, 1));
    out += one ? *one : std::string("?");
  }
  return out;
}

void QtClipboard::Set(const ClipboardData& data) {
  auto* mime = new QMimeData();
  for (const auto& item : data.items) {
    if (item.mimeType == kMimeText) {
      mime->setText(ToQString(item.bytes));
    } else {
      mime->setData(QString::fromStdString(item.mimeType),
                    QByteArray(item.bytes.data(), static_cast<qsizetype>(item.bytes.size())));
    }
  }
  if (!data.image.Empty()) {
    const QImage image = ToQImage(data.image);
    if (!image.isNull()) mime->setImageData(image);
  }
  QGuiApplication::clipboard()->setMimeData(mime);
}

ClipboardData QtClipboard::Get() {
  ClipboardData data;
  const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
  if (mime == nullptr) return data;
  for (std::string_view type : {kMimeObjects, kMimePicture, kMimeZone, kMimeRtf}) {
    const QString name = QString::fromLatin1(type.data(), static_cast<qsizetype>(type.size()));
    if (mime->hasFormat(name)) {
      const QByteArray bytes = mime->data(name);
      data.items.push_back({std::string(type), std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()))});
    }
  }
  if (mime->hasText()) data.items.push_back({std::string(kMimeText), TextFromSystem(mime->text())});
  // FIXME: images from the clipboard become pictures once picture objects
  // can be made from a bitmap.
  return data;
}

}  // namespace tarn::platform::qt
