// Real-time playback's controls - pause, single step, seek, speed - and every way it can end.
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>

#include <filesystem>
#include <fstream>

#include "engine/EngineTestRig.h"
#include "engine/EngineTexts.h"
#include "log/RecordPlayback.h"

#ifndef _WIN32  // POSIX-only: file size limits
#include <sys/resource.h>
#endif

namespace vekaton::testing {
namespace {

namespace fs = std::filesystem;

constexpr int kFrames = 300;

// Listen-only, no header, 4 data bytes, no checksum: record f holds f, f+1, f*3 and 7, so the
// frame played last can be read from position 1.
LinkSettings LogSettings() {
    LinkSettings s = EngineRig::Settings(SyncMode::ListenOnly, "", 0, 4, false, false);
    s.sampleRate = 100;
    return s;
}

class PlaybackControlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        path_ = fs::temp_directory_path() /
                ("vekaton_pbc_" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                 "_" + std::to_string(::getpid()) + ".Dat");
        std::ofstream out(path_, std::ios::binary);
        out.put(50).put(0);  // 50 ms
        for (int f = 0; f < kFrames; ++f) {
            out.put(static_cast<char>(f & 0xFF))
                .put(static_cast<char>((f + 1) & 0xFF))
                .put(static_cast<char>((f * 3) & 0xFF))
                .put(7);
        }
        // A three-byte value at the last position completes in the next frame, so a frame's
        // values depend on the frame before it.
        rig.table.At(4).ByteCount = 3;
        rig.table.At(4).SetFormula("A*65536+B*256+C");
        rig.engine.ApplySettings(LogSettings());
    }
    void TearDown() override { fs::remove(path_); }

    EngineRig rig;
    fs::path path_;
};

TEST_F(PlaybackControlTest, PauseStepAndSpeedMoveThroughTheLogAtTheirPace) {
    ASSERT_FALSE(rig.engine.StartPlayback(path_));
    EXPECT_EQ(rig.view.playbackPosition, 0);
    EXPECT_EQ(rig.view.playbackFrames, kFrames);
    EXPECT_EQ(rig.engine.PlaybackIntervalMs(), 50);
    rig.clock.Advance(500);
    EXPECT_EQ(rig.engine.PlaybackPosition(), 10);
    // The time axis starts at 0 for the log and runs at its own interval.
    ASSERT_EQ(rig.ChartX().size(), 10u);
    EXPECT_DOUBLE_EQ(rig.ChartX()[0], 0.0);
    EXPECT_DOUBLE_EQ(rig.ChartX()[9], 0.45);

    rig.engine.SetPlaybackPaused(true);
    EXPECT_TRUE(rig.engine.PlaybackPaused());
    rig.clock.Advance(1000);
    EXPECT_EQ(rig.engine.PlaybackPosition(), 10);

    rig.engine.StepPlayback();
    EXPECT_EQ(rig.engine.PlaybackPosition(), 11);
    EXPECT_EQ(rig.RawAt(1), 10);
    EXPECT_TRUE(rig.engine.PlaybackPaused());
    rig.clock.Advance(1000);
    EXPECT_EQ(rig.engine.PlaybackPosition(), 11);

    rig.engine.SetPlaybackSpeed(4.0);
    rig.engine.SetPlaybackPaused(false);
    rig.clock.Advance(520);  // 12.5 ms a frame, ticks of 13 ms
    EXPECT_EQ(rig.engine.PlaybackPosition(), 11 + 40);
    rig.engine.SetPlaybackSpeed(0.25);
    rig.clock.Advance(1000);  // 200 ms a frame
    EXPECT_EQ(rig.engine.PlaybackPosition(), 51 + 5);
    rig.engine.SetPlaybackSpeed(100.0);  // held to 8 times
    EXPECT_EQ(rig.engine.PlaybackSpeed(), 8.0);
    rig.engine.SetPlaybackSpeed(0.0);
    EXPECT_EQ(rig.engine.PlaybackSpeed(), 0.25);
}

