// Every frame the engine completes, in each link mode and in playback, becomes one chart sample
// at its elapsed time, holding the decoder's point for each channel.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/EngineTestRig.h"
#include "log/DataLog.h"
#include "platform/Process.h"

namespace vekaton::testing {
namespace {

class EngineChartTest : public ::testing::Test {
  protected:
    void SetUp() override {
        rig.table.At(1).SetFormula("A*2");
        rig.chart.AddChannel(ChartChannel("Doubled", 0, 1.0, 0.0, 1, 0));
    }
    void Apply(SyncMode mode, std::string request, int responseBytes, int dataBytes, bool checksum,
               int sampleRate) {
        LinkSettings s = EngineRig::Settings(mode, std::move(request), responseBytes, dataBytes,
                                             checksum, false);
        s.sampleRate = sampleRate;
        rig.engine.ApplySettings(s);
    }
    // The chart's point on the channel for each completed frame, by the frame's sample.
    std::vector<double> Points() const {
        std::vector<double> points;
        for (const FrameSummary& frame : rig.view.frames) {
            points.push_back(rig.chart.Data().Point(0, frame.sampleIndex).value_or(-1.0));
        }
        return points;
    }
    EngineRig rig;
};

TEST_F(EngineChartTest, TalkListenFramesAreSampledAtTheirElapsedTime) {
    Apply(SyncMode::TalkListen, "$F4", 1, 2, true, 200);
    rig.Run();
    for (std::uint8_t n = 1; n <= 3; ++n) {
        rig.clock.Advance(200);
        rig.Feed(WithChecksum(Bytes{0x99, n, 0x00}));
        rig.Feed(Bytes{0x55});  // past the frame's end: no sample of its own
    }
    ASSERT_EQ(rig.view.frames.size(), 3u);
    EXPECT_EQ(rig.ChartX(), (std::vector<double>{0.0, 0.2, 0.4}));
    EXPECT_EQ(Points(), (std::vector<double>{2.0, 4.0, 6.0}));
    for (const FrameSummary& frame : rig.view.frames) {
        EXPECT_EQ(rig.chart.Data().X(frame.sampleIndex), frame.chartTime);
    }
}

TEST_F(EngineChartTest, EachPacketIsOneSampleAndABadFrameIsPlottedToo) {
    Apply(SyncMode::Aldl160, "$0A $0D", 2, 2, false, 500);
    rig.engine.PauseClick();
    rig.Feed(Bytes{0x0A, 0x0D, 5, 0, 0x0A, 0x0D, 6, 0});
    EXPECT_EQ(rig.ChartX(), (std::vector<double>{0.0, 0.5}));
    EXPECT_EQ(Points(), (std::vector<double>{10.0, 12.0}));

    // A stopped engine adds nothing.
    rig.engine.PauseClick();
    rig.Feed(Bytes{0x0A, 0x0D, 7, 0});
    EXPECT_EQ(rig.chart.Data().SampleCount(), 2u);
}

TEST_F(EngineChartTest, PlaybackSamplesStartAtTheLogsOwnTimeAndLiveTimeStartsAfresh) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("vekaton_chart_" + std::to_string(platform::CurrentProcessId()) + ".Dat");
    {
        DataLogWriter writer;
        ASSERT_FALSE(writer.Create(path, 100));
        for (std::uint8_t n = 1; n <= 4; ++n) {
            ASSERT_FALSE(writer.AppendRecord(Bytes{0x99, n, 0x00}));
        }
    }
    Apply(SyncMode::TalkListen, "$F4", 1, 2, false, 500);
    rig.engine.SetElapsedSeconds(30.0);
    rig.Run();
    rig.clock.Advance(500);
    rig.Feed(Bytes{0x99, 9, 0x00});
    EXPECT_EQ(rig.ChartX(), std::vector<double>{30.0});

    ASSERT_FALSE(rig.engine.StartPlayback(path));
    rig.clock.Advance(400);
    EXPECT_EQ(rig.ChartX(), (std::vector<double>{0.0, 0.1, 0.2, 0.3}))
        << "the log's frames do not run on from the live ones";
    EXPECT_EQ(rig.chart.Data().Point(0, rig.view.frames.back().sampleIndex), 8.0);
    std::filesystem::remove(path);
}

TEST(EngineWithoutChart, FramesStillCompleteWithSampleZero) {
    EngineRig rig;
    rig.engine.SetChart(nullptr);
    LinkSettings s = EngineRig::Settings(SyncMode::Aldl160, "$0A", 1, 1, false, false);
    rig.engine.ApplySettings(s);
    rig.engine.PauseClick();
    rig.Feed(Bytes{0x0A, 1, 0x0A, 2});
    ASSERT_EQ(rig.view.frames.size(), 2u);
    EXPECT_EQ(rig.view.frames[1].sampleIndex, 0);
    EXPECT_EQ(rig.chart.Data().SampleCount(), 0u);
    EXPECT_EQ(rig.RawAt(1), 2);
}

TEST_F(EngineChartTest, AnUnansweredRequestBreaksTheLinesAtTheMissingFrame) {
    Apply(SyncMode::TalkListen, "$F4", 1, 2, true, 200);
    rig.Run();
    const auto frame = [this](std::uint8_t n) {
        rig.clock.Advance(200);
        rig.Feed(WithChecksum(Bytes{0x99, n, 0x00}));
    };
    frame(1);
    frame(2);
    rig.clock.Advance(200);  // this request is never answered
    frame(3);
    frame(4);
    ASSERT_EQ(rig.view.frames.size(), 4u);
    EXPECT_EQ(rig.chart.Data().Breaks(),
              (std::vector<std::int64_t>{rig.view.frames[2].sampleIndex}))
        << "a gap before the frame after the missing one, and nowhere else";
}

TEST_F(EngineChartTest, AFrameThatComesFarLateInListenOnlyModeIsAGap) {
    LinkSettings s = EngineRig::Settings(SyncMode::ListenOnly, "", 1, 2, true, false);
    s.syncTime = 50;
    rig.engine.ApplySettings(s);
    rig.engine.PauseClick();
    std::int64_t late = -1;
    for (int n = 1; n <= 8; ++n) {
        rig.clock.Advance(n == 6 ? 1000 : 200);  // frames 5 and 6 lie a second apart
        rig.Feed(WithChecksum(Bytes{0x99, static_cast<std::uint8_t>(n), 0x00}));
        if (n == 6) {
            late = rig.view.frames.back().sampleIndex;
        }
    }
    ASSERT_EQ(rig.view.frames.size(), 8u);
    EXPECT_EQ(rig.chart.Data().Breaks(), (std::vector<std::int64_t>{late}));
}

}  // namespace
}  // namespace vekaton::testing
