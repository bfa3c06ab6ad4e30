// Bins and running statistics on their own: edges, the closed last bin, and numerically sound
// means and deviations.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "analysis/BinEdges.h"
#include "analysis/CellFrames.h"
#include "analysis/RunningStats.h"

namespace vekaton {
namespace {

TEST(StatsTest, BinsAreHalfOpenExceptTheLast) {
    const BinEdges edges = *BinEdges::FromList({-10, 0, 10, 20});
    EXPECT_EQ(edges.Count(), 3);
    EXPECT_EQ(edges.BinOf(-10), 0);
    EXPECT_EQ(edges.BinOf(-0.0), 1);
    EXPECT_EQ(edges.BinOf(std::nextafter(0.0, -1.0)), 0);
    EXPECT_EQ(edges.BinOf(10), 2);
    EXPECT_EQ(edges.BinOf(20), 2);
    EXPECT_EQ(edges.BinOf(std::nextafter(20.0, 30.0)), -1);
    EXPECT_EQ(edges.BinOf(std::nextafter(-10.0, -20.0)), -1);
    EXPECT_EQ(edges.BinOf(std::numeric_limits<double>::quiet_NaN()), -1);
    EXPECT_EQ(edges.BinOf(std::numeric_limits<double>::infinity()), -1);
    EXPECT_EQ(BinEdges().BinOf(0), -1);
}

TEST(StatsTest, EqualBinsEndExactlyOnTheirTopEdge) {
    const BinEdges edges = *BinEdges::Equal(0, 0.7, 7);
    EXPECT_EQ(edges.Count(), 7);
    EXPECT_EQ(edges.Upper(6), 0.7);
    EXPECT_EQ(edges.Lower(3), 0.7 * 3 / 7);
    EXPECT_EQ(edges.BinOf(0.7), 6);
    EXPECT_FALSE(BinEdges::Equal(1, 1, 10));
    EXPECT_FALSE(BinEdges::Equal(0, 1, 0));
    EXPECT_FALSE(BinEdges::Equal(-1e308, 1e308, 2));  // the width is not a finite number
}

TEST(StatsTest, StatisticsOfHandValues) {
    RunningStats stats;
    EXPECT_FALSE(stats.Value(Statistic::Mean));
    EXPECT_FALSE(stats.Value(Statistic::Count));
    stats.Add(2);
    EXPECT_EQ(stats.Value(Statistic::Count), 1);
    EXPECT_FALSE(stats.Value(Statistic::Sd));
    for (const double v : {4.0, 4.0, 4.0, 5.0, 5.0, 7.0, 9.0}) {
        stats.Add(v);
    }
    EXPECT_EQ(stats.Value(Statistic::Mean), 5.0);
    EXPECT_EQ(stats.Value(Statistic::Min), 2.0);
    EXPECT_EQ(stats.Value(Statistic::Max), 9.0);
    EXPECT_EQ(stats.Value(Statistic::Count), 8.0);
    // Squared deviations add up to 32; the sample deviation divides by 7.
    EXPECT_DOUBLE_EQ(*stats.Value(Statistic::Sd), std::sqrt(32.0 / 7.0));
}

TEST(StatsTest, LargeOffsetsDoNotCancelTheSpread) {
    // Around 1e9 with a spread of 0.1: sums of squares would lose every digit of the spread.
    RunningStats stats;
    for (int i = 0; i < 1000000; ++i) {
        stats.Add(1e9 + (i % 2 == 0 ? 0.1 : -0.1));
    }
    EXPECT_NEAR(stats.Mean(), 1e9, 1e-6);
    EXPECT_NEAR(*stats.SampleSd(), 0.1, 1e-6);
    RunningStats same;
    for (int i = 0; i < 1000; ++i) {
        same.Add(0.1);
    }
    EXPECT_EQ(same.Mean(), 0.1);
    EXPECT_EQ(*same.SampleSd(), 0.0);
}

TEST(StatsTest, MergingIsAddingTheValuesOfBoth) {
    RunningStats left;
    RunningStats right;
    RunningStats all;
    for (int i = 0; i < 100; ++i) {
        const double v = std::sin(i) * 50 + 20;
        (i < 37 ? left : right).Add(v);
        all.Add(v);
    }
    RunningStats merged = left;
    merged.Merge(right);
    EXPECT_EQ(merged.Count(), all.Count());
    EXPECT_DOUBLE_EQ(merged.Mean(), all.Mean());
    EXPECT_DOUBLE_EQ(*merged.SampleSd(), *all.SampleSd());
    EXPECT_EQ(merged.Min(), all.Min());
    EXPECT_EQ(merged.Max(), all.Max());
    RunningStats empty;
    empty.Merge(left);
    EXPECT_EQ(empty, left);
    left.Merge(RunningStats{});
    EXPECT_EQ(empty, left);
}

TEST(StatsTest, CellFramesStepForwardAndBack) {
    CellFrames frames(2);
    for (const std::int64_t f : {3, 8, 20}) {
        frames.Note(1, f);
    }
    EXPECT_EQ(frames.Next(1, 3), 8);
    EXPECT_EQ(frames.Next(1, 0), 3);
    EXPECT_EQ(frames.Next(1, 20), std::nullopt);
    EXPECT_EQ(frames.Previous(1, 8), 3);
    EXPECT_EQ(frames.Previous(1, 9), 8);
    EXPECT_EQ(frames.Previous(1, 3), std::nullopt);
    EXPECT_EQ(frames.Next(0, 0), std::nullopt);
    EXPECT_EQ(frames.Next(5, 0), std::nullopt);
    EXPECT_EQ(frames.Previous(-1, 0), std::nullopt);
}

}  // namespace
}  // namespace vekaton
