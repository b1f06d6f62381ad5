// Text that comes from outside in another encoding, turned into the cp1252
// bytes of a document: Windows and Mac code pages of RTF documents (through
// the C library's iconv, one table per code page), UTF-8 and UTF-16 text
// files. Characters cp1252 has no code for are replaced by a visible "?" and
// counted, never dropped without a trace.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarn::convert {

inline constexpr char kReplacementChar = '?';
inline constexpr int kCodePage1252 = 1252;

// One code page: the Unicode character of each byte, and which bytes lead a
// two-byte character (the East Asian code pages).
class CodePage {
 public:
  // The table of a Windows code page number (10000 is the Mac Roman page);
  // nothing for a page the C library cannot convert. Tables are made once
  // and shared; the pointer stays valid for the run of the program.
  static const CodePage* Find(int number);

  int Number() const { return m_number; }
  bool IsLeadByte(unsigned char b) const { return m_lead[b]; }
  // 0 for a byte the page does not define.
  char32_t Character(unsigned char b) const { return m_chars[b]; }
  // The character of a lead and a trail byte; 0 when the pair means nothing.
  char32_t Pair(unsigned char lead, unsigned char trail) const;

 private:
  int m_number = 0;
  std::array<char32_t, 256> m_chars{};
  std::array<bool, 256> m_lead{};
};

// The code page of an RTF font's character set ("\fcharsetN"); 0 for the
// symbol set, whose bytes stand for the font's own glyphs and stay as they are.
int CodePageOfCharset(int charset);

// Appends the cp1252 byte of a Unicode character, or "?" (counted in
// replaced) when cp1252 has none. Control characters below 32 are dropped.
void AppendAsCp1252(std::string& out, char32_t character, std::size_t& replaced);

enum class TextEncoding { kCp1252, kUtf8, kUtf16Le, kUtf16Be };

// The encoding a byte-order mark at the start names, if there is one.
std::optional<TextEncoding> MarkedEncoding(std::string_view bytes);
// How a text file is encoded: a byte-order mark decides; otherwise UTF-8
// when the bytes are valid UTF-8 with at least one character beyond ASCII,
// else the document code page.
TextEncoding DetectEncoding(std::string_view bytes);

// Calls put with each character of UTF-16 text (surrogate pairs joined, a
// lone surrogate passed as it is); answers whether an odd last byte was
// left over.
template <typename Put>
bool ForEachUtf16(std::string_view bytes, bool littleEndian, Put put) {
  auto unit = [&](std::size_t i) {
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    return static_cast<char32_t>(littleEndian ? a | (b << 8) : (a << 8) | b);
  };
  std::size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) {
    char32_t cp = unit(i);
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < bytes.size()) {
      const char32_t low = unit(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    put(cp);
  }
  return i < bytes.size();
}

// The text in cp1252; the byte-order mark is dropped, characters outside
// cp1252 and broken sequences become "?" and are counted.
std::string ToCp1252(std::string_view bytes, TextEncoding encoding, std::size_t& replaced);

}  // namespace tarn::convert
