// What a spelling engine offers beyond the background check: suggestions,
// the session's ignore-all list, the user dictionary and the replacement
// lists, and the languages whose dictionaries are installed. The statuses
// and option bits are those the checker and its dialog act on.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "search/spellthread.h"

namespace tarn::search {

// Statuses of a verification.
enum SpellStatus : int {
  kSpellOk = 0,
  kSpellUnknown = 1,
  kSpellReturningChangeAlways = 2,
  kSpellReturningChangeOnce = 3,
  kSpellInvalidHyphenation = 4,
  kSpellErrorCapitalization = 5,
  kSpellWordConsideredAbbreviation = 6,
  kSpellNoSentenceStartCap = 10,
  kSpellRepeatWord = 11,
  kSpellExtraSpaces = 12,
  kSpellMissingSpace = 13,
  kSpellInitialNumeral = 14,
};

// Option bits given to the engine.
enum TSpellOption : int {
  spoSuggestFromUserDict = 1,
  spoIgnoreAllCaps = 2,
  spoIgnoreMixedDigits = 4,
  spoIgnoreRomanNumerals = 8,
  spoFindUncappedSentences = 16,
  spoFindMissingSpaces = 32,
  spoFindRepeatWord = 64,
  spoFindExtraSpaces = 128,
  spoFindSpacesBeforePunc = 256,
  spoFindSpacesAfterPunc = 512,
  spoRateSuggestions = 1024,
  spoFindInitialNumerals = 2048,
};

// The full engine: the background check's verification plus the services of
// the spelling menu and the interactive check. Words are cp1252.
class SpellService : public SpellEngine {
 public:
  // The first string of a verification with status 2 or 3: the replacement
  // the engine remembers for the error.
  virtual std::string Replacement() const = 0;
  virtual void SetOptions(int bits) = 0;
  // Suggestions without repeats (compared without letter case).
  virtual std::vector<std::string> Suggest(std::string_view word) = 0;
  // Accepted for the rest of the session.
  virtual void IgnoreAll(std::string_view word) = 0;
  // Accepted from now on and written to the user dictionary.
  virtual bool AddWord(std::string_view word) = 0;
  // Remembers a replacement: always (the engine then answers status 2 for
  // the word) or once (status 3, the replacement offered first).
  virtual void AddChange(std::string_view word, std::string_view replacement, bool always) = 0;
};

// An installed dictionary.
struct DictionaryInfo {
  std::string locale;  // "en_US"
  int id = 0;          // the language number, 0 when the table has none
  std::string name;    // "English (United States)"
  std::filesystem::path aff;
  std::filesystem::path dic;
};

// The dictionaries found in the folders (pairs of LOCALE.aff and LOCALE.dic),
// in folder order and then by name; a locale found twice keeps its first.
std::vector<DictionaryInfo> FindDictionaries(const std::vector<std::filesystem::path>& folders);
// The usual folders: $TARN_HUNSPELL_PATH (colon-separated) when set, else
// the system's Hunspell folder.
std::vector<std::filesystem::path> DictionaryFolders();

// The language number of a locale ("it_IT" 1040), or 0.
int LanguageIdOf(std::string_view locale);
// The locale of a language number, or empty.
std::string LocaleOfLanguage(int id);
// The language's name in English ("Italian (Italy)"); the locale itself when
// the table does not know it.
std::string LanguageName(std::string_view locale);
std::string LanguageName(int id);
// The font character set of the language's code page (238 for central
// European, 204 Cyrillic, ...; 0 for western languages).
int LanguageCharset(int id);

}  // namespace tarn::search
