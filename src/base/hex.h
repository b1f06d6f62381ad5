// Hexadecimal digits as the document formats write them: identities in
// lower case, colours in upper case.
#pragma once

#include <cstdint>
#include <string>

namespace tarn::base {

// The value of one hexadecimal digit (either case), -1 for anything else.
constexpr int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Appends value as exactly `digits` hexadecimal digits.
inline void AppendHex(std::string& out, std::uint32_t value, int digits, bool upper = false) {
  const char* set = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out.push_back(set[(value >> shift) & 0xF]);
}

// The low `digits` hexadecimal digits of value (at most 8) as a string.
inline std::string ToHex(std::uint32_t value, int digits, bool upper = false) {
  std::string out;
  AppendHex(out, value, digits, upper);
  return out;
}

}  // namespace tarn::base
