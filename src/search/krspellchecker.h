// The spell checker: one language's engine with its options, opened and
// closed, the spelling menu's services, and the interactive check that its
// dialog drives. The check asks its owner for texts one by one, stops at
// each error and hands every correction back through the events; the
// dialog only shows the state kept here and presses its buttons.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "search/hunspellengine.h"

namespace tarn::search {

// The event types of OnChangeText.
enum ChangeEventType : int { kChangeOnce = 0, kChangeAll = 1 };

class TKrSpellChecker {
 public:
  // The default language and options of the main window's checker.
  static constexpr int kDefaultLanguage = 1040;
  static constexpr int kDefaultOptions =
      spoSuggestFromUserDict | spoIgnoreAllCaps | spoIgnoreMixedDigits | spoIgnoreRomanNumerals;

  TKrSpellChecker(std::vector<std::filesystem::path> folders, std::filesystem::path userDictionary);
  ~TKrSpellChecker();
  TKrSpellChecker(const TKrSpellChecker&) = delete;
  TKrSpellChecker& operator=(const TKrSpellChecker&) = delete;

  // ---- Properties ----
  int Options() const { return m_options; }
  void SetOptions(int bits);
  int Language() const { return m_language; }
  // Takes effect only while closed and for an installed language; false
  // otherwise.
  bool SetLanguage(int id);
  std::string Caption = "Spell check %s";
  bool ShowProgressWin = true;
  // The dialog's caption: Caption with the language's name.
  std::string DialogCaption() const;

  // The installed languages that have a number.
  std::vector<DictionaryInfo> Languages() const;
  // The dictionary used for the language (its own, else one of its primary
  // language), or nothing.
  std::optional<DictionaryInfo> DictionaryFor(int id) const;

  // ---- Opening ----
  // Opens the engine for the language; false, and closed, when no
  // dictionary is installed for it.
  bool Open();
  void Close();
  bool IsOpen() const { return m_engine.IsOpen(); }
  // The engine the background check uses; closed while the checker is.
  HunspellEngine& Engine() { return m_engine; }
  std::function<void()> OnOpen;
  std::function<void()> OnClose;

  // ---- The spelling menu ----
  std::vector<std::string> Suggest(const std::string& word);
  void IgnoreAll(const std::string& word);
  void AddWord(const std::string& word);

  // ---- The interactive check ----
  // The owner's texts: the next one (empty ends the check) and, for the
  // first, where checking starts (characters before it are blanked).
  std::function<std::string(int& startpos)> OnGetPar;
  std::function<void(int status, int bufPos, int len)> OnMisspelling;
  std::function<void(int bufPos, int len, const std::string& newWord, int eventType)> OnChangeText;
  std::function<void()> OnEnd;
  // Shows the dialog modally; it calls Begin and the buttons. Without it
  // the check runs with the dialog's choices left to the caller (tests).
  std::function<void(TKrSpellChecker& checker)> RunDialog;

  // Runs the interactive check; false when the user closed the dialog.
  bool Check();
  bool Cancelled() const { return m_cancelled; }
  // The dialog offers "&Skip page" (the whole hypertext is being checked).
  bool SkipPageOffered = false;

  // What the dialog shows of the error it stops at.
  struct ErrorView {
    int status = 0;
    std::string message;      // "Unknown word:", ...
    std::string line;         // the line of the current text holding the error
    int lineErrorStart = 0;   // where the error starts in line
    std::string word;         // the error's text
    std::vector<std::string> suggestions;
    bool changeEnabled = false;
    bool changeAllEnabled = false;
    bool skipAllEnabled = false;
    bool addEnabled = false;
    bool deleteShown = false;  // "D&elete" in the place of "&Change"
  };
  // Starts the check: true when it stopped at an error, false when it ended.
  bool Begin();
  bool Running() const { return m_running; }
  const ErrorView& Error() const { return m_view; }
  // The progress of the check, 0 to 100, wrapping round on long texts.
  int Progress() const { return m_progress; }
  // The buttons; each answers whether the check stopped at a next error.
  bool Change(const std::string& replacement, bool edited);
  bool ChangeAll(const std::string& replacement);
  bool Skip();
  bool SkipAll();
  bool Add();
  bool Delete();
  void SkipPage();
  void CloseCheck();

 private:
  bool Loop();
  void ShowError(const SpellResult& result);
  void Replace(int at, int length, const std::string& with, int eventType);
  void End();

  std::vector<std::filesystem::path> m_folders;
  std::filesystem::path m_userDictionary;
  HunspellEngine m_engine;
  int m_options = kDefaultOptions;
  int m_language = kDefaultLanguage;
  bool m_cancelled = false;
  bool m_running = false;
  // The current text, where its unchecked rest starts, and the error.
  std::string m_text;
  std::size_t m_rest = 0;
  int m_state = 0;
  SpellResult m_error;
  int m_progress = 0;
  ErrorView m_view;
};

// The user dictionary's usual place: CUSTOM.DIC in the user's data folder.
std::filesystem::path DefaultUserDictionary(const std::filesystem::path& dataHome);

}  // namespace tarn::search
