// The angular gauge as a person reads it: the needle points at the value on the scale, the
// scale numbers stand at their ticks, the coloured bands cover their ranges. Each check probes
// the rendered pixels where the scale says they must be, so a needle, number or band drawn at
// the wrong angle fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "PixelProbe.h"
#include "WidgetTestSupport.h"
#include "widgets/TAngularGauge.h"

namespace vekaton {
namespace {

using testing::NearColour;
using testing::OnRay;
using testing::RenderWidget;
using testing::ShareAlongRay;

// Where the scale puts a value: the arc is centred on twelve o'clock, the minimum at its
// left end, the maximum at its right end; a value past either end stays at that end. Degrees
// counter-clockwise from three o'clock.
double ScaleAngle(double value, double minimum, double maximum, double arc) {
    const double share = std::clamp((value - minimum) / (maximum - minimum), 0.0, 1.0);
    return 90.0 + arc / 2.0 - arc * share;
}

const QColor kNeedle(0, 0, 255);
const QColor kGreen(0, 170, 60);
const QColor kYellow(255, 190, 0);
const QColor kRed(230, 20, 20);

bool IsNeedle(const QColor& c) {
    return c.isValid() && c.blue() > 150 && c.red() < 130 && c.green() < 130;
}

// A white dial with a blue needle and nothing else that moves: no markers, no readout.
void Plain(TAngularGauge& gauge, double minimum, double maximum, int arc) {
    gauge.SetColor(RgbColour(255, 255, 255));
    gauge.SetNeedleColor(RgbColour(kNeedle.red(), kNeedle.green(), kNeedle.blue()));
    gauge.SetShowMinMax(false);
    gauge.SetShowValue(false);
    gauge.SetArcAngle(arc);
    gauge.SetMinimum(minimum);
    gauge.SetMaximum(maximum);
}

struct Dial {
    QPointF centre;
    double half = 0.0;  // half the smaller side: the dial's whole radius
};

Dial DialOf(const QImage& image) {
    return {QPointF(image.width() / 2.0, image.height() / 2.0),
            std::min(image.width(), image.height()) / 2.0};
}

struct NeedleCase {
    double minimum;
    double maximum;
    int arc;
    double value;
    QSize size;
    double ratio;
};

TEST(AngularGaugeDrawing, TheNeedlePointsAtTheValueOnTheScale) {
    const std::vector<NeedleCase> cases = {
        {0, 100, 270, 0, {200, 200}, 1.0},      {0, 100, 270, 25, {200, 200}, 1.0},
        {0, 100, 270, 50, {200, 200}, 1.0},     {0, 100, 270, 80, {200, 200}, 1.0},
        {0, 100, 270, 100, {200, 200}, 1.0},    {0, 100, 270, 150, {200, 200}, 1.0},
        {0, 100, 270, -20, {200, 200}, 1.0},    {-1, 1.5, 180, 0.84, {200, 200}, 1.0},
        {-40, 140, 300, 92.5, {240, 240}, 1.0}, {0, 8000, 270, 4321, {420, 360}, 1.0},
        {0, 8000, 270, 3000, {100, 100}, 2.0},
    };
    for (const NeedleCase& c : cases) {
        TAngularGauge gauge;
        Plain(gauge, c.minimum, c.maximum, c.arc);
        gauge.SetPosition(c.value);
        gauge.resize(c.size);
        const QImage image = RenderWidget(gauge, c.ratio);
        const Dial dial = DialOf(image);
        const double angle = ScaleAngle(c.value, c.minimum, c.maximum, c.arc);
        const auto along = [&](double degrees) {
            return ShareAlongRay(image, dial.centre, degrees, dial.half * 0.3, dial.half * 0.7,
                                 IsNeedle);
        };
        const std::string name = std::to_string(c.value) + " on " + std::to_string(c.minimum) +
                                 ".." + std::to_string(c.maximum) + ", arc " +
                                 std::to_string(c.arc);
        EXPECT_GT(along(angle), 0.9) << name << ": no needle at " << angle << " degrees";
        EXPECT_LT(along(angle - 10), 0.1) << name << ": needle 10 degrees clockwise";
        EXPECT_LT(along(angle + 10), 0.1) << name << ": needle 10 degrees counter-clockwise";
    }
}

TEST(AngularGaugeDrawing, TheNeedleFollowsEveryNewValue) {
    TAngularGauge gauge;
    Plain(gauge, 0, 100, 270);
    gauge.resize(200, 200);
    for (const double value : {10.0, 90.0, 35.0}) {
        gauge.SetPosition(value);
        const QImage image = RenderWidget(gauge);
        const Dial dial = DialOf(image);
        EXPECT_GT(ShareAlongRay(image, dial.centre, ScaleAngle(value, 0, 100, 270), dial.half * 0.3,
                                dial.half * 0.7, IsNeedle),
                  0.9)
            << value;
    }
}

TEST(AngularGaugeDrawing, EachScaleNumberStandsAtItsMajorTick) {
    TAngularGauge gauge;
    Plain(gauge, 0, 8000, 270);
    gauge.SetMajorTicks(8);
    gauge.SetFontHeight(14);
    gauge.SetPosition(4500);  // between two numbers, covering neither
    gauge.resize(320, 320);
    const QImage image = RenderWidget(gauge, 1.0, Qt::white);
    testing::SaveForReview(image, "AngularGauge_scale_numbers");
    const Dial dial = DialOf(image);
    QFont font(gauge.FontName());
    font.setPixelSize(14);
    font.setHintingPreference(QFont::PreferNoHinting);

    std::vector<QString> numbers;
    for (int i = 0; i <= 8; ++i) {
        numbers.push_back(QString::number(i * 1000));
    }
    for (int i = 0; i <= 8; ++i) {
        const double angle = ScaleAngle(i * 1000.0, 0, 8000, 270);
        const auto match = [&](const QString& text) {
            return testing::TextMatchAlongRay(image, text, font, dial.centre, angle,
                                              dial.half * 0.3, dial.half * 0.85, 5.0);
        };
        const double right = match(numbers[static_cast<std::size_t>(i)]);
        EXPECT_GT(right, 0.7) << numbers[static_cast<std::size_t>(i)].toStdString()
                              << " is not at its tick";
        for (int j = 0; j <= 8; ++j) {
            // "0" is found inside "1000" as well: only numbers of their own shape compete.
            if (j != i && !numbers[static_cast<std::size_t>(i)].contains(
                              numbers[static_cast<std::size_t>(j)])) {
                EXPECT_LT(match(numbers[static_cast<std::size_t>(j)]), right)
                    << numbers[static_cast<std::size_t>(j)].toStdString() << " stands where "
                    << numbers[static_cast<std::size_t>(i)].toStdString() << " belongs";
            }
        }
    }
}

// The radii along `degrees` where the band colour is drawn: its inner and outer edge.
std::pair<double, double> BandAt(const QImage& image, const Dial& dial, double degrees,
                                 const QColor& colour) {
    double inner = 0.0;
    double outer = 0.0;
    for (double r = dial.half * 0.5; r <= dial.half; r += 0.5) {
        if (NearColour(testing::ColourAt(image, OnRay(dial.centre, degrees, r)), colour)) {
            inner = inner == 0.0 ? r : inner;
            outer = r;
        }
    }
    return {inner, outer};
}

TEST(AngularGaugeDrawing, ColourBandsCoverExactlyTheirRanges) {
    TAngularGauge gauge;
    Plain(gauge, 0, 8000, 270);
    gauge.SetMajorTicks(8);
    gauge.SetMinorTicks(5);  // a tick every 200: the probes below keep clear of them
    gauge.SetSection(1, 0, 5500, RgbColour(kGreen.red(), kGreen.green(), kGreen.blue()));
    gauge.SetSection(2, 5500, 6500, RgbColour(kYellow.red(), kYellow.green(), kYellow.blue()));
    gauge.SetSection(3, 6500, 8000, RgbColour(kRed.red(), kRed.green(), kRed.blue()));
    gauge.resize(300, 300);
    const QImage image = RenderWidget(gauge);
    testing::SaveForReview(image, "AngularGauge_bands");
    const Dial dial = DialOf(image);

    // The bands run along the outside of the scale, all at one radius.
    const auto [inner, outer] = BandAt(image, dial, ScaleAngle(2750, 0, 8000, 270), kGreen);
    ASSERT_GT(outer, inner) << "no green band";
    EXPECT_GT(inner, dial.half * 0.6);
    const double radius = (inner + outer) / 2.0;
    const auto colourAt = [&](double value) {
        return testing::ColourAt(image,
                                 OnRay(dial.centre, ScaleAngle(value, 0, 8000, 270), radius));
    };
    for (const double value : {50.0, 2750.0, 5450.0}) {
        EXPECT_TRUE(NearColour(colourAt(value), kGreen)) << value;
    }
    for (const double value : {5550.0, 6050.0, 6450.0}) {
        EXPECT_TRUE(NearColour(colourAt(value), kYellow)) << value;
    }
    for (const double value : {6550.0, 7250.0, 7950.0}) {
        EXPECT_TRUE(NearColour(colourAt(value), kRed)) << value;
    }
    // Past the ends of the scale there is no band.
    for (const double degrees :
         {ScaleAngle(0, 0, 8000, 270) + 6, ScaleAngle(8000, 0, 8000, 270) - 6}) {
        const QColor c = testing::ColourAt(image, OnRay(dial.centre, degrees, radius));
        EXPECT_FALSE(NearColour(c, kGreen) || NearColour(c, kRed)) << degrees;
    }
}

TEST(AngularGaugeDrawing, ABandCoversOnlyItsOwnPartOfTheScale) {
    TAngularGauge gauge;
    Plain(gauge, 0, 8000, 270);
    gauge.SetMajorTicks(8);
    gauge.SetSection(3, 2000, 3000, RgbColour(kRed.red(), kRed.green(), kRed.blue()));
    gauge.resize(300, 300);
    const QImage image = RenderWidget(gauge);
    const Dial dial = DialOf(image);
    const auto [inner, outer] = BandAt(image, dial, ScaleAngle(2500, 0, 8000, 270), kRed);
    ASSERT_GT(outer, inner) << "no red band";
    const double radius = (inner + outer) / 2.0;
    const auto isRed = [&](double value) {
        return NearColour(
            testing::ColourAt(image, OnRay(dial.centre, ScaleAngle(value, 0, 8000, 270), radius)),
            kRed);
    };
    EXPECT_TRUE(isRed(2050));
    EXPECT_TRUE(isRed(2950));
    EXPECT_FALSE(isRed(1850));
    EXPECT_FALSE(isRed(3150));
    EXPECT_FALSE(isRed(6000));
}

}  // namespace
}  // namespace vekaton
