// Hints written "short|long": the short part is the tooltip, the long part
// the status bar's text. A hint without "|" is both.
#pragma once

#include <string_view>

namespace tarn::base {

constexpr std::string_view ShortHint(std::string_view hint) { return hint.substr(0, hint.find('|')); }

constexpr std::string_view LongHint(std::string_view hint) {
  const std::size_t bar = hint.find('|');
  return bar == std::string_view::npos ? hint : hint.substr(bar + 1);
}

}  // namespace tarn::base
