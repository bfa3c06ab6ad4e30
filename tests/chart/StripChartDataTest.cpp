#include "chart/StripChartData.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace vekaton {
namespace {

TEST(StripChartData, SamplesAreNumberedInOrderAndPointsLandOnThem) {
    StripChartData data;
    const int rpm = data.AddChannel({"RPM"});
    const int coolant = data.AddChannel({"Coolant"});
    EXPECT_EQ(data.AddSample(0.0), 0);
    EXPECT_EQ(data.AddSample(0.1), 1);
    const auto third = data.AddSample(0.2);
    EXPECT_EQ(third, 2);
    EXPECT_TRUE(data.AddPoint(rpm, 1, 850));
    EXPECT_TRUE(data.AddPoint(coolant, third, 88.5));
    EXPECT_EQ(data.Point(rpm, 1), 850.0);
    EXPECT_EQ(data.Point(coolant, 2), 88.5);
    EXPECT_FALSE(data.Point(rpm, 0)) << "no point was added there";
    EXPECT_EQ(data.X(2), 0.2);
    EXPECT_EQ(data.SampleCount(), 3u);
}

TEST(StripChartData, RejectsPointsForMissingChannelsAndSamples) {
    StripChartData data;
    data.AddChannel({"A"});
    const auto sample = data.AddSample(1.0);
    EXPECT_FALSE(data.AddPoint(1, sample, 1.0));
    EXPECT_FALSE(data.AddPoint(-1, sample, 1.0));
    EXPECT_FALSE(data.AddPoint(0, sample + 1, 1.0));
    EXPECT_FALSE(data.AddPoint(0, StripChartData::kNoSample, 1.0));
    EXPECT_FALSE(data.AddPoint(0, sample, std::nan("")));
    EXPECT_TRUE(data.AddPoint(0, sample, 1e300)) << "kept at the edge of the float range";
    EXPECT_GT(*data.Point(0, sample), 1e38);
    EXPECT_FALSE(data.Point(5, sample));
}

TEST(StripChartData, TimeNeverRunsBackwards) {
    StripChartData data;
    EXPECT_EQ(data.AddSample(NAN), StripChartData::kNoSample);
    EXPECT_EQ(data.AddSample(INFINITY), StripChartData::kNoSample);
    EXPECT_EQ(data.SampleCount(), 0u);
    data.AddSample(5.0);
    const auto back = data.AddSample(3.0);
    EXPECT_EQ(data.X(back), 5.0);
    EXPECT_EQ(data.LastX(), 5.0);
}

TEST(StripChartData, FullStoreDropsTheOldestAndKeepsNumbering) {
    StripChartData data(64);
    data.AddChannel({"A"});
    for (int i = 0; i < 100; ++i) {
        const auto sample = data.AddSample(i);
        ASSERT_EQ(sample, i);
        data.AddPoint(0, sample, i * 2.0);
    }
    EXPECT_LE(data.SampleCount(), 64u);
    EXPECT_EQ(data.EndSample(), 100);
    EXPECT_GT(data.FirstSample(), 35);
    EXPECT_FALSE(data.AddPoint(0, 0, 1.0)) << "sample 0 is gone";
    EXPECT_FALSE(data.X(0));
    EXPECT_EQ(data.Point(0, 99), 198.0);
    EXPECT_EQ(data.X(data.FirstSample()), static_cast<double>(data.FirstSample()));

    data.ClearSamples();
    EXPECT_EQ(data.SampleCount(), 0u);
    EXPECT_EQ(data.AddSample(0.5), 100) << "numbers are not reused";
}

TEST(StripChartData, ChannelsGetDistinctColoursUnlessChosen) {
    StripChartData data;
    const int a = data.AddChannel({"A"});
    const int b = data.AddChannel({"B"});
    const int c = data.AddChannel({"C", 65535});
    EXPECT_NE(data.Channel(a).colour, 0);
    EXPECT_NE(data.Channel(a).colour, data.Channel(b).colour);
    EXPECT_EQ(data.Channel(c).colour, 65535);
    EXPECT_EQ(data.Channel(9).name, "");

    const ColourValue chosen = data.Channel(b).colour;
    ChartChannel changed = data.Channel(b);
    changed.colour = 0;  // keeps the colour it has
    changed.scale = NAN;
    changed.bit = 3;
    data.SetChannel(b, changed);
    EXPECT_EQ(data.Channel(b).colour, chosen);
    EXPECT_EQ(data.Channel(b).scale, 1.0);
    EXPECT_EQ(data.Channel(b).bit, 3);
}

TEST(StripChartData, ChannelAddedLaterHasNoEarlierPoints) {
    StripChartData data;
    data.AddChannel({"A"});
    data.AddSample(0);
    data.AddSample(1);
    const int late = data.AddChannel({"Late"});
    EXPECT_FALSE(data.Point(late, 0));
    const auto sample = data.AddSample(2);
    EXPECT_TRUE(data.AddPoint(late, sample, 4.0));
}

// The decimation must give, per column, exactly the minimum and maximum of the samples that
// fall in it; checked against a plain scan of random data.
TEST(StripChartData, DecimationMatchesAPlainScan) {
    StripChartData data;
    data.AddChannel({"Noise"});
    std::mt19937 random(7);
    std::uniform_real_distribution<double> value(-1000, 1000);
    std::uniform_real_distribution<double> step(0.0, 0.02);
    double x = 0;
    std::vector<double> xs;
    std::vector<float> ys;
    for (int i = 0; i < 200000; ++i) {
        x += step(random);
        const auto sample = data.AddSample(x);
        const double y = value(random);
        data.AddPoint(0, sample, y);
        xs.push_back(x);
        ys.push_back(static_cast<float>(y));
    }
    const double x0 = 100.0;
    const double x1 = 1500.0;
    const int columns = 733;
    DecimatedTrace trace;
    data.Decimate(0, x0, x1, columns, trace);
    ASSERT_EQ(trace.columns.size(), static_cast<size_t>(columns));

    std::vector<ColumnSpan> expected(columns);
    std::vector<bool> seen(columns, false);
    for (size_t i = 0; i < xs.size(); ++i) {
        if (xs[i] < x0 || xs[i] > x1) {
            continue;
        }
        const int c = std::min(columns - 1, static_cast<int>((xs[i] - x0) / ((x1 - x0) / columns)));
        ColumnSpan& span = expected[c];
        if (!seen[c]) {
            span.minimum = span.maximum = span.first = ys[i];
            seen[c] = true;
        }
        span.minimum = std::min(span.minimum, ys[i]);
        span.maximum = std::max(span.maximum, ys[i]);
        span.last = ys[i];
        ++span.samples;
    }
    int total = 0;
    for (int c = 0; c < columns; ++c) {
        // Samples on a column edge may fall either side in floating point; allow one.
        EXPECT_NEAR(trace.columns[c].samples, expected[c].samples, 1) << c;
        total += trace.columns[c].samples;
        if (expected[c].samples > 2 && trace.columns[c].samples == expected[c].samples) {
            EXPECT_EQ(trace.columns[c].minimum, expected[c].minimum) << c;
            EXPECT_EQ(trace.columns[c].maximum, expected[c].maximum) << c;
            EXPECT_EQ(trace.columns[c].first, expected[c].first) << c;
            EXPECT_EQ(trace.columns[c].last, expected[c].last) << c;
        }
    }
    int inWindow = 0;
    for (const double at : xs) {
        inWindow += at >= x0 && at <= x1 ? 1 : 0;
    }
    EXPECT_EQ(total, inWindow);
    ASSERT_TRUE(trace.before);
    EXPECT_LT(trace.before->x, x0);
    ASSERT_TRUE(trace.after);
    EXPECT_GT(trace.after->x, x1);
}

TEST(StripChartData, MissingPointsShowAsGapsAndEmptyColumnsAsNothing) {
    StripChartData data;
    data.AddChannel({"A"});
    data.AddChannel({"B"});
    for (int i = 0; i < 10; ++i) {
        const auto sample = data.AddSample(i);
        data.AddPoint(0, sample, i);
        if (i < 3 || i > 6) {
            data.AddPoint(1, sample, -i);
        }
    }
    DecimatedTrace trace;
    data.Decimate(1, 0, 9, 10, trace);  // columns 0.9 wide: samples land in 0..8 and 9
    EXPECT_EQ(trace.columns[4].samples, 1);
    EXPECT_EQ(trace.columns[4].points, 0) << "a sample without a value on B: a gap";
    EXPECT_EQ(trace.columns[1].points, 1);
    EXPECT_EQ(trace.columns[1].minimum, -1.0f);

    data.Decimate(0, 0, 9, 100, trace);  // zoomed in: most columns hold no sample
    int empty = 0;
    for (const ColumnSpan& span : trace.columns) {
        empty += span.samples == 0 ? 1 : 0;
    }
    EXPECT_EQ(empty, 90);
    EXPECT_FALSE(trace.before);

    data.Decimate(0, 9, 9, 10, trace);
    EXPECT_EQ(trace.columns.size(), 10u);
    EXPECT_EQ(trace.columns[0].samples, 0) << "an empty window yields empty columns";
    data.Decimate(3, 0, 9, 10, trace);
    EXPECT_EQ(trace.columns[0].samples, 0);
    data.Decimate(0, 0, 9, 0, trace);
    EXPECT_TRUE(trace.columns.empty());
}

}  // namespace
}  // namespace vekaton
