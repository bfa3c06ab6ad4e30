// An auto-scaled channel's range: grows at once, shrinks slowly, never swings.
#include "chart/SettlingRange.h"

#include <gtest/gtest.h>

namespace vekaton {
namespace {

TEST(SettlingRange, GrowsAtOnceAndShrinksSlowly) {
    SettlingRange range;
    EXPECT_EQ(range.Follow(10.0, 90.0), (std::pair<double, double>{10.0, 90.0}));
    // A value beyond it: taken in at once.
    EXPECT_EQ(range.Follow(10.0, 120.0), (std::pair<double, double>{10.0, 120.0}));
    // The values now span less: the range closes in a little at each update, never at once.
    auto shown = range.Follow(40.0, 60.0);
    EXPECT_DOUBLE_EQ(shown.first, 13.0);
    EXPECT_DOUBLE_EQ(shown.second, 114.0);
    for (int i = 0; i < 100; ++i) {
        shown = range.Follow(40.0, 60.0);
    }
    EXPECT_EQ(shown, (std::pair<double, double>{40.0, 60.0})) << "settled on the values' edges";
}

TEST(SettlingRange, ANewChannelsFirstValuesDoNotMakeItSwing) {
    SettlingRange range;
    // Engine speed: the first value alone, then a little noise around it.
    const auto first = range.Follow(800.0, 800.0);
    EXPECT_DOUBLE_EQ(first.second - first.first, 16.0) << "2 % of the value around it";
    const auto noisy = range.Follow(798.0, 803.0);
    EXPECT_GE(noisy.second - noisy.first, 16.0) << "noise never fills the whole axis";
    EXPECT_LE(noisy.first, 798.0);
    EXPECT_GE(noisy.second, 803.0);
    // Zero alone still gets a range.
    SettlingRange zero;
    EXPECT_EQ(zero.Follow(0.0, 0.0), (std::pair<double, double>{-0.5, 0.5}));
    range.Reset();
    EXPECT_FALSE(range.Shown());
}

}  // namespace
}  // namespace vekaton
