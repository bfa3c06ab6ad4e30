#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "engine/EngineTestRig.h"
#include "log/DataLogFile.h"
#include "support/LogRecords.h"

namespace vekaton::testing {
namespace {

// Listen only: 2 header bytes, 6 data bytes, checksum: 9 bytes per burst; 300 ms of silence
// ends a burst.
class EngineListenOnlyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        LinkSettings s = EngineRig::Settings(SyncMode::ListenOnly, "", 2, 6, true, false);
        s.syncTime = 300;
        rig.engine.ApplySettings(s);
        rig.engine.PauseClick();
    }
    static Bytes Burst(std::uint8_t seed) {
        return WithChecksum({0xF0, 0x96, seed, 2, 3, 4, 5, 6});
    }
    EngineRig rig;
};

TEST_F(EngineListenOnlyTest, RunStartsOnlyTheSyncTimer) {
    EXPECT_TRUE(rig.engine.Running());
    EXPECT_TRUE(rig.engine.SyncTimerEnabled());
    EXPECT_FALSE(rig.engine.PollTimerEnabled());
    EXPECT_TRUE(rig.port.written.empty());  // the engine only listens
    rig.engine.PauseClick();
    EXPECT_FALSE(rig.engine.SyncTimerEnabled());
    EXPECT_TRUE(rig.port.written.empty());
}

TEST_F(EngineListenOnlyTest, WholeBurstsAreFramesAndWrongLengthsAreSyncErrors) {
    rig.Feed(Burst(1));
    rig.clock.Advance(300);
    rig.Feed(Burst(2));
    rig.clock.Advance(300);
    EXPECT_EQ(rig.view.frames.size(), 2u);
    EXPECT_EQ(rig.engine.SyncErrorCount(), 0);

    Bytes shortBurst = Burst(3);
    shortBurst.pop_back();
    rig.Feed(shortBurst);
    rig.clock.Advance(300);
    EXPECT_EQ(rig.engine.SyncErrorCount(), 1);
    EXPECT_EQ(rig.view.syncErrors, 1);

    Bytes longBurst = Concat(Burst(4), Bytes{0x55});
    rig.Feed(longBurst);
    rig.clock.Advance(300);
    EXPECT_EQ(rig.engine.SyncErrorCount(), 2);
    EXPECT_EQ(rig.view.frames.size(), 3u);  // the long one still ended at its ninth byte
    EXPECT_EQ(rig.engine.ByteCounter(), 0);

    rig.engine.ResetSyncErrors();
    EXPECT_EQ(rig.view.syncErrors, 0);
}

TEST_F(EngineListenOnlyTest, BurstsCloserThanSyncTimeCountAsOneFrame) {
    const Bytes burst = Burst(7);
    rig.Feed(Bytes(burst.begin(), burst.begin() + 4));
    rig.clock.Advance(299);
    rig.Feed(Bytes(burst.begin() + 4, burst.end()));
    EXPECT_EQ(rig.view.frames.size(), 1u);
    EXPECT_TRUE(rig.view.frames[0].checksumGood);
    EXPECT_EQ(rig.RawAt(1), 7);
    rig.clock.Advance(300);
    EXPECT_EQ(rig.engine.SyncErrorCount(), 0);
}

// Frames closer together than SyncTime: each good frame ends its burst, so the next frame is
// decoded too instead of being counted on past the frame's end and lost.
TEST_F(EngineListenOnlyTest, FramesCloserThanSyncTimeAreEachDecoded) {
    for (std::uint8_t n = 1; n <= 20; ++n) {
        rig.Feed(Burst(n));
        rig.clock.Advance(100);  // a third of SyncTime between frames
    }
    ASSERT_EQ(rig.view.frames.size(), 20u);
    EXPECT_EQ(rig.view.BadFrames(), 0);
    EXPECT_EQ(rig.RawAt(1), 20);
    rig.clock.Advance(300);
    EXPECT_EQ(rig.engine.SyncErrorCount(), 0);

    // Two frames in one chunk, too.
    rig.Feed(Concat(Burst(30), Burst(31)));
    EXPECT_EQ(rig.view.frames.size(), 22u);
    EXPECT_EQ(rig.RawAt(1), 31);
}

TEST_F(EngineListenOnlyTest, AfterABadFrameTheBytesCountOnUntilTheSilence) {
    Bytes bad = Burst(1);
    bad.back() ^= 0xFF;  // out of step, or damaged: the next bytes cannot be trusted to start one
    rig.Feed(bad);
    rig.clock.Advance(100);
    rig.Feed(Burst(2));
    EXPECT_EQ(rig.view.frames.size(), 1u);
    rig.clock.Advance(300);
    EXPECT_EQ(rig.engine.SyncErrorCount(), 1);
    rig.Feed(Burst(3));
    ASSERT_EQ(rig.view.frames.size(), 2u);
    EXPECT_TRUE(rig.view.frames[1].checksumGood);
}

TEST_F(EngineListenOnlyTest, AQuietLineCountsNoSyncErrors) {
    rig.Feed(Burst(1));
    rig.clock.Advance(10 * 1000);  // the timer fires again and again on an empty frame
    EXPECT_EQ(rig.engine.SyncErrorCount(), 0);
    rig.Feed(Bytes{1, 2});
    rig.clock.Advance(10 * 1000);
    EXPECT_EQ(rig.engine.SyncErrorCount(), 1);
}

TEST_F(EngineListenOnlyTest, AStreamWithoutSilenceNeverOverflows) {
    const Bytes chunk(4096, 0x3C);
    for (int n = 0; n < 300; ++n) {
        rig.Feed(chunk);
        rig.clock.Advance(10);  // never quiet long enough
    }
    EXPECT_EQ(rig.engine.ByteCounter(), 300 * 4096);
    EXPECT_EQ(rig.view.frames.size(), 1u);
    EXPECT_EQ(rig.RawAt(500), 0x3C);  // positions up to 500 were decoded, none beyond
    rig.clock.Advance(300);
    EXPECT_EQ(rig.engine.SyncErrorCount(), 1);
    EXPECT_EQ(rig.engine.ByteCounter(), 0);
}

TEST_F(EngineListenOnlyTest, TheLogRecordsEachWholeBurst) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("vekaton_listen_" + std::to_string(::getpid()) + ".Dat");
    ASSERT_FALSE(rig.engine.StartRecording(path));
    rig.Feed(Burst(1));
    rig.clock.Advance(300);
    rig.Feed(Burst(2));
    rig.clock.Advance(300);
    rig.engine.StopRecording();
    rig.Feed(Burst(3));
    rig.clock.Advance(300);
    EXPECT_FALSE(rig.engine.Recording());
    const auto records = LogRecords(path, 9);
    ASSERT_EQ(records.size(), 3u);
    for (const int seed : {1, 2, 3}) {
        EXPECT_EQ(records[static_cast<std::size_t>(seed - 1)],
                  Burst(static_cast<std::uint8_t>(seed)));
    }
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace vekaton::testing
