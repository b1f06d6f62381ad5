// CSS for HTML import; see htmlcss.h.
#include "convert/htmlcss.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/cp1252.h"
#include "base/hex.h"
#include "document/recordfields.h"

namespace tarn::convert {
namespace {

constexpr std::string_view kGeneratedSheet = "/* Lanternfield Tarn automatic CSS */";
constexpr std::int32_t kDefaultCssSize = 10;

struct NamedColour {
  std::string_view name;
  std::uint32_t rgb;  // written red, green, blue
};
constexpr NamedColour kColourNames[] = {
    {"black", 0x000000}, {"silver", 0xC0C0C0}, {"gray", 0x808080},   {"white", 0xFFFFFF},
    {"maroon", 0x800000}, {"red", 0xFF0000},   {"purple", 0x800080}, {"fuchsia", 0xFF00FF},
    {"green", 0x008000}, {"lime", 0x00FF00},   {"olive", 0x808000},  {"yellow", 0xFFFF00},
    {"navy", 0x000080},  {"blue", 0x0000FF},   {"teal", 0x008080},   {"aqua", 0x00FFFF},
};

std::string_view Trim(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

std::string_view Unquote(std::string_view s) {
  s = Trim(s);
  if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front()) s = s.substr(1, s.size() - 2);
  return Trim(s);
}

std::uint32_t FromRgb(std::uint32_t rgb) { return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16); }

// The leading number of a value ("," read as "."), and what follows it.
bool LeadingNumber(std::string_view value, double& number, std::string_view& rest) {
  std::string digits;
  std::size_t i = 0;
  if (i < value.size() && (value[i] == '-' || value[i] == '+')) digits.push_back(value[i++]);
  bool any = false;
  while (i < value.size() && ((value[i] >= '0' && value[i] <= '9') || value[i] == '.' || value[i] == ',')) {
    any = any || (value[i] >= '0' && value[i] <= '9');
    digits.push_back(value[i] == ',' ? '.' : value[i]);
    ++i;
  }
  if (!any) return false;
  number = std::strtod(digits.c_str(), nullptr);
  rest = Trim(value.substr(i));
  return std::isfinite(number);
}

// A length with its unit in pixels; false for values without a known unit
// (a bare 0 is zero in any unit).
bool Length(std::string_view value, int pixelsPerInch, std::int32_t& pixels, int& unit) {
  static constexpr std::string_view kSuffix[] = {"cm", "mm", "in", "pt", "pc", "px"};
  static constexpr double kPerInch[] = {2.54, 25.4, 1.0, 72.0, 6.0, 0.0};
  double number = 0;
  std::string_view rest;
  if (!LeadingNumber(value, number, rest)) return false;
  const std::string suffix = base::LowerCase(rest.substr(0, 2));
  for (int u = 0; u < 6; ++u) {
    if (suffix != kSuffix[u]) continue;
    const double px = u == 5 ? number : number / kPerInch[u] * pixelsPerInch;
    pixels = static_cast<std::int32_t>(std::clamp(std::nearbyint(px), -32000.0, 32000.0));
    unit = u;
    return true;
  }
  if (rest.empty() && number == 0) {
    pixels = 0;
    return true;
  }
  return false;
}

std::int32_t FontSize(std::string_view value, int pixelsPerInch) {
  double number = 0;
  std::string_view rest;
  const std::string lower = base::LowerCase(value);
  if (!LeadingNumber(value, number, rest)) return kDefaultCssSize;
  if (lower.find("pt") != std::string::npos) return static_cast<std::int32_t>(std::clamp(number, 1.0, 1000.0));
  // Pixels are the same measure in another unit.
  if (lower.find("px") != std::string::npos) {
    return static_cast<std::int32_t>(std::clamp(std::nearbyint(number * 72.0 / pixelsPerInch), 1.0, 1000.0));
  }
  return kDefaultCssSize;
}

}  // namespace

