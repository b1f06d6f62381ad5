// The HTML writer's vocabulary; see htmlwords.h.
#include "convert/htmlwords.h"

#include <cmath>

#include "base/hex.h"
#include "markup/entities.h"

namespace tarn::convert {
namespace {

constexpr unsigned char kClosingDoubleQuote = 148;
constexpr unsigned char kClosingSingleQuote = 146;
constexpr unsigned char kLastNamedCharacter = 251;

}  // namespace

void AppendHtmlText(std::string& out, unsigned char c) {
  if (c >= 1 && c <= 31) return;
  switch (c) {
    case '&': out += "&amp;"; return;
    case '<': out += "&lt;"; return;
    case '>': out += "&gt;"; return;
    default: break;
  }
  if (c >= 160 && c <= kLastNamedCharacter) {
    out += '&';
    out += markup::Latin1EntityName(c);
    out += ';';
    return;
  }
  out.push_back(static_cast<char>(c));
}

std::string AttributeEscape(std::string_view text) {
  std::string out(text);
  for (char& ch : out) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '"') ch = static_cast<char>(kClosingDoubleQuote);
    else if (c == '\'') ch = static_cast<char>(kClosingSingleQuote);
    else if (c < 32 || c == 127 || c == '<' || c == '>' || c == '#' || c == '$' || c == '%' || c == '&') ch = ' ';
  }
  return out;
}

std::string HtmlColour(std::uint32_t colour) {
  // Stored colours are red in the low byte; HTML writes red first.
  std::string out;
  for (int shift : {0, 8, 16}) base::AppendHex(out, (colour >> shift) & 0xFF, 2, true);
  return out;
}

std::string_view FontSizeCode(int points) {
  if (points <= 8) return "-2";
  if (points <= 10) return "-1";
  if (points <= 12) return "+0";
  if (points <= 14) return "+1";
  if (points <= 19) return "+2";
  if (points <= 27) return "+3";
  if (points <= 34) return "+4";
  // Written as the old program did: browsers read it as the largest size.
  return "34";
}

std::string_view AlignmentWord(int alignment) {
  switch (alignment) {
    case 1: return "right";
    case 2: return "center";
    case 3: return "justify";
    default: return "left";
  }
}

std::string LengthInUnit(int pixels, int unit, int pixelsPerInch) {
  static constexpr std::string_view kSuffix[] = {"cm", "mm", "in", "pt", "pc", "px"};
  static constexpr double kPerInch[] = {2.54, 25.4, 1.0, 72.0, 6.0, 0.0};
  const double ppi = pixelsPerInch > 0 ? pixelsPerInch : 96.0;
  // An unknown unit is written in pixels, which needs no conversion.
  const int u = unit >= 0 && unit <= 5 ? unit : 5;
  const double value = u == 5 ? pixels : pixels / ppi * kPerInch[u];
  const auto rounded = static_cast<long long>(std::nearbyint(value));
  return std::to_string(rounded) + std::string(kSuffix[u]);
}

std::string Hex6(std::int64_t n) { return base::ToHex(static_cast<std::uint32_t>(n), 6); }

}  // namespace tarn::convert
