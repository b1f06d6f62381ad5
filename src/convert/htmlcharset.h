// The characters of an HTML file as document text: the file's character set
// (declared, marked by a byte-order mark, or recognised as UTF-8) converted
// to cp1252, and character references decoded. Characters that cp1252 lacks
// become a visible "?" and are counted, never dropped in silence.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tarn::convert {

enum class HtmlCharset { Cp1252, Utf8, Utf16LE, Utf16BE };

// The character set of a file: a byte-order mark first, then a declaration
// ("charset=" in a META element near the top), then UTF-8 when the bytes are
// valid UTF-8 with at least one character beyond ASCII; otherwise cp1252.
HtmlCharset DetectHtmlCharset(std::string_view bytes);

// The character that stands for one cp1252 lacks.
inline constexpr char kReplacementCharacter = '?';

class HtmlCharacters {
 public:
  // The bytes as cp1252 text. UTF-8 bytes that are not valid UTF-8 are taken
  // as cp1252 bytes (files that mix both are common); a byte-order mark and
  // zero-width characters are left out.
  std::string ToCp1252(std::string_view bytes, HtmlCharset charset);

  struct Decoded {
    // The character; below 32 for one that stands for nothing.
    unsigned char character = 0;
    std::size_t length = 0;  // bytes read, the "&" included
    bool literal = false;    // no reference: the "&" stands for itself
  };
  // The reference at text[at] == '&'. Up to three decimal digits, the
  // Latin-1 names and "quot", "amp", "lt", "gt" are read by the entity
  // reader that the markup uses; longer and hexadecimal numbers and the other
  // HTML names are read here. An "&" that starts no reference stays an "&".
  Decoded Decode(std::string_view text, std::size_t at);
  // A whole attribute value or title with its references decoded.
  std::string DecodeAll(std::string_view text);

  // The cp1252 byte for a code point; the replacement (counted) when there
  // is none; 0 for characters that stand for nothing.
  unsigned char FromCodePoint(char32_t cp);

  // Characters replaced so far.
  int Replaced() const { return m_replaced; }

 private:
  int m_replaced = 0;
};

}  // namespace tarn::convert
