// A window's translation table: lines of keys ("*section*identifier", lower
// case) each followed by a value line (a blank, then the text). Windows
// carry built-in texts and apply their English table when created; a key
// that is missing keeps the built-in text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarn::app {

class TranslationTable {
 public:
  TranslationTable() = default;
  // Lines are separated by CR LF (a lone LF is accepted too). Text is cp1252.
  explicit TranslationTable(std::string_view text);

  // The value under "*" + section + "*" + identifier, keys compared without
  // case, the first match winning; escapes decoded.
  std::optional<std::string> Lookup(std::string_view section, std::string_view identifier) const;
  // A string property: section "_", identifier component + "_" + property.
  std::optional<std::string> Property(std::string_view component, std::string_view property) const;
  // A string list: nothing when the table has no count for it.
  std::optional<std::vector<std::string>> List(std::string_view component, std::string_view property) const;
  // A property of a collection item (list-view columns).
  std::optional<std::string> ItemProperty(std::string_view component, std::string_view collection, int item,
                                          std::string_view property) const;

  bool Empty() const { return m_lines.empty(); }

 private:
  std::vector<std::string> m_lines;
};

// "''" is one "'", "\xA7!" a line break (CR LF), "\xA7\xA7" one "\xA7"; any
// other character after "\xA7" is dropped with it.
std::string DecodeTranslationValue(std::string_view value);

}  // namespace tarn::app
