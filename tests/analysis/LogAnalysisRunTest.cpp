// Running an analysis over a log: between two cursors, in steps with progress, cancelled, and
// with the same values and times that `decode` gives.
#include <gtest/gtest.h>

#include <sstream>

#include "AnalysisTestLog.h"
#include "analysis/AnalysisText.h"
#include "log/LogCsvExport.h"

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

TEST(LogAnalysisRunTest, ValuesAndTimesAreThoseDecodePrints) {
    // Every frame's X as decode writes it, and a settling time that counts exactly at 0.3 s:
    // the CSV's times are the analysis's.
    AnalysisTestLog log;
    log.table.At(1).SetFormula("A*0.1+3");
    for (int i = 0; i < 40; ++i) {
        log.Add(static_cast<std::uint8_t>(i * 7 % 50), 1, 2, i % 9 == 0 ? 0 : 1);
    }
    auto file = log.Open();
    std::ostringstream csv;
    LogCsvExport exporter(*file, AnalysisTestLog::kLayout, log.table, csv, NumberPrecision::Exact);
    while (exporter.Step(1000)) {
    }
    // Rows: Frame,Time,X,Y,Z,Coolant,Closed loop,Fan.
    std::istringstream rows(csv.str());
    std::string line;
    std::getline(rows, line);
    double sum = 0;
    int used = 0;
    double runStart = -1;
    while (std::getline(rows, line)) {
        std::vector<std::string> fields;
        std::istringstream split(line.substr(0, line.size() - 1));
        for (std::string field; std::getline(split, field, ',');) {
            fields.push_back(field);
        }
        const double time = std::stod(fields[1]);
        if (fields[6] != "1") {
            runStart = -1;
            continue;
        }
        if (runStart < 0) {
            runStart = time;
        }
        if (time - runStart >= 0.3 - 1e-9) {
            sum += std::stod(fields[2]);
            ++used;
        }
    }
    AnalysisSetup setup = TableSetup({0, 100}, {0, 10});
    setup.conditions = {*ParseCondition("4.0=1").condition};
    setup.settleSeconds = 0.3;
    setup.z = ValueRef{1, -1};
    const auto result = log.Analyse(setup);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->Tally().used, used);
    EXPECT_NEAR(result->Grid().At(0, 0).Mean(), sum / used, 1e-12);
}

}  // namespace
}  // namespace vekaton::testing
