#include <gtest/gtest.h>

#include <utility>

#include "engine/EngineTestRig.h"

namespace vekaton::testing {
namespace {

// Two header bytes and three data bytes, no echo.
LinkSettings TalkListen(bool checksum) {
    LinkSettings s = EngineRig::Settings(SyncMode::TalkListen, "$f4 $57", 2, 3, checksum, false);
    s.sampleRate = 100;
    return s;
}

TEST(LinkCountersTest, CountsFramesChecksumErrorsAndTheRunOfBadOnes) {
    EngineRig rig;
    rig.engine.ApplySettings(TalkListen(true));
    rig.Run();
    const Bytes good = WithChecksum({1, 2, 3, 4, 5});
    Bytes bad = good;
    bad.back() ^= 0x01;

    rig.clock.Advance(100);
    rig.Feed(good);
    rig.clock.Advance(100);
    rig.Feed(bad);
    rig.clock.Advance(100);
    rig.Feed(bad);
    EXPECT_EQ(rig.engine.Counters().frames, 3u);
    EXPECT_EQ(rig.engine.Counters().checksumErrors, 2u);
    EXPECT_EQ(rig.engine.Counters().badChecksumRun, 2);
    EXPECT_EQ(rig.engine.Counters().lastFrameMs, rig.clock.NowMs());

    rig.clock.Advance(100);
    rig.Feed(good);
    EXPECT_EQ(rig.engine.Counters().checksumErrors, 2u);
    EXPECT_EQ(rig.engine.Counters().badChecksumRun, 0);

    rig.engine.ResetCounters();
    EXPECT_EQ(rig.engine.Counters().frames, 0u);
    EXPECT_EQ(rig.engine.Counters().lastFrameMs, -1);
}

TEST(LinkCountersTest, WithoutAChecksumNoFrameIsCountedBad) {
    EngineRig rig;
    rig.engine.ApplySettings(TalkListen(false));
    rig.Run();
    rig.clock.Advance(100);
    rig.Feed({1, 2, 3, 4, 99});
    EXPECT_EQ(rig.engine.Counters().frames, 1u);
    EXPECT_EQ(rig.engine.Counters().checksumErrors, 0u);
}

TEST(LinkCountersTest, APollWhoseAnswerNeverCompletedIsCountedAtTheNextPoll) {
    EngineRig rig;
    rig.engine.ApplySettings(TalkListen(false));
    rig.Run();
    rig.clock.Advance(100);  // poll 1: answered
    rig.Feed({1, 2, 3, 4, 5});
    rig.clock.Advance(100);  // poll 2: only part of an answer
    rig.Feed({1, 2});
    rig.clock.Advance(100);  // poll 3 finds poll 2 unanswered; no answer at all
    rig.clock.Advance(100);  // poll 4 finds poll 3 unanswered
    EXPECT_EQ(rig.engine.Counters().polls, 4u);
    EXPECT_EQ(rig.engine.Counters().pollsUnanswered, 2u);
    EXPECT_EQ(rig.engine.Counters().frames, 1u);

    // Pausing cuts the outstanding poll short without counting it against the link.
    rig.engine.PauseClick();
    rig.Run();
    rig.clock.Advance(100);
    EXPECT_EQ(rig.engine.Counters().pollsUnanswered, 2u);
}

TEST(LinkCountersTest, AnAnswerWaitingInThePortAtTheNextPollStillCompletesItsFrame) {
    EngineRig rig;
    rig.engine.ApplySettings(TalkListen(false));
    rig.Run();
    Bytes waiting;
    rig.port.deliver = [&] {
        const Bytes bytes = std::exchange(waiting, {});
        rig.Feed(bytes);
    };
    rig.clock.Advance(100);
    // The answer is in the port, but the event that would hand it over has not run when the
    // next poll comes (a busy machine).
    waiting = {1, 2, 3, 4, 5};
    rig.clock.Advance(100);
    EXPECT_EQ(rig.engine.Counters().frames, 1u);
    EXPECT_EQ(rig.engine.Counters().pollsUnanswered, 0u);
    EXPECT_EQ(rig.RawAt(1), 3);
}

TEST(LinkCountersTest, ListenOnlyBurstsOfTheWrongLengthAreSyncErrors) {
    EngineRig rig;
    LinkSettings s = EngineRig::Settings(SyncMode::ListenOnly, "", 0, 3, false, false);
    s.syncTime = 50;
    rig.engine.ApplySettings(s);
    rig.engine.PauseClick();
    rig.Feed({1, 2});
    rig.clock.Advance(60);
    rig.Feed({1, 2, 3});
    rig.clock.Advance(60);
    EXPECT_EQ(rig.engine.Counters().syncErrors, 1u);
    EXPECT_EQ(rig.engine.Counters().frames, 1u);
}

TEST(LinkCountersTest, PacketsOfTheAldl160ModeAreFrames) {
    EngineRig rig;
    rig.engine.ApplySettings(EngineRig::Settings(SyncMode::Aldl160, "$f4", 1, 2, false, false));
    rig.engine.PauseClick();
    rig.Feed({0xF4, 7, 8, 0xF4, 9, 10});
    EXPECT_EQ(rig.engine.Counters().frames, 2u);
}

}  // namespace
}  // namespace vekaton::testing
