// Windows-1252 case tables and UTF-8 conversion; see cp1252.h.
#include "base/cp1252.h"

#include <array>

namespace tarn::base {
namespace {

// 0x80..0x9F differ from Latin-1. The five codes Windows leaves undefined map
// to the C1 control of the same value, so every byte round-trips.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

unsigned char UpperByte(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 32);
  switch (c) {
    case 0x9A: return 0x8A;
    case 0x9C: return 0x8C;
    case 0x9E: return 0x8E;
    case 0xFF: return 0x9F;
    default: return c;
  }
}

unsigned char LowerByte(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
  switch (c) {
    case 0x8A: return 0x9A;
    case 0x8C: return 0x9C;
    case 0x8E: return 0x9E;
    case 0x9F: return 0xFF;
    default: return c;
  }
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace

std::optional<char> UnicodeToCp1252(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (std::size_t i = 0; i < kHigh.size(); ++i) {
    if (kHigh[i] == cp) return static_cast<char>(0x80 + i);
  }
  return std::nullopt;
}

char Cp1252Upper(char c) { return static_cast<char>(UpperByte(static_cast<unsigned char>(c))); }
char Cp1252Lower(char c) { return static_cast<char>(LowerByte(static_cast<unsigned char>(c))); }

std::string UpperCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = Cp1252Upper(c);
  return out;
}

std::string LowerCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = Cp1252Lower(c);
  return out;
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Cp1252Upper(a[i]) != Cp1252Upper(b[i])) return false;
  }
  return true;
}

int CompareText(std::string_view a, std::string_view b) {
  std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    auto x = UpperByte(static_cast<unsigned char>(a[i]));
    auto y = UpperByte(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

std::size_t Utf8Sequence(std::string_view text, std::size_t i, char32_t& cp) {
  const auto b = static_cast<unsigned char>(text[i]);
  std::size_t extra = 0;
  char32_t value = 0;
  char32_t minimum = 0;
  if (b < 0x80) {
    cp = b;
    return 1;
  } else if ((b & 0xE0) == 0xC0) {
    value = b & 0x1F;
    extra = 1;
    minimum = 0x80;
  } else if ((b & 0xF0) == 0xE0) {
    value = b & 0x0F;
    extra = 2;
    minimum = 0x800;
  } else if ((b & 0xF8) == 0xF0) {
    value = b & 0x07;
    extra = 3;
    minimum = 0x10000;
  } else {
    return 0;
  }
  if (i + extra >= text.size()) return 0;
  for (std::size_t k = 1; k <= extra; ++k) {
    const auto c = static_cast<unsigned char>(text[i + k]);
    if ((c & 0xC0) != 0x80) return 0;
    value = (value << 6) | (c & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  cp = value;
  return extra + 1;
}

char32_t Cp1252ToUnicode(unsigned char c) {
  if (c >= 0x80 && c < 0xA0) return kHigh[c - 0x80];
  return c;
}

std::string Cp1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) AppendUtf8(out, Cp1252ToUnicode(static_cast<unsigned char>(c)));
  return out;
}

std::optional<std::string> Utf8ToCp1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    auto b = static_cast<unsigned char>(text[i]);
    char32_t cp = 0;
    std::size_t extra = 0;
    if (b < 0x80) {
      cp = b;
    } else if ((b & 0xE0) == 0xC0) {
      cp = b & 0x1F;
      extra = 1;
    } else if ((b & 0xF0) == 0xE0) {
      cp = b & 0x0F;
      extra = 2;
    } else if ((b & 0xF8) == 0xF0) {
      cp = b & 0x07;
      extra = 3;
    } else {
      return std::nullopt;
    }
    if (i + extra >= text.size() && extra > 0) return std::nullopt;
    for (std::size_t k = 1; k <= extra; ++k) {
      auto cb = static_cast<unsigned char>(text[i + k]);
      if ((cb & 0xC0) != 0x80) return std::nullopt;
      cp = (cp << 6) | (cb & 0x3F);
    }
    auto mapped = UnicodeToCp1252(cp);
    if (!mapped) return std::nullopt;
    out.push_back(*mapped);
    i += extra + 1;
  }
  return out;
}

}  // namespace tarn::base
