// The one place where document text (cp1252 bytes) meets Qt's Unicode
// strings.
#pragma once

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace tarn::platform::qt {

QString ToQString(std::string_view cp1252);
// Characters without a cp1252 code make the conversion fail: the caller
// refuses them visibly instead of storing something else.
std::optional<std::string> FromQString(const QString& text);
// A file path as Qt wants it (paths on disk are UTF-8 bytes).
QString PathToQString(const std::string& utf8);

}  // namespace tarn::platform::qt
