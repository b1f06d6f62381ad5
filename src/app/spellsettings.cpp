// Reading and writing the spell checker's stored settings.
#include "app/spellsettings.h"

#include "platform/registry.h"

namespace tarn::app {
namespace {
constexpr std::string_view kSpellKey = "orto";
}

int ReadSpellOptions(platform::Registry& registry, SpellCheckerSettings& checker) {
  int options = checker.Options();
  for (const SpellFlag& flag : kSpellFlags) {
    const std::string value = registry.ReadSubkeyValue(kSpellKey, flag.name);
    if (value == "1") options |= flag.bit;
    if (value == "0") options &= ~flag.bit;
  }
  checker.SetOptions(options);
  const std::string progress = registry.ReadSubkeyValue(kSpellKey, "progr");
  if (progress == "1") checker.SetProgressWindow(true);
  if (progress == "0") checker.SetProgressWindow(false);
  int language = -1;
  const std::string lang = registry.ReadSubkeyValue(kSpellKey, "lang");
  if (!lang.empty()) {
    language = platform::ParseNumber(lang, kDefaultSpellLanguage);
    checker.SetLanguage(language);
  }
  checker.SetAutoCheck(registry.ReadSubkeyValue(kSpellKey, "auto") != "0");
  return language;
}

void WriteSpellFlags(platform::Registry& registry, const SpellCheckerSettings& checker) {
  for (const SpellFlag& flag : kSpellFlags) {
    registry.WriteSubkeyFlag(kSpellKey, flag.name, (checker.Options() & flag.bit) != 0 ? 1 : 0);
  }
  registry.WriteSubkeyFlag(kSpellKey, "auto", checker.AutoCheck() ? 1 : 0);
  registry.WriteSubkeyFlag(kSpellKey, "progr", checker.ProgressWindow() ? 1 : 0);
}

}  // namespace tarn::app
