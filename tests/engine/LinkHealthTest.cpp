#include <gtest/gtest.h>

#include "engine/LinkHealth.h"

namespace vekaton {
namespace {

TEST(LinkHealth, NoDataAfterTwoSecondsOrThreePollPeriods) {
    EXPECT_EQ(LinkHealth::NoDataAfterMs(100), 2000);
    EXPECT_EQ(LinkHealth::NoDataAfterMs(1000), 3000);
    EXPECT_EQ(LinkHealth::NoDataAfterMs(-5), 2000);

    LinkHealth health;
    LinkCounters counters;
    health.Update(counters, false, false, 0, 100);
    EXPECT_EQ(health.State(), LinkState::Stopped);

    // Started at 1000 ms; a module that never answers is "no data" two seconds later.
    health.Update(counters, true, false, 1000, 100);
    EXPECT_EQ(health.State(), LinkState::Running);
    health.Update(counters, true, false, 2999, 100);
    EXPECT_EQ(health.State(), LinkState::Running);
    health.Update(counters, true, false, 3000, 100);
    EXPECT_EQ(health.State(), LinkState::NoData);

    // A frame brings it back; silence again counts from that frame.
    counters.frames = 1;
    counters.lastFrameMs = 3100;
    health.Update(counters, true, false, 3200, 100);
    EXPECT_EQ(health.State(), LinkState::Running);
    health.Update(counters, true, false, 5100, 100);
    EXPECT_EQ(health.State(), LinkState::NoData);

    // Slow polling waits three periods.
    health.Update(counters, true, false, 6000, 1500);
    EXPECT_EQ(health.State(), LinkState::Running);
    health.Update(counters, true, false, 7600, 1500);
    EXPECT_EQ(health.State(), LinkState::NoData);

    health.Update(counters, false, false, 8000, 100);
    EXPECT_EQ(health.State(), LinkState::Stopped);
    health.Update(counters, false, true, 8100, 100);
    EXPECT_EQ(health.State(), LinkState::Playback);
    // Starting again is a fresh start, not an old silence.
    health.Update(counters, true, false, 20000, 100);
    EXPECT_EQ(health.State(), LinkState::Running);
}

TEST(LinkHealth, FrameRateOverTheLastSeconds) {
    LinkHealth health;
    LinkCounters counters;
    health.Update(counters, true, false, 0, 100);
    EXPECT_EQ(health.FramesPerSecond(), 0.0);
    for (int t = 250; t <= 10000; t += 250) {
        counters.frames = static_cast<std::uint64_t>(t / 100);  // 10 frames a second
        counters.lastFrameMs = t;
        health.Update(counters, true, false, t, 100);
    }
    EXPECT_NEAR(health.FramesPerSecond(), 10.0, 0.01);
    // The rate follows a change within the window.
    for (int t = 10250; t <= 14000; t += 250) {
        counters.frames += 1;  // 4 a second
        counters.lastFrameMs = t;
        health.Update(counters, true, false, t, 100);
    }
    EXPECT_NEAR(health.FramesPerSecond(), 4.0, 0.5);
    // Counters reset: no negative rate.
    counters = LinkCounters{};
    health.Update(counters, true, false, 14250, 100);
    EXPECT_EQ(health.FramesPerSecond(), 0.0);
}

}  // namespace
}  // namespace vekaton
