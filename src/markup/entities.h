// Character references in rich text: "&amp;", "&#65;" and the Latin-1 names.
// The markup reader and the HTML importer decode them the same way.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tarn::markup {

struct DecodedEntity {
  unsigned char character;  // may be below 32; callers drop those
  std::size_t length;       // bytes consumed, the "&" included
};

// Decodes the reference that starts at text[at], which must be "&":
// "&#" and up to three characters (ended early by ";"), a non-number giving
// "A"; else the first of the 104 names that prefixes the bytes after "&",
// with an optional ";"; else the "&" alone, as a blank.
DecodedEntity DecodeEntity(std::string_view text, std::size_t at);

// Escapes "&", "<" and ">" for the markup; every other byte stays.
void AppendEscaped(std::string& out, unsigned char c);
void AppendEscaped(std::string& out, std::string_view text);

// The Latin-1 entity name of a code from 160 to 255 ("hibar" for 175); empty
// for other codes. The HTML writer names characters by the same table.
std::string_view Latin1EntityName(unsigned char c);

}  // namespace tarn::markup
