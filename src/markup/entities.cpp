// Character references; see entities.h.
#include "markup/entities.h"

#include <array>

namespace tarn::markup {
namespace {

struct Entity {
  std::string_view name;
  unsigned char code;
};

// Eight markup escapes, then the Latin-1 names for 160..255 in code order
// ("hibar" stands for 175). The order matters: the first prefix wins.
constexpr std::array<std::string_view, 96> kLatin1 = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",    "copy",
    "ordf",   "laquo",  "not",    "shy",    "reg",    "hibar",  "deg",    "plusmn", "sup2",   "sup3",
    "acute",  "micro",  "para",   "middot", "cedil",  "sup1",   "ordm",   "raquo",  "frac14", "frac12",
    "frac34", "iquest", "Agrave", "Aacute", "Acirc",  "Atilde", "Auml",   "Aring",  "AElig",  "Ccedil",
    "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave", "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde",
    "Ograve", "Oacute", "Ocirc",  "Otilde", "Ouml",   "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",
    "Uuml",   "Yacute", "THORN",  "szlig",  "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",
    "aelig",  "ccedil", "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",
    "eth",    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide", "oslash", "ugrave",
    "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml"};

constexpr std::array<Entity, 8> kEscapes = {{{"quot", 34}, {"amp", 38}, {"lt", 60}, {"gt", 62},
                                             {"QUOT", 34}, {"AMP", 38}, {"LT", 60}, {"GT", 62}}};

}  // namespace

DecodedEntity DecodeEntity(std::string_view text, std::size_t at) {
  const std::string_view rest = text.substr(at + 1);
  if (!rest.empty() && rest[0] == '#') {
    std::size_t n = 0;
    while (n < 3 && 1 + n < rest.size() && rest[1 + n] != ';') ++n;
    const std::string_view digits = rest.substr(1, n);
    int value = 0;
    bool number = !digits.empty();
    for (char d : digits) {
      if (d < '0' || d > '9') {
        number = false;
        break;
      }
      value = value * 10 + (d - '0');
    }
    if (!number) value = 'A';
    std::size_t length = 2 + n;
    if (1 + n < rest.size() && rest[1 + n] == ';') ++length;
    return {static_cast<unsigned char>(value & 0xFF), length};
  }
  auto matched = [&](std::string_view name, unsigned char code) -> DecodedEntity {
    std::size_t length = 1 + name.size();
    if (name.size() < rest.size() && rest[name.size()] == ';') ++length;
    return {code, length};
  };
  if (rest.empty()) return {' ', 1};
  // The first letter rules out most names before any comparison.
  const char first = rest[0];
  for (const Entity& e : kEscapes) {
    if (e.name[0] == first && rest.starts_with(e.name)) return matched(e.name, e.code);
  }
  for (std::size_t i = 0; i < kLatin1.size(); ++i) {
    if (kLatin1[i][0] == first && rest.starts_with(kLatin1[i])) {
      return matched(kLatin1[i], static_cast<unsigned char>(160 + i));
    }
  }
  return {' ', 1};
}

std::string_view Latin1EntityName(unsigned char c) {
  return c >= 160 ? kLatin1[static_cast<std::size_t>(c - 160)] : std::string_view();
}

void AppendEscaped(std::string& out, unsigned char c) {
  switch (c) {
    case '&': out += "&amp;"; break;
    case '<': out += "&lt;"; break;
    case '>': out += "&gt;"; break;
    default: out.push_back(static_cast<char>(c)); break;
  }
}

void AppendEscaped(std::string& out, std::string_view text) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '&' || c == '<' || c == '>') {
      out.append(text.substr(start, i - start));
      AppendEscaped(out, static_cast<unsigned char>(c));
      start = i + 1;
    }
  }
  out.append(text.substr(start));
}

}  // namespace tarn::markup
