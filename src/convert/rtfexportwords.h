// The small vocabulary of the RTF writer: escaping of text and of page
// text, and the family and pitch of a font.
#pragma once

#include <string>
#include <string_view>

namespace tarn::convert {

// Titles, keywords, names and comments: control characters vanish except
// CR, which ends a paragraph; the backslash and braces are escaped and
// codes from 126 up become "\'hh".
void AppendRtfText(std::string& out, std::string_view text);
// One character of page text: control characters vanish; the backslash and
// braces are escaped; "~" and the codes above it become "\'hh".
void AppendRtfChar(std::string& out, unsigned char c);
// "\froman\fprq2" and the like: the family and pitch the font is known by
// (the font's own metrics are not at hand on this system).
std::string_view FontFamily(std::string_view face);

}  // namespace tarn::convert
