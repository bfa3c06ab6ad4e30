// Histograms of one position and scatters of two, coloured by a third: their cells, their text,
// and the bounded point sample a view draws.
#include <gtest/gtest.h>

#include "AnalysisTestLog.h"
#include "analysis/AnalysisText.h"

namespace vekaton::testing {
namespace {

AnalysisSetup Histogram(std::vector<double> edges) {
    AnalysisSetup setup;
    setup.kind = AnalysisKind::Histogram;
    setup.x = {1, -1};
    setup.xEdges = BinEdges::FromList(std::move(edges));
    return setup;
}

AnalysisSetup Scatter(bool colour) {
    AnalysisSetup setup;
    setup.kind = AnalysisKind::Scatter;
    setup.x = {1, -1};
    setup.y = {2, -1};
    if (colour) {
        setup.z = ValueRef{3, -1};
    }
    setup.xEdges = BinEdges::FromList({0, 10, 20});
    setup.yEdges = BinEdges::FromList({0, 5, 10});
    return setup;
}

AnalysisTestLog FourFrames() {
    AnalysisTestLog log;
    log.Add(1, 1, 2);
    log.Add(2, 1, 6);
    log.Add(15, 9, 10);
    log.Add(20, 10, 1);
    log.Add(30, 1, 1);  // out of range
    return log;
}

TEST(HistogramScatterTest, HistogramCountsAndShares) {
    const auto log = FourFrames();
    AnalysisSetup setup = Histogram({0, 10, 20, 30});
    auto result = log.Analyse(setup);
    ASSERT_TRUE(result);
    // 20 lies on an inner edge (the upper bin), 30 on the top edge (the closed last bin).
    EXPECT_EQ(HistogramText(*result), "X,Count\r\n0,2\r\n10,1\r\n20,2\r\n");
    setup.share = true;
    result = log.Analyse(setup);
    EXPECT_EQ(HistogramText(*result), "X,Share\r\n0,0.4\r\n10,0.2\r\n20,0.4\r\n");
    // Each bin knows the spread of X inside it, for the view's hover text.
    EXPECT_EQ(result->Grid().Cell(0).Mean(), 1.5);
    EXPECT_EQ(result->Grid().Cell(2).Max(), 30.0);
}

TEST(HistogramScatterTest, HistogramBinsBelowTheMinimumCountAreEmpty) {
    const auto log = FourFrames();
    AnalysisSetup setup = Histogram({0, 10, 20, 25, 40});
    setup.minCount = 2;
    const auto result = log.Analyse(setup);
    EXPECT_EQ(HistogramText(*result), "X,Count\r\n0,2\r\n10,\r\n20,\r\n25,\r\n");
    EXPECT_EQ(result->Tally().outOfRange, 0);
    EXPECT_EQ(AnalysisText(*result), HistogramText(*result));
}

TEST(HistogramScatterTest, ScatterCellsWithTheirCountAndColour) {
    const auto log = FourFrames();
    AnalysisSetup setup = Scatter(true);
    auto result = log.Analyse(setup);
    ASSERT_TRUE(result);
    EXPECT_EQ(ScatterText(*result), "X,Y,Count,Z\r\n0,0,2,2\r\n10,5,2,2.75\r\n");
    EXPECT_EQ(result->Tally().outOfRange, 1);
    setup.statistic = Statistic::Max;
    EXPECT_EQ(ScatterText(*log.Analyse(setup)), "X,Y,Count,Z\r\n0,0,2,3\r\n10,5,2,5\r\n");
    EXPECT_EQ(ScatterText(*log.Analyse(Scatter(false))), "X,Y,Count\r\n0,0,2\r\n10,5,2\r\n");
}

TEST(HistogramScatterTest, PointSampleKeepsEveryPointUpToItsCapacity) {
    const auto log = FourFrames();
    AccumulatorOptions options;
    options.pointCapacity = 10;
    const auto result = log.Analyse(Scatter(true), nullptr, {}, options);
    ASSERT_TRUE(result);
    EXPECT_EQ(
        result->Points().Points(),
        (std::vector<ScatterPoint>{{1, 1, 1, 0}, {2, 1, 3, 1}, {15, 9, 5, 2}, {20, 10, 0.5, 3}}));
    // A table keeps no points.
    EXPECT_TRUE(log.Analyse(TableSetup({0, 100}, {0, 100}), nullptr, {}, options)
                    ->Points()
                    .Points()
                    .empty());
}

TEST(HistogramScatterTest, PointSampleIsBoundedUniformAndRepeatable) {
    constexpr int kOffered = 100000;
    constexpr std::size_t kCapacity = 1000;
    PointSample first(kCapacity);
    PointSample second(kCapacity);
    for (int i = 0; i < kOffered; ++i) {
        const ScatterPoint point{static_cast<double>(i), 0, 0, i};
        first.Offer(point);
        second.Offer(point);
    }
    EXPECT_EQ(first.Points().size(), kCapacity);
    EXPECT_EQ(first.Offered(), kOffered);
    EXPECT_EQ(first.Points(), second.Points());
    // Uniform over the whole run: each tenth of it holds about a tenth of the sample.
    std::vector<int> tenths(10);
    for (const ScatterPoint& point : first.Points()) {
        ++tenths[static_cast<std::size_t>(point.frame / (kOffered / 10))];
    }
    for (const int count : tenths) {
        EXPECT_GT(count, 60);
        EXPECT_LT(count, 140);
    }
    first.Clear();
    EXPECT_TRUE(first.Points().empty());
    EXPECT_EQ(first.Offered(), 0);
}

}  // namespace
}  // namespace vekaton::testing
