// Translation tables: key forms, case, escapes, first match, missing keys.
#include "app/translationtable.h"

#include <gtest/gtest.h>

namespace tarn::app {
namespace {

const char* const kTable =
    "*_*bok_caption\r\n &Ok\r\n"
    "*_*BOk_Hint\r\n Confirm\xA7!and close\r\n"
    "*_*bok_caption\r\n second match\r\n"
    "*_.rgcomp_items*count\r\n 2\r\n"
    "*_.rgcomp_items*item0\r\n Normal\r\n"
    "*_.rgcomp_items*item1\r\n Big and evident\r\n"
    "*_.extlist_columns*item0_caption\r\n Extension\r\n"
    "*_*mainform_caption\r\n It''s \xA7\xA7 1\xA7x\r\n";

TEST(TranslationTable, LooksUpEveryKeyForm) {
  const TranslationTable table(kTable);
  EXPECT_EQ(table.Property("BOk", "Caption").value(), "&Ok");  // first match, any case
  EXPECT_EQ(table.Property("bok", "hint").value(), "Confirm\r\nand close");
  EXPECT_EQ(table.List("RgComp", "Items").value(), (std::vector<std::string>{"Normal", "Big and evident"}));
  EXPECT_EQ(table.ItemProperty("ExtList", "Columns", 0, "Caption").value(), "Extension");
  EXPECT_EQ(table.Property("mainform", "caption").value(), "It's \xA7 1");
  EXPECT_FALSE(table.Property("bCancel", "caption").has_value());
  EXPECT_FALSE(table.List("other", "items").has_value());
  EXPECT_FALSE(TranslationTable("*_*x_caption").Property("x", "caption").has_value());
}

}  // namespace
}  // namespace tarn::app
