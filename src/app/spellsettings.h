// The spell checker's settings as the options keep them: the option bits,
// the language, the editor's automatic check and the progress window. The
// checker itself is built elsewhere; this is the face it shows to the
// options dialog and to the start-up code.
#pragma once

#include <string>
#include <vector>

#include "search/spellengine.h"

namespace tarn::platform {
class Registry;
}

namespace tarn::app {

// Option bits of the spell checker: the engine's own.
using SpellOption = search::TSpellOption;
using enum search::TSpellOption;

inline constexpr int kDefaultSpellOptions =
    spoSuggestFromUserDict | spoIgnoreAllCaps | spoIgnoreMixedDigits | spoIgnoreRomanNumerals;
inline constexpr int kDefaultSpellLanguage = 1040;

struct SpellLanguage {
  int id = 0;
  std::string name;
};

class SpellCheckerSettings {
 public:
  virtual ~SpellCheckerSettings() = default;
  // The installed spelling languages.
  virtual std::vector<SpellLanguage> Languages() = 0;
  virtual int Language() const = 0;
  virtual void SetLanguage(int id) = 0;
  virtual void Close() = 0;
  // False when the language cannot be opened.
  virtual bool Open() = 0;
  virtual int Options() const = 0;
  virtual void SetOptions(int bits) = 0;
  virtual bool ProgressWindow() const = 0;
  virtual void SetProgressWindow(bool shown) = 0;
  // The editor's automatic check, kept with the checker's settings.
  virtual bool AutoCheck() const = 0;
  virtual void SetAutoCheck(bool on) = 0;
};

// A stored flag of "orto" and the option bit it stands for.
struct SpellFlag {
  const char* name;
  int bit;
};
inline constexpr SpellFlag kSpellFlags[] = {
    {"userDic", spoSuggestFromUserDict}, {"caps", spoIgnoreAllCaps},         {"roman", spoIgnoreRomanNumerals},
    {"start", spoFindUncappedSentences}, {"repeat", spoFindRepeatWord},     {"point", spoFindSpacesBeforePunc},
    {"rate", spoRateSuggestions}};

// Applies the stored spell options: a flag "1" sets its bit, "0" clears it,
// anything else leaves the checker's own setting. Answers the language
// stored under "lang" (also the hypertext's language), or -1 when none is.
int ReadSpellOptions(platform::Registry& registry, SpellCheckerSettings& checker);
// Writes the nine flags from the checker's current settings.
void WriteSpellFlags(platform::Registry& registry, const SpellCheckerSettings& checker);

}  // namespace tarn::app
