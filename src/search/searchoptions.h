// The options of a text search (whole words, letter case) and the word
// criteria of the search window, "(A and B) or (C and D)", with the form a
// command line writes them in: "cat and dog or bird and fish".
#pragma once

#include <string>
#include <string_view>

namespace tarn::search {

// Bits of the search options; the values are the stored ones of the editor.
enum SearchOption : int { stWholeWord = 1, stMatchCase = 2 };

// The stored option bits from the two check boxes of the window.
inline int SearchOptionsFrom(bool wholeWord, bool ignoreCaps) {
  return (wholeWord ? stWholeWord : 0) | (ignoreCaps ? 0 : stMatchCase);
}

struct WordCriteria {
  std::string a;  // "Search word:"
  std::string b;  // its "and:"
  std::string c;  // "Or:"
  std::string d;  // its "and:"

  bool Empty() const { return a.empty() && b.empty() && c.empty() && d.empty(); }
  // Moves the words the way a search reads them: C and D into A and B when
  // both of those are empty, B into an empty A, D into an empty C.
  void Normalise();
};

// Reads "A and B or C and D" (each part optional, "and"/"or" in any case,
// words separated by blanks). A word list that has more than two "or" parts
// or more than two words in an "and" group is refused: nothing is returned
// and error says why.
bool ParseWordCriteria(std::string_view expression, WordCriteria& out, std::string& error);

// The word as a search compares it: lower-cased unless case counts.
std::string LowerCaseUnless(std::string_view word, int options);

// Whether the character of cp1252 text at a word's edge ends a word (a word
// is made of letters, digits and the national letters).
bool IsWordCharacter(unsigned char c);

// The next occurrence of word in text from `from`, honouring the options;
// npos when there is none. With case ignored the word must already be in
// lower case and text is compared through the cp1252 case table.
std::size_t FindWord(std::string_view text, std::string_view word, std::size_t from, int options);

}  // namespace tarn::search
