// Running an analysis over a log: between two cursors, and in steps with progress, cancelled.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

#include "AnalysisTestLog.h"
#include "analysis/AnalysisText.h"

namespace vekaton::testing {
namespace {

AnalysisTestLog Ramp(int frames) {
    AnalysisTestLog log;
    for (int i = 0; i < frames; ++i) {
        log.Add(static_cast<std::uint8_t>(i), 1, static_cast<std::uint8_t>(2 * i));
    }
    return log;
}

TEST(LogAnalysisRunTest, BetweenTheCursorsOnlyThoseFramesCount) {
    const auto log = Ramp(10);
    AccumulatorOptions options;
    options.keepCellFrames = true;
    const auto result = log.Analyse(TableSetup({0, 5, 10}, {0, 2}), nullptr, {3, 4}, options);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->Tally().read, 4);
    EXPECT_EQ(result->Grid().At(0, 0).Count(), 2);  // frames 3 and 4
    EXPECT_EQ(result->Grid().At(1, 0).Count(), 2);  // frames 5 and 6
    EXPECT_EQ(result->Grid().FirstFrame(1), 5);
    EXPECT_EQ(result->Frames()->Next(1, 5), 6);
    EXPECT_EQ(result->Frames()->Previous(1, 5), std::nullopt);
    EXPECT_EQ(result->Frames()->Previous(0, 100), 4);
    // To the end of the log, and a range beyond it is clipped.
    EXPECT_EQ(log.Analyse(TableSetup({0, 10}, {0, 2}), nullptr, {8, std::nullopt})->Tally().read,
              2);
    EXPECT_EQ(log.Analyse(TableSetup({0, 10}, {0, 2}), nullptr, {8, 50})->Tally().read, 2);
    EXPECT_EQ(log.Analyse(TableSetup({0, 10}, {0, 2}), nullptr, {50, 5})->Tally().read, 0);
}

TEST(LogAnalysisRunTest, ACursorRangeStartsWithTheDecoderStateOfItsFirstFrame) {
    // A three-byte value at the last data position takes the checksum byte and stays pending
    // into the next frame, whose first three data bytes complete it: position 3 then shows
    // X * 1000 + the raw Z byte instead of its own formula's Z.
    AnalysisTestLog log;
    log.table.At(5).ByteCount = 3;
    log.table.At(5).SetFormula("A*1000+C");
    for (int i = 0; i < 6; ++i) {
        log.Add(static_cast<std::uint8_t>(i), 1, 2);
    }
    AnalysisSetup setup = TableSetup({0, 10}, {0, 10});
    setup.x = ValueRef{2, -1};
    setup.statistic = Statistic::Min;
    const auto result = log.Analyse(setup, nullptr, {2, 3});
    ASSERT_TRUE(result);
    EXPECT_EQ(result->Grid().At(0, 0).Min(), 2 * 1000 + 2);
    EXPECT_EQ(result->Grid().At(0, 0).Max(), 4 * 1000 + 2);
    // From the log's start, the first frame has nothing pending: its Z is 2 / 2.
    EXPECT_EQ(log.Analyse(setup)->Grid().At(0, 0).Min(), 1);
}

TEST(LogAnalysisRunTest, StepsReportProgressAndACancelStopsBetweenThem) {
    const auto log = Ramp(10000 / 7 * 7);
    auto file = log.Open();
    AnalysisSetup setup = TableSetup({0, 256}, {0, 2});
    setup.xEdges.reset();  // read twice: for the range, then for the cells
    LogAnalysis analysis(*file, AnalysisTestLog::kLayout, log.table, nullptr, setup);
    EXPECT_TRUE(analysis.ScansForRange());
    EXPECT_EQ(analysis.Result(), nullptr);
    std::vector<double> progress;
    EXPECT_TRUE(analysis.Run(nullptr, [&](double p) { progress.push_back(p); }));
    ASSERT_FALSE(progress.empty());
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_EQ(progress.back(), 1.0);
    // Half way when the range is known and the counting begins.
    EXPECT_NE(std::find(progress.begin(), progress.end(), 0.5), progress.end());
    EXPECT_EQ(analysis.Result()->Tally().read, 9996);

    LogAnalysis cancelled(*file, AnalysisTestLog::kLayout, log.table, nullptr, setup);
    std::atomic<bool> cancel{false};
    int steps = 0;
    EXPECT_FALSE(cancelled.Run(&cancel, [&](double) { cancel = ++steps == 2; }));
    EXPECT_FALSE(cancelled.Finished());
    EXPECT_EQ(steps, 2);
}

}  // namespace
}  // namespace vekaton::testing
