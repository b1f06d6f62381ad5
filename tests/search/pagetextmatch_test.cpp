// The text search over stored pages: plain text through the tokenizer, the
// word criteria, and replacing in stored markup.
#include "search/pagetextmatch.h"

#include <gtest/gtest.h>

#include "document/aehset.h"
#include "document/recordfields.h"
#include "platform/testing/testplatform.h"

namespace tarn::search {
namespace {

class PageTextMatchTest : public ::testing::Test {
 protected:
  document::TAEHoggetto& Page(const std::string& markup) {
    auto page = set.NewObject(document::testoHtml);
    page->SetContent(markup + std::string(1, '\0'));
    return *set.Register(std::move(page));
  }
  platform::testing::RecordingMessages messages;
  platform::testing::FixedSystemInfo system{std::filesystem::temp_directory_path()};
  document::TAEHset set{platform::Services{&messages, &system, nullptr, nullptr}};
};

TEST(MarkupPlainText, TagsEntitiesAndReservedBlocks) {
  // Format tags join the parts of a word; a paragraph tag breaks the line;
  // entities give their characters; reserved blocks are left out.
  EXPECT_EQ(MarkupPlainText("<ZS0 >ca<Yg1 >t &amp; d&lt;og<ZS0 >x<F hidden words<f>y", false),
            "\r\ncat & d<og\r\nxy");
  EXPECT_EQ(MarkupPlainText("<ZS0 >CITT\xC0<D secret<d>", true), "\r\ncitt\xE0");
  // The older generation only knows tags up to ">".
  EXPECT_EQ(MarkupPlainText("ab<F x>cd<f>e", false, true), "abcde");
}

TEST_F(PageTextMatchTest, Criteria) {
  document::TAEHoggetto& both = Page("<ZS0 >The Cat and the d<Yg1 >og.");
  document::TAEHoggetto& catOnly = Page("<ZS0 >A cat alone.");
  document::TAEHoggetto& hidden = Page("<ZS0 >Nothing<F cat dog<f> here");
  document::TAEHoggetto& entity = Page("<ZS0 >&amp;cat;");
  const int ignoreCase = 0;
  struct Case {
    document::TAEHoggetto* page;
    const char *a, *b, *c, *d;
    int options;
    const char* expected;
  } cases[] = {
      {&both, "cat", "dog", "", "", ignoreCase, "cat"},
      {&catOnly, "cat", "dog", "", "", ignoreCase, ""},
      {&catOnly, "", "cat", "", "", ignoreCase, "cat"},       // B moves into an empty A
      {&both, "", "", "Cat", "DOG", ignoreCase, "cat"},       // C and D move into A and B
      {&catOnly, "bird", "", "", "cat", ignoreCase, "cat"},   // D moves into an empty C
      {&catOnly, "bird", "", "cat", "", ignoreCase, "cat"},
      {&both, "Cat", "", "", "", stMatchCase, "Cat"},
      {&catOnly, "Cat", "", "", "", stMatchCase, ""},
      {&hidden, "cat", "", "", "", ignoreCase, ""},          // reserved block not searched
      {&entity, "amp", "", "", "", ignoreCase, ""},          // an entity's name never matches
      {&entity, "&cat", "", "", "", ignoreCase, "&cat"},     // its character does
      {&both, "", "", "", "", ignoreCase, ""},
      {&both, "he c", "", "", "", ignoreCase, "he c"},       // a plain substring, whole words or not
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PageTextMatch(*c.page, c.a, c.b, c.c, c.d, c.options), c.expected)
        << c.a << "|" << c.b << "|" << c.c << "|" << c.d;
  }
  auto empty = set.NewObject(document::testoHtml);
  EXPECT_EQ(PageTextMatch(*empty, "cat", "", "", "", 0), "");
}

TEST(WordCriteria, ParsesTheCommandLineForm) {
  WordCriteria w;
  std::string error;
  ASSERT_TRUE(ParseWordCriteria("cat AND dog or bird and fish", w, error));
  EXPECT_EQ(w.a + "," + w.b + "," + w.c + "," + w.d, "cat,dog,bird,fish");
  ASSERT_TRUE(ParseWordCriteria("cat or bird", w, error));
  EXPECT_EQ(w.a + "," + w.b + "," + w.c + "," + w.d, "cat,,bird,");
  EXPECT_FALSE(ParseWordCriteria("a or b or c", w, error));
  EXPECT_FALSE(ParseWordCriteria("a and b and c", w, error));
  EXPECT_FALSE(ParseWordCriteria("  ", w, error));
}

TEST(ReplaceInMarkup, ReplacesInTextRunsOnly) {
  struct Case {
    std::string markup, word, replacement;
    int options;
    std::string expected;
    int count;
  } cases[] = {
      {"<ZS0 >cat Cat cats", "cat", "dog", 0, "<ZS0 >dog dog dogs", 3},
      {"<ZS0 >cat Cat cats", "cat", "dog", stWholeWord | stMatchCase, "<ZS0 >dog Cat cats", 1},
      // Tags are never touched, the replacement is escaped.
      {"<ZS0 ><Ycat >cat<F cat<f>", "cat", "a<b", 0, "<ZS0 ><Ycat >a&lt;b<F cat<f>", 1},
      {"<ZS0 >dog", "cat", "x", 0, "<ZS0 >dog", 0},
  };
  for (Case& c : cases) {
    std::string text = c.markup + std::string(1, '\0') + "tail";
    EXPECT_EQ(ReplaceInMarkup(text, c.word, c.replacement, c.options), c.count) << c.markup;
    EXPECT_EQ(text, c.expected + std::string(1, '\0') + "tail");
  }
}

TEST(FindWord, WholeWordsAndCase) {
  EXPECT_EQ(FindWord("concat cat", "cat", 0, stWholeWord), 7u);
  EXPECT_EQ(FindWord("concat Cat", "cat", 0, 0), 3u);
  EXPECT_EQ(FindWord("concat Cat", "cat", 0, stMatchCase), 3u);
  EXPECT_EQ(FindWord("citt\xE0", "citt\xE0", 0, stWholeWord), 0u);
  EXPECT_EQ(FindWord("citt\xE0" "x", "citt\xE0", 0, stWholeWord), std::string_view::npos);
}

}  // namespace
}  // namespace tarn::search
