#include "common/FloatText.h"
#include "common/IntConversion.h"
#include "common/TextLines.h"

#include <gtest/gtest.h>

namespace vekaton {
namespace {

TEST(IntConversion, AcceptsDecimalHexSignsAndLeadingBlanks) {
    EXPECT_EQ(TryStrToInt("500"), 500);
    EXPECT_EQ(TryStrToInt("  -12"), -12);
    EXPECT_EQ(TryStrToInt("+7"), 7);
    EXPECT_EQ(TryStrToInt("$F4"), 244);
    EXPECT_EQ(TryStrToInt("0x10"), 16);
    EXPECT_EQ(TryStrToInt("-2147483648"), -2147483648LL);
    EXPECT_EQ(TryStrToInt("2147483647"), 2147483647);
}

TEST(IntConversion, RejectsTrailingTextEmptyAndOverflow) {
    EXPECT_FALSE(TryStrToInt(""));
    EXPECT_FALSE(TryStrToInt("12 "));
    EXPECT_FALSE(TryStrToInt("12a"));
    EXPECT_FALSE(TryStrToInt("-"));
    EXPECT_FALSE(TryStrToInt("2147483648"));
    EXPECT_FALSE(TryStrToInt("-2147483649"));
    EXPECT_FALSE(TryStrToInt("99999999999999999999999"));
}

TEST(IntConversion, ErrorCarriesTheStandardMessage) {
    try {
        StrToInt("x1");
        FAIL() << "no exception";
    } catch (const ConversionError& error) {
        EXPECT_STREQ(error.what(), "'x1' is not a valid integer value");
        EXPECT_EQ(error.Text(), "x1");
    }
}

TEST(TextLines, SplitsCrLfAndLfAndKeepsEmptyLines) {
    const auto lines = SplitLines("a\r\nb\n\r\nc");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "a");
    EXPECT_EQ(lines[1], "b");
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], "c");
    EXPECT_EQ(JoinLinesCrLf({"x", "y"}), "x\r\ny\r\n");
}

TEST(FloatText, ShortestTextReadsBackExactly) {
    EXPECT_EQ(ShortestFloatText(4660.0), "4660");
    EXPECT_EQ(ShortestFloatText(0.5), "0.5");
    EXPECT_EQ(ShortestFloatText(-9.0), "-9");
    EXPECT_EQ(ShortestFloatText(3.141592653589793), "3.141592653589793");
    EXPECT_EQ(ShortestFloatText(-0.0), "0");
}

}  // namespace
}  // namespace vekaton
