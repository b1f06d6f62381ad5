// Windows-1252 text: case tables (national characters included) and the
// conversion to and from UTF-8 used where text leaves or enters the core.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarn::base {

char Cp1252Upper(char c);
char Cp1252Lower(char c);
std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);
// Case-insensitive equality with the cp1252 case tables.
bool SameText(std::string_view a, std::string_view b);
// Three-way comparison without case, for sorted name lists.
int CompareText(std::string_view a, std::string_view b);

std::string Cp1252ToUtf8(std::string_view text);
// Converts UTF-8 to cp1252. A character that has no cp1252 code, or a broken
// UTF-8 sequence, makes the whole conversion fail: callers refuse such input
// visibly rather than storing something else.
std::optional<std::string> Utf8ToCp1252(std::string_view text);
// The cp1252 byte of a Unicode code point, or nothing when cp1252 has none.
std::optional<char> UnicodeToCp1252(char32_t cp);
// The length of the UTF-8 sequence at text[i] (1 for an ASCII byte) and its
// code point; 0 when the bytes there are no character: cut short, overlong,
// a surrogate or beyond Unicode.
std::size_t Utf8Sequence(std::string_view text, std::size_t i, char32_t& cp);
// The Unicode code point of one cp1252 byte.
char32_t Cp1252ToUnicode(unsigned char c);

}  // namespace tarn::base
