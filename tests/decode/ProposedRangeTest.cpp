#include "decode/ProposedRange.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

namespace vekaton {
namespace {

TEST(ProposeRange, CoversEveryValueOfOneByte) {
    EXPECT_EQ(ProposeRange("A*0.75-40", 1), (ValueRange{-40.0, 151.25}));
    EXPECT_EQ(ProposeRange("A MOD 4", 1), std::nullopt) << "blanks never build";
    EXPECT_EQ(ProposeRange("(A DIV 4) MOD 8", 1), std::nullopt);
    EXPECT_EQ(ProposeRange("(ADIV4)MOD8", 1), (ValueRange{0.0, 7.0}));
}

TEST(ProposeRange, SkipsTheBytesForWhichTheFormulaFaults) {
    EXPECT_EQ(ProposeRange("100/A", 1), (ValueRange{100.0 / 255.0, 100.0}));
    const auto cranking = ProposeRange("983040/(A*256+B)", 2);
    ASSERT_TRUE(cranking);
    EXPECT_DOUBLE_EQ(cranking->minimum, 983040.0 / 65535.0);
    EXPECT_EQ(cranking->maximum, 983040.0);
    EXPECT_EQ(ProposeRange("LN(A-200)", 1), (ValueRange{0.0, std::log(55.0)}));
    // Nothing left to propose from.
    EXPECT_EQ(ProposeRange("1/(A-A)", 1), std::nullopt);
    EXPECT_EQ(ProposeRange("A+*", 1), std::nullopt);
}

TEST(ProposeRange, SeesSignedWordsAndWideValues) {
    EXPECT_EQ(ProposeRange("((A*256+B)-65536*(ADIV128))*90/256", 2),
              (ValueRange{-11520.0, 32767.0 * 90.0 / 256.0}));
    EXPECT_EQ(ProposeRange("[UINTEGER]A", 4), (ValueRange{0.0, 4294967295.0}));
    EXPECT_EQ(ProposeRange("[INTEGER]A", 4), (ValueRange{-2147483648.0, 2147483647.0}));
    EXPECT_EQ(ProposeRange("[UINTEGER]A", 2), (ValueRange{0.0, 65535.0}));
    EXPECT_EQ(ProposeRange("A+B+C+D+E", 5), (ValueRange{0.0, 1275.0}));
    EXPECT_EQ(ProposeRange("A*256+B", 3), (ValueRange{0.0, 65535.0}));
}

TEST(RoundedScale, EndsOnRoundNumbersWithAFewSteps) {
    const auto scale = [](double low, double high) { return RoundedScale({low, high}); };
    EXPECT_EQ(scale(0, 6375).range, (ValueRange{0, 7000}));
    EXPECT_EQ(scale(0, 6375).majorTicks, 7);
    EXPECT_EQ(scale(0, 99.609).range, (ValueRange{0, 100}));
    EXPECT_EQ(scale(0, 99.609).majorTicks, 5);
    EXPECT_EQ(scale(0, 25.5).range, (ValueRange{0, 30}));
    EXPECT_EQ(scale(-40, 151.25).range, (ValueRange{-50, 175}));
    EXPECT_EQ(scale(15, 983040).range, (ValueRange{0, 1000000}));
    EXPECT_EQ(scale(0.1, 0.73).range, (ValueRange{0.1, 0.8}));
    // Ends below 1 are the decimals they read as, on every system's arithmetic library.
    EXPECT_EQ(scale(0.001, 0.0019).range, (ValueRange{0.001, 0.002}));
    EXPECT_EQ(scale(-0.37, 0.21).range, (ValueRange{-0.4, 0.3}));
    EXPECT_EQ(scale(0.0003, 0.00071).range, (ValueRange{0.0003, 0.0008}));
    // One value alone, zero included, gets room around it; reversed ends are put in order.
    EXPECT_EQ(scale(0, 0).range, (ValueRange{-1, 1}));
    EXPECT_EQ(scale(12, 12).range, (ValueRange{10.5, 13.5}));
    EXPECT_EQ(scale(100, -20).range, (ValueRange{-20, 100}));
    for (const auto& [low, high] : std::vector<std::pair<double, double>>{
             {0, 1}, {-3, 7}, {0.001, 0.002}, {-1e9, 1e9}, {3, 3.0000001}}) {
        const ScaleRange rounded = scale(low, high);
        EXPECT_LE(rounded.range.minimum, low);
        EXPECT_GE(rounded.range.maximum, high);
        EXPECT_GE(rounded.majorTicks, 3);
        EXPECT_LE(rounded.majorTicks, 10);
    }
}

}  // namespace
}  // namespace vekaton
