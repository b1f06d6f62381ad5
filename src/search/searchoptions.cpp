// Word criteria and the word search shared by the window and the tools.
#include "search/searchoptions.h"

#include <vector>

#include "base/cp1252.h"

namespace tarn::search {

void WordCriteria::Normalise() {
  if (a.empty() && b.empty()) {
    a = std::move(c);
    b = std::move(d);
    c.clear();
    d.clear();
  } else if (a.empty()) {
    a = std::move(b);
    b.clear();
  }
  if (c.empty() && !d.empty()) {
    c = std::move(d);
    d.clear();
  }
}

namespace {

std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < text.size() && text[i] != ' ' && text[i] != '\t') ++i;
    if (i > start) words.emplace_back(text.substr(start, i - start));
  }
  return words;
}

}  // namespace

bool ParseWordCriteria(std::string_view expression, WordCriteria& out, std::string& error) {
  // Groups of words joined by "and", the groups joined by "or".
  std::vector<std::vector<std::string>> groups(1);
  for (std::string& word : Words(expression)) {
    if (base::SameText(word, "or")) {
      groups.emplace_back();
    } else if (base::SameText(word, "and")) {
      continue;
    } else {
      groups.back().push_back(std::move(word));
    }
  }
  if (groups.size() > 2) {
    error = "at most two alternatives joined by \"or\"";
    return false;
  }
  for (const auto& group : groups) {
    if (group.size() > 2) {
      error = "at most two words joined by \"and\" in each alternative";
      return false;
    }
  }
  WordCriteria words;
  if (!groups[0].empty()) words.a = groups[0][0];
  if (groups[0].size() > 1) words.b = groups[0][1];
  if (groups.size() > 1 && !groups[1].empty()) words.c = groups[1][0];
  if (groups.size() > 1 && groups[1].size() > 1) words.d = groups[1][1];
  if (words.Empty()) {
    error = "no word to search for";
    return false;
  }
  out = std::move(words);
  return true;
}

std::string LowerCaseUnless(std::string_view word, int options) {
  return (options & stMatchCase) != 0 ? std::string(word) : base::LowerCase(word);
}

bool IsWordCharacter(unsigned char c) {
  // Blanks and ASCII punctuation end a word; everything else, the national
  // letters of the code page included, belongs to it.
  return !((c < 48) || (c >= 58 && c <= 64) || (c >= 91 && c <= 96) || (c >= 123 && c <= 127));
}

std::size_t FindWord(std::string_view text, std::string_view word, std::size_t from, int options) {
  if (word.empty()) return std::string_view::npos;
  const bool matchCase = (options & stMatchCase) != 0;
  const bool whole = (options & stWholeWord) != 0;
  const std::string lowered = matchCase ? std::string() : base::LowerCase(text);
  const std::string_view haystack = matchCase ? text : std::string_view(lowered);
  while (from <= haystack.size()) {
    const std::size_t hit = haystack.find(word, from);
    if (hit == std::string_view::npos) return hit;
    const std::size_t after = hit + word.size();
    const bool startsWord = hit == 0 || !IsWordCharacter(static_cast<unsigned char>(haystack[hit - 1]));
    const bool endsWord = after >= haystack.size() || !IsWordCharacter(static_cast<unsigned char>(haystack[after]));
    if (!whole || (startsWord && endsWord)) return hit;
    from = hit + 1;
  }
  return std::string_view::npos;
}

}  // namespace tarn::search
