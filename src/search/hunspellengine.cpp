// The spelling engine over Hunspell.
#include "search/hunspellengine.h"

#include <hunspell.hxx>

#include <algorithm>
#include <fstream>

#include "base/cp1252.h"

namespace tarn::search {

namespace {

bool IsLetter(unsigned char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) return true;
  switch (c) {
    case 0x8A: case 0x8C: case 0x8E: case 0x9A: case 0x9C: case 0x9E: case 0x9F:
    case 0xAA: case 0xB5: case 0xBA: return true;
    default: return c >= 0xC0 && c != 0xD7 && c != 0xF7;
  }
}
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsWordByte(unsigned char c) { return IsLetter(c) || IsDigit(c); }
// Inside a word between two letters: apostrophes, and the soft hyphens
// (the markup's byte 31 and the code page's 173), which only mark where the
// word may break.
bool IsJoiner(unsigned char c) { return c == '\'' || c == 0x92 || c == 31 || c == 0xAD; }
bool IsSoftHyphen(char c) { return c == '\x1F' || c == '\xAD'; }
bool IsLower(unsigned char c) { return IsLetter(c) && base::Cp1252Upper(static_cast<char>(c)) != static_cast<char>(c); }
unsigned char At(std::string_view text, std::size_t i) { return static_cast<unsigned char>(text[i]); }

// The end of the word that starts at i: letters and digits, and a joiner
// with a letter on both sides.
std::size_t WordEnd(std::string_view text, std::size_t i) {
  while (i < text.size()) {
    if (IsWordByte(At(text, i))) {
      ++i;
    } else if (IsJoiner(At(text, i)) && i + 1 < text.size() && IsLetter(At(text, i + 1)) && i > 0 &&
               IsLetter(At(text, i - 1))) {
      ++i;
    } else {
      break;
    }
  }
  return i;
}

// The start of the word that ends at `end`, or npos when the byte before is
// no word byte.
std::size_t WordStart(std::string_view text, std::size_t end) {
  std::size_t i = end;
  while (i > 0 && (IsWordByte(At(text, i - 1)) ||
                   (IsJoiner(At(text, i - 1)) && i >= 2 && IsLetter(At(text, i - 2)) && i < text.size() &&
                    IsLetter(At(text, i))))) {
    --i;
  }
  return i == end ? std::string_view::npos : i;
}

bool IsRoman(std::string_view word) {
  return std::all_of(word.begin(), word.end(), [](char c) { return std::string_view("IVXLCDM").find(c) != std::string_view::npos; });
}

// Whether a sentence starts at i: nothing but blanks back to the text's
// start (when the text starts one) or to a full stop, question or
// exclamation mark, or a paragraph break.
bool SentenceStartsAt(std::string_view text, std::size_t i, bool textStartsSentence) {
  while (i > 0 && (text[i - 1] == ' ' || text[i - 1] == '\t' || text[i - 1] == '"' || text[i - 1] == '(')) --i;
  if (i == 0) return textStartsSentence;
  const char c = text[i - 1];
  return c == '.' || c == '!' || c == '?' || c == '\r' || c == '\n';
}

}  // namespace

HunspellEngine::HunspellEngine() = default;
HunspellEngine::~HunspellEngine() = default;

bool HunspellEngine::Open(const std::filesystem::path& aff, const std::filesystem::path& dic,
                          const std::filesystem::path& userDictionary) {
  Close();
  std::error_code ec;
  if (!std::filesystem::is_regular_file(aff, ec) || !std::filesystem::is_regular_file(dic, ec)) return false;
  m_hunspell = std::make_unique<Hunspell>(aff.c_str(), dic.c_str());
  m_utf8 = m_hunspell->get_dict_encoding() == "UTF-8";
  m_userDictionary = userDictionary;
  std::ifstream words(userDictionary);
  for (std::string line; std::getline(words, line);) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    // The file is UTF-8 text, so that other programs read it too.
    if (!line.empty()) m_hunspell->add(m_utf8 ? line : base::Utf8ToCp1252(line).value_or(std::string()));
  }
  return true;
}

void HunspellEngine::Close() {
  m_hunspell.reset();
  m_ignored.clear();
  m_changeAlways.clear();
  m_changeOnce.clear();
}

std::string HunspellEngine::ToDictionary(std::string_view word) const {
  std::string plain(word);
  std::replace(plain.begin(), plain.end(), '\x92', '\'');
  std::erase_if(plain, IsSoftHyphen);
  return m_utf8 ? base::Cp1252ToUtf8(plain) : plain;
}

std::string HunspellEngine::FromDictionary(std::string_view word) const {
  if (!m_utf8) return std::string(word);
  return base::Utf8ToCp1252(word).value_or(std::string());
}

