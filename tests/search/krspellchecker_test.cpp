// The interactive check driven as its dialog drives it: the owner's texts,
// the errors it stops at, and the corrections handed back.
#include "search/krspellchecker.h"

#include <gtest/gtest.h>

#include <fstream>

namespace tarn::search {
namespace {

class KrSpellCheckerTest : public ::testing::Test {
 protected:
  KrSpellCheckerTest()
      : folder(std::filesystem::temp_directory_path() /
               ("tarn-checker-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)))),
        checker({folder / "dicts"}, folder / "CUSTOM.DIC") {
    std::filesystem::create_directories(folder / "dicts");
    std::ofstream(folder / "dicts" / "it_IT.aff") << "SET UTF-8\nTRY abcdefghijklmnopqrstuvwxyz\n";
    std::ofstream(folder / "dicts" / "it_IT.dic") << "6\nthe\ncat\ndog\nsat\non\nmat\n";
    std::ofstream(folder / "dicts" / "en_GB.aff") << "SET UTF-8\n";
    std::ofstream(folder / "dicts" / "en_GB.dic") << "1\ncolour\n";
    checker.OnGetPar = [this](int& startpos) {
      if (next >= texts.size()) return std::string();
      if (next == 0) startpos = firstStart;
      return texts[next++];
    };
    checker.OnChangeText = [this](int at, int length, const std::string& word, int type) {
      changes += std::to_string(at) + "," + std::to_string(length) + "," + word + "," + std::to_string(type) + ";";
    };
    checker.OnEnd = [this] { ++ended; };
  }
  ~KrSpellCheckerTest() override {
    checker.Close();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
  std::filesystem::path folder;
  TKrSpellChecker checker;
  std::vector<std::string> texts;
  std::size_t next = 0;
  int firstStart = 0;
  std::string changes;
  int ended = 0;
};

TEST_F(KrSpellCheckerTest, OpensTheLanguageItHasADictionaryFor) {
  EXPECT_FALSE(checker.IsOpen());
  EXPECT_TRUE(checker.Begin() == false);  // closed: nothing happens
  ASSERT_TRUE(checker.Open());
  EXPECT_EQ(checker.DialogCaption(), "Spell check Italian (Italy)");
  EXPECT_FALSE(checker.SetLanguage(2057));  // not while open
  checker.Close();
  EXPECT_FALSE(checker.SetLanguage(1031));  // not installed
  EXPECT_TRUE(checker.SetLanguage(1033));   // English: British by its primary language
  ASSERT_TRUE(checker.Open());
  EXPECT_TRUE(checker.Engine().Accepts("colour"));
}

TEST_F(KrSpellCheckerTest, ButtonsCorrectAndGoOn) {
  ASSERT_TRUE(checker.Open());
  texts = {"the caat sat", "on teh mat dgo", "dgo zorp"};
  ASSERT_TRUE(checker.Begin());
  EXPECT_EQ(checker.Error().word, "caat");
  EXPECT_EQ(checker.Error().message, "Unknown word:");
  EXPECT_EQ(checker.Error().line, "the caat sat");
  ASSERT_FALSE(checker.Error().suggestions.empty());
  EXPECT_EQ(checker.Error().suggestions.front(), "cat");
  EXPECT_TRUE(checker.Error().changeAllEnabled);
  // Change re-verifies the replacement, then goes on to the next text.
  ASSERT_TRUE(checker.Change("cat", false));
  EXPECT_EQ(checker.Error().word, "teh");
  ASSERT_TRUE(checker.Skip());
  EXPECT_EQ(checker.Error().word, "dgo");
  // Change all: the next "dgo" is replaced without stopping.
  ASSERT_TRUE(checker.ChangeAll("dog"));
  EXPECT_EQ(checker.Error().word, "zorp");
  ASSERT_FALSE(checker.Add());  // accepted now: the check ends
  EXPECT_EQ(changes, "4,4,cat,0;11,3,dog,1;0,3,dog,0;");
  EXPECT_EQ(ended, 1);
  EXPECT_FALSE(checker.Cancelled());
  EXPECT_TRUE(checker.Engine().Accepts("zorp"));
}

TEST_F(KrSpellCheckerTest, AReplacementListedForItselfEndsTheCheck) {
  // Re-verifying a replacement the engine always replaces would go round
  // for ever; the check goes on after it.
  ASSERT_TRUE(checker.Open());
  checker.Engine().AddChange("teh", "teh", true);
  texts = {"teh cat"};
  EXPECT_FALSE(checker.Begin());
  EXPECT_EQ(changes, "0,3,teh,0;");
  EXPECT_EQ(ended, 1);
}

TEST_F(KrSpellCheckerTest, StartPositionRepeatsAndClosing) {
  ASSERT_TRUE(checker.Open());
  checker.SetOptions(checker.Options() | spoFindRepeatWord);
  texts = {"xyzzy caat the the cat"};
  firstStart = 4;  // the blanks reach over the first word
  ASSERT_TRUE(checker.Begin());
  EXPECT_EQ(checker.Error().word, "caat");
  ASSERT_TRUE(checker.Skip());
  EXPECT_EQ(checker.Error().status, kSpellRepeatWord);
  EXPECT_TRUE(checker.Error().deleteShown);
  EXPECT_FALSE(checker.Error().changeEnabled);
  // Delete takes the blank before the second word with it.
  ASSERT_FALSE(checker.Delete());
  EXPECT_EQ(changes, "14,4,,0;");
  texts = {"caat"};
  next = 0;
  firstStart = 0;
  ASSERT_TRUE(checker.Begin());
  checker.CloseCheck();
  EXPECT_TRUE(checker.Cancelled());
  EXPECT_EQ(ended, 2);
}

}  // namespace
}  // namespace tarn::search
