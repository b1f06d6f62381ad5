// cp1252 and Qt strings; see qtstrings.h.
#include "platform/qt/qtstrings.h"

#include "base/cp1252.h"

namespace tarn::platform::qt {

QString ToQString(std::string_view cp1252) {
  QString out;
  out.reserve(static_cast<qsizetype>(cp1252.size()));
  for (char c : cp1252) out.append(QChar(static_cast<char16_t>(base::Cp1252ToUnicode(static_cast<unsigned char>(c)))));
  return out;
}

std::optional<std::string> FromQString(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return base::Utf8ToCp1252(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

QString PathToQString(const std::string& utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

}  // namespace tarn::platform::qt
