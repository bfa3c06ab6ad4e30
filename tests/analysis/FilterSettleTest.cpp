// Filters and the settling time over hand-made logs (100 ms between frames): bit conditions,
// value conditions, a settling run broken by a filter and not by a bad checksum.
#include <gtest/gtest.h>

#include "AnalysisTestLog.h"
#include "analysis/AnalysisText.h"

namespace vekaton::testing {
namespace {

AnalysisSetup CountSetup() {
    AnalysisSetup setup = TableSetup({0, 100}, {0, 100});
    setup.statistic = Statistic::Count;
    return setup;
}

Condition Parsed(const char* text) {
    return *ParseCondition(text).condition;
}

TEST(FilterSettleTest, EveryConditionMustHold) {
    AnalysisTestLog log;
    log.Add(1, 1, 2, 0b01, 150);  // closed loop, coolant 110
    log.Add(2, 1, 2, 0b00, 150);  // open loop
    log.Add(3, 1, 2, 0b01, 100);  // coolant 60: too cold
    log.Add(4, 1, 2, 0b11, 110);  // closed loop, fan, coolant 70 exactly
    AnalysisSetup setup = CountSetup();
    setup.conditions = {Parsed("4.0=1"), Parsed("5>=70")};
    const auto result = log.Analyse(setup);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->Tally().used, 2);
    EXPECT_EQ(result->Tally().filtered, 2);
    EXPECT_EQ(result->Grid().At(0, 0).Count(), 2);
    // The fan bit off: only frames 1 and 3.
    setup.conditions = {Parsed("4.1!=1")};
    EXPECT_EQ(log.Analyse(setup)->Tally().used, 3);
    setup.conditions = {Parsed("4.1=1"), Parsed("1<4")};
    EXPECT_EQ(log.Analyse(setup)->Tally().used, 0);
    setup.conditions = {Parsed("1>2"), Parsed("1<=4")};
    EXPECT_EQ(log.Analyse(setup)->Tally().used, 2);
}

TEST(FilterSettleTest, SettlingRunsFromTheFirstPassingFrameAndABreakStartsAgain) {
    AnalysisTestLog log;
    log.Add(1, 1, 2, 1);              // 0.0 s: the run starts, settling
    log.Add(1, 1, 2, 1);              // 0.1 s: settling
    log.Add(1, 1, 2, 0, 130, false);  // 0.2 s: bad checksum, open loop: no break
    log.Add(1, 1, 2, 1);              // 0.3 s: 0.3 s into the run: counts
    log.Add(1, 1, 2, 0);              // 0.4 s: open loop breaks the run
    log.Add(1, 1, 2, 1);              // 0.5 s: a new run, settling
    log.Add(1, 1, 2, 1);              // 0.6 s
    log.Add(1, 1, 2, 1);              // 0.7 s
    log.Add(1, 1, 2, 1);              // 0.8 s: 0.3 s into it: counts
    AnalysisSetup setup = CountSetup();
    setup.conditions = {Parsed("4.0=1")};
    setup.settleSeconds = 0.3;
    AccumulatorOptions options;
    options.keepCellFrames = true;
    const auto result = log.Analyse(setup, nullptr, {}, options);
    ASSERT_TRUE(result);
    const FrameTally& tally = result->Tally();
    EXPECT_EQ(tally.read, 9);
    EXPECT_EQ(tally.used, 2);
    EXPECT_EQ(tally.badChecksum, 1);
    EXPECT_EQ(tally.filtered, 1);
    EXPECT_EQ(tally.settling, 5);
    EXPECT_EQ(result->Frames()->Of(0), (std::vector<std::int64_t>{3, 8}));
}

TEST(FilterSettleTest, SettlingIsMeasuredOnTheTimesAsPrinted) {
    // The run starts at 0.1 s; 0.3 s is 0.2 s later as decode prints the times, although
    // 0.3 - 0.1 in floating point is 0.19999999999999998.
    AnalysisTestLog log;
    log.Add(1, 1, 2, 0);
    log.Add(1, 1, 2, 1);
    log.Add(1, 1, 2, 1);
    log.Add(1, 1, 2, 1);
    AnalysisSetup setup = CountSetup();
    setup.conditions = {Parsed("4.0=1")};
    setup.settleSeconds = 0.2;
    const auto result = log.Analyse(setup);
    EXPECT_EQ(result->Tally().used, 1);
    EXPECT_EQ(result->Tally().settling, 2);
}

TEST(FilterSettleTest, SettlingWithoutConditionsCountsFromTheFirstGoodFrame) {
    AnalysisTestLog log;
    log.Add(1, 1, 2, 0, 0, false);  // 0.0 s, bad: the run cannot start here
    for (int i = 0; i < 5; ++i) {
        log.Add(1, 1, 2);  // 0.1 s to 0.5 s
    }
    AnalysisSetup setup = CountSetup();
    setup.settleSeconds = 0.25;
    const auto result = log.Analyse(setup);
    EXPECT_EQ(result->Tally().settling, 3);  // 0.1, 0.2, 0.3
    EXPECT_EQ(result->Tally().used, 2);      // 0.4, 0.5
}

TEST(FilterSettleTest, FilteredAndSettlingFramesStillNameTheirCell) {
    // A live view outlines the cell the engine is in, whether or not the frame counts.
    AnalysisTestLog log;
    AnalysisSetup setup = TableSetup({0, 10, 20}, {0, 100});
    setup.conditions = {Parsed("4.0=1")};
    setup.settleSeconds = 1;
    const auto table = std::make_unique<ParameterTable>(log.table);
    FormulaFrontEnd formulas;
    Decoder decoder(*table, formulas);
    FrameAccumulator live(setup, *setup.xEdges, setup.yEdges);
    const std::vector<std::uint8_t> closed{0xF4, 15, 5, 2, 1, 130, 0};
    FeedRecordBytes(decoder, closed, AnalysisTestLog::kLayout);
    FrameOutcome outcome = live.Add(decoder, true, 0, 0);
    EXPECT_EQ(outcome.fate, FrameFate::Settling);
    EXPECT_EQ(outcome.cell, 1);
    const std::vector<std::uint8_t> open{0xF4, 5, 5, 2, 0, 130, 0};
    FeedRecordBytes(decoder, open, AnalysisTestLog::kLayout);
    outcome = live.Add(decoder, true, 100000, 1);
    EXPECT_EQ(outcome.fate, FrameFate::Filtered);
    EXPECT_EQ(outcome.cell, 0);
    outcome = live.Add(decoder, false, 200000, 2);
    EXPECT_EQ(outcome.fate, FrameFate::BadChecksum);
    EXPECT_EQ(outcome.cell, -1);
}

}  // namespace
}  // namespace vekaton::testing
