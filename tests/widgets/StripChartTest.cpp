#include "WidgetTestSupport.h"
#include "widgets/TStripChart.h"

#include <QApplication>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <optional>

namespace vekaton {
namespace {

using testing::DifferingShare;
using testing::RenderWidget;

TEST(StripChart, AnUpdateBatchRepaintsOnceAtItsEnd) {
    TStripChart chart;
    chart.resize(400, 240);
    const int channel = chart.AddChannel({"RPM"});
    RenderWidget(chart);  // nothing is waiting now
    ASSERT_FALSE(chart.RepaintPending());

    chart.Store().BeginUpdate();
    chart.Store().BeginUpdate();
    const auto sample = chart.Store().AddSample(0.0);
    EXPECT_TRUE(chart.Store().AddPoint(channel, sample, 1200));
    EXPECT_FALSE(chart.RepaintPending());
    chart.Store().EndUpdate();
    EXPECT_FALSE(chart.RepaintPending()) << "still inside the outer batch";
    EXPECT_EQ(chart.Store().UpdateDepth(), 1);
    chart.Store().EndUpdate();
    EXPECT_TRUE(chart.RepaintPending());
    EXPECT_EQ(chart.Data().Point(channel, sample), 1200.0);

    RenderWidget(chart);
    chart.Store().BeginUpdate();
    chart.Store().EndUpdate();
    EXPECT_FALSE(chart.RepaintPending()) << "an empty batch changes nothing";
    chart.Store().EndUpdate();  // unbalanced: ignored
    EXPECT_EQ(chart.Store().UpdateDepth(), 0);
}

TEST(StripChart, AddSampleReturnsTheIndexForTheFramesPoints) {
    TStripChart chart;
    chart.AddChannel({"A"});
    chart.AddChannel({"B"});
    for (int frame = 0; frame < 5; ++frame) {
        chart.Store().BeginUpdate();
        const auto sample = chart.Store().AddSample(frame * 0.125);
        EXPECT_EQ(sample, frame);
        EXPECT_TRUE(chart.Store().AddPoint(0, sample, frame));
        EXPECT_TRUE(chart.Store().AddPoint(1, sample, -frame));
        chart.Store().EndUpdate();
    }
    EXPECT_FALSE(chart.Store().AddPoint(2, 0, 1.0));
    EXPECT_EQ(chart.Data().Point(1, 3), -3.0);
    chart.Clear();
    EXPECT_EQ(chart.Data().SampleCount(), 0u);
    EXPECT_EQ(chart.ChannelCount(), 2);
}

TEST(StripChart, FollowsTheLatestWindow) {
    TStripChart chart;
    chart.SetWindowSeconds(10);
    EXPECT_EQ(chart.ViewLeft(), 0.0);
    EXPECT_EQ(chart.ViewRight(), 10.0);
    for (int i = 0; i <= 40; ++i) {
        chart.Store().AddSample(100 + i);  // data starting late
        if (i == 3) {
            EXPECT_EQ(chart.ViewLeft(), 100.0) << "until the window is full it starts at the data";
        }
    }
    EXPECT_EQ(chart.ViewRight(), 140.0);
    EXPECT_EQ(chart.ViewLeft(), 130.0);

    chart.ZoomX(0.5, 0.0);  // while following the right edge stays put
    EXPECT_EQ(chart.ViewRight(), 140.0);
    EXPECT_EQ(chart.ViewLeft(), 135.0);
    EXPECT_TRUE(chart.Following());
}

TEST(StripChart, PanAndZoomStopFollowingUntilReset) {
    TStripChart chart;
    chart.resize(400, 240);
    chart.SetWindowSeconds(20);
    for (int i = 0; i <= 100; ++i) {
        chart.Store().AddSample(i);
    }
    chart.SetViewWindow(40, 60);
    EXPECT_FALSE(chart.Following());
    chart.Store().AddSample(101);
    EXPECT_EQ(chart.ViewLeft(), 40.0) << "new samples do not move a paused view";

    chart.ZoomX(0.5, 50);
    EXPECT_DOUBLE_EQ(chart.ViewLeft(), 45.0);
    EXPECT_DOUBLE_EQ(chart.ViewRight(), 55.0);
    chart.ZoomY(2.0, 0.0);
    EXPECT_EQ(chart.ViewTop(), 510.0);

    const double before = chart.ViewLeft();
    chart.PanByPixels(-50, 0);
    EXPECT_LT(chart.ViewLeft(), before);
    chart.PanByPixels(0, 30);
    EXPECT_GT(chart.ViewBottom(), 0.0);

    chart.ResetView();
    EXPECT_TRUE(chart.Following());
    EXPECT_EQ(chart.ViewRight(), 101.0);
    EXPECT_EQ(chart.ViewLeft(), 81.0);
    EXPECT_EQ(chart.ViewBottom(), 0.0);
    EXPECT_EQ(chart.ViewTop(), 255.0);

    chart.SetViewWindow(10, 5);  // reversed: ignored
    EXPECT_TRUE(chart.Following());
}

TEST(StripChart, MouseWheelZoomsTimeAndWithControlTheValues) {
    TStripChart chart;
    chart.resize(400, 240);
    chart.SetWindowSeconds(60);
    QWheelEvent wheel(QPointF(200, 120), QPointF(200, 120), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&chart, &wheel);
    EXPECT_NEAR(chart.ViewRight() - chart.ViewLeft(), 48.0, 1e-9);
    QWheelEvent control(QPointF(200, 120), QPointF(200, 120), QPoint(), QPoint(0, -120),
                        Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&chart, &control);
    EXPECT_GT(chart.ViewTop() - chart.ViewBottom(), 255.0);
}

TEST(StripChart, ValueRangeFromPropertiesAndItsEdgeCases) {
    TStripChart chart;
    chart.SetYMinimum(-10);
    chart.SetYMaximum(-10);
    EXPECT_EQ(chart.ViewBottom(), -10.0);
    EXPECT_EQ(chart.ViewTop(), -9.0) << "an empty range still gets some height";
    chart.SetYMaximum(300);
    EXPECT_EQ(chart.ViewTop(), 300.0);
    chart.SetWindowSeconds(-5);
    EXPECT_GT(chart.WindowSeconds(), 0.0);
}

// The mean height of the strongly red pixels of an image column below the header (where the
// legend's swatch is): where a red trace runs.
std::optional<double> TraceHeight(const QImage& image, int x) {
    double sum = 0;
    double weight = 0;
    for (int y = 30; y < image.height(); ++y) {
        const QColor c = image.pixelColor(x, y);
        if (c.red() > 120 && c.green() < 60 && c.blue() < 60) {
            sum += y * c.red();
            weight += c.red();
        }
    }
    return weight > 0 ? std::optional<double>(sum / weight) : std::nullopt;
}

TEST(StripChart, AMillionPointsDrawLikeTheirEnvelope) {
    // Decimated drawing of dense data must look like drawing the same shape sparsely.
    TStripChart dense;
    TStripChart sparse;
    for (TStripChart* chart : {&dense, &sparse}) {
        chart->resize(300, 180);
        chart->SetWindowSeconds(100);
        chart->SetYMinimum(-2);
        chart->SetYMaximum(2);
        chart->AddChannel({"Wave", 255});
    }
    for (int i = 0; i < 1000000; ++i) {
        const double t = i * 1e-4;
        dense.Store().AddPoint(0, dense.Store().AddSample(t), std::sin(t / 8.0));
    }
    for (int i = 0; i < 2000; ++i) {
        const double t = i * 0.05;
        sparse.Store().AddPoint(0, sparse.Store().AddSample(t), std::sin(t / 8.0));
    }
    const QImage a = RenderWidget(dense);
    const QImage b = RenderWidget(sparse);
    // Column by column, the red trace sits at the same height in both pictures (within the
    // couple of pixels a steep stretch spans in one column).
    int compared = 0;
    for (int x = 0; x < a.width(); ++x) {
        const auto fromDense = TraceHeight(a, x);
        const auto fromSparse = TraceHeight(b, x);
        ASSERT_EQ(fromDense.has_value(), fromSparse.has_value()) << "column " << x;
        if (fromDense) {
            EXPECT_NEAR(*fromDense, *fromSparse, 2.5) << "column " << x;
            ++compared;
        }
    }
    EXPECT_GT(compared, 200);
    TStripChart empty;
    empty.resize(300, 180);
    empty.SetWindowSeconds(100);
    empty.SetYMinimum(-2);
    empty.SetYMaximum(2);
    empty.AddChannel({"Wave", 255});
    EXPECT_GT(DifferingShare(a, RenderWidget(empty)), 0.005) << "the trace is drawn at all";
}

}  // namespace
}  // namespace vekaton
