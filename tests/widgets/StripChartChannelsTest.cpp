// The strip chart's channels with their own scales, digital lanes, breaks in time, cursors and a
// legend that shows every channel.
#include "WidgetTestSupport.h"
#include "widgets/TStripChart.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>

namespace vekaton {
namespace {

using testing::RenderWidget;

TEST(StripChartData, RemovingAChannelKeepsTheOthersValuesAndRanges) {
    StripChartData data;
    data.AddChannel({"A"});
    data.AddChannel({"B"});
    data.AddChannel({"C"});
    for (int i = 0; i < 5; ++i) {
        const auto s = data.AddSample(i);
        data.AddPoint(0, s, i);
        data.AddPoint(1, s, 10 * i);
        data.AddPoint(2, s, -i);
    }
    data.SetWord(2, 3, 0x1234);
    data.RemoveChannel(1);
    ASSERT_EQ(data.ChannelCount(), 2);
    EXPECT_EQ(data.Channel(1).name, "C");
    EXPECT_EQ(data.Point(1, 4), -4.0);
    EXPECT_EQ(data.Word(1, 3), 0x1234u);
    EXPECT_FALSE(data.Word(0, 3));
    EXPECT_EQ(data.ValueRange(1), std::make_pair(-4.0, 0.0));
    data.RemoveChannel(7);  // nothing there: nothing happens
    EXPECT_EQ(data.ChannelCount(), 2);
}

TEST(StripChartData, RangesFollowValuesAddedReplacedAndDropped) {
    StripChartData data(32);
    data.AddChannel({"A"});
    EXPECT_FALSE(data.ValueRange(0));
    for (int i = 0; i < 20; ++i) {
        data.AddPoint(0, data.AddSample(i), i == 3 ? 1000.0 : i);
    }
    EXPECT_EQ(data.ValueRange(0), std::make_pair(0.0, 1000.0));
    data.AddPoint(0, 3, 3.0);  // the highest replaced
    EXPECT_EQ(data.ValueRange(0), std::make_pair(0.0, 19.0));
    for (int i = 20; i < 40; ++i) {
        data.AddPoint(0, data.AddSample(i), i);  // the oldest go
    }
    const auto range = data.ValueRange(0);
    ASSERT_TRUE(range);
    EXPECT_EQ(range->first, static_cast<double>(data.FirstSample()));
    EXPECT_EQ(range->second, 39.0);
    data.ClearSamples();
    EXPECT_FALSE(data.ValueRange(0));
}

TEST(StripChartData, BreaksSplitTheSamplesIntoStretches) {
    StripChartData data;
    data.AddChannel({"A"});
    data.MarkBreak();  // before any sample: no break
    for (int i = 0; i < 10; ++i) {
        if (i == 4 || i == 7) {
            data.MarkBreak();
        }
        data.AddPoint(0, data.AddSample(i), i);
    }
    EXPECT_EQ(data.Breaks(), (std::vector<std::int64_t>{4, 7}));
    using Stretch = std::pair<std::int64_t, std::int64_t>;
    EXPECT_EQ(data.SegmentOf(0), Stretch(0, 4));
    EXPECT_EQ(data.SegmentOf(5), Stretch(4, 7));
    EXPECT_EQ(data.SegmentOf(9), Stretch(7, 10));
    // Decimating one stretch sees nothing of its neighbours, not even as line ends.
    DecimatedTrace trace;
    data.Decimate(0, 0, 9, 10, trace, 4, 7);
    EXPECT_FALSE(trace.before);
    EXPECT_FALSE(trace.after);
    int samples = 0;
    for (const ColumnSpan& column : trace.columns) {
        samples += column.samples;
    }
    EXPECT_EQ(samples, 3);
    data.ClearSamples();
    EXPECT_TRUE(data.Breaks().empty());
}

TEST(StripChartData, TheNearestSampleToATime) {
    StripChartData data;
    EXPECT_EQ(data.NearestSample(1.0), StripChartData::kNoSample);
    for (int i = 0; i < 5; ++i) {
        data.AddSample(i * 0.5);
    }
    EXPECT_EQ(data.NearestSample(-3), 0);
    EXPECT_EQ(data.NearestSample(0.74), 1);
    EXPECT_EQ(data.NearestSample(0.76), 2);
    EXPECT_EQ(data.NearestSample(99), 4);
}

TEST(StripChart, NormalisedChannelsFillTheHeightWithTheirOwnRange) {
    TStripChart chart;
    chart.SetYMinimum(0);
    chart.SetYMaximum(100);
    ChartChannel rpm{"rpm"};
    rpm.range = ChartRange::Auto;
    ChartChannel fixed{"fixed"};
    fixed.range = ChartRange::Fixed;
    fixed.rangeMinimum = 800;
    fixed.rangeMaximum = 6000;
    chart.AddChannel(rpm);
    chart.AddChannel(fixed);
    chart.AddChannel({"axis"});
    for (int i = 0; i <= 10; ++i) {
        const auto s = chart.Store().AddSample(i);
        chart.Store().AddPoint(0, s, 800 + i * 100);
        chart.Store().AddPoint(1, s, 800 + i * 100);
        chart.Store().AddPoint(2, s, i);
    }
    EXPECT_EQ(chart.ChannelRange(0), std::make_pair(800.0, 1800.0));
    EXPECT_EQ(chart.ChannelRange(1), std::make_pair(800.0, 6000.0));
    EXPECT_EQ(chart.ChannelRange(2), std::make_pair(0.0, 100.0));
    // A flat trace still gets a range around it.
    ChartChannel flat{"flat"};
    flat.range = ChartRange::Auto;
    chart.AddChannel(flat);
    chart.Store().AddPoint(3, 10, 42.0);
    const auto range = chart.ChannelRange(3);
    EXPECT_LT(range.first, 42.0);
    EXPECT_GT(range.second, 42.0);
}

TEST(StripChart, TheLegendShowsEveryChannelWrappingAndThenScrolling) {
    TStripChart chart;
    chart.resize(500, 400);
    chart.SetTitle("Processed Data");
    for (int i = 0; i < 3; ++i) {
        chart.AddChannel({"Short " + std::to_string(i)});
    }
    EXPECT_EQ(chart.Legend().rows, 0) << "three fit beside the title";
    EXPECT_EQ(chart.Legend().entries, 3);
    for (int i = 3; i < 12; ++i) {
        chart.AddChannel({"A longer channel name " + std::to_string(i)});
    }
    TStripChart::LegendInfo legend = chart.Legend();
    EXPECT_GT(legend.rows, 1);
    EXPECT_EQ(legend.shownRows, legend.rows);
    EXPECT_EQ(legend.entries, 12) << "every channel, none left out";
    for (int i = 12; i < 60; ++i) {
        chart.AddChannel({"Channel number " + std::to_string(i)});
    }
    legend = chart.Legend();
    EXPECT_LT(legend.shownRows, legend.rows) << "past 40 % of the height the legend scrolls";
    EXPECT_LT(legend.entries, 60);
    // Scrolling with the wheel over the legend reaches the last channel.
    QWheelEvent down(QPointF(250, 30), QPointF(250, 30), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    EXPECT_EQ(legend.firstRow, 0);
    for (int i = 0; i < legend.rows + 3; ++i) {
        QApplication::sendEvent(&chart, &down);
    }
    EXPECT_EQ(chart.Legend().firstRow, legend.rows - legend.shownRows) << "down to the last row";
    EXPECT_GT(chart.Legend().entries, 0);
    RenderWidget(chart);  // draws without trouble
}

TEST(StripChart, CursorsReadEveryChannelAndTheTimeBetweenThem) {
    TStripChart chart;
    chart.resize(600, 300);
    chart.AddChannel({"Speed"});
    ChartChannel flag{"Fan"};
    flag.digital = true;
    chart.AddChannel(flag);
    for (int i = 0; i < 50; ++i) {
        const auto s = chart.Store().AddSample(i * 0.1);
        chart.Store().AddPoint(0, s, i * 2.5);
        chart.Store().AddPoint(1, s, i >= 20 ? 5.0 : 0.0);
    }
    int changes = 0;
    QObject::connect(&chart, &TStripChart::cursorsChanged, [&] { ++changes; });
    chart.SetCursor(TStripChart::kCursorA, 10);
    EXPECT_EQ(chart.LegendText(0), "Speed 25");
    EXPECT_EQ(chart.LegendText(1), "Fan 0");
    EXPECT_EQ(chart.CursorReadout(), "A 1.000 s");
    chart.SetCursor(TStripChart::kCursorB, 30);
    EXPECT_EQ(chart.LegendText(0), QString("Speed 25 \u2192 75 (\u0394 50)"));
    EXPECT_EQ(chart.LegendText(1), QString("Fan 0 \u2192 1"));
    EXPECT_EQ(chart.CursorReadout(),
              QString("A 1.000 s   B 3.000 s   \u0394t 2.000 s (20 frames)"));
    EXPECT_EQ(changes, 2);
    chart.SetCursor(TStripChart::kCursorB, 999);  // not a sample: removed
    EXPECT_FALSE(chart.Cursor(TStripChart::kCursorB));
    chart.Clear();
    EXPECT_FALSE(chart.Cursor(TStripChart::kCursorA));
    EXPECT_EQ(chart.CursorReadout(), "");
}

TEST(StripChart, AClickSetsCursorAAndShiftClickCursorB) {
    TStripChart chart;
    chart.resize(600, 300);
    chart.AddChannel({"Speed"});
    for (int i = 0; i <= 100; ++i) {
        chart.Store().AddPoint(0, chart.Store().AddSample(i), i);
    }
    chart.SetViewWindow(0, 100);
    RenderWidget(chart);
    const auto click = [&chart](QPointF at, Qt::KeyboardModifiers modifiers) {
        QMouseEvent press(QEvent::MouseButtonPress, at, at, Qt::LeftButton, Qt::LeftButton,
                          modifiers);
        QMouseEvent release(QEvent::MouseButtonRelease, at, at, Qt::LeftButton, Qt::NoButton,
                            modifiers);
        QApplication::sendEvent(&chart, &press);
        QApplication::sendEvent(&chart, &release);
    };
    click(QPointF(300, 150), Qt::NoModifier);
    ASSERT_TRUE(chart.Cursor(TStripChart::kCursorA));
    const auto a = *chart.Cursor(TStripChart::kCursorA);
    EXPECT_GT(a, 40);
    EXPECT_LT(a, 60);
    click(QPointF(500, 150), Qt::ShiftModifier);
    ASSERT_TRUE(chart.Cursor(TStripChart::kCursorB));
    EXPECT_GT(*chart.Cursor(TStripChart::kCursorB), a);
    // A drag pans and sets no cursor.
    const double left = chart.ViewLeft();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(300, 150), QPointF(300, 150),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent move(QEvent::MouseMove, QPointF(200, 150), QPointF(200, 150), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(200, 150), QPointF(200, 150),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&chart, &press);
    QApplication::sendEvent(&chart, &move);
    QApplication::sendEvent(&chart, &release);
    EXPECT_GT(chart.ViewLeft(), left);
    EXPECT_EQ(*chart.Cursor(TStripChart::kCursorA), a);
}

TEST(StripChart, DigitalLanesAndBreaksAreDrawn) {
    TStripChart chart;
    chart.resize(400, 240);
    chart.SetWindowSeconds(10);
    ChartChannel flag{"Flag", RgbColour(255, 0, 0)};
    flag.digital = true;
    chart.AddChannel(flag);
    TStripChart plain;
    plain.resize(400, 240);
    plain.SetWindowSeconds(10);
    plain.AddChannel({"Plain"});
    for (int i = 0; i < 100; ++i) {
        if (i == 50) {
            chart.Store().MarkBreak();
        }
        chart.Store().AddPoint(0, chart.Store().AddSample(i * 0.1), (i / 10) % 2 ? 5.0 : 0.0);
        plain.Store().AddSample(i * 0.1);
    }
    const QImage image = RenderWidget(chart);
    // The lane at the bottom of the plot holds red steps.
    int red = 0;
    for (int y = image.height() / 2; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            red += c.red() > 200 && c.green() < 80 ? 1 : 0;
        }
    }
    EXPECT_GT(red, 100);
    EXPECT_GT(testing::DifferingShare(image, RenderWidget(plain)), 0.005);
}

}  // namespace
}  // namespace vekaton

