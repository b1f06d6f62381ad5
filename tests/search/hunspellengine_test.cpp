// The spelling engine over Hunspell with a tiny dictionary written by the
// test: verification with its statuses, suggestions, the session's
// ignore-all list, the user dictionary kept in a file, the replacement
// lists and the installed languages.
#include "search/hunspellengine.h"

#include <gtest/gtest.h>

#include <fstream>

namespace tarn::search {
namespace {

class HunspellEngineTest : public ::testing::Test {
 protected:
  HunspellEngineTest()
      : folder(std::filesystem::temp_directory_path() /
               ("tarn-spell-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)))) {
    std::filesystem::create_directories(folder / "dicts");
    std::ofstream(folder / "dicts" / "xx_XX.aff") << "SET UTF-8\nTRY abcdefghijklmnopqrstuvwxyz\n";
    std::ofstream(folder / "dicts" / "xx_XX.dic") << "7\nthe\ncat\ncats\ndog\nsat\nTarn\ncitt\xC3\xA0\n";
    std::ofstream(folder / "dicts" / "en_US.aff") << "SET UTF-8\n";
    std::ofstream(folder / "dicts" / "en_US.dic") << "1\nhello\n";
    std::ofstream(folder / "dicts" / "hyph_xx_XX.aff") << "\n";
    std::ofstream(folder / "dicts" / "hyph_xx_XX.dic") << "\n";
    Open(engine);
  }
  ~HunspellEngineTest() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
  bool Open(HunspellEngine& e) {
    return e.Open(folder / "dicts" / "xx_XX.aff", folder / "dicts" / "xx_XX.dic", folder / "user" / "CUSTOM.DIC");
  }
  std::string Errors(std::string_view text) {
    std::string out;
    std::size_t offset = 0;
    int state = 2;
    for (SpellResult r = engine.Check(text, 0, state); r.status != 0; r = engine.Check(text, offset, state)) {
      offset += static_cast<std::size_t>(r.offset);
      out += std::to_string(r.status) + ":" + std::string(text.substr(offset, static_cast<std::size_t>(r.length))) + " ";
      offset += static_cast<std::size_t>(r.length);
      state = 1;
    }
    return out;
  }
  std::filesystem::path folder;
  HunspellEngine engine;
};

TEST_F(HunspellEngineTest, VerifiesWordByWordWithTheOptions) {
  ASSERT_TRUE(engine.IsOpen());
  EXPECT_EQ(Errors("the cat sat"), "");
  EXPECT_EQ(Errors("the caat sat on the dgo"), "1:caat 1:on 1:dgo ");
  // Capitals, digits and Roman numerals are skipped by the default options;
  // cp1252 national letters reach the UTF-8 dictionary.
  EXPECT_EQ(Errors("THE CAAT XIV a1b 2024 citt\xE0 Tarn"), "");
  engine.SetOptions(0);
  EXPECT_EQ(Errors("THE CAAT a1b 2024"), "1:CAAT 1:a1b ");
  // Soft hyphens only mark where a word may break; hyphens and dashes
  // separate words.
  EXPECT_EQ(Errors("ca\x1Fts d\xADog cat-dog cat\x96sat dgo\x1F"), "1:dgo ");
  engine.SetOptions(spoFindRepeatWord | spoFindUncappedSentences);
  EXPECT_EQ(Errors("the cat cat sat. the dog"), "10:the 11:cat 10:the ");
  // The offset is counted from the start given.
  const SpellResult r = engine.Check("cat dgo", 3, 1);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.offset, 1);
  EXPECT_EQ(r.length, 3);
}

TEST_F(HunspellEngineTest, SuggestIgnoreAndUserDictionary) {
  const auto suggestions = engine.Suggest("dgo");
  ASSERT_FALSE(suggestions.empty());
  EXPECT_EQ(suggestions.front(), "dog");
  engine.IgnoreAll("caat");
  EXPECT_EQ(Errors("caat zorp"), "1:zorp ");
  ASSERT_TRUE(engine.AddWord("zorp"));
  EXPECT_EQ(Errors("caat zorp"), "");
  // A new session: the ignored word is gone, the added word is kept.
  HunspellEngine again;
  ASSERT_TRUE(Open(again));
  EXPECT_TRUE(again.Accepts("zorp"));
  EXPECT_FALSE(again.Accepts("caat"));
  std::ifstream file(folder / "user" / "CUSTOM.DIC");
  std::string line;
  std::getline(file, line);
  EXPECT_EQ(line, "zorp");
}

TEST_F(HunspellEngineTest, ReplacementLists) {
  engine.AddChange("teh", "the", true);
  engine.AddChange("dgo", "dog", false);
  SpellResult r = engine.Check("teh dgo", 0, 2);
  EXPECT_EQ(r.status, kSpellReturningChangeAlways);
  EXPECT_EQ(engine.Replacement(), "the");
  r = engine.Check("teh dgo", 3, 1);
  EXPECT_EQ(r.status, kSpellReturningChangeOnce);
  EXPECT_EQ(engine.Replacement(), "dog");
}

TEST_F(HunspellEngineTest, ClosedOrMissing) {
  HunspellEngine missing;
  EXPECT_FALSE(missing.Open(folder / "none.aff", folder / "none.dic", {}));
  EXPECT_FALSE(missing.IsOpen());
  EXPECT_EQ(missing.Check("anything", 0, 2).status, 0);
  EXPECT_TRUE(missing.Suggest("anything").empty());
  EXPECT_FALSE(missing.AddWord("anything"));
}

TEST_F(HunspellEngineTest, InstalledLanguages) {
  const auto found = FindDictionaries({folder / "dicts", folder / "nowhere"});
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].locale, "en_US");
  EXPECT_EQ(found[0].id, 1033);
  EXPECT_EQ(found[0].name, "English (United States)");
  EXPECT_EQ(found[1].locale, "xx_XX");
  EXPECT_EQ(found[1].id, 0);
  EXPECT_EQ(LocaleOfLanguage(1040), "it_IT");
  EXPECT_EQ(LanguageCharset(1045), 238);
}

}  // namespace
}  // namespace tarn::search
