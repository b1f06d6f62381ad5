// Styles: the override rule, effective fonts and length units.
#include "richtext/styles.h"

#include <gtest/gtest.h>

#include "document/aehset.h"
#include "document/testfixtures.h"

namespace tarn::richtext {
namespace {

TEST(Styles, OverridesAreKeptOnlyWhenTheyDiffer) {
  testing::TestEnv env;
  document::TAEHset set(env.Services());
  const TAEHoggetto* base = set.DefaultStyle();
  TAEHParaStyle st;
  st.SetBase(base);
  st.SetColour(0x0000FF);
  EXPECT_TRUE(st.IsSet(TAEHParaStyle::kColour));
  st.SetColour(0);  // the style's own colour
  EXPECT_FALSE(st.IsSet(TAEHParaStyle::kColour));
  st.SetFace("times new roman");  // faces compare with case
  EXPECT_TRUE(st.IsSet(TAEHParaStyle::kFace));
  EXPECT_EQ(st.LeftMargin(), 10);
  EXPECT_EQ(st.LineHeight(), kAutomaticLineHeight);
  EXPECT_EQ(st.LinkSize(), -1);
  EXPECT_EQ(st.LinkStyle(), 4);
  EXPECT_EQ(st.UnitOfMeasure(), 1);

  TAEHFontStyle format;
  format.SetBase(base);
  format.Assign(TMyFont{"Times New Roman", 0, 0, 12, 0});
  EXPECT_FALSE(format.ColourSet() || format.FaceSet() || format.SizeSet() || format.StyleSet() || format.PositionSet());
  format.Assign(st);
  EXPECT_TRUE(format.FaceSet());
  EXPECT_EQ(format.Face(), "times new roman");

  // A link keeps its text's size when the link size is -1.
  const TMyFont text{"Arial", 2, 0x123456, 15, 0};
  EXPECT_EQ(st.LinkFont(text).size, 15);
  EXPECT_EQ(st.LinkFont(text).style, 2 ^ 4);
  EXPECT_EQ(st.LinkFont(text).colour, 0xFF0000u);
}

TEST(Styles, LengthUnits) {
  EXPECT_FLOAT_EQ(PixelsToUnit(10, 1, 96), 2.6458333f);
  EXPECT_EQ(UnitToPixels(2.65, 1, 96), 10);
  EXPECT_FLOAT_EQ(PixelsToUnit(96, 2, 96), 1.0f);
  EXPECT_FLOAT_EQ(PixelsToUnit(96, 3, 96), 72.0f);
  EXPECT_FLOAT_EQ(PixelsToUnit(96, 4, 96), 6.0f);  // one pica is twelve points
  EXPECT_FLOAT_EQ(PixelsToUnit(96, 0, 96), 2.54f);
  EXPECT_EQ(UnitToPixels(12, 3, 96), 16);
  EXPECT_EQ(UnitToPixels(0.5, 5, 96), 0);  // halves go to even
  EXPECT_EQ(UnitToPixels(1.5, 5, 96), 2);
  EXPECT_EQ(UnitToPixels(2.5, 5, 96), 2);

  TAEHParaStyle st;
  st.SetUnitOfMeasure(2);
  st.SetLengthInUnit(TAEHParaStyle::kLeftMargin, 0.5, 96);
  EXPECT_EQ(st.LeftMargin(), 48);
  EXPECT_FLOAT_EQ(st.LengthInUnit(TAEHParaStyle::kLeftMargin, 96), 0.5f);
  TAEHParaStyle copy;
  copy.Assign(st);
  EXPECT_EQ(copy.LeftMargin(), 48);
  EXPECT_EQ(copy.UnitOfMeasure(), 2);
}

}  // namespace
}  // namespace tarn::richtext
