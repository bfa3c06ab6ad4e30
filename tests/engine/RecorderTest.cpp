// The recorder on its own: whole records only, the stop at the end of the next frame, and
// closing at once with what was kept.
#include "engine/Recorder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine/EngineTestRig.h"
#include "engine/EngineTexts.h"
#include "platform/Process.h"
#include "support/LogRecords.h"

namespace vekaton::testing {
namespace {

namespace fs = std::filesystem;

class RecorderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        path_ = fs::temp_directory_path() /
                ("vekaton_recorder_" + std::to_string(platform::CurrentProcessId()) + ".Dat");
    }
    void TearDown() override { fs::remove(path_); }
    void Frame(const Bytes& bytes) {
        recorder_.DropRecord();
        for (const std::uint8_t b : bytes) {
            recorder_.Append(b);
        }
        recorder_.FinishRecord(3);
    }

    RecordingView view_;
    Recorder recorder_{view_};
    fs::path path_;
};

TEST_F(RecorderTest, WholeRecordsGoInAndAStopWaitsForTheEndOfTheNextFrame) {
    ASSERT_FALSE(recorder_.Start(path_, 500));
    EXPECT_TRUE(recorder_.Recording());
    EXPECT_EQ(view_.recordingLabels.back(), "Saving - 0");
    Frame({1, 2, 3});
    Frame({4, 5});  // begun before recording did: left out
    EXPECT_EQ(recorder_.FrameCount(), 1);
    EXPECT_EQ(view_.recordingLabels.back(), "Saving - 1");

    recorder_.RequestStop();
    EXPECT_TRUE(recorder_.StopRequested());
    EXPECT_TRUE(recorder_.Recording()) << "open until the next frame ends";
    EXPECT_EQ(view_.recordingLabels.back(), "");
    recorder_.BeginRecord(Bytes{7});
    recorder_.Append(8);
    recorder_.Append(9);
    recorder_.FinishRecord(3);
    EXPECT_FALSE(recorder_.Recording());
    EXPECT_FALSE(recorder_.IsOpen());
    EXPECT_EQ(view_.recordingStopped, 1);
    EXPECT_EQ(recorder_.FrameCount(), 2);
    EXPECT_EQ(view_.recordingLabels.back(), "") << "nothing records any more";

    EXPECT_EQ(LogRecords(path_, 3), (std::vector<Bytes>{{1, 2, 3}, {7, 8, 9}}));
    std::ifstream in(path_, std::ios::binary);
    EXPECT_EQ(in.get(), 0xF4);
    EXPECT_EQ(in.get(), 0x01);
}

TEST_F(RecorderTest, ClosingAtOnceKeepsTheCompletedFramesAndSaysWhatWasLeftOut) {
    EXPECT_FALSE(recorder_.CloseNow(kPortLostReason)) << "nothing open";
    recorder_.RequestStop();  // nothing to stop
    EXPECT_FALSE(recorder_.StopRequested());

    ASSERT_FALSE(recorder_.Start(path_, 110));
    Frame({1, 2, 3});
    recorder_.Append(4);
    recorder_.Append(5);
    const auto message = recorder_.CloseNow(kPortLostReason);
    ASSERT_TRUE(message);
    EXPECT_EQ(*message, RecordingClosedText(kPortLostReason, path_.string(), 1, 2));
    EXPECT_EQ(view_.messages.back(), *message);
    EXPECT_EQ(view_.recordingStopped, 1);
    EXPECT_FALSE(recorder_.Recording());
    EXPECT_EQ(LogRecords(path_, 3), (std::vector<Bytes>{{1, 2, 3}}));
}

TEST_F(RecorderTest, ALogThatCannotBeCreatedLeavesRecordingOff) {
    const auto error = recorder_.Start(path_ / "no" / "such.Dat", 500);
    ASSERT_TRUE(error);
    EXPECT_NE(error->find(kRecordingNotStarted), std::string::npos) << *error;
    EXPECT_FALSE(recorder_.Recording());
    EXPECT_FALSE(recorder_.IsOpen());
    EXPECT_TRUE(view_.recordingLabels.empty());
}

}  // namespace
}  // namespace vekaton::testing
