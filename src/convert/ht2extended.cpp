// The extended comments of HTML files that announce them with "<!TARN":
// style definitions, tables, paragraph starts, the page's language and
// comments, in the system's own notation.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "base/cp1252.h"
#include "convert/ht2reader.h"
#include "document/aehset.h"
#include "document/recordfields.h"
#include "markup/tokenizer.h"
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

// The style field that each letter code of a definition fills, and its
// width in bytes. The face name is taken apart.
using markup::Code;
struct CodeField {
  Code code;
  int field;
  int width;
};
constexpr CodeField kCodeFields[] = {
    {Code::kColour, sf::kColour, 4},         {Code::kSize, sf::kSize, 2},
    {Code::kStyleBits, sf::kStyleBits, 1},   {Code::kPosition, sf::kPosition, 1},
    {Code::kPByte, sf::kPByte, 1},           {Code::kAlignment, sf::kAlignment, 1},
    {Code::kListKind, sf::kListKind, 1},     {Code::kUnit, sf::kUnit, 1},
    {Code::kLineHeight, sf::kLineHeight, 2}, {Code::kIndent, sf::kIndent, 2},
    {Code::kLeftMargin, sf::kLeftMargin, 2}, {Code::kRightMargin, sf::kRightMargin, 2},
    {Code::kSpaceBefore, sf::kSpaceBefore, 2}, {Code::kSpaceAfter, sf::kSpaceAfter, 2},
    {Code::kLinkColour, sf::kLinkColour, 4}, {Code::kLinkSize, sf::kLinkSize, 2},
    {Code::kLinkStyle, sf::kLinkStyle, 1},
};

}  // namespace

int HtmlImportRun::StyleFromCodes(std::string_view line, bool& reported) {
  // The name runs to a tab, else to the first blank; the codes follow.
  std::size_t split = line.find('\t');
  if (split == std::string_view::npos) split = line.find(' ');
  const std::string_view name = Trim(line.substr(0, split));
  const std::string_view codes = split == std::string_view::npos ? std::string_view() : Trim(line.substr(split + 1));
  // The codes are those of a paragraph tag after its style index, read as
  // the markup reader reads them; the end of the line ends the last value.
  const std::string tag = "<Z S0 " + std::string(codes) + " >";
  markup::Tokenizer tokens(tag);
  tokens.Next();
  const markup::TagCodes& read = tokens.Codes();

  auto style = m_set.NewObject(stileParagrafo);
  style->SetStr(sf::kName, sf::kNameCapacity, name);
  if (read.Has(Code::kFace)) {
    // A face name must not end the format tags it is written into later.
    std::string face;
    for (char c : read.Face()) {
      if (c != '<' && c != '>' && static_cast<unsigned char>(c) >= 32) face.push_back(c);
    }
    style->SetStr(sf::kFace, sf::kFaceCapacity, face);
  }
  for (const CodeField& code : kCodeFields) {
    if (!read.Has(code.code)) continue;
    const std::int32_t v = read.Number(code.code);
    if (code.width == 4) style->SetI32(code.field, v);
    else if (code.width == 2) style->SetI16(code.field, static_cast<std::int16_t>(v));
    else style->SetU8(code.field, static_cast<std::uint8_t>(v));
  }
  bool truncated = false;
  bool truncatedFace = false;
  read.ForEachTruncated([&](bool face) { (face ? truncatedFace : truncated) = true; });
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
