#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "engine/EngineTestRig.h"

namespace vekaton::testing {
namespace {

namespace fs = std::filesystem;

const Bytes kRequest{0xF4, 0x57};

class EngineRecordingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        path_ = fs::temp_directory_path() /
                ("vekaton_rec_" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                 "_" + std::to_string(::getpid()) + ".Dat");
    }
    void TearDown() override { fs::remove(path_); }

    // Talk/listen, request F4 57 echoed, 2 header and 3 data bytes, with or without checksum.
    void Apply(bool checksum) {
        rig.engine.ApplySettings(
            EngineRig::Settings(SyncMode::TalkListen, "$F4 $57", 2, 3, checksum, true));
    }
    Bytes Answer(std::uint8_t seed, bool checksum) const {
        Bytes answer{0xE1, 0xE2, seed, static_cast<std::uint8_t>(seed + 1),
                     static_cast<std::uint8_t>(seed + 2)};
        return checksum ? WithChecksum(answer) : answer;
    }
    // One poll: the tick, then the echo and the answer.
    void Poll(std::uint8_t seed, bool checksum) {
        rig.clock.Advance(500);
        rig.Feed(Concat(kRequest, Answer(seed, checksum)));
    }
    Bytes FileBytes() const {
        std::ifstream in(path_, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    EngineRig rig;
    fs::path path_;
};

TEST_F(EngineRecordingTest, RecordsHoldHeaderDataAndChecksumButNeverTheEcho) {
    Apply(true);
    rig.Run();
    ASSERT_FALSE(rig.engine.StartRecording(path_));
    EXPECT_EQ(rig.view.recordingLabels.back(), "Saving - 0");
    Poll(10, true);
    Poll(20, true);
    EXPECT_EQ(rig.view.recordingLabels.back(), "Saving - 2");
    EXPECT_EQ(FileBytes(), Concat(Concat(Bytes{0xF4, 0x01}, Answer(10, true)), Answer(20, true)));
}

TEST_F(EngineRecordingTest, WithoutChecksumTheLastDataByteIsWrittenOnce) {
    Apply(false);
    rig.Run();
    ASSERT_FALSE(rig.engine.StartRecording(path_));
    Poll(10, false);
    Poll(20, false);
    EXPECT_EQ(FileBytes(), Concat(Concat(Bytes{0xF4, 0x01}, Answer(10, false)), Answer(20, false)));
}

TEST_F(EngineRecordingTest, AStopTakesEffectAtTheEndOfTheNextFrameAfterItsLastByte) {
    for (const bool checksum : {false, true}) {
        Apply(checksum);
        if (!rig.engine.Running()) {
            rig.Run();
        }
        ASSERT_FALSE(rig.engine.StartRecording(path_));
        Poll(1, checksum);
        rig.view.recordingLabels.clear();
        rig.engine.StopRecording();
        EXPECT_EQ(rig.view.recordingLabels, (std::vector<std::string>{""}));
        EXPECT_TRUE(rig.engine.Recording());
        EXPECT_TRUE(rig.engine.StopRequested());
        Poll(2, checksum);
        EXPECT_FALSE(rig.engine.Recording());
        EXPECT_FALSE(rig.engine.StopRequested());
        EXPECT_EQ(rig.engine.FrameCount(), 2);
        EXPECT_EQ(rig.view.recordingLabels, (std::vector<std::string>{"", ""}))
            << "the label clears as the record's end is written, and stays clear";
        Poll(3, checksum);
        EXPECT_EQ(FileBytes(),
                  Concat(Concat(Bytes{0xF4, 0x01}, Answer(1, checksum)), Answer(2, checksum)))
            << checksum;
    }
    EXPECT_EQ(rig.view.recordingStopped, 2);
}

TEST_F(EngineRecordingTest, AStopWhileNoFramesArriveKeepsTheLogOpen) {
    Apply(true);
    rig.Run();
    ASSERT_FALSE(rig.engine.StartRecording(path_));
    rig.engine.StopRecording();
    rig.clock.Advance(5000);  // requests go out, no answers come
    EXPECT_TRUE(rig.engine.Recording());
    EXPECT_EQ(rig.view.recordingLabels.back(), "");
    EXPECT_EQ(rig.view.recordingStopped, 0);
}

TEST_F(EngineRecordingTest, FramesCutShortOrJoinedHalfwayAreLeftOutWhole) {
    Apply(true);
    rig.Run();
    rig.clock.Advance(500);
    const Bytes answer = Concat(kRequest, Answer(5, true));
    rig.Feed(Bytes(answer.begin(), answer.begin() + 4));
    ASSERT_FALSE(rig.engine.StartRecording(path_));  // inside a frame
    rig.Feed(Bytes(answer.begin() + 4, answer.end()));
    EXPECT_EQ(rig.engine.FrameCount(), 0);

    rig.clock.Advance(500);
    rig.Feed(Bytes(answer.begin(), answer.begin() + 6));  // the answer stops short
    Poll(6, true);
    EXPECT_EQ(FileBytes(), Concat(Bytes{0xF4, 0x01}, Answer(6, true)));
    EXPECT_EQ(rig.view.recordingLabels.back(), "Saving - 1");
}

TEST_F(EngineRecordingTest, BytesAreRecordedOnlyWhileRunning) {
    Apply(true);
    ASSERT_FALSE(rig.engine.StartRecording(path_));
    rig.Feed(Concat(kRequest, Answer(1, true)));
    EXPECT_EQ(FileBytes(), (Bytes{0xF4, 0x01}));
}

TEST_F(EngineRecordingTest, PollingGoesOnWhileTheLogIsChosenAndTheLogBeginsWithAWholeFrame) {
    Apply(true);
    rig.Run();
    // The user takes five seconds over the question: every poll is answered meanwhile.
    for (int i = 0; i < 10; ++i) {
        Poll(static_cast<std::uint8_t>(i), true);
    }
    EXPECT_TRUE(rig.engine.PollTimerEnabled());
    EXPECT_EQ(rig.engine.Counters().frames, 10u);
    // The answer comes in the middle of a frame: that frame stays out of the log.
    rig.clock.Advance(500);
    const Bytes answer = Concat(kRequest, Answer(40, true));
    rig.Feed(Bytes(answer.begin(), answer.begin() + 5));
    ASSERT_FALSE(rig.engine.StartRecording(path_));
    EXPECT_TRUE(rig.engine.PollTimerEnabled()) << "starting a log never stops the poll";
    rig.Feed(Bytes(answer.begin() + 5, answer.end()));
    EXPECT_EQ(rig.engine.Counters().frames, 11u) << "the frame is still decoded and shown";
    EXPECT_EQ(rig.engine.FrameCount(), 0);
    EXPECT_EQ(rig.view.recordingLabels.back(), "Saving - 0");
    Poll(50, true);
    EXPECT_EQ(FileBytes(), Concat(Bytes{0xF4, 0x01}, Answer(50, true)));
    EXPECT_EQ(rig.view.recordingLabels.back(), "Saving - 1");
}

TEST_F(EngineRecordingTest, ALogThatCannotBeCreatedIsReportedAndNothingRecords) {
    Apply(true);
    rig.Run();
    const auto error = rig.engine.StartRecording(path_.parent_path() / "no_such_dir" / "x.Dat");
    ASSERT_TRUE(error);
    EXPECT_FALSE(rig.engine.Recording());
    EXPECT_TRUE(rig.engine.PollTimerEnabled());
    Poll(1, true);
    EXPECT_EQ(rig.engine.FrameCount(), 0);
}

TEST_F(EngineRecordingTest, TheIntervalIsTheSampleRateWhenRecordingBegins) {
    LinkSettings s = EngineRig::Settings(SyncMode::TalkListen, "$F4 $57", 2, 3, true, true);
    s.sampleRate = 110;
    rig.engine.ApplySettings(s);
    ASSERT_FALSE(rig.engine.StartRecording(path_));
    EXPECT_EQ(FileBytes(), (Bytes{0x6E, 0x00}));
}

}  // namespace
}  // namespace vekaton::testing
