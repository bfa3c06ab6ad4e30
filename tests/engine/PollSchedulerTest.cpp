// The poll and sync timers on a manual clock, without an engine.
#include "engine/PollScheduler.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/ManualClock.h"

namespace vekaton::testing {
namespace {

struct SchedulerRig {
    ManualClock clock;
    std::int64_t pollMs = 100;
    std::int64_t syncMs = 500;
    std::vector<std::int64_t> polls;  // the clock at each tick
    std::vector<std::int64_t> syncs;
    std::function<void()> duringPoll;
    PollScheduler scheduler{clock, [this] { return pollMs; }, [this] { return syncMs; },
                            [this] {
                                polls.push_back(clock.NowMs());
                                if (duringPoll) {
                                    duringPoll();
                                }
                            },
                            [this] { syncs.push_back(clock.NowMs()); }};
};

TEST(PollScheduler, ThePollTimerTicksAtTheIntervalAskedForAtEachTick) {
    SchedulerRig rig;
    rig.scheduler.SetPoll(true);
    rig.scheduler.SetPoll(true);  // already on: no second timer
    rig.clock.Advance(250);
    EXPECT_EQ(rig.polls, (std::vector<std::int64_t>{100, 200}));

    rig.pollMs = 30;  // applies from the tick after the next one
    rig.clock.Advance(50);
    EXPECT_EQ(rig.polls.back(), 300);
    rig.clock.Advance(60);
    EXPECT_EQ(rig.polls, (std::vector<std::int64_t>{100, 200, 300, 330, 360}));

    rig.pollMs = 1000;
    rig.scheduler.RestartPoll();  // at once
    rig.clock.Advance(999);
    EXPECT_EQ(rig.polls.size(), 5u);
    rig.clock.Advance(1);
    EXPECT_EQ(rig.polls.back(), 1360);

    rig.scheduler.SetPoll(false);
    rig.clock.Advance(5000);
    EXPECT_EQ(rig.polls.size(), 6u);
    EXPECT_FALSE(rig.scheduler.PollEnabled());
    rig.scheduler.RestartPoll();  // off: stays off
    rig.clock.Advance(5000);
    EXPECT_EQ(rig.polls.size(), 6u);
    EXPECT_EQ(rig.clock.Pending(), 0u);
}

TEST(PollScheduler, ATickMayTurnItsTimerOffOrRestartItWithoutATimerTooMany) {
    SchedulerRig rig;
    rig.duringPoll = [&] { rig.scheduler.SetPoll(false); };
    rig.scheduler.SetPoll(true);
    rig.clock.Advance(1000);
    EXPECT_EQ(rig.polls.size(), 1u);

    rig.duringPoll = [&] { rig.scheduler.RestartPoll(); };
    rig.scheduler.SetPoll(true);
    rig.clock.Advance(1000);
    EXPECT_EQ(rig.polls.size(), 11u);
    EXPECT_EQ(rig.clock.Pending(), 1u) << "one timer, however the tick restarted it";
}

TEST(PollScheduler, AnIntervalOfZeroNeverFires) {
    SchedulerRig rig;
    rig.pollMs = 0;
    rig.syncMs = -5;
    rig.scheduler.SetPoll(true);
    rig.scheduler.SetSync(true);
    rig.clock.Advance(10000);
    EXPECT_TRUE(rig.polls.empty());
    EXPECT_TRUE(rig.syncs.empty());
    EXPECT_TRUE(rig.scheduler.PollEnabled()) << "enabled all the same";
    EXPECT_EQ(rig.clock.Pending(), 0u);
}

TEST(PollScheduler, TheSyncTimerFiresOnlyAfterSyncTimeOfSilence) {
    SchedulerRig rig;
    rig.scheduler.RestartSync();  // off: data changes nothing
    EXPECT_EQ(rig.clock.Pending(), 0u);
    rig.scheduler.SetSync(true);
    for (int i = 0; i < 5; ++i) {
        rig.clock.Advance(400);
        rig.scheduler.RestartSync();  // data before the silence is long enough
    }
    EXPECT_TRUE(rig.syncs.empty());
    rig.clock.Advance(500);
    EXPECT_EQ(rig.syncs, std::vector<std::int64_t>{2500});
    rig.clock.Advance(500);
    EXPECT_EQ(rig.syncs.size(), 2u) << "and again for every SyncTime of silence";

    rig.scheduler.SetSync(false);
    rig.clock.Advance(5000);
    EXPECT_EQ(rig.syncs.size(), 2u);
}

TEST(PollScheduler, GoingAwayCancelsBothTimers) {
    ManualClock clock;
    {
        PollScheduler scheduler(
            clock, [] { return 10; }, [] { return 10; }, [] {}, [] {});
        scheduler.SetPoll(true);
        scheduler.SetSync(true);
        EXPECT_EQ(clock.Pending(), 2u);
    }
    EXPECT_EQ(clock.Pending(), 0u);
}

}  // namespace
}  // namespace vekaton::testing
