// The words the appearance editors show for stored property names and values.
#include "widgets/PropertyWords.h"

#include <gtest/gtest.h>

namespace vekaton {
namespace {

TEST(PropertyWords, NamesReadAsWords) {
    EXPECT_EQ(PropertyLabel("Section1Start"), "Section 1 start");
    EXPECT_EQ(PropertyLabel("Section3Color"), "Section 3 colour");
    EXPECT_EQ(PropertyLabel("NeedleColor"), "Needle colour");
    EXPECT_EQ(PropertyLabel("HighThreshold"), "High threshold");
    EXPECT_EQ(PropertyLabel("Alignment"), "Text alignment");
    EXPECT_EQ(PropertyLabel("BevelOuter"), "Bevel");
    EXPECT_EQ(PropertyLabel("Font.Height"), "Text height");
    EXPECT_EQ(PropertyLabel("Font.Color"), "Text colour");
    EXPECT_EQ(PropertyLabel("Caption"), "Caption");
    EXPECT_EQ(PropertyLabel("ShowLEDCount"), "Show LED count") << "an abbreviation stays";
}

TEST(PropertyWords, ChoicesAndColoursLoseTheirPrefixes) {
    EXPECT_EQ(ChoiceLabel("taRightJustify"), "Right");
    EXPECT_EQ(ChoiceLabel("taLeftJustify"), "Left");
    EXPECT_EQ(ChoiceLabel("taCenter"), "Centre");
    EXPECT_EQ(ChoiceLabel("bvLowered"), "Lowered");
    EXPECT_EQ(ChoiceLabel("orVertical"), "Vertical");
    EXPECT_EQ(ChoiceLabel("fsBold"), "Bold");
    EXPECT_EQ(ChoiceLabel("fsStrikeOut"), "Strike-out");
    EXPECT_EQ(ChoiceLabel("plain"), "plain") << "nothing to take away";
    EXPECT_EQ(ColourLabel("clBlack"), "Black");
    EXPECT_EQ(ColourLabel("clBtnFace"), "Button face");
    EXPECT_EQ(ColourLabel("clWindowText"), "Window text");
    EXPECT_EQ(ColourLabel("clSkyBlue"), "Sky blue");
    EXPECT_EQ(ColourLabel("clGray"), "Grey");
}

}  // namespace
}  // namespace vekaton
