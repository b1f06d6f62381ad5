// The spelling engine over Hunspell. Text is checked word by word: a word
// is a run of letters (with apostrophes between letters) and digits; the
// options skip words in capitals, words with digits and Roman numerals, and
// add the checks for repeated words and sentences without a capital. The
// user dictionary is a text file, one word a line, read when the engine
// opens and appended to by AddWord.
#pragma once

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>

#include "search/spellengine.h"

class Hunspell;

namespace tarn::search {

class HunspellEngine : public SpellService {
 public:
  HunspellEngine();
  ~HunspellEngine() override;
  HunspellEngine(const HunspellEngine&) = delete;
  HunspellEngine& operator=(const HunspellEngine&) = delete;

  // Opens the dictionary pair and the user dictionary (created when missing
  // at the first AddWord). False, and closed, when the dictionary cannot be
  // read.
  bool Open(const std::filesystem::path& aff, const std::filesystem::path& dic,
            const std::filesystem::path& userDictionary);
  void Close();
  const std::filesystem::path& UserDictionary() const { return m_userDictionary; }
  int Options() const { return m_options; }

  // ---- SpellService ----
  bool IsOpen() const override { return m_hunspell != nullptr; }
  SpellResult Check(std::string_view text, std::size_t start, int spellState) override;
  std::string Replacement() const override { return m_replacement; }
  void SetOptions(int bits) override { m_options = bits; }
  std::vector<std::string> Suggest(std::string_view word) override;
  void IgnoreAll(std::string_view word) override;
  bool AddWord(std::string_view word) override;
  void AddChange(std::string_view word, std::string_view replacement, bool always) override;

  // Whether the dictionaries (and the lists) accept the word.
  bool Accepts(std::string_view word);

 private:
  std::string ToDictionary(std::string_view word) const;
  std::string FromDictionary(std::string_view word) const;
  bool Skipped(std::string_view word) const;

  std::unique_ptr<Hunspell> m_hunspell;
  bool m_utf8 = false;
  int m_options = spoSuggestFromUserDict | spoIgnoreAllCaps | spoIgnoreMixedDigits | spoIgnoreRomanNumerals;
  std::filesystem::path m_userDictionary;
  std::set<std::string> m_ignored;
  std::unordered_map<std::string, std::string> m_changeAlways;
  std::unordered_map<std::string, std::string> m_changeOnce;
  std::string m_replacement;
};

}  // namespace tarn::search