std::string MarkupFaceName(std::string_view face) {
  std::string out;
  for (char c : face) {
    if (c != '"' && c != '<' && c != '>' && static_cast<unsigned char>(c) >= 32) out.push_back(c);
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out.substr(0, document::field::style::kFaceCapacity);
}

bool ParseHtmlColour(std::string_view text, std::uint32_t& colour) {
  text = Unquote(text);
  if (text.starts_with('#')) text.remove_prefix(1);
  auto hex = [&](std::size_t count) {
    if (text.size() < count) return false;
    for (std::size_t i = 0; i < count; ++i) {
      if (base::HexDigitValue(text[i]) < 0) return false;
    }
    return true;
  };
  if (text.size() >= 6 && hex(6)) {
    std::uint32_t rgb = 0;
    for (std::size_t i = 0; i < 6; ++i) rgb = (rgb << 4) | static_cast<std::uint32_t>(base::HexDigitValue(text[i]));
    colour = FromRgb(rgb);
    return true;
  }
  if (text.size() == 3 && hex(3)) {
    std::uint32_t rgb = 0;
    for (std::size_t i = 0; i < 3; ++i) {
      const auto d = static_cast<std::uint32_t>(base::HexDigitValue(text[i]));
      rgb = (rgb << 8) | (d << 4) | d;
    }
    colour = FromRgb(rgb);
    return true;
  }
  const std::string lower = base::LowerCase(text);
  for (const NamedColour& named : kColourNames) {
    if (lower == named.name) {
      colour = FromRgb(named.rgb);
      return true;
    }
  }
  return false;
}

void CssDeclarations::ApplyFont(THt2State& state) const {
  if (hasColour) state.colour = colour;
  if (hasFace) state.face = face;
  if (hasSize) state.size = size;
  if (italic >= 0) state.italic = italic == 1;
  if (bold >= 0) state.bold = bold == 1;
  if (decoration >= 0) {
    state.underline = decoration == 1;
    state.strike = decoration == 2;
  }
}

CssDeclarations ParseCssDeclarations(std::string_view text, int pixelsPerInch) {
  CssDeclarations d;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(';', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view item = Trim(text.substr(start, end - start));
    start = end + 1;
    const std::size_t colon = item.find(':');
    if (colon == std::string_view::npos) continue;
    const std::string name = base::LowerCase(Trim(item.substr(0, colon)));
    const std::string_view value = Unquote(item.substr(colon + 1));
    const std::string lower = base::LowerCase(value);
    auto length = [&](Ht2Measure& measure) {
      std::int32_t px = 0;
      int unit = -1;
      if (!Length(value, pixelsPerInch, px, unit)) return;
      measure = {true, px};
      if (d.unit < 0 && unit >= 0) d.unit = unit;
    };
    if (name.starts_with("font-family")) {
      std::string_view face = value;
      face = Unquote(face.substr(0, face.find(',')));
      d.face = MarkupFaceName(face);
      d.hasFace = !d.face.empty();
    } else if (name.starts_with("font-size")) {
      d.hasSize = true;
      d.size = FontSize(value, pixelsPerInch);
    } else if (name.starts_with("color")) {
      std::uint32_t c = 0;
      if (value.starts_with('#') && ParseHtmlColour(value, c)) {
        d.hasColour = true;
        d.colour = c;
      }
    } else if (name.starts_with("font-style")) {
      if (lower == "italic") d.italic = 1;
      else if (lower == "normal") d.italic = 0;
    } else if (name.starts_with("font-weight")) {
      if (lower == "bold") d.bold = 1;
      else if (lower == "normal") d.bold = 0;
    } else if (name.starts_with("text-decoration")) {
      if (lower.find("underline") != std::string::npos) d.decoration = 1;
      else if (lower.find("line-through") != std::string::npos) d.decoration = 2;
      else if (lower == "none" || lower == "normal") d.decoration = 0;
    } else if (name.starts_with("line-height")) {
      if (lower == "normal") d.automaticLineHeight = true;
      else length(d.measures.lineHeight);
    } else if (name.starts_with("margin-left")) {
      length(d.measures.leftMargin);
    } else if (name.starts_with("margin-right")) {
      length(d.measures.rightMargin);
    } else if (name.starts_with("margin-top")) {
      length(d.measures.topMargin);
    } else if (name.starts_with("margin-bottom")) {
      length(d.measures.bottomMargin);
    } else if (name.starts_with("text-indent")) {
      length(d.measures.indent);
    } else if (name.starts_with("text-align")) {
      if (lower == "left") d.alignment = 0;
      else if (lower == "right") d.alignment = 1;
      else if (lower == "center") d.alignment = 2;
    } else if (name.starts_with("list-style-type")) {
      if (lower == "disc") d.listType = 10;
      else if (lower == "decimal") d.listType = 6;
      else if (lower == "none") d.listType = 0;
    }
  }
  return d;
}

CssStyleSheet ParseStyleSheet(std::string_view text, int pixelsPerInch) {
  CssStyleSheet sheet;
  sheet.generated = text.starts_with(kGeneratedSheet);
  std::string pendingName;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t eol = text.find('\n', pos);
    if (eol == std::string_view::npos) eol = text.size();
    const std::string_view line = Trim(text.substr(pos, eol - pos));
    std::size_t next = eol + 1;
    if (line.starts_with("/*")) {
      const std::size_t close = line.find("*/", 2);
      pendingName = std::string(Trim(line.substr(2, close == std::string_view::npos ? std::string_view::npos : close - 2)));
      pos = next;
      continue;
    }
    const std::string upper = base::UpperCase(line.substr(0, 4));
    const bool div = upper.starts_with("DIV.");
    const bool link = !div && upper.starts_with("A.");
    if (!div && !link) {
      pos = next;
      continue;
    }
    const std::string_view rest = line.substr(div ? 4 : 2);
    std::size_t nameEnd = rest.find_first_of(" \t{");
    const std::string className = base::LowerCase(rest.substr(0, nameEnd));
    // The declarations run from "{" to "}", over as many lines as they take.
    const std::size_t lineStart = pos;
    const std::size_t open = text.find('{', lineStart);
    std::string_view body;
    if (open != std::string_view::npos) {
      const std::size_t close = text.find('}', open);
      const std::size_t stop = close == std::string_view::npos ? text.size() : close;
      body = text.substr(open + 1, stop - open - 1);
      next = stop == text.size() ? stop : stop + 1;
      const std::size_t lineEnd = text.find('\n', next);
      // Whatever follows "}" on its line belongs to no further rule.
      next = lineEnd == std::string_view::npos ? text.size() : lineEnd + 1;
    }
    if (!className.empty()) {
      const CssDeclarations declarations = ParseCssDeclarations(body, pixelsPerInch);
      CssStyleRule* rule = nullptr;
      for (CssStyleRule& r : sheet.rules) {
        if (r.className == className) rule = &r;
      }
      if (div) {
        if (rule == nullptr) {
          sheet.rules.push_back({});
          rule = &sheet.rules.back();
          rule->className = className;
        }
        rule->name = pendingName.empty() ? className : pendingName;
        rule->paragraph = declarations;
      } else if (rule != nullptr) {
        rule->hasLink = true;
        rule->link = declarations;
      }
    }
    pendingName.clear();
    pos = next;
  }
  return sheet;
}

}  // namespace tarn::convert
