#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "engine/EngineTestRig.h"
#include "log/DataLogFile.h"
#include "platform/Process.h"
#include "support/LogRecords.h"

namespace vekaton::testing {
namespace {

// ALDL 160 interface: packets open with the start string 0A 0D 2A and carry 5 data bytes.
class EngineAldl160Test : public ::testing::Test {
  protected:
    void SetUp() override { Apply("$0A $0D $2A", 5); }
    void Apply(std::string request, int dataBytes) {
        LinkSettings s =
            EngineRig::Settings(SyncMode::Aldl160, std::move(request), 3, dataBytes, false, false);
        rig.engine.ApplySettings(s);
    }
    EngineRig rig;
    const Bytes start{0x0A, 0x0D, 0x2A};
};

TEST_F(EngineAldl160Test, EveryDataByteOfAPacketReachesPositionsOneToDataBytes) {
    rig.engine.PauseClick();
    EXPECT_TRUE(rig.engine.Running());
    EXPECT_FALSE(rig.engine.PollTimerEnabled());
    EXPECT_FALSE(rig.engine.SyncTimerEnabled());
    rig.Feed(Concat(Bytes{0x99, 0x98}, Concat(start, Bytes{11, 12, 13, 14, 15, 0x0A})));
    ASSERT_EQ(rig.view.frames.size(), 1u);
    for (int p = 1; p <= 5; ++p) {
        EXPECT_EQ(rig.RawAt(p), 10 + p) << p;
    }
    EXPECT_EQ(rig.RawAt(6), 0);
    EXPECT_EQ(rig.engine.ByteCounter(), rig.engine.DataOffset() + 5);
    ASSERT_EQ(rig.view.packets.size(), 1u);
    EXPECT_EQ(rig.view.packets[0], std::make_pair(5, true));

    rig.Feed(Concat(Bytes{0x0D, 0x2A}, Bytes{21, 22, 23, 24, 25}));
    ASSERT_EQ(rig.view.frames.size(), 2u);
    EXPECT_EQ(rig.RawAt(1), 21);
    EXPECT_EQ(rig.RawAt(5), 25);
    EXPECT_EQ(rig.view.packets[1], std::make_pair(5, false));  // the LED toggles
    EXPECT_FALSE(rig.view.frames[1].hasChecksum);
}

TEST_F(EngineAldl160Test, ANewRequestAppliesFromTheFirstPacket) {
    rig.engine.PauseClick();
    Apply("$F0 $F1", 3);
    rig.Feed(Bytes{0x0A, 0x0D, 0x2A, 1, 2, 3, 4, 5});
    EXPECT_TRUE(rig.view.frames.empty());
    rig.Feed(Bytes{0xF0, 0xF1, 7, 8, 9});
    ASSERT_EQ(rig.view.frames.size(), 1u);
    EXPECT_EQ(rig.RawAt(3), 9);
}

TEST_F(EngineAldl160Test, RequestBytesMatchLiterallyEvenWhenTheyLookLikePatternCharacters) {
    // 3F is "?" and 5C is "\": both stand for themselves, not for a wildcard or an escape.
    Apply("$3F $5C $41", 2);
    rig.engine.PauseClick();
    rig.Feed(Bytes{0x00, 0x5C, 0x41, 1, 2});
    EXPECT_TRUE(rig.view.frames.empty());
    rig.Feed(Bytes{0x3F, 0x5C, 0x41, 3, 4});
    ASSERT_EQ(rig.view.frames.size(), 1u);
    EXPECT_EQ(rig.RawAt(2), 4);
}

TEST_F(EngineAldl160Test, PacketsWhileStoppedAreMarkedAndTracedButNotDecoded) {
    rig.view.debugPage = false;
    rig.Feed(Concat(start, Bytes{1, 2, 3, 4, 5}));
    EXPECT_EQ(rig.view.trace, " * ");  // the marker shows on every page
    EXPECT_TRUE(rig.view.frames.empty());
    EXPECT_EQ(rig.RawAt(1), 0);
    rig.view.debugPage = true;
    rig.Feed(Concat(start, Bytes{1, 2, 3, 4, 0xFE}));
    EXPECT_EQ(rig.view.trace, " *  * 01, 02, 03, 04, FE, ");
    EXPECT_EQ(rig.view.packets.size(), 2u);
}

// A logger left running all night: the packet markers, written on every page, once grew the
// trace by three characters a packet without bound, because only bytes ever ended a line.
TEST_F(EngineAldl160Test, ANightOfPacketsKeepsTheTraceWithinItsFiftyLines) {
    constexpr std::size_t kMostText = HexTrace::kMaxLines * (HexTrace::kLineWidth + 4);
    rig.engine.PauseClick();
    const Bytes packet = Concat(start, Bytes{1, 2, 3, 4, 5});
    std::size_t longest = 0;
    for (int n = 0; n < 100000; ++n) {
        rig.view.debugPage = n >= 50000;  // markers only, then markers and bytes
        rig.Feed(packet);
        longest = std::max(longest, rig.engine.Trace().Text().size());
        if (n % 1000 == 999) {
            ASSERT_LE(rig.view.trace.size(), kMostText) << "after packet " << n + 1;
        }
    }
    EXPECT_EQ(rig.engine.Counters().frames, 100000u);
    EXPECT_LE(longest, kMostText);
    EXPECT_LE(rig.engine.Trace().LineCount(), HexTrace::kMaxLines);
    EXPECT_GT(rig.view.traceClears, 300) << "the trace starts again every 50 lines";
}

TEST_F(EngineAldl160Test, EachLogRecordIsTheStartStringThenThePacketBytes) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("vekaton_aldl160_" + std::to_string(platform::CurrentProcessId()) + ".Dat");
    rig.engine.PauseClick();
    ASSERT_FALSE(rig.engine.StartRecording(path));
    rig.Feed(Concat(start, Bytes{1, 2, 3, 4, 5}));
    rig.engine.StopRecording();
    EXPECT_TRUE(rig.engine.Recording());  // open until the next frame ends
    rig.Feed(Concat(start, Bytes{6, 7, 8, 9, 10}));
    EXPECT_FALSE(rig.engine.Recording());
    EXPECT_EQ(rig.view.recordingStopped, 1);
    EXPECT_EQ(rig.engine.FrameCount(), 2);
    EXPECT_EQ(rig.view.recordingLabels.back(), "") << "the label clears as the log closes";
    EXPECT_EQ(rig.engine.RecordLength(), 8);

    // Played back with ResponseBytes = the start string's length, the data land where they did.
    DataLogFile log;
    ASSERT_FALSE(log.Open(path, 8));
    EXPECT_EQ(log.RecordCount(), 2);
    EXPECT_EQ(log.TrailingBytes(), 0u);
    const auto records = LogRecords(path, 8);
    ASSERT_EQ(records.size(), 2u);
    const Bytes& first = records[0];
    EXPECT_EQ(first, Concat(start, Bytes{1, 2, 3, 4, 5}));
    EXPECT_EQ(records[1], Concat(start, Bytes{6, 7, 8, 9, 10}));

    rig.table.At(2).RawByte = 0;
    FeedRecord(rig.decoder, first, RecordLayout::From(rig.engine.Settings()), 0);
    EXPECT_EQ(rig.RawAt(2), 2);
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace vekaton::testing