namespace vekaton {
namespace {

// Zoomed out, columns are summed from block summaries: each column must hold exactly what a
// plain scan of its samples gives, also after values were replaced and the oldest dropped.
TEST(StripChartData, BlockSummariesGiveWhatAPlainScanGives) {
    StripChartData data(100000);
    data.AddChannel({"Noise"});
    std::uint32_t seed = 12345;
    const auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    for (int i = 0; i < 130000; ++i) {
        const auto sample = data.AddSample(i * 0.01);
        if (next() % 50 != 0) {  // some samples have no point
            data.AddPoint(0, sample, static_cast<double>(next() % 20000) - 10000.0);
        }
        if (i % 997 == 0 && i > 10) {
            data.AddPoint(0, sample - 5, 20000.0 + i);  // a value replaced
        }
    }
    const int late = data.AddChannel({"Late"});  // empty blocks for the samples so far
    DecimatedTrace trace;
    data.Decimate(late, 0, 1e9, 40, trace);
    for (const ColumnSpan& column : trace.columns) {
        EXPECT_EQ(column.points, 0);
    }

    const double x0 = *data.FirstX();
    const double x1 = *data.LastX();
    data.Decimate(0, x0, x1, 60, trace);
    std::int64_t sample = data.FirstSample();
    std::size_t total = 0;
    for (const ColumnSpan& column : trace.columns) {
        ColumnSpan plain;
        for (int k = 0; k < column.samples; ++k, ++sample) {
            const auto value = data.Point(0, sample);
            if (!value) {
                continue;
            }
            const auto v = static_cast<float>(*value);
            if (plain.points == 0) {
                plain.minimum = plain.maximum = plain.first = v;
            }
            plain.minimum = std::min(plain.minimum, v);
            plain.maximum = std::max(plain.maximum, v);
            plain.last = v;
            ++plain.points;
        }
        EXPECT_EQ(column.points, plain.points);
        EXPECT_EQ(column.minimum, plain.minimum);
        EXPECT_EQ(column.maximum, plain.maximum);
        EXPECT_EQ(column.first, plain.first);
        EXPECT_EQ(column.last, plain.last);
        total += static_cast<std::size_t>(column.samples);
    }
    EXPECT_EQ(total, data.SampleCount());
}

}  // namespace
}  // namespace vekaton
