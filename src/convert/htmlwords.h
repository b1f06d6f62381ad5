// The small vocabulary of the HTML writer: escaping of text and attribute
// values, colours, FONT sizes, alignment words and lengths in a unit.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarn::convert {

// Appends one character of page text: control codes vanish, "&", "<", ">"
// and the codes 160 to 251 become entities, everything else stays.
void AppendHtmlText(std::string& out, unsigned char c);
// Attribute values (window names, titles, "alt" texts): quotes become the
// typographic closing quotes, characters that would end or confuse the
// attribute become blanks.
std::string AttributeEscape(std::string_view text);
// "#"-less colour: six upper-case hexadecimal digits, red first, from a
// colour value whose lowest byte is red.
std::string HtmlColour(std::uint32_t colour);
// The SIZE of a FONT element for a size in points.
std::string_view FontSizeCode(int points);
// "left", "right", "center", "justify"; left for anything else.
std::string_view AlignmentWord(int alignment);
// A length stored in pixels, in the unit (0 cm, 1 mm, 2 in, 3 pt, 4 pc,
// 5 px), rounded to the nearest integer, with the unit's suffix.
std::string LengthInUnit(int pixels, int unit, int pixelsPerInch);
// The low 24 bits as six lower-case hexadecimal digits.
std::string Hex6(std::int64_t n);

}  // namespace tarn::convert