TEST_F(PlaybackControlTest, ASeekGivesTheValuesThatPlayingFromTheStartGives) {
    // Played straight through, the values of every frame.
    std::vector<std::pair<double, double>> straight;
    rig.view.onFrame = [&](const FrameSummary&) {
        straight.emplace_back(rig.table.At(2).Value, rig.table.At(6).Value);
    };
    ASSERT_FALSE(rig.engine.StartPlayback(path_));
    rig.clock.Advance(50 * kFrames);
    ASSERT_EQ(straight.size(), static_cast<std::size_t>(kFrames));
    EXPECT_EQ(rig.view.playbackEnded, 0);
    rig.clock.Advance(50);
    EXPECT_EQ(rig.view.playbackEnded, 1);

    // Then in jumps, forwards and back, beyond the checkpoints and between them.
    std::vector<std::pair<double, double>> jumped;
    rig.view.onFrame = [&](const FrameSummary&) {
        jumped.emplace_back(rig.table.At(2).Value, rig.table.At(6).Value);
    };
    ASSERT_FALSE(rig.engine.StartPlayback(path_, 200));
    rig.engine.SetPlaybackPaused(true);
    for (const std::int64_t frame : {200, 7, 131, 64, 63, 1, 0, 299, 128, 250}) {
        rig.engine.SeekPlayback(frame);
        EXPECT_EQ(rig.view.playbackPosition, frame);
        jumped.clear();
        rig.engine.StepPlayback();
        ASSERT_EQ(jumped.size(), 1u);
        EXPECT_EQ(jumped[0], straight[static_cast<std::size_t>(frame)]) << "frame " << frame;
        EXPECT_EQ(rig.RawAt(1), frame & 0xFF);
    }
    EXPECT_GE(rig.view.playbackJumps, 9);
    // The chart starts again at the frame jumped to, on the log's time.
    EXPECT_DOUBLE_EQ(rig.ChartX().back(), 250 * 0.05);
}

TEST_F(PlaybackControlTest, EveryWayPlaybackEndsPutsTheEngineBack) {
    // Talk/listen with a request and no header: records of the same 4 bytes.
    LinkSettings withRequest = LogSettings();
    withRequest.syncMode = SyncMode::TalkListen;
    withRequest.requestString = "$F4 $57";
    rig.engine.ApplySettings(withRequest);
    ASSERT_EQ(rig.engine.RecordLength(), 4);
    rig.engine.SetElapsedSeconds(12.5);
    const auto ended = [&](int times) {
        EXPECT_EQ(rig.view.playbackEnded, times);
        EXPECT_FALSE(rig.engine.RealTimePlayback());
        EXPECT_FALSE(rig.engine.Running());
        EXPECT_FALSE(rig.engine.PollTimerEnabled());
        EXPECT_EQ(rig.view.runStates.back(), kRunCaption);
        EXPECT_EQ(rig.engine.RequestBytes(), (Bytes{0xF4, 0x57}));
        EXPECT_DOUBLE_EQ(rig.engine.ElapsedSeconds(), 12.5) << "the live clock is put back";
    };
    // Reaching the end.
    const LinkSettings log = withRequest;
    ASSERT_FALSE(rig.engine.StartPlayback(path_, kFrames - 2));
    rig.clock.Advance(200);
    ended(1);
    // Stopped while playing, and while paused.
    ASSERT_FALSE(rig.engine.StartPlayback(path_));
    rig.clock.Advance(120);
    rig.engine.StopPlayback();
    ended(2);
    ASSERT_FALSE(rig.engine.StartPlayback(path_));
    rig.engine.SetPlaybackPaused(true);
    rig.engine.StopPlayback();
    ended(3);
    rig.engine.StopPlayback();  // nothing to stop: nothing happens
    EXPECT_EQ(rig.view.playbackEnded, 3);
    // New settings (setup confirmed, another set loaded) end it.
    ASSERT_FALSE(rig.engine.StartPlayback(path_));
    rig.engine.ApplySettings(log);
    ended(4);
    // A log that shrinks under playback ends it with the reason.
    ASSERT_FALSE(rig.engine.StartPlayback(path_));
    rig.engine.SeekPlayback(kFrames - 20);
    fs::resize_file(path_, 2 + 4 * 10);
    rig.clock.Advance(100);
    ended(5);
    ASSERT_FALSE(rig.view.messages.empty());
    EXPECT_NE(rig.view.messages.back().find("Playback stopped at frame 281"), std::string::npos)
        << rig.view.messages.back();
    // Run works again afterwards.
    rig.engine.PauseClick();
    EXPECT_TRUE(rig.engine.Running());
}

TEST_F(PlaybackControlTest, ALogWithoutAWholeRecordIsRefusedAndNothingChanges) {
    const fs::path tiny = path_.string() + ".tiny";
    {
        std::ofstream out(tiny, std::ios::binary);
        out.put(50).put(0).put(1).put(2);
    }
    const auto error = rig.engine.StartPlayback(tiny);
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("no whole record"), std::string::npos) << *error;
    EXPECT_NE(error->find("2 bytes"), std::string::npos) << *error;
    EXPECT_FALSE(rig.engine.RealTimePlayback());
    EXPECT_EQ(rig.view.playbackEnded, 0);
    fs::remove(tiny);
    EXPECT_TRUE(rig.engine.StartPlayback(path_.parent_path()));  // a folder is no log
}

