// The thermometer and the LED bar as a person reads them: the column ends at the value on the
// printed scale, the bar lights the segments up to the value in the colours of their zones.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "PixelProbe.h"
#include "WidgetTestSupport.h"
#include "widgets/TLedBar.h"
#include "widgets/TThermometer.h"

namespace vekaton {
namespace {

using testing::ColourAt;
using testing::NearColour;
using testing::RenderWidget;

bool IsMercury(const QColor& c) {
    return c.red() > 140 && c.green() < 110 && c.blue() < 110;
}

bool IsInk(const QColor& c) {
    return qGray(c.rgb()) < 110;
}

// The rows where the scale's numbers are printed: the middle of each run of rows with ink
// in the part of the widget right of the ticks, top first.
std::vector<double> NumberRows(const QImage& image, int fromX) {
    std::vector<double> rows;
    int start = -1;
    for (int y = 0; y <= image.height(); ++y) {
        bool ink = false;
        for (int x = fromX; y < image.height() && x < image.width() - 2 && !ink; ++x) {
            ink = IsInk(QColor(image.pixel(x, y)));
        }
        if (ink && start < 0) {
            start = y;
        } else if (!ink && start >= 0) {
            rows.push_back((start + y - 1) / 2.0);
            start = -1;
        }
    }
    return rows;
}

// The top of the mercury column: its highest red pixel right of the left third, where a value
// past the scale puts its red arrow.
int ColumnTop(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = image.width() * 3 / 10; x < image.width(); ++x) {
            if (IsMercury(QColor(image.pixel(x, y)))) {
                return y;
            }
        }
    }
    return image.height();
}

TEST(ThermometerDrawing, TheColumnEndsAtTheValueOnThePrintedScale) {
    TThermometer thermometer;
    thermometer.SetColor(RgbColour(255, 255, 255));
    thermometer.SetShowMinMax(false);
    thermometer.SetMinimum(-20);
    thermometer.SetMaximum(140);
    thermometer.SetMajorTicks(4);  // -20, 20, 60, 100, 140
    thermometer.SetFontHeight(12);
    thermometer.resize(90, 300);
    thermometer.SetPosition(60);
    const QImage middle = RenderWidget(thermometer, 1.0, Qt::white);
    testing::SaveForReview(middle, "Thermometer_scale");
    const std::vector<double> rows = NumberRows(middle, static_cast<int>(90 * 0.7));
    ASSERT_EQ(rows.size(), 5u) << "five numbers on the scale";
    const double top = rows.front();    // 140
    const double bottom = rows.back();  // -20
    const auto rowOf = [&](double value) { return bottom - (bottom - top) * (value + 20) / 160; };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_NEAR(rows[i], rowOf(140 - 40.0 * static_cast<double>(i)), 1.5) << "evenly spaced";
    }
    for (const double value : {60.0, 140.0, 20.0, 87.0, 200.0}) {
        thermometer.SetPosition(value);
        const QImage image = RenderWidget(thermometer, 1.0, Qt::white);
        const double expected = rowOf(std::min(value, 140.0));
        EXPECT_NEAR(ColumnTop(image), expected, 2.0) << "column at " << value;
    }
}

// The centre of segment `index` of `count` equal segments along the bar, from the start of the
// bar's length (the left, or the bottom of a vertical bar).
QPointF SegmentCentre(const QImage& image, bool vertical, int index, int count) {
    const double along = vertical ? image.height() : image.width();
    const double pad = std::min(image.width(), image.height()) * 0.25;  // inside the frame
    const double pitch = (along - 2 * pad) / count;
    const double at = pad + pitch * (index + 0.5);
    return vertical ? QPointF(image.width() / 2.0, image.height() - at)
                    : QPointF(at, image.height() / 2.0);
}

bool IsLit(const QColor& c) {
    return std::max({c.red(), c.green(), c.blue()}) > 150;
}

TEST(LedBarDrawing, SegmentsLightUpToTheValueInTheirZonesColours) {
    const QColor low(0, 230, 60);
    const QColor mid(255, 200, 0);
    const QColor high(255, 30, 20);
    struct Case {
        double position;
        bool vertical;
        int segments;
        int lit;  // a segment lights as soon as the value enters it
    };
    for (const Case& c : {Case{0, false, 10, 0}, Case{1, false, 10, 1}, Case{50, false, 10, 5},
                          Case{93, false, 10, 10}, Case{100, false, 10, 10}, Case{70, true, 16, 12},
                          Case{35, true, 20, 7}}) {
        TLedBar bar;
        bar.SetBarOrientation(c.vertical ? TLedBar::kVertical : TLedBar::kHorizontal);
        bar.SetSegments(c.segments);
        bar.SetPosition(c.position);
        bar.resize(c.vertical ? QSize(28, 240) : QSize(240, 28));
        const QImage image = RenderWidget(bar);
        for (int i = 0; i < c.segments; ++i) {
            const QColor colour = ColourAt(image, SegmentCentre(image, c.vertical, i, c.segments));
            EXPECT_EQ(IsLit(colour), i < c.lit)
                << "segment " << i + 1 << " of " << c.segments << " at " << c.position;
            if (i < c.lit) {
                // Zones: up to 60 % low, to 85 % middle, above that high (by a segment's top).
                const double top = 100.0 * (i + 1) / c.segments;
                const QColor zone = top > 85 ? high : top > 60 ? mid : low;
                EXPECT_TRUE(NearColour(colour, zone, 60))
                    << "segment " << i + 1 << " is " << colour.name().toStdString();
            }
        }
    }
}

}  // namespace
}  // namespace vekaton
