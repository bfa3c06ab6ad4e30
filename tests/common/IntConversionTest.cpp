#include "common/FloatText.h"
#include "common/IntConversion.h"
#include "common/TextLines.h"

#include <gtest/gtest.h>

#include <limits>

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

TEST(FloatText, TableNumbersHaveAtMostTenSignificantDigits) {
    const auto text = [](double value) {
        return TableNumberText(value, NumberPrecision::Significant);
    };
    // Not exact in binary: the noise of the last bits goes, what a sensor can tell stays.
    EXPECT_EQ(text(96 * 0.4), "38.4");     // 38.400000000000006
    EXPECT_EQ(text(38 * 4.44), "168.72");  // 168.72000000000003
    EXPECT_EQ(text(0.1 + 0.2), "0.3");
    EXPECT_EQ(text(200 / 2.55), "78.43137255");
    EXPECT_EQ(text(-40.0 + 3 * 0.75), "-37.75");
    EXPECT_EQ(text(1.0 / 3.0), "0.3333333333");
    // Exact in binary: written as they are, trailing zeros dropped.
    EXPECT_EQ(text(4660.0), "4660");
    EXPECT_EQ(text(0.5), "0.5");
    EXPECT_EQ(text(11.75), "11.75");
    EXPECT_EQ(text(0.0009765625), "0.0009765625");
    EXPECT_EQ(text(4294967295.0), "4294967295");
    EXPECT_EQ(text(-2147483648.0), "-2147483648");
    EXPECT_EQ(text(100000.0), "100000");
    // Beyond ten digits a number takes an exponent rather than pretend to more precision.
    EXPECT_EQ(text(12345678901.0), "1.23456789e+10");
    EXPECT_EQ(text(0.00001), "1e-05");
    EXPECT_EQ(text(-0.0), "0");
    EXPECT_EQ(text(std::numeric_limits<double>::infinity()), "INF");
    EXPECT_EQ(text(-std::numeric_limits<double>::infinity()), "-INF");
    EXPECT_EQ(text(std::numeric_limits<double>::quiet_NaN()), "NAN");
    EXPECT_EQ(text(-2.2250738585072014e-308), "-2.225073859e-308");

    const auto exact = [](double value) { return TableNumberText(value, NumberPrecision::Exact); };
    EXPECT_EQ(exact(96 * 0.4), "38.400000000000006");
    EXPECT_EQ(exact(38 * 4.44), "168.72000000000003");
    EXPECT_EQ(exact(4660.0), "4660");
    EXPECT_EQ(exact(-2.2250738585072014e-308), "-2.2250738585072014e-308");
}

}  // namespace
}  // namespace vekaton
