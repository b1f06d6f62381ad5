// Reading one HTML tag out of a page's bytes: its element name, whether it
// closes, and its attributes. The importer and the link crawler read tags
// the same way, so that both agree on where a tag ends.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tarn::convert {

struct HtmlAttribute {
  std::string name;   // in capitals
  std::string value;  // quotes removed, references decoded; empty without "="
};

struct HtmlTag {
  std::string name;  // in capitals, without the "/" of a closing tag
  bool closing = false;
  std::vector<HtmlAttribute> attributes;
  std::size_t at = 0;   // the "<"
  std::size_t end = 0;  // just after the ">"

  // The value of the attribute, or nothing when the tag has no such attribute.
  const std::string* Find(std::string_view attribute) const;
  bool Has(std::string_view attribute) const { return Find(attribute) != nullptr; }
  std::string Value(std::string_view attribute) const;
};

// Decodes the references ("&amp;", "&#233;") in an attribute value.
using ReferenceDecoder = std::function<std::string(std::string_view)>;

// Finds tag ends in one text. It remembers where no further ">" or quote
// exists, so that a text full of stray "<" is still read in linear time.
class HtmlTagReader {
 public:
  explicit HtmlTagReader(std::string_view text);

  // Reads the start or end tag at text[at] == '<'. False when the bytes there
  // make no tag (a "<" not followed by a letter or "/" and a letter, or no
  // ">" anywhere after it); the "<" is then plain text.
  bool Read(std::size_t at, HtmlTag& tag, const ReferenceDecoder& decode = {}) const;

  // Where the next ">" after `from` is, or npos.
  std::size_t FindClose(std::size_t from) const;
  // Where the case-blind `needle` (in capitals) next starts at or after
  // `from`, or npos.
  std::size_t FindNoCase(std::string_view needle, std::size_t from) const;

 private:
  std::size_t ValueEnd(std::size_t from, char quote) const;

  std::string_view m_text;
  std::size_t m_lastClose;
  std::size_t m_lastDouble;
  std::size_t m_lastSingle;
};

// The whole number an attribute value starts with (blanks and a sign
// allowed before it), or `otherwise` when it starts with none.
int HtmlNumber(std::string_view text, int otherwise);

// An element name must be followed by a blank, a control character, "/" or
// ">" to count.
bool IsNameEnd(char c);

}  // namespace tarn::convert
