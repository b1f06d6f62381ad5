// Translation tables; see translationtable.h.
#include "app/translationtable.h"

#include "base/cp1252.h"

namespace tarn::app {
namespace {
constexpr char kSection = '\xA7';
}

TranslationTable::TranslationTable(std::string_view text) {
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    m_lines.emplace_back(line);
    pos = end + 1;
  }
  while (!m_lines.empty() && m_lines.back().empty()) m_lines.pop_back();
}

std::string DecodeTranslationValue(std::string_view value) {
  std::string out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (c == '\'' && i + 1 < value.size() && value[i + 1] == '\'') {
      out += '\'';
      ++i;
    } else if (c == kSection) {
      if (i + 1 < value.size() && value[i + 1] == '!') out += "\r\n";
      if (i + 1 < value.size() && value[i + 1] == kSection) out += kSection;
      ++i;
    } else {
      out += c;
    }
  }
  return out;
}

std::optional<std::string> TranslationTable::Lookup(std::string_view section, std::string_view identifier) const {
  const std::string key = "*" + base::LowerCase(section) + "*" + base::LowerCase(identifier);
  // Keys are on the even lines; the value is the line after its key.
  for (std::size_t i = 0; i + 1 < m_lines.size(); i += 2) {
    if (base::SameText(m_lines[i], key)) {
      const std::string& value = m_lines[i + 1];
      return DecodeTranslationValue(std::string_view(value).substr(value.empty() ? 0 : 1));
    }
  }
  return std::nullopt;
}

std::optional<std::string> TranslationTable::Property(std::string_view component, std::string_view property) const {
  return Lookup("_", std::string(component) + "_" + std::string(property));
}

std::optional<std::vector<std::string>> TranslationTable::List(std::string_view component,
                                                               std::string_view property) const {
  const std::string section = "_." + std::string(component) + "_" + std::string(property);
  auto count = Lookup(section, "count");
  if (!count) return std::nullopt;
  int n = 0;
  for (char c : *count) {
    if (c < '0' || c > '9' || n > 100000) return std::nullopt;
    n = n * 10 + (c - '0');
  }
  std::vector<std::string> items;
  for (int i = 0; i < n; ++i) items.push_back(Lookup(section, "item" + std::to_string(i)).value_or(std::string()));
  return items;
}

std::optional<std::string> TranslationTable::ItemProperty(std::string_view component, std::string_view collection,
                                                          int item, std::string_view property) const {
  return Lookup("_." + std::string(component) + "_" + std::string(collection),
                "item" + std::to_string(item) + "_" + std::string(property));
}

}  // namespace tarn::app
