// JSON string quoting; see json.h.
#include "json.h"

#include <cstdio>

#include "base/cp1252.h"

namespace tarn::cli {

std::string JsonString(std::string_view cp1252) {
  const std::string utf8 = base::Cp1252ToUtf8(cp1252);
  std::string out = "\"";
  for (char c : utf8) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
          out += buf;
        } else {
          out += c;
        }
    }
  }
  out += '"';
  return out;
}

}  // namespace tarn::cli
