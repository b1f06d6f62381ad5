// The CSS that HTML import understands: declarations of STYLE attributes and
// of style rules, colours, and linked style sheets whose "DIV." and "A."
// rules become paragraph styles (as the exporter's generated sheet writes
// them).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "convert/ht2state.h"

namespace tarn::convert {

// A face name fit for the markup's format tags: no quote, angle bracket or
// control character may end it early; trailing blanks dropped, 32
// characters at most.
std::string MarkupFaceName(std::string_view face);

// "#RRGGBB" (or "RRGGBB", "#RGB", and the sixteen colour names of HTML) as a
// colour value with red in the lowest byte.
bool ParseHtmlColour(std::string_view text, std::uint32_t& colour);

// What one list of declarations says; absent fields are not touched.
struct CssDeclarations {
  bool hasColour = false;
  std::uint32_t colour = 0;
  bool hasFace = false;
  std::string face;
  bool hasSize = false;
  std::int32_t size = 10;
  int italic = -1;      // 1 italic, 0 normal, -1 not said
  int bold = -1;
  int decoration = -1;  // 0 none, 1 underline, 2 line-through
  int alignment = -1;   // 0 left, 1 right, 2 centred
  int listType = -1;    // 0 none, 6 numbered, 10 bulleted
  int unit = -1;        // the unit of the first length given (0 cm .. 5 px)
  bool automaticLineHeight = false;
  Ht2ParagraphOverrides measures;  // in pixels

  // Applies the character fields to a state.
  void ApplyFont(THt2State& state) const;
};

// Reads "name: value; name: value". Lengths become pixels at the given
// resolution.
CssDeclarations ParseCssDeclarations(std::string_view text, int pixelsPerInch);

// One "DIV.class" rule with its "A.class" companion.
struct CssStyleRule {
  std::string className;  // lower case
  std::string name;       // the comment before the rule, else the class name
  CssDeclarations paragraph;
  bool hasLink = false;
  CssDeclarations link;
};

struct CssStyleSheet {
  // Written by the exporter: its first line is the generated sheet's comment.
  bool generated = false;
  std::vector<CssStyleRule> rules;
};

CssStyleSheet ParseStyleSheet(std::string_view text, int pixelsPerInch);

}  // namespace tarn::convert
