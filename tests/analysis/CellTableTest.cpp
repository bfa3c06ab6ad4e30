// Cell tables over small logs whose statistics are worked out by hand: bin borders, the closed
// last bin, values out of range, bad checksums, empty cells and the minimum count.
#include <gtest/gtest.h>

#include <cmath>

#include "AnalysisTestLog.h"
#include "analysis/AnalysisText.h"

namespace vekaton::testing {
namespace {

// X edges 0,10,20 and Y edges 0,100,200: two bins each way.
AnalysisTestLog BorderLog() {
    AnalysisTestLog log;
    log.Add(0, 0, 8);      // x on the lowest edge: cell (0,0), z 4
    log.Add(10, 50, 12);   // x on an inner edge belongs to the upper bin: (1,0), z 6
    log.Add(20, 200, 16);  // both on the top edges, in the closed last bins: (1,1), z 8
    log.Add(5, 0, 20);     // (0,0), z 10
    log.Add(21, 0, 2);     // x above the top edge: out of range
    log.Add(5, 201, 2);    // y above the top edge: out of range
    log.Add(5, 0, 200, 1, 130, false);  // bad checksum: ignored entirely
    return log;
}

TEST(CellTableTest, BordersTheClosedLastBinAndValuesOutOfRange) {
    const auto log = BorderLog();
    const auto result = log.Analyse(TableSetup({0, 10, 20}, {0, 100, 200}));
    ASSERT_TRUE(result);
    const CellGrid& grid = result->Grid();
    ASSERT_EQ(grid.Columns(), 2);
    ASSERT_EQ(grid.Rows(), 2);
    EXPECT_EQ(grid.At(0, 0).Count(), 2);
    EXPECT_EQ(grid.At(0, 0).Mean(), 7.0);
    EXPECT_EQ(grid.At(0, 0).Min(), 4.0);
    EXPECT_EQ(grid.At(0, 0).Max(), 10.0);
    EXPECT_DOUBLE_EQ(*grid.At(0, 0).SampleSd(), std::sqrt(18.0));
    EXPECT_EQ(grid.At(1, 0).Count(), 1);
    EXPECT_EQ(grid.At(1, 0).Mean(), 6.0);
    EXPECT_FALSE(grid.At(1, 0).SampleSd());
    EXPECT_EQ(grid.At(0, 1).Count(), 0);
    EXPECT_EQ(grid.At(1, 1).Mean(), 8.0);
    EXPECT_EQ(grid.FirstFrame(0), 0);
    EXPECT_EQ(grid.FirstFrame(1), 1);
    EXPECT_EQ(grid.FirstFrame(2), -1);

    const FrameTally& tally = result->Tally();
    EXPECT_EQ(tally.read, 7);
    EXPECT_EQ(tally.used, 4);
    EXPECT_EQ(tally.badChecksum, 1);
    EXPECT_EQ(tally.filtered, 0);
    EXPECT_EQ(tally.settling, 0);
    EXPECT_EQ(tally.outOfRange, 2);
}

TEST(CellTableTest, TextHasTheLowerEdgesAndEmptyCellsForEachStatistic) {
    const auto log = BorderLog();
    AnalysisSetup setup = TableSetup({0, 10, 20}, {0, 100, 200});
    const auto text = [&](Statistic statistic, std::int64_t minCount) {
        setup.statistic = statistic;
        setup.minCount = minCount;
        return CellTableText(*log.Analyse(setup));
    };
    EXPECT_EQ(text(Statistic::Mean, 1), "Y\\X,0,10\r\n0,7,6\r\n100,,8\r\n");
    EXPECT_EQ(text(Statistic::Count, 1), "Y\\X,0,10\r\n0,2,1\r\n100,,1\r\n");
    EXPECT_EQ(text(Statistic::Min, 1), "Y\\X,0,10\r\n0,4,6\r\n100,,8\r\n");
    EXPECT_EQ(text(Statistic::Max, 1), "Y\\X,0,10\r\n0,10,6\r\n100,,8\r\n");
    // The sample deviation needs two values; sqrt(18) to ten significant digits.
    EXPECT_EQ(text(Statistic::Sd, 1), "Y\\X,0,10\r\n0,4.242640687,\r\n100,,\r\n");
    EXPECT_EQ(text(Statistic::Mean, 2), "Y\\X,0,10\r\n0,7,\r\n100,,\r\n");
    // A minimum of 0 still leaves a cell without frames empty, also for the count.
    EXPECT_EQ(text(Statistic::Count, 0), "Y\\X,0,10\r\n0,2,1\r\n100,,1\r\n");
}

TEST(CellTableTest, TabSeparatedForTheClipboard) {
    const auto log = BorderLog();
    const auto result = log.Analyse(TableSetup({0, 10, 20}, {0, 100, 200}));
    EXPECT_EQ(CellTableText(*result, TextLayout{'\t'}), "Y\\X\t0\t10\r\n0\t7\t6\r\n100\t\t8\r\n");
}

TEST(CellTableTest, ValuesAreBinnedAtFullPrecision) {
    // Z is A/2: 0.5 steps. An X edge of 2.5 splits raw 5 (2.5, upper bin) from raw 4 (2).
    AnalysisTestLog log;
    log.table.At(1).SetFormula("A/2");
    log.Add(4, 0, 2);
    log.Add(5, 0, 4);
    log.Add(6, 0, 6);
    const auto result = log.Analyse(TableSetup({0, 2.5, 3.5}, {0, 1}));
    ASSERT_TRUE(result);
    EXPECT_EQ(result->Grid().At(0, 0).Count(), 1);
    EXPECT_EQ(result->Grid().At(1, 0).Count(), 2);
    EXPECT_EQ(result->Grid().At(1, 0).Mean(), 2.5);
    EXPECT_EQ(CellTableText(*result), "Y\\X,0,2.5\r\n0,1,2.5\r\n");
}

TEST(CellTableTest, NegativeEdgesAndExponents) {
    AnalysisTestLog log;
    log.table.At(1).SetFormula("A-100");
    log.Add(50, 0, 2);   // -50
    log.Add(100, 0, 4);  // 0
    log.Add(250, 0, 6);  // 150: above 1e2
    const auto result = log.Analyse(TableSetup({-1e2, 0, 1e2}, {0, 1}));
    ASSERT_TRUE(result);
    EXPECT_EQ(CellTableText(*result), "Y\\X,-100,0\r\n0,1,2\r\n");
    EXPECT_EQ(result->Tally().outOfRange, 1);
}

TEST(CellTableTest, AnEmptyLogGivesTheHeaderAndEmptyCells) {
    AnalysisTestLog log;
    const auto result = log.Analyse(TableSetup({0, 10, 20}, {0, 1}));
    ASSERT_TRUE(result);
    EXPECT_EQ(result->Tally(), FrameTally{});
    EXPECT_EQ(CellTableText(*result), "Y\\X,0,10\r\n0,,\r\n");
}

}  // namespace
}  // namespace vekaton::testing
