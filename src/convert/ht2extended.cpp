// The extended comments of HTML files that announce them with "<!TARN":
// style definitions, tables, paragraph starts, the page's language and
// comments, in the system's own notation.
#include <algorithm>

#include "base/cp1252.h"
#include "base/hex.h"
#include "convert/ht2reader.h"
#include "document/aehset.h"
#include "document/recordfields.h"
#include "platform/messages.h"
#include "richtext/styles.h"

namespace tarn::convert {
using namespace document;
namespace sf = richtext::stylefield;
namespace {


std::string_view Trim(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

// The letter codes of a paragraph tag, in the only order they are read.
// FIXME: read them with the shared markup tokenizer once it is on main.
enum class CodeKind { Number, Colour, Face };
struct CodeKey {
  std::string_view key;
  CodeKind kind;
  int field;  // the style field it fills, -1 none
  int width;  // 1, 2 or 4 bytes
};
constexpr CodeKey kCodes[] = {
    {"c", CodeKind::Colour, sf::kColour, 4},      {"F\"", CodeKind::Face, sf::kFace, 0},
    {"s", CodeKind::Number, sf::kSize, 2},        {"y", CodeKind::Number, sf::kStyleBits, 1},
    {"p", CodeKind::Number, sf::kPosition, 1},    {"P", CodeKind::Number, sf::kPByte, 1},
    {"A", CodeKind::Number, sf::kAlignment, 1},   {"N", CodeKind::Number, sf::kListKind, 1},
    {"M", CodeKind::Number, sf::kUnit, 1},        {"L", CodeKind::Number, sf::kLineHeight, 2},
    {"I", CodeKind::Number, sf::kIndent, 2},      {"l", CodeKind::Number, sf::kLeftMargin, 2},
    {"r", CodeKind::Number, sf::kRightMargin, 2}, {"t", CodeKind::Number, sf::kSpaceBefore, 2},
    {"b", CodeKind::Number, sf::kSpaceAfter, 2},  {"C", CodeKind::Colour, sf::kLinkColour, 4},
    {"S", CodeKind::Number, sf::kLinkSize, 2},    {"Y", CodeKind::Number, sf::kLinkStyle, 1},
};
// A value's closing blank must come this soon.
constexpr std::size_t kValueWindow = 12;

}  // namespace

int HtmlImportRun::StyleFromCodes(std::string_view line, bool& reported) {
  // The name runs to a tab, else to the first blank; the codes follow.
  std::size_t split = line.find('\t');
  if (split == std::string_view::npos) split = line.find(' ');
  const std::string_view name = Trim(line.substr(0, split));
  const std::string_view codes = split == std::string_view::npos ? std::string_view() : Trim(line.substr(split + 1));
  auto style = m_set.NewObject(stileParagrafo);
  style->SetStr(sf::kName, sf::kFaceCapacity, name);
  std::size_t pos = 0;
  bool truncated = false;
  bool truncatedFace = false;
  for (const CodeKey& code : kCodes) {
    while (pos < codes.size() && codes[pos] == ' ') ++pos;
    if (!codes.substr(pos).starts_with(code.key)) continue;
    const std::size_t start = pos + code.key.size();
    if (code.kind == CodeKind::Face) {
      const std::size_t quote = codes.find('"', start);
      if (quote == std::string_view::npos) {
        truncatedFace = true;
        break;
      }
      std::string face;
      for (char c : codes.substr(start, quote - start)) {
        if (c != '<' && c != '>' && static_cast<unsigned char>(c) >= 32) face.push_back(c);
      }
      style->SetStr(sf::kFace, sf::kFaceCapacity, face);
      pos = quote + 1;
      continue;
    }
    const std::size_t blank = codes.find(' ', start);
    if (blank == std::string_view::npos || blank - start > kValueWindow) {
      if (blank == std::string_view::npos && codes.size() - start <= kValueWindow) {
        // The last value may end the line without its blank.
      } else {
        truncated = true;
        pos = blank == std::string_view::npos ? codes.size() : blank + 1;
        continue;
      }
    }
    const std::string_view value = codes.substr(start, (blank == std::string_view::npos ? codes.size() : blank) - start);
    pos = blank == std::string_view::npos ? codes.size() : blank + 1;
    std::int32_t v = 0;
    if (code.kind == CodeKind::Colour) {
      std::uint32_t rgb = 0;
      for (std::size_t i = 0; i < 6; ++i) {
        const int d = i < value.size() ? base::HexDigitValue(value[i]) : -1;
        rgb = (rgb << 4) | static_cast<std::uint32_t>(d < 0 ? 0 : d);
      }
      v = static_cast<std::int32_t>(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
    } else {
      v = HtmlNumber(value, 0);
    }
    if (code.width == 4) style->SetI32(code.field, v);
    else if (code.width == 2) style->SetI16(code.field, static_cast<std::int16_t>(v));
    else style->SetU8(code.field, static_cast<std::uint8_t>(v));
  }
  if ((truncated || truncatedFace) && !reported && m_set.Services().messages != nullptr) {
    reported = true;
    if (truncatedFace) m_set.Services().messages->Information("Truncated line!");
    else m_set.Services().messages->Error("Truncated line!");
  }
  return AddStyle(std::move(style));
}

void THt2Reader::Extended(std::string_view text) {
  const std::string_view body = text.substr(4);  // after "tn_" and its letter
  const char kind = text.size() > 3 ? static_cast<char>(base::Cp1252Lower(text[3])) : '\0';
  switch (kind) {
    case 'z': {
      // One style per line after the first.
      std::size_t pos = body.find('\n');
      while (pos != std::string_view::npos && pos < body.size()) {
        std::size_t eol = body.find('\n', pos + 1);
        const std::string_view line = Trim(body.substr(pos + 1, eol == std::string_view::npos ? std::string_view::npos : eol - pos - 1));
        pos = eol;
        if (line.empty()) continue;
        const int style = m_run.StyleFromCodes(line, m_truncatedReported);
        m_extendedStyles.push_back(style);
      }
      break;
    }
    case 't': ExtendedTable(body); break;
    case 's': {
      const int n = HtmlNumber(Trim(body), 0);
      int style = n >= 0 && static_cast<std::size_t>(n) < m_extendedStyles.size() ? m_extendedStyles[static_cast<std::size_t>(n)] : n;
      if (!m_run.StyleExists(style)) style = 0;
      // The style's settings become current.
      TakeStyle(style);
      NewParagraph();
      WriteParagraphTag();
      break;
    }
    case 'l': m_settings.language = HtmlNumber(Trim(body), 1033); break;
    case 'c': Comment(Trim(body)); break;
    default: break;
  }
}

}  // namespace tarn::convert
