// A main window and a spell checker as the options dialog sees them, with
// what was asked of them recorded.
#pragma once

#include <string>
#include <vector>

#include "app/optionshost.h"
#include "app/spellsettings.h"

namespace tarn::app::testing {

class FakeSpellChecker : public SpellCheckerSettings {
 public:
  std::vector<SpellLanguage> Languages() override { return languages; }
  int Language() const override { return language; }
  void SetLanguage(int id) override { language = id; }
  void Close() override { log.push_back("close"); }
  bool Open() override {
    log.push_back("open " + std::to_string(language));
    return language != refusedLanguage;
  }
  int Options() const override { return options; }
  void SetOptions(int bits) override { options = bits; }
  bool ProgressWindow() const override { return progress; }
  void SetProgressWindow(bool shown) override { progress = shown; }
  bool AutoCheck() const override { return autoCheck; }
  void SetAutoCheck(bool on) override { autoCheck = on; }

  std::vector<SpellLanguage> languages = {{1040, "Italiano"}, {1033, "English (US)"}, {1031, "Deutsch"}};
  int language = kDefaultSpellLanguage;
  int refusedLanguage = -1;
  int options = kDefaultSpellOptions;
  bool progress = true;
  bool autoCheck = false;
  std::vector<std::string> log;
};

class FakeOptionsHost : public OptionsHost {
 public:
  int ToolWindowLimit() const override { return limit; }
  void SetToolWindowLimit(int value) override { limit = value; }
  SpellCheckerSettings* SpellChecker() override { return speller; }
  bool InEditMode() const override { return editMode; }
  void SetEditMode(bool edit) override {
    editMode = edit;
    modes.push_back(edit);
  }
  void ApplyProgramOptions() override { ++applied; }
  void StopFormPlacement() override { placementStopped = true; }

  int limit = 3;
  SpellCheckerSettings* speller = nullptr;
  bool editMode = true;
  std::vector<bool> modes;
  int applied = 0;
  bool placementStopped = false;
};

}  // namespace tarn::app::testing
