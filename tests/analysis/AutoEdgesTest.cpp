// Automatic edges: equal bins over the definition's display range, else over the values seen in
// the frames used; and the log read for the range and then for the cells.
#include <gtest/gtest.h>

#include "AnalysisTestLog.h"
#include "analysis/AnalysisText.h"
#include "decode/PositionDetails.h"

namespace vekaton::testing {
namespace {

AnalysisSetup AutomaticTable() {
    AnalysisSetup setup = TableSetup({}, {});
    setup.xEdges.reset();
    setup.yEdges.reset();
    return setup;
}

TEST(AutoEdgesTest, TheDisplayRangeGivesTenEqualBins) {
    AnalysisTestLog log;
    log.Add(0, 7, 2);
    log.Add(100, 7, 4);  // on the top edge of the display range: the last bin
    log.Add(101, 7, 4);  // beyond it: out of range
    DetailsTable details;
    details.At(1).displayMin = 0;
    details.At(1).displayMax = 100;
    details.At(2).displayMin = -1;
    details.At(2).displayMax = 9;
    const auto result = log.Analyse(AutomaticTable(), &details);
    ASSERT_TRUE(result);
    EXPECT_EQ(EdgeListText(result->Grid().XEdges()), "0,10,20,30,40,50,60,70,80,90,100");
    EXPECT_EQ(EdgeListText(*result->Grid().YEdges()), "-1,0,1,2,3,4,5,6,7,8,9");
    EXPECT_EQ(result->Grid().At(0, 8).Count(), 1);
    EXPECT_EQ(result->Grid().At(9, 8).Count(), 1);
    EXPECT_EQ(result->Tally().outOfRange, 1);
}

TEST(AutoEdgesTest, WithoutARangeTheFramesUsedGiveIt) {
    AnalysisTestLog log;
    log.Add(2, 1, 2);
    log.Add(250, 1, 2, 0);  // filtered: its X does not widen the range
    log.Add(12, 1, 2);
    log.Add(7, 3, 2);
    log.Add(200, 1, 2, 1, 130, false);  // a bad checksum neither
    AnalysisSetup setup = AutomaticTable();
    setup.conditions = {*ParseCondition("4.0=1").condition};
    setup.statistic = Statistic::Count;
    DetailsTable details;
    details.At(1).unit = "rpm";  // details without a range
    const auto result = log.Analyse(setup, &details);
    ASSERT_TRUE(result);
    EXPECT_EQ(EdgeListText(result->Grid().XEdges()), "2,3,4,5,6,7,8,9,10,11,12");
    EXPECT_EQ(EdgeListText(*result->Grid().YEdges()), "1,1.2,1.4,1.6,1.8,2,2.2,2.4,2.6,2.8,3");
    EXPECT_EQ(result->Tally().used, 3);
    EXPECT_EQ(result->Tally().read, 5);  // the counting pass alone is tallied
    EXPECT_EQ(result->Grid().At(0, 0).Count(), 1);
    EXPECT_EQ(result->Grid().At(9, 0).Count(), 1);  // the maximum, in the closed last bin
    EXPECT_EQ(result->Grid().At(5, 9).Count(), 1);
}

TEST(AutoEdgesTest, OneAxisTypedTheOtherAutomatic) {
    AnalysisTestLog log;
    log.Add(2, 1, 2);
    log.Add(4, 1, 2);
    AnalysisSetup setup = AutomaticTable();
    setup.yEdges = BinEdges::FromList({0, 5});
    setup.xBins = 2;
    const auto result = log.Analyse(setup);
    ASSERT_TRUE(result);
    EXPECT_EQ(CellTableText(*result), "Y\\X,2,3\r\n0,1,1\r\n");
}

TEST(AutoEdgesTest, AValueThatNeverMovesGetsABinAroundIt) {
    AnalysisTestLog log;
    log.Add(50, 1, 2);
    log.Add(50, 1, 4);
    AnalysisSetup setup = AutomaticTable();
    setup.xBins = 2;
    setup.yBins = 1;
    const auto result = log.Analyse(setup);
    ASSERT_TRUE(result);
    EXPECT_EQ(EdgeListText(result->Grid().XEdges()), "49.5,50,50.5");
    EXPECT_EQ(result->Grid().At(1, 0).Count(), 2);
    EXPECT_EQ(result->Tally().outOfRange, 0);
}

TEST(AutoEdgesTest, NoFrameUsedGivesNoBins) {
    AnalysisTestLog log;
    log.Add(50, 1, 2, 0);
    AnalysisSetup setup = AutomaticTable();
    setup.conditions = {*ParseCondition("4.0=1").condition};
    const auto result = log.Analyse(setup);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->Grid().CellCount(), 0);
    EXPECT_EQ(result->Tally().filtered, 1);
    EXPECT_EQ(CellTableText(*result), "Y\\X\r\n");
}

TEST(AutoEdgesTest, ReversedOrEmptyDisplayRangesAreNotUsed) {
    DetailsTable details;
    details.At(1).displayMin = 10;
    details.At(1).displayMax = 10;
    details.At(2).displayMin = 5;
    details.At(2).displayMax = 1;
    details.At(3).displayMin = 0;  // no maximum
    EXPECT_FALSE(DisplayRangeEdges(&details, {1, -1}, 10));
    EXPECT_FALSE(DisplayRangeEdges(&details, {2, -1}, 10));
    EXPECT_FALSE(DisplayRangeEdges(&details, {3, -1}, 10));
    EXPECT_FALSE(DisplayRangeEdges(nullptr, {1, -1}, 10));
    details.At(4).displayMin = 0;
    details.At(4).displayMax = 1;
    EXPECT_FALSE(DisplayRangeEdges(&details, {4, 0}, 10));  // a bit has no display range
}

TEST(AutoEdgesTest, EdgesKnownBeforeTheDataForALiveView) {
    DetailsTable details;
    details.At(1).displayMin = 0;
    details.At(1).displayMax = 6000;
    details.At(2).displayMin = 0;
    details.At(2).displayMax = 100;
    AnalysisSetup setup = AutomaticTable();
    setup.xBins = 12;
    KnownEdges known = EdgesBeforeData(setup, &details);
    ASSERT_TRUE(known.x);
    EXPECT_EQ(known.x->Count(), 12);
    EXPECT_EQ(known.x->Upper(11), 6000);
    ASSERT_TRUE(known.y);
    // Typed edges win over the display range; without either, the values must give them.
    setup.yEdges = BinEdges::FromList({10, 20});
    EXPECT_EQ(EdgesBeforeData(setup, &details).y, setup.yEdges);
    EXPECT_FALSE(EdgesBeforeData(setup, nullptr).x);
    setup.kind = AnalysisKind::Histogram;
    EXPECT_FALSE(EdgesBeforeData(setup, &details).y);
}

}  // namespace
}  // namespace vekaton::testing