TEST(EngineLogClosing, ClosingAtOnceKeepsTheWholeFramesAndCountsTheBytesLeftOut) {
    const fs::path path =
        fs::temp_directory_path() / ("vekaton_close_" + std::to_string(::getpid()) + ".Dat");
    EngineRig rig;
    rig.engine.ApplySettings(
        EngineRig::Settings(SyncMode::TalkListen, "$F4 $57", 2, 3, true, true));
    rig.Run();
    ASSERT_FALSE(rig.engine.StartRecording(path));
    const Bytes answer = WithChecksum({0xE1, 0xE2, 1, 2, 3});
    rig.clock.Advance(500);
    rig.Feed(Concat({0xF4, 0x57}, answer));
    rig.clock.Advance(500);
    rig.Feed(Concat({0xF4, 0x57}, Bytes(answer.begin(), answer.begin() + 4)));  // cut off

    const auto message = rig.engine.CloseRecordingNow(kPortLostReason);
    ASSERT_TRUE(message);
    EXPECT_EQ(*message, "Recording stopped: the port was lost. \"" + path.string() +
                            "\" keeps its 1 whole frame; the 4 bytes of the frame in progress "
                            "were left out.");
    EXPECT_EQ(rig.view.messages.back(), *message);
    EXPECT_FALSE(rig.engine.Recording());
    EXPECT_EQ(rig.view.recordingStopped, 1);
    EXPECT_EQ(fs::file_size(path), 2u + answer.size());
    EXPECT_FALSE(rig.engine.CloseRecordingNow(kPortLostReason)) << "nothing open any more";

    // A change of frame layout closes a recording; a change that keeps the length does not.
    ASSERT_FALSE(rig.engine.StartRecording(path));
    LinkSettings same = rig.engine.Settings();
    same.sampleRate = 250;
    rig.engine.ApplySettings(same);
    EXPECT_TRUE(rig.engine.Recording());
    LinkSettings longer = same;
    longer.dataBytes = 4;
    rig.engine.ApplySettings(longer);
    EXPECT_FALSE(rig.engine.Recording());
    EXPECT_NE(rig.view.messages.back().find(std::string(kLayoutChangedReason)), std::string::npos);
    fs::remove(path);
}

#ifndef _WIN32  // POSIX-only: the system's own wording
TEST(EngineLogClosing, ALogThatCannotBeCreatedSaysWhyAndThatRecordingDidNotStart) {
    EngineRig rig;
    rig.engine.ApplySettings(
        EngineRig::Settings(SyncMode::TalkListen, "$F4 $57", 2, 3, true, true));
    const auto error = rig.engine.StartRecording("/proc/vekaton-no-such-folder/x.Dat");
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("No such file or directory"), std::string::npos) << *error;
    EXPECT_NE(error->find("Recording did not start."), std::string::npos) << *error;
    EXPECT_FALSE(rig.engine.Recording());
}
#endif

#ifndef _WIN32  // POSIX-only: a file size limit stands in for a full disk
TEST(EngineLogClosing, AWriteThatFailsStopsRecordingAndSaysHowManyFramesTheLogKeeps) {
    // A disk that fills up, played by a file size limit: the second record does not fit.
    const fs::path path =
        fs::temp_directory_path() / ("vekaton_full_" + std::to_string(::getpid()) + ".Dat");
    EngineRig rig;
    rig.engine.ApplySettings(
        EngineRig::Settings(SyncMode::TalkListen, "$F4 $57", 2, 3, true, true));
    rig.Run();
    ASSERT_FALSE(rig.engine.StartRecording(path));
    struct rlimit before {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);  // EFBIG instead of a signal
    struct rlimit limit = before;
    limit.rlim_cur = 2 + 6 + 3;  // the header, one record and a little
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    for (int i = 0; i < 2; ++i) {
        rig.clock.Advance(500);
        rig.Feed(Concat({0xF4, 0x57}, WithChecksum({0xE1, 0xE2, 1, 2, 3})));
    }
    ::setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(rig.engine.Recording());
    ASSERT_FALSE(rig.view.messages.empty());
    EXPECT_NE(rig.view.messages.back().find("File too large"), std::string::npos)
        << rig.view.messages.back();
    EXPECT_NE(rig.view.messages.back().find("Recording stopped; the log keeps its 1 whole frame."),
              std::string::npos)
        << rig.view.messages.back();
    EXPECT_EQ(rig.view.recordingStopped, 1);
    fs::remove(path);
}
#endif

}  // namespace
}  // namespace vekaton::testing
