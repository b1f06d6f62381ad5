// The RTF writer's vocabulary; see rtfexportwords.h.
#include "convert/rtfexportwords.h"

#include "base/cp1252.h"
#include "base/hex.h"

namespace tarn::convert {
namespace {

constexpr unsigned char kFirstEscaped = 126;

void AppendHexByte(std::string& out, unsigned char c) {
  out += "\\'";
  base::AppendHex(out, c, 2);
}

struct KnownFont {
  std::string_view face;
  std::string_view family;
};
// Families of the faces documents name most; others are left without one.
constexpr KnownFont kKnownFonts[] = {
    {"Times New Roman", "\\froman\\fprq2"}, {"Times", "\\froman\\fprq2"},
    {"Georgia", "\\froman\\fprq2"},         {"Garamond", "\\froman\\fprq2"},
    {"Book Antiqua", "\\froman\\fprq2"},    {"Palatino Linotype", "\\froman\\fprq2"},
    {"Liberation Serif", "\\froman\\fprq2"}, {"Symbol", "\\froman\\fprq2"},
    {"Arial", "\\fswiss\\fprq2"},           {"Helvetica", "\\fswiss\\fprq2"},
    {"Verdana", "\\fswiss\\fprq2"},         {"Tahoma", "\\fswiss\\fprq2"},
    {"MS Sans Serif", "\\fswiss\\fprq2"},   {"Liberation Sans", "\\fswiss\\fprq2"},
    {"Trebuchet MS", "\\fswiss\\fprq2"},    {"Century Gothic", "\\fswiss\\fprq2"},
    {"Courier New", "\\fmodern\\fprq1"},    {"Courier", "\\fmodern\\fprq1"},
    {"Lucida Console", "\\fmodern\\fprq1"}, {"Liberation Mono", "\\fmodern\\fprq1"},
    {"Comic Sans MS", "\\fscript\\fprq2"},  {"Wingdings", "\\fdecor\\fprq2"},
};

}  // namespace

void AppendRtfText(std::string& out, std::string_view text) {
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '\r') out += "\\par \r\n";
    else if (c < 32) continue;
    else if (c == '\\' || c == '{' || c == '}') (out += '\\') += ch;
    else if (c >= kFirstEscaped) AppendHexByte(out, c);
    else out.push_back(ch);
  }
}

void AppendRtfChar(std::string& out, unsigned char c) {
  if (c < 32) return;
  if (c == '\\' || c == '{' || c == '}') {
    out.push_back('\\');
    out.push_back(static_cast<char>(c));
  } else if (c >= kFirstEscaped) {
    AppendHexByte(out, c);
  } else {
    out.push_back(static_cast<char>(c));
  }
}

std::string_view FontFamily(std::string_view face) {
  for (const KnownFont& font : kKnownFonts) {
    if (base::SameText(font.face, face)) return font.family;
  }
  return "\\fprq2";
}

}  // namespace tarn::convert
