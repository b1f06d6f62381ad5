// Stored spell options: which values change the checker and which leave it.
#include "app/spellsettings.h"

#include <gtest/gtest.h>

#include "app/ui/fakeoptionshost.h"
#include "platform/memorysettings.h"
#include "platform/registry.h"

namespace tarn::app {
namespace {

TEST(SpellSettings, StoredFlagsSetClearOrLeaveTheCheckersOwn) {
  platform::MemorySettings store;
  platform::Registry registry(store);
  registry.WriteSubkeyValue("orto", "userDic", "0");  // on by default: cleared
  registry.WriteSubkeyValue("orto", "repeat", "1");   // off by default: set
  registry.WriteSubkeyValue("orto", "caps", "yes");   // neither: the checker's own stays (on)
  registry.WriteSubkeyValue("orto", "progr", "0");
  testing::FakeSpellChecker checker;
  EXPECT_EQ(ReadSpellOptions(registry, checker), -1);  // no language stored
  EXPECT_EQ(checker.options, spoIgnoreAllCaps | spoIgnoreMixedDigits | spoIgnoreRomanNumerals | spoFindRepeatWord);
  EXPECT_FALSE(checker.progress);
  EXPECT_TRUE(checker.autoCheck);  // "auto" missing turns the automatic check on
  EXPECT_EQ(checker.language, kDefaultSpellLanguage);

  registry.WriteSubkeyValue("orto", "lang", "x");
  registry.WriteSubkeyValue("orto", "auto", "0");
  checker.language = 1033;
  EXPECT_EQ(ReadSpellOptions(registry, checker), kDefaultSpellLanguage);
  EXPECT_EQ(checker.language, kDefaultSpellLanguage);
  EXPECT_FALSE(checker.autoCheck);

  WriteSpellFlags(registry, checker);
  EXPECT_EQ(registry.ReadSubkeyValue("orto", "caps"), "1");
  EXPECT_EQ(registry.ReadSubkeyValue("orto", "userDic"), "0");
  EXPECT_EQ(registry.ReadSubkeyValue("orto", "auto"), "0");
  EXPECT_EQ(registry.ReadSubkeyValue("orto", "progr"), "0");
}

}  // namespace
}  // namespace tarn::app
