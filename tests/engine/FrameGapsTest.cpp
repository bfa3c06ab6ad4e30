// Telling a missed frame from a stream's own pace.
#include "engine/FrameGaps.h"

#include <gtest/gtest.h>

namespace vekaton {
namespace {

TEST(FrameGapsTest, AMissedFrameIsAGapBeforeTheNextFrameOnly) {
    FrameGaps gaps;
    EXPECT_FALSE(gaps.FrameEnded(0, false));
    gaps.NoteMissed();
    EXPECT_TRUE(gaps.FrameEnded(400, false));
    EXPECT_FALSE(gaps.FrameEnded(600, false));
}

TEST(FrameGapsTest, OnlyFramesFarLaterThanUsualAreGapsAndASlowerStreamIsLearned) {
    FrameGaps gaps;
    std::int64_t now = 0;
    for (int i = 0; i < 5; ++i) {
        EXPECT_FALSE(gaps.FrameEnded(now += 100, true)) << i;
    }
    EXPECT_DOUBLE_EQ(gaps.TypicalSpacingMs(), 100.0);
    EXPECT_FALSE(gaps.FrameEnded(now += 240, true)) << "a little late is jitter";
    EXPECT_TRUE(gaps.FrameEnded(now += 1000, true));
    EXPECT_FALSE(gaps.FrameEnded(now += 100, true));
    // A stream that now comes every second: two gaps, then its new pace.
    EXPECT_TRUE(gaps.FrameEnded(now += 1000, true));
    EXPECT_TRUE(gaps.FrameEnded(now += 1000, true));
    EXPECT_FALSE(gaps.FrameEnded(now += 1000, true));
    EXPECT_FALSE(gaps.FrameEnded(now += 1000, true));
}

TEST(FrameGapsTest, ARestartForgetsTheLastFrame) {
    FrameGaps gaps;
    gaps.FrameEnded(0, true);
    gaps.FrameEnded(100, true);
    gaps.NoteMissed();
    gaps.Restart();
    EXPECT_FALSE(gaps.FrameEnded(60'000, true)) << "a pause is no missed frame";
    EXPECT_DOUBLE_EQ(gaps.TypicalSpacingMs(), 0.0);
}

}  // namespace
}  // namespace vekaton
