#include <gtest/gtest.h>

#include <algorithm>

#include "engine/EngineTestRig.h"
#include "engine/EngineTexts.h"
#include "engine/LoopBackData.h"

namespace vekaton::testing {
namespace {

const Bytes kRequest{0xF4, 0x57, 0x01, 0x00, 0xB4};

class EngineTalkListenTest : public ::testing::Test {
  protected:
    void Apply(int responseBytes, int dataBytes, bool checksum, bool echoed, int sampleRate = 500) {
        LinkSettings s = EngineRig::Settings(SyncMode::TalkListen, "$f4 $57 $01 $00 $b4",
                                             responseBytes, dataBytes, checksum, echoed);
        s.sampleRate = sampleRate;
        rig.engine.ApplySettings(s);
    }
    EngineRig rig;
};

TEST_F(EngineTalkListenTest, SettingsGiveTheDerivedValues) {
    EXPECT_DOUBLE_EQ(rig.engine.SecondsPerFrame(), 0.1);  // before any settings
    Apply(3, 63, true, true);
    EXPECT_EQ(rig.engine.RequestBytes(), kRequest);
    EXPECT_EQ(rig.engine.DataOffset(), 8);
    EXPECT_EQ(rig.engine.ExpectedFrameLength(), 72);
    EXPECT_EQ(rig.engine.RecordLength(), 67);
    // Follows SampleRate whenever settings are applied, not only from the setup panel.
    EXPECT_DOUBLE_EQ(rig.engine.SecondsPerFrame(), 0.5);
    Apply(2, 3, false, false, 110);
    EXPECT_EQ(rig.engine.DataOffset(), 2);
    EXPECT_EQ(rig.engine.ExpectedFrameLength(), 5);
    EXPECT_DOUBLE_EQ(rig.engine.SecondsPerFrame(), 0.11);
}

TEST_F(EngineTalkListenTest, RunRefusesWithoutAnOpenPort) {
    Apply(3, 63, true, false);
    rig.port.open = false;
    rig.engine.PauseClick();
    EXPECT_FALSE(rig.engine.Running());
    EXPECT_EQ(rig.engine.RunCaption(), "Run");
    ASSERT_EQ(rig.view.messages.size(), 1u);
    EXPECT_EQ(rig.view.messages[0], kNoPortMessage);
    rig.clock.Advance(5000);
    EXPECT_TRUE(rig.port.written.empty());
}

TEST_F(EngineTalkListenTest, RunSendsTheStartCommandThenPollsAndPauseSendsTheStopCommand) {
    LinkSettings s = EngineRig::Settings(SyncMode::TalkListen, "$f4 $57", 0, 4, false, false);
    s.startCommand = "$AA";
    s.stopCommand = "$BB";
    s.sampleRate = 200;
    rig.engine.ApplySettings(s);

    rig.engine.PauseClick();
    EXPECT_EQ(rig.engine.RunCaption(), "Pause");
    EXPECT_EQ(rig.view.runStates.back(), "Pause");
    EXPECT_EQ(rig.port.written, (Bytes{0xAA}));
    EXPECT_FALSE(rig.engine.PollTimerEnabled());  // not before the command has settled
    rig.clock.Advance(2 * kTickMs);
    EXPECT_EQ(rig.port.flushes, 1);
    EXPECT_TRUE(rig.engine.PollTimerEnabled());

    rig.clock.Advance(199);
    EXPECT_EQ(rig.port.written.size(), 1u);
    rig.clock.Advance(1);
    EXPECT_EQ(rig.port.written, (Bytes{0xAA, 0xF4, 0x57}));
    rig.clock.Advance(400);
    EXPECT_EQ(rig.port.writes.size(), 4u);  // start command, then three requests

    rig.engine.PauseClick();
    EXPECT_EQ(rig.engine.RunCaption(), "Run");
    EXPECT_FALSE(rig.engine.PollTimerEnabled());
    EXPECT_EQ(rig.port.written.back(), 0xBB);
    const auto writes = rig.port.writes.size();
    rig.clock.Advance(2000);
    EXPECT_EQ(rig.port.writes.size(), writes);
}

TEST_F(EngineTalkListenTest, PauseDuringTheStartCommandKeepsThePollTimerOff) {
    Apply(0, 4, false, false);
    rig.engine.PauseClick();
    rig.engine.PauseClick();
    rig.clock.Advance(1000);
    EXPECT_FALSE(rig.engine.PollTimerEnabled());
    EXPECT_TRUE(std::none_of(rig.port.writes.begin(), rig.port.writes.end(),
                             [](const Bytes& w) { return w == kRequest; }));
}

TEST_F(EngineTalkListenTest, HeaderAndDataWithoutEchoReachTheRightPlaces) {
    // 2 header bytes and 3 data bytes: 5 bytes in ByteSum, only the data at positions 1 to 3.
    Apply(2, 3, true, false);
    rig.Run();
    rig.Feed(Bytes{0xF4, 0x92, 0x10, 0x20, 0x30});
    EXPECT_EQ(rig.engine.ByteSum(), 0xF4 + 0x92 + 0x10 + 0x20 + 0x30);
    EXPECT_EQ(rig.RawAt(1), 0x10);
    EXPECT_EQ(rig.RawAt(2), 0x20);
    EXPECT_EQ(rig.RawAt(3), 0x30);
    EXPECT_TRUE(rig.view.frames.empty());
    const auto checksum = static_cast<std::uint8_t>(256 - ((0xF4 + 0x92 + 0x60) & 0xFF));
    rig.Feed(Bytes{checksum});
    ASSERT_EQ(rig.view.frames.size(), 1u);
    EXPECT_TRUE(rig.view.frames[0].checksumGood);
    EXPECT_EQ(rig.view.checksumLabel, false);
    // The checksum byte is decoded at the position after the data; the data stay as they were.
    EXPECT_EQ(rig.RawAt(3), 0x30);
    EXPECT_EQ(rig.RawAt(4), checksum);
}

TEST_F(EngineTalkListenTest, EchoIsCountedButNeverDecodedOrSummed) {
    Apply(3, 2, true, true);
    rig.Run();
    const Bytes answer = WithChecksum({0xF4, 0x93, 0x01, 0x42, 0x43});
    rig.Feed(Concat(kRequest, answer));
    ASSERT_EQ(rig.view.frames.size(), 1u);
    EXPECT_TRUE(rig.view.frames[0].checksumGood);
    EXPECT_EQ(rig.engine.ByteCounter(), 11);
    EXPECT_EQ(rig.engine.ByteSum(), 0xF4 + 0x93 + 0x01 + 0x42 + 0x43);
    EXPECT_EQ(rig.RawAt(1), 0x42);
    EXPECT_EQ(rig.RawAt(2), 0x43);
}

TEST_F(EngineTalkListenTest, AZeroChecksumByteIsGoodWhenTheSumIsAMultipleOf256) {
    Apply(1, 2, true, false);
    rig.Run();
    rig.Feed(Bytes{0x80, 0x7F, 0x01, 0x00});  // 0x100: checksum 0
    ASSERT_EQ(rig.view.frames.size(), 1u);
    EXPECT_TRUE(rig.view.frames[0].checksumGood);
    EXPECT_EQ(rig.view.checksumLabel, false);
}

TEST_F(EngineTalkListenTest, AWrongChecksumShowsTheLabelButTheFrameIsDecoded) {
    Apply(1, 2, true, false);
    rig.Run();
    rig.Feed(Bytes{0x80, 0x11, 0x22, 0x00});
    ASSERT_EQ(rig.view.frames.size(), 1u);
    EXPECT_FALSE(rig.view.frames[0].checksumGood);
    EXPECT_EQ(rig.view.checksumLabel, true);
    EXPECT_EQ(rig.RawAt(1), 0x11);
    EXPECT_EQ(rig.RawAt(2), 0x22);
    // The next good frame hides it again.
    rig.clock.Advance(500);
    rig.Feed(WithChecksum({0x80, 0x11, 0x22}));
    EXPECT_EQ(rig.view.checksumLabel, false);
}

TEST_F(EngineTalkListenTest, WithoutAChecksumTheLabelIsNeverShown) {
    Apply(1, 2, true, false);
    rig.Run();
    rig.Feed(Bytes{0x80, 0x11, 0x22, 0x00});
    EXPECT_EQ(rig.view.checksumLabel, true);
    Apply(1, 2, false, false);  // taking settings without a checksum hides it
    EXPECT_EQ(rig.view.checksumLabel, false);
    const int shows = rig.view.checksumLabelShows;
    for (int n = 0; n < 20; ++n) {
        rig.clock.Advance(500);
        rig.Feed(Bytes{0x80, static_cast<std::uint8_t>(n * 13), static_cast<std::uint8_t>(n)});
    }
    EXPECT_EQ(rig.view.frames.size(), 21u);
    EXPECT_EQ(rig.view.checksumLabelShows, shows);
    EXPECT_EQ(rig.view.checksumLabel, false);
}

TEST_F(EngineTalkListenTest, BytesAfterTheFrameEndCountOnUntilTheNextTick) {
    Apply(0, 2, false, false);
    rig.Run();
    rig.Feed(Bytes{1, 2, 3, 4});
    EXPECT_EQ(rig.view.frames.size(), 1u);
    EXPECT_EQ(rig.engine.ByteCounter(), 4);
    EXPECT_EQ(rig.RawAt(3), 3);
    EXPECT_EQ(rig.RawAt(4), 4);
    rig.clock.Advance(500);  // the tick starts a new frame
    EXPECT_EQ(rig.engine.ByteCounter(), 0);
    rig.Feed(Bytes{9, 8});
    EXPECT_EQ(rig.view.frames.size(), 2u);
    EXPECT_EQ(rig.RawAt(1), 9);
}

TEST_F(EngineTalkListenTest, BytesWhileStoppedAppearInTheTraceOnly) {
    Apply(0, 2, false, false);
    rig.view.debugPage = true;
    rig.Feed(Bytes{0xAB, 0x01, 0x02});
    EXPECT_EQ(rig.view.trace, "AB, 01, 02, ");
    EXPECT_EQ(rig.engine.ByteCounter(), 0);
    EXPECT_EQ(rig.RawAt(1), 0);
    EXPECT_EQ(rig.RawAt(2), 0);
    EXPECT_TRUE(rig.view.frames.empty());

    // Off the "Debug" page nothing is traced.
    rig.view.debugPage = false;
    rig.Feed(Bytes{0xCD});
    EXPECT_EQ(rig.view.trace, "AB, 01, 02, ");
}

TEST_F(EngineTalkListenTest, ElapsedTimeAdvancesPerFrameAndIsShownOnEveryTick) {
    Apply(0, 1, false, false, 250);
    rig.Run();
    for (int n = 0; n < 4; ++n) {
        rig.clock.Advance(250);
        rig.Feed(Bytes{static_cast<std::uint8_t>(n)});
    }
    EXPECT_DOUBLE_EQ(rig.engine.ElapsedSeconds(), 1.0);
    EXPECT_EQ(rig.ChartX(), (std::vector<double>{0.0, 0.25, 0.5, 0.75}));
    rig.engine.SetElapsedSeconds(0.0);
    rig.clock.Advance(250);
    EXPECT_DOUBLE_EQ(rig.view.elapsed, 0.0);
}

TEST_F(EngineTalkListenTest, TheLoopBackAnswersAreCompleteFramesForTheirSetUps) {
    Apply(kLoopBackHeaderBytes, kLoopBackDataBytes1, true, true);
    rig.engine.SetLoopBackEnabled(true);
    rig.Run();
    for (const int choice : {1, 2}) {
        if (choice == 2) {
            Apply(kLoopBackHeaderBytes, kLoopBackDataBytes2, true, true);
        }
        rig.engine.SetTestDataChoice(choice);
        rig.port.written.clear();
        rig.clock.Advance(500);
        const auto answer = LoopBackAnswer(choice);
        EXPECT_EQ(answer.size(), choice == 1 ? 67u : 144u);
        ASSERT_EQ(rig.port.written.size(), 5u + answer.size());
        EXPECT_EQ(Bytes(rig.port.written.begin(), rig.port.written.begin() + 5), kRequest);
        // The plug sends it all back.
        const auto frames = rig.view.frames.size();
        rig.Feed(rig.port.written);
        ASSERT_EQ(rig.view.frames.size(), frames + 1) << choice;
        EXPECT_TRUE(rig.view.frames.back().checksumGood) << choice;
        EXPECT_EQ(rig.RawAt(1), choice == 1 ? 1 : 255);
        EXPECT_EQ(rig.RawAt(63), choice == 1 ? 63 : 256 - 63);
    }
    EXPECT_EQ(rig.RawAt(140), 116);
}

TEST_F(EngineTalkListenTest, GetAldlSendsTheRequestOnce) {
    Apply(3, 63, true, false);
    rig.engine.GetAldl();
    EXPECT_EQ(rig.port.written, kRequest);
    rig.clock.Advance(1000);
    EXPECT_EQ(rig.port.written, kRequest);
}

TEST_F(EngineTalkListenTest, AnOverlongRequestIsCutAndReported) {
    std::string request;
    for (int n = 0; n < 90; ++n) {
        request += "$01 ";
    }
    LinkSettings s = EngineRig::Settings(SyncMode::TalkListen, request, 0, 1, false, true);
    rig.engine.ApplySettings(s);
    EXPECT_EQ(rig.engine.RequestLength(), kMaxRequestBytes);
    ASSERT_EQ(rig.view.messages.size(), 1u);
    EXPECT_EQ(rig.view.messages[0], kRequestTruncatedMessage);
}

TEST_F(EngineTalkListenTest, OutOfRangeCountsStayWithinTheTable) {
    LinkSettings s = EngineRig::Settings(SyncMode::TalkListen, "$01", -7, 100000, true, false);
    rig.engine.ApplySettings(s);
    EXPECT_EQ(rig.engine.Settings().responseBytes, 0);
    EXPECT_EQ(rig.engine.Settings().dataBytes, kMaxDataBytes);
    rig.Run();
    rig.Feed(Bytes(2000, 0x11));
    EXPECT_EQ(rig.RawAt(500), 0x11);
    EXPECT_EQ(rig.view.frames.size(), 1u);
}

// Polling every millisecond while an answer takes about 35 ms on the line (5 request bytes and
// 27 answer bytes at 8192 baud): frames were lost when a tick cut an answer short.
class FastPollTest : public ::testing::Test {
  protected:
    void SetUp() override {
        LinkSettings s =
            EngineRig::Settings(SyncMode::TalkListen, "$f4 $57 $01 $00 $b4", 3, 23, true, false);
        s.sampleRate = 1;
        rig.engine.ApplySettings(s);
        rig.Run();
    }
    static Bytes Answer(std::uint8_t n) {
        Bytes frame{0xF4, 0x95, 0x01};
        for (int i = 0; i < 23; ++i) {
            frame.push_back(static_cast<std::uint8_t>(n + i));
        }
        return WithChecksum(frame);
    }
    std::size_t Requests() const { return rig.port.writes.size(); }
    EngineRig rig;
};

TEST_F(FastPollTest, EachAnswerIsLetFinishBeforeTheNextRequest) {
    for (std::uint8_t n = 0; n < 50; ++n) {
        rig.clock.Advance(1);  // a tick sends the request
        const std::size_t sent = Requests();
        const Bytes answer = Answer(n);
        // The answer arrives in pieces while the timer ticks on.
        rig.clock.Advance(6);
        rig.Feed(Bytes(answer.begin(), answer.begin() + 10));
        rig.clock.Advance(12);
        rig.Feed(Bytes(answer.begin() + 10, answer.begin() + 20));
        rig.clock.Advance(9);
        EXPECT_EQ(Requests(), sent) << "no request while an answer arrives";
        rig.Feed(Bytes(answer.begin() + 20, answer.end()));
    }
    ASSERT_EQ(rig.view.frames.size(), 50u);
    EXPECT_EQ(rig.view.BadFrames(), 0);
    EXPECT_EQ(rig.RawAt(1), 49);
    EXPECT_EQ(rig.engine.Counters().pollsUnanswered, 0u);
}

TEST_F(FastPollTest, AnAnswerThatNeverComesIsGivenUpWhenItsTimeHasPassed) {
    rig.clock.Advance(1);
    EXPECT_EQ(Requests(), 1u);
    rig.Feed(Bytes{0xF4, 0x95});
    // 32 bytes at 8192 baud take 40 ms; with the allowance the request goes again by 100 ms.
    rig.clock.Advance(85);
    EXPECT_EQ(Requests(), 1u);
    rig.clock.Advance(15);
    EXPECT_EQ(Requests(), 2u);
    EXPECT_EQ(rig.engine.ByteCounter(), 0) << "the dead answer was dropped";
    EXPECT_EQ(rig.engine.Counters().pollsUnanswered, 1u);
    rig.Feed(Answer(7));
    ASSERT_EQ(rig.view.frames.size(), 1u);
    EXPECT_TRUE(rig.view.frames[0].checksumGood);
}

TEST_F(EngineTalkListenTest, SlowPollsStillStartEachFrameAtTheTick) {
    // At the usual rates the answer's time is long past at the next tick: a partial answer is
    // cut there and the request sent again, as always.
    Apply(0, 4, false, false, 200);
    rig.Run();
    rig.clock.Advance(200);
    const std::size_t sent = rig.port.writes.size();
    rig.Feed(Bytes{1, 2});
    rig.clock.Advance(200);
    EXPECT_EQ(rig.port.writes.size(), sent + 1);
    EXPECT_EQ(rig.engine.ByteCounter(), 0);
}

}  // namespace
}  // namespace vekaton::testing
