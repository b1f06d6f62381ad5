// Windows-1252 case tables, UTF-8 conversion and path splitting.
#include "base/cp1252.h"

#include <gtest/gtest.h>

#include "base/winpath.h"

namespace tarn::base {
namespace {

TEST(Cp1252, CaseTablesIncludeNationalCharacters) {
  EXPECT_EQ(UpperCase("abc\xE0\xE9\xFF\x9A\xF7\xDF"), "ABC\xC0\xC9\x9F\x8A\xF7\xDF");
  EXPECT_EQ(LowerCase("ABC\xC0\xD7\x8C"), "abc\xE0\xD7\x9C");
  EXPECT_TRUE(SameText("Caf\xE9", "CAF\xC9"));
  EXPECT_FALSE(SameText("Cafe", "Caf\xE9"));
  EXPECT_LT(CompareText("apple", "Banana"), 0);
  EXPECT_EQ(CompareText("ABC", "abc"), 0);
}

TEST(Cp1252, Utf8RoundTripAndRefusal) {
  std::string all;
  for (int c = 1; c < 256; ++c) all.push_back(static_cast<char>(c));
  auto back = Utf8ToCp1252(Cp1252ToUtf8(all));
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, all);
  EXPECT_EQ(Cp1252ToUtf8("\x80\xE8"), "\xE2\x82\xAC\xC3\xA8");
  EXPECT_FALSE(Utf8ToCp1252("\xE4\xB8\xAD"));  // a CJK character has no code
  EXPECT_FALSE(Utf8ToCp1252("\xC3"));          // cut sequence
  EXPECT_FALSE(Utf8ToCp1252("\xFF"));
}

TEST(WinPath, SplitsStoredWindowsPaths) {
  EXPECT_EQ(ExtractFileName("C:\\dir\\file.aeh"), "file.aeh");
  EXPECT_EQ(ExtractFileName("/home/a/b.gif"), "b.gif");
  EXPECT_EQ(ExtractFileExt("C:\\d.x\\file"), "");
  EXPECT_EQ(ExtractFileExt("report.AEH"), ".AEH");
  EXPECT_EQ(ExtractBaseName("C:\\dir\\report.aeh"), "report");
  EXPECT_EQ(ChangeFileExt("report.aeh", "."), "report.");
  EXPECT_EQ(ChangeFileExt("/x/doc.aeh", ".bak"), "/x/doc.bak");
  EXPECT_EQ(ToLocalPath("C:\\dir\\file.aeh"), std::filesystem::path("/dir/file.aeh"));
  EXPECT_EQ(ToLocalPath("pics\\a.gif"), std::filesystem::path("pics/a.gif"));
}

}  // namespace
}  // namespace tarn::base
