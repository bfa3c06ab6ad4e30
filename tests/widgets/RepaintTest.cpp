#include "WidgetTestSupport.h"
#include "widgets/InstrumentFactory.h"
#include "widgets/TAngularGauge.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

namespace vekaton {
namespace {

using testing::RenderWidget;

// Lets the event loop run, timers included, for a while.
void RunEvents(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
}

TEST(Repaint, AFloodOfValuesCostsOnePaintShowingTheLast) {
    TAngularGauge gauge;
    gauge.resize(200, 200);
    gauge.show();
    RunEvents(60);
    const int before = gauge.PaintCount();
    ASSERT_GT(before, 0) << "the shown gauge was painted";
    for (int i = 0; i < 10000; ++i) {
        gauge.SetPosition(i % 100);
    }
    EXPECT_TRUE(gauge.RepaintPending());
    RunEvents(60);
    const int paints = gauge.PaintCount() - before;
    EXPECT_GE(paints, 1);
    EXPECT_LE(paints, 2);
    EXPECT_EQ(gauge.Position(), 99.0);
    EXPECT_FALSE(gauge.RepaintPending());
}

TEST(Repaint, AtMostOncePerScreenRefreshWhileValuesKeepComing) {
    TAngularGauge gauge;
    gauge.resize(200, 200);
    gauge.show();
    RunEvents(40);
    const int before = gauge.PaintCount();
    QElapsedTimer clock;
    clock.start();
    int value = 0;
    while (clock.elapsed() < 250) {
        gauge.SetPosition(++value % 100);
        QApplication::processEvents();
    }
    const int paints = gauge.PaintCount() - before;
    // No screen refreshes faster than 100 Hz here (offscreen reports 60 Hz).
    EXPECT_LE(paints, clock.elapsed() / 10 + 2);
    EXPECT_GE(paints, 2) << "values still reach the screen during the flood";
    EXPECT_GT(value, paints * 10);
}

TEST(Repaint, MovingValuesReuseTheCachedBackground) {
    for (const std::string& kind : InstrumentClassNames()) {
        auto widget = CreateInstrument(kind);
        widget->resize(widget->sizeHint());
        RenderWidget(*widget);
        ASSERT_EQ(widget->StaticCacheBuilds(), 1) << kind;
        for (const char* live : {"Position", "Value", "Active"}) {
            if (const auto current = widget->Property(live)) {
                const PropertyValue changed =
                    current->Type() == PropertyType::Boolean ? PropertyValue::Boolean(true)
                    : current->Type() == PropertyType::Float ? PropertyValue::Float(1.0)
                                                             : PropertyValue::Integer(1);
                EXPECT_TRUE(widget->SetProperty(live, changed)) << kind;
            }
        }
        RenderWidget(*widget);
        EXPECT_EQ(widget->StaticCacheBuilds(), 1) << kind << ": a live value redrew the background";
        RenderWidget(*widget, 2.0);
        EXPECT_EQ(widget->StaticCacheBuilds(), 2) << kind << ": another pixel ratio needs its own";
        widget->resize(widget->sizeHint() + QSize(10, 10));
        RenderWidget(*widget, 2.0);
        EXPECT_EQ(widget->StaticCacheBuilds(), 3) << kind;
    }
}

TEST(Repaint, RangeAndAppearanceChangesRedrawTheBackground) {
    TAngularGauge gauge;
    gauge.resize(200, 200);
    RenderWidget(gauge);
    gauge.SetMaximum(8000);
    RenderWidget(gauge);
    EXPECT_EQ(gauge.StaticCacheBuilds(), 2);
    gauge.SetColor(65535);
    RenderWidget(gauge);
    EXPECT_EQ(gauge.StaticCacheBuilds(), 3);
    gauge.SetColor(65535);  // the same again
    gauge.SetPosition(4000);
    RenderWidget(gauge);
    EXPECT_EQ(gauge.StaticCacheBuilds(), 3);
}

}  // namespace
}  // namespace vekaton
