#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "engine/EngineTestRig.h"
#include "engine/EngineTexts.h"
#include "log/DataLogFile.h"
#include "support/LogRecords.h"

namespace vekaton::testing {
namespace {

namespace fs = std::filesystem;

// The real capture: header F4 95 01, 63 data bytes, checksum; request F4 57 01 00 B4, echoed;
// 110 ms interval; 45 records.
const fs::path kCapture = fs::path(VEKATON_TEST_DATA_DIR) / "A217_engine_off.Dat";
constexpr int kCaptureRecords = 45;

LinkSettings CaptureSettings() {
    LinkSettings s =
        EngineRig::Settings(SyncMode::TalkListen, "$F4 $57 $01 $00 $B4", 3, 63, true, true);
    s.sampleRate = 110;
    return s;
}

std::vector<Bytes> CaptureRecords() {
    return LogRecords(kCapture, 67);
}

TEST(EnginePlaybackTest, EveryRecordOfTheRealCaptureHasAGoodChecksum) {
    DataLogFile log;
    ASSERT_FALSE(log.Open(kCapture, 67));
    EXPECT_EQ(log.IntervalMs(), 110);
    EngineRig rig;
    const RecordLayout layout = RecordLayout::From(CaptureSettings());
    int records = 0;
    for (const Bytes& record : CaptureRecords()) {
        const RecordOutcome outcome = FeedRecord(rig.decoder, record, layout, records);
        EXPECT_TRUE(outcome.hasChecksum);
        EXPECT_TRUE(outcome.checksumGood) << "record " << records;
        // Positions count from ResponseBytes: the header never reaches the table.
        EXPECT_EQ(rig.RawAt(1), record[3]);
        EXPECT_EQ(rig.RawAt(63), record[65]);
        ++records;
    }
    EXPECT_EQ(records, kCaptureRecords);
    EXPECT_EQ(log.RecordCount(), kCaptureRecords);
    EXPECT_EQ(log.TrailingBytes(), 0u);

    Bytes broken = CaptureRecords()[0];
    broken[10] ^= 0x01;
    EXPECT_FALSE(FeedRecord(rig.decoder, broken, layout, 0).checksumGood);
}

TEST(EnginePlaybackTest, TheCaptureReceivedLiveWithItsEchoDecodesCleanly) {
    EngineRig rig;
    rig.engine.ApplySettings(CaptureSettings());
    rig.Run();
    const Bytes request{0xF4, 0x57, 0x01, 0x00, 0xB4};
    for (const Bytes& record : CaptureRecords()) {
        rig.clock.Advance(110);
        ASSERT_EQ(Bytes(rig.port.written.end() - 5, rig.port.written.end()), request);
        // The adapter hands the bytes over in uneven pieces.
        const Bytes received = Concat(request, record);
        rig.Feed(Bytes(received.begin(), received.begin() + 7));
        rig.Feed(Bytes(received.begin() + 7, received.end()));
        EXPECT_EQ(rig.RawAt(1), record[3]);
        EXPECT_EQ(rig.RawAt(63), record[65]);
    }
    ASSERT_EQ(rig.view.frames.size(), static_cast<std::size_t>(kCaptureRecords));
    EXPECT_EQ(rig.view.BadFrames(), 0);
    EXPECT_EQ(rig.view.checksumLabelShows, 0);
    EXPECT_NEAR(rig.engine.ElapsedSeconds(), kCaptureRecords * 0.11, 1e-9);
}

TEST(EnginePlaybackTest, RealTimePlaybackPlaysOneRecordPerTickAtTheLogsInterval) {
    EngineRig rig;
    LinkSettings s = CaptureSettings();
    s.sampleRate = 500;
    rig.engine.ApplySettings(s);
    rig.Run();
    ASSERT_FALSE(rig.engine.StartPlayback(kCapture));
    EXPECT_FALSE(rig.engine.Running());  // acquisition stopped first
    EXPECT_TRUE(rig.engine.RealTimePlayback());
    const auto writes = rig.port.writes.size();

    rig.engine.PauseClick();  // ignored while playing back
    EXPECT_FALSE(rig.engine.Running());

    rig.clock.Advance(110 * kCaptureRecords);
    EXPECT_EQ(rig.view.frames.size(), static_cast<std::size_t>(kCaptureRecords));
    for (const auto& frame : rig.view.frames) {
        EXPECT_TRUE(frame.fromPlayback);
        EXPECT_TRUE(frame.checksumGood);
    }
    EXPECT_EQ(rig.RawAt(1), CaptureRecords().back()[3]);
    EXPECT_NEAR(rig.engine.ElapsedSeconds(), kCaptureRecords * 0.11, 1e-9);
    EXPECT_EQ(rig.view.playbackEnded, 0);
    rig.clock.Advance(110);
    EXPECT_EQ(rig.view.playbackEnded, 1);
    EXPECT_FALSE(rig.engine.RealTimePlayback());
    EXPECT_FALSE(rig.engine.PollTimerEnabled());
    EXPECT_TRUE(rig.view.messages.empty());
    // Playback never polls the module (a stop command may have been sent when it began).
    for (std::size_t w = writes; w < rig.port.writes.size(); ++w) {
        EXPECT_NE(rig.port.writes[w].size(), 5u);
    }
}

TEST(EnginePlaybackTest, ATrailingPartialRecordEndsPlaybackWithAWarning) {
    const fs::path path =
        fs::temp_directory_path() / ("vekaton_partial_" + std::to_string(::getpid()) + ".Dat");
    {
        std::ofstream out(path, std::ios::binary);
        const char bytes[] = {100, 0, 1, 2, 3, 4, 5, 6, 7};  // two 3-byte records and one byte
        out.write(bytes, sizeof bytes);
    }
    EngineRig rig;
    rig.engine.ApplySettings(EngineRig::Settings(SyncMode::ListenOnly, "", 1, 2, false, false));
    ASSERT_FALSE(rig.engine.StartPlayback(path));
    rig.clock.Advance(300);
    EXPECT_EQ(rig.view.frames.size(), 2u);
    EXPECT_EQ(rig.RawAt(1), 5);
    EXPECT_EQ(rig.RawAt(2), 6);
    ASSERT_EQ(rig.view.messages.size(), 1u);
    EXPECT_EQ(rig.view.messages[0], PartialRecordText(1, 3));
    EXPECT_EQ(rig.view.playbackEnded, 1);
    fs::remove(path);

    EXPECT_TRUE(rig.engine.StartPlayback(path));  // gone now: reported, nothing starts
    EXPECT_FALSE(rig.engine.RealTimePlayback());
}

TEST(EnginePlaybackTest, RunIsIgnoredWhileADataFileIsShown) {
    EngineRig rig;
    rig.engine.ApplySettings(CaptureSettings());
    rig.engine.SetFileViewMode(true);
    rig.engine.PauseClick();
    EXPECT_FALSE(rig.engine.Running());
    EXPECT_TRUE(rig.view.messages.empty());
    rig.engine.SetFileViewMode(false);
    rig.engine.PauseClick();
    EXPECT_TRUE(rig.engine.Running());
}

}  // namespace
}  // namespace vekaton::testing
