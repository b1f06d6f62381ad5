// Character sets and character references of HTML files; see htmlcharset.h.
#include "convert/htmlcharset.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>

#include "base/cp1252.h"
#include "convert/textcodec.h"
#include "markup/entities.h"

namespace tarn::convert {
namespace {

namespace entities = tarn::markup;

// Declarations are looked for this far into a file.
constexpr std::size_t kDeclarationWindow = 4096;
// Numbers in references are read up to this many digits.
constexpr std::size_t kLongestNumber = 8;

struct NamedCharacter {
  std::string_view name;
  char32_t code;
};

// The HTML names beyond the Latin-1 ones the markup's entity reader knows.
// Read only when ended by ";", so that the markup's prefix rule still holds
// for everything else.
constexpr NamedCharacter kMoreNames[] = {
    {"apos", 39},       {"OElig", 338},     {"oelig", 339},     {"Scaron", 352},   {"scaron", 353},
    {"Yuml", 376},      {"fnof", 402},      {"circ", 710},      {"tilde", 732},    {"Alpha", 913},
    {"Beta", 914},      {"Gamma", 915},     {"Delta", 916},     {"Epsilon", 917},  {"Zeta", 918},
    {"Eta", 919},       {"Theta", 920},     {"Iota", 921},      {"Kappa", 922},    {"Lambda", 923},
    {"Mu", 924},        {"Nu", 925},        {"Xi", 926},        {"Omicron", 927},  {"Pi", 928},
    {"Rho", 929},       {"Sigma", 931},     {"Tau", 932},       {"Upsilon", 933},  {"Phi", 934},
    {"Chi", 935},       {"Psi", 936},       {"Omega", 937},     {"alpha", 945},    {"beta", 946},
    {"gamma", 947},     {"delta", 948},     {"epsilon", 949},   {"zeta", 950},     {"eta", 951},
    {"theta", 952},     {"iota", 953},      {"kappa", 954},     {"lambda", 955},   {"mu", 956},
    {"nu", 957},        {"xi", 958},        {"omicron", 959},   {"pi", 960},       {"rho", 961},
    {"sigmaf", 962},    {"sigma", 963},     {"tau", 964},       {"upsilon", 965},  {"phi", 966},
    {"chi", 967},       {"psi", 968},       {"omega", 969},     {"thetasym", 977}, {"upsih", 978},
    {"piv", 982},       {"ensp", 8194},     {"emsp", 8195},     {"thinsp", 8201},  {"zwnj", 8204},
    {"zwj", 8205},      {"lrm", 8206},      {"rlm", 8207},      {"ndash", 8211},   {"mdash", 8212},
    {"lsquo", 8216},    {"rsquo", 8217},    {"sbquo", 8218},    {"ldquo", 8220},   {"rdquo", 8221},
    {"bdquo", 8222},    {"dagger", 8224},   {"Dagger", 8225},   {"bull", 8226},    {"hellip", 8230},
    {"permil", 8240},   {"prime", 8242},    {"Prime", 8243},    {"lsaquo", 8249},  {"rsaquo", 8250},
    {"oline", 8254},    {"frasl", 8260},    {"euro", 8364},     {"image", 8465},   {"weierp", 8472},
    {"real", 8476},     {"trade", 8482},    {"alefsym", 8501},  {"larr", 8592},    {"uarr", 8593},
    {"rarr", 8594},     {"darr", 8595},     {"harr", 8596},     {"crarr", 8629},   {"lArr", 8656},
    {"uArr", 8657},     {"rArr", 8658},     {"dArr", 8659},     {"hArr", 8660},    {"forall", 8704},
    {"part", 8706},     {"exist", 8707},    {"empty", 8709},    {"nabla", 8711},   {"isin", 8712},
    {"notin", 8713},    {"ni", 8715},       {"prod", 8719},     {"sum", 8721},     {"minus", 8722},
    {"lowast", 8727},   {"radic", 8730},    {"prop", 8733},     {"infin", 8734},   {"ang", 8736},
    {"and", 8743},      {"or", 8744},       {"cap", 8745},      {"cup", 8746},     {"int", 8747},
    {"there4", 8756},   {"sim", 8764},      {"cong", 8773},     {"asymp", 8776},   {"ne", 8800},
    {"equiv", 8801},    {"le", 8804},       {"ge", 8805},       {"sub", 8834},     {"sup", 8835},
    {"nsub", 8836},     {"sube", 8838},     {"supe", 8839},     {"oplus", 8853},   {"otimes", 8855},
    {"perp", 8869},     {"sdot", 8901},     {"lceil", 8968},    {"rceil", 8969},   {"lfloor", 8970},
    {"rfloor", 8971},   {"lang", 9001},     {"rang", 9002},     {"loz", 9674},     {"spades", 9824},
    {"clubs", 9827},    {"hearts", 9829},   {"diams", 9830},
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAlnum(char c) { return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The charset named in a declaration, when one is found near the top.
bool DeclaredCharset(std::string_view bytes, HtmlCharset& charset) {
  const std::string_view head = bytes.substr(0, kDeclarationWindow);
  std::string lower(head);
  for (char& c : lower) c = Lower(c);
  for (std::size_t at = lower.find("charset"); at != std::string::npos; at = lower.find("charset", at + 7)) {
    std::size_t i = at + 7;
    while (i < lower.size() && (lower[i] == ' ' || lower[i] == '\t')) ++i;
    if (i >= lower.size() || lower[i] != '=') continue;
    ++i;
    while (i < lower.size() && (lower[i] == ' ' || lower[i] == '"' || lower[i] == '\'')) ++i;
    std::string name;
    while (i < lower.size() && (IsAlnum(lower[i]) || lower[i] == '-' || lower[i] == '_')) name.push_back(lower[i++]);
    if (name.empty()) continue;
    if (name == "utf-8" || name == "utf8") charset = HtmlCharset::Utf8;
    else if (name == "utf-16le") charset = HtmlCharset::Utf16LE;
    else if (name == "utf-16be") charset = HtmlCharset::Utf16BE;
    else charset = HtmlCharset::Cp1252;  // Latin-1 and its relatives; others cannot be converted
    return true;
  }
  return false;
}

}  // namespace

HtmlCharset DetectHtmlCharset(std::string_view bytes) {
  auto charset = [](TextEncoding encoding) {
    switch (encoding) {
      case TextEncoding::kUtf8:
        return HtmlCharset::Utf8;
      case TextEncoding::kUtf16Le:
        return HtmlCharset::Utf16LE;
      case TextEncoding::kUtf16Be:
        return HtmlCharset::Utf16BE;
      case TextEncoding::kCp1252:
        break;
    }
    return HtmlCharset::Cp1252;
  };
  if (const std::optional<TextEncoding> marked = MarkedEncoding(bytes)) return charset(*marked);
  HtmlCharset declared = HtmlCharset::Cp1252;
  if (DeclaredCharset(bytes, declared)) return declared;
  return charset(DetectEncoding(bytes));
}

unsigned char HtmlCharacters::FromCodePoint(char32_t cp) {
  if (cp <= 0xFF) return static_cast<unsigned char>(cp);
  // Spaces of other widths are spaces; characters that only steer joining,
  // direction or line breaking stand for nothing.
  if ((cp >= 0x2000 && cp <= 0x200A) || cp == 0x202F || cp == 0x205F || cp == 0x3000) return ' ';
  if ((cp >= 0x200B && cp <= 0x200F) || (cp >= 0x202A && cp <= 0x202E) || cp == 0x2060 || cp == 0xFEFF) return 0;
  if (cp == 0x2028 || cp == 0x2029) return ' ';
  if (const auto mapped = base::UnicodeToCp1252(cp)) return static_cast<unsigned char>(*mapped);
  ++m_replaced;
  return static_cast<unsigned char>(kReplacementCharacter);
}

std::string HtmlCharacters::ToCp1252(std::string_view bytes, HtmlCharset charset) {
  std::string out;
  auto put = [&](char32_t cp) {
    const unsigned char c = FromCodePoint(cp);
    // Control characters are kept: the reader drops or uses them as it does
    // for single-byte files.
    if (c != 0 || cp == 0) out.push_back(static_cast<char>(c));
  };
  switch (charset) {
    case HtmlCharset::Cp1252: return std::string(bytes);
    case HtmlCharset::Utf8: {
      out.reserve(bytes.size());
      std::size_t i = bytes.starts_with("\xEF\xBB\xBF") ? 3 : 0;
      while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
          // Runs of ASCII are most of any page.
          std::size_t j = i + 1;
          while (j < bytes.size() && static_cast<unsigned char>(bytes[j]) < 0x80) ++j;
          out.append(bytes.substr(i, j - i));
          i = j;
          continue;
        }
        char32_t cp = 0;
        const std::size_t length = base::Utf8Sequence(bytes, i, cp);
        if (length == 0) {
          out.push_back(static_cast<char>(b));  // not UTF-8: a cp1252 byte
          ++i;
        } else {
          put(cp);
          i += length;
        }
      }
      return out;
    }
    case HtmlCharset::Utf16LE:
    case HtmlCharset::Utf16BE: {
      const bool little = charset == HtmlCharset::Utf16LE;
      out.reserve(bytes.size() / 2);
      const bool marked = bytes.size() >= 2 && bytes.substr(0, 2) == (little ? "\xFF\xFE" : "\xFE\xFF");
      ForEachUtf16(bytes.substr(marked ? 2 : 0), little, put);
      return out;
    }
  }
  return out;
}

HtmlCharacters::Decoded HtmlCharacters::Decode(std::string_view text, std::size_t at) {
  const std::string_view rest = text.substr(at + 1);
  if (rest.starts_with('#')) {
    const bool hex = rest.size() > 2 && (rest[1] == 'x' || rest[1] == 'X') && std::isxdigit(static_cast<unsigned char>(rest[2]));
    std::size_t digits = 0;
    const std::size_t first = hex ? 2 : 1;
    while (first + digits < rest.size() && digits < kLongestNumber &&
           (hex ? std::isxdigit(static_cast<unsigned char>(rest[first + digits])) != 0 : IsDigit(rest[first + digits]))) {
      ++digits;
    }
    std::uint32_t value = 0;
    for (std::size_t k = 0; k < digits; ++k) {
      const char c = rest[first + k];
      const std::uint32_t d = IsDigit(c) ? static_cast<std::uint32_t>(c - '0')
                                         : static_cast<std::uint32_t>(Lower(c) - 'a' + 10);
      value = value * (hex ? 16u : 10u) + d;
    }
    // Codes up to 255 are read by the markup's own reader; a web page's
    // larger numbers are Unicode characters, not bytes cut to three digits.
    if (hex || value > 255) {
      std::size_t length = 1 + first + digits;
      if (first + digits < rest.size() && rest[first + digits] == ';') ++length;
      const char32_t cp = value > 0x10FFFF ? 0xFFFD : static_cast<char32_t>(value);
      return {FromCodePoint(cp), length, false};
    }
    const auto d = entities::DecodeEntity(text, at);
    return {d.character, d.length, false};
  }
  std::size_t nameLength = 0;
  while (nameLength < rest.size() && nameLength < 10 && IsAlnum(rest[nameLength])) ++nameLength;
  if (nameLength > 0 && nameLength < rest.size() && rest[nameLength] == ';') {
    const std::string_view name = rest.substr(0, nameLength);
    for (const NamedCharacter& named : kMoreNames) {
      if (named.name == name) return {FromCodePoint(named.code), nameLength + 2, false};
    }
  }
  const auto d = entities::DecodeEntity(text, at);
  // The markup's reader makes an unknown name a blank; in a web page such an
  // "&" is an ampersand that was not escaped.
  if (d.length == 1) return {'&', 1, true};
  return {d.character, d.length, false};
}

std::string HtmlCharacters::DecodeAll(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] != '&') {
      const std::size_t next = std::min(text.find('&', i), text.size());
      out.append(text.substr(i, next - i));
      i = next;
      continue;
    }
    const Decoded d = Decode(text, i);
    if (d.character >= 32 || d.character == '\t') out.push_back(static_cast<char>(d.character));
    i += d.length;
  }
  return out;
}

}  // namespace tarn::convert