bool HunspellEngine::Skipped(std::string_view word) const {
  const bool hasDigit = std::any_of(word.begin(), word.end(), [](char c) { return IsDigit(static_cast<unsigned char>(c)); });
  const bool allDigits = std::all_of(word.begin(), word.end(), [](char c) { return IsDigit(static_cast<unsigned char>(c)); });
  if (allDigits) return true;
  if (hasDigit && (m_options & spoIgnoreMixedDigits) != 0) return true;
  if ((m_options & spoIgnoreRomanNumerals) != 0 && IsRoman(word)) return true;
  if ((m_options & spoIgnoreAllCaps) != 0 && word.size() > 1 &&
      std::none_of(word.begin(), word.end(), [](char c) { return IsLower(static_cast<unsigned char>(c)); })) {
    return true;
  }
  return false;
}

bool HunspellEngine::Accepts(std::string_view word) {
  if (!m_hunspell) return true;
  if (m_ignored.count(std::string(word)) != 0) return true;
  return m_hunspell->spell(ToDictionary(word));
}

SpellResult HunspellEngine::Check(std::string_view text, std::size_t start, int spellState) {
  SpellResult result;
  m_replacement.clear();
  if (!m_hunspell) return result;
  // The word before the rest, for repeated words.
  std::size_t prevStart = std::string_view::npos;
  std::size_t prevEnd = 0;
  if (start > 0 && start <= text.size()) {
    std::size_t e = start;
    while (e > 0 && text[e - 1] == ' ') --e;
    if (const std::size_t s = WordStart(text, e); s != std::string_view::npos) {
      prevStart = s;
      prevEnd = e;
    }
  }
  std::size_t i = std::min(start, text.size());
  // A rest that starts inside a word starts after it.
  if (i > 0 && i < text.size() && IsWordByte(At(text, i - 1)) && IsWordByte(At(text, i))) i = WordEnd(text, i);
  while (i < text.size()) {
    if (!IsWordByte(At(text, i))) {
      ++i;
      continue;
    }
    const std::size_t end = WordEnd(text, i);
    const std::string_view word = text.substr(i, end - i);
    auto report = [&](int status) {
      result.status = status;
      result.offset = static_cast<int>(i - start);
      result.length = static_cast<int>(end - i);
      return result;
    };
    if ((m_options & spoFindRepeatWord) != 0 && prevStart != std::string_view::npos &&
        text.substr(prevEnd, i - prevEnd).find_first_not_of(' ') == std::string_view::npos && prevEnd < i &&
        base::SameText(text.substr(prevStart, prevEnd - prevStart), word) && !IsDigit(At(text, i))) {
      return report(kSpellRepeatWord);
    }
    if ((m_options & spoFindUncappedSentences) != 0 && IsLower(At(text, i)) &&
        SentenceStartsAt(text, i, i == start ? spellState == 2 : start == 0 && spellState == 2)) {
      return report(kSpellNoSentenceStartCap);
    }
    if (!Skipped(word)) {
      const std::string key(word);
      if (auto always = m_changeAlways.find(key); always != m_changeAlways.end()) {
        m_replacement = always->second;
        return report(kSpellReturningChangeAlways);
      }
      if (auto once = m_changeOnce.find(key); once != m_changeOnce.end()) {
        m_replacement = once->second;
        return report(kSpellReturningChangeOnce);
      }
      if (!Accepts(word)) return report(kSpellUnknown);
    }
    prevStart = i;
    prevEnd = end;
    i = end;
  }
  return result;
}

std::vector<std::string> HunspellEngine::Suggest(std::string_view word) {
  std::vector<std::string> list;
  if (!m_hunspell || word.empty()) return list;
  for (const std::string& s : m_hunspell->suggest(ToDictionary(word))) {
    std::string local = FromDictionary(s);
    if (local.empty()) continue;
    const bool known = std::any_of(list.begin(), list.end(), [&](const std::string& w) { return base::SameText(w, local); });
    if (!known) list.push_back(std::move(local));
  }
  return list;
}

void HunspellEngine::IgnoreAll(std::string_view word) {
  if (m_hunspell && !word.empty()) m_ignored.insert(std::string(word));
}

bool HunspellEngine::AddWord(std::string_view word) {
  if (!m_hunspell || word.empty()) return false;
  m_hunspell->add(ToDictionary(word));
  if (m_userDictionary.empty()) return true;
  std::error_code ec;
  if (m_userDictionary.has_parent_path()) std::filesystem::create_directories(m_userDictionary.parent_path(), ec);
  std::ofstream out(m_userDictionary, std::ios::app);
  out << base::Cp1252ToUtf8(word) << '\n';
  return static_cast<bool>(out);
}

void HunspellEngine::AddChange(std::string_view word, std::string_view replacement, bool always) {
  if (!m_hunspell || word.empty()) return;
  (always ? m_changeAlways : m_changeOnce)[std::string(word)] = std::string(replacement);
}

}  // namespace tarn::search
