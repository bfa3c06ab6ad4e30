// Instruments showing a warning as a driver sees it: the needle, read-out, digits or bar in the
// warning colour and the face tinted; a flashing alarm; an arrow when the value is past the end
// of the scale. Every check probes the rendered pixels.
#include <gtest/gtest.h>

#include <QApplication>

#include <functional>
#include <memory>

#include "PixelProbe.h"
#include "WidgetTestSupport.h"
#include "widgets/TAnalogDisplay.h"
#include "widgets/TAngularGauge.h"
#include "widgets/TLedBar.h"
#include "widgets/TLedRound.h"
#include "widgets/TSevenSegmentAnalog.h"
#include "widgets/TThermometer.h"
#include "widgets/WarningFlasher.h"

namespace vekaton {
namespace {

using testing::ColourAt;
using testing::OnRay;
using testing::RenderWidget;
using testing::SaveForReview;
using testing::ShareAlongRay;

// Strongly red: what the warning colour and a warning-tinted face both are, and a white face or
// a blue needle are not.
bool Reddish(const QColor& c) {
    return c.isValid() && c.red() > c.green() + 45 && c.red() > c.blue() + 45;
}

bool NearWarning(const QColor& c) {
    return testing::NearColour(c, WarningInk(NightColours{}), 45);
}

// The share of an image's pixels inside `area` that pass.
double Share(const QImage& image, const QRectF& area,
             const std::function<bool(const QColor&)>& passes) {
    int count = 0;
    int passing = 0;
    for (int y = static_cast<int>(area.top()); y < static_cast<int>(area.bottom()); ++y) {
        for (int x = static_cast<int>(area.left()); x < static_cast<int>(area.right()); ++x) {
            ++count;
            passing += passes(QColor(image.pixel(x, y))) ? 1 : 0;
        }
    }
    return count > 0 ? static_cast<double>(passing) / count : 0.0;
}

// A white dial with a blue needle at 50 of 0 to 100: the needle stands straight up.
std::unique_ptr<TAngularGauge> PlainGauge() {
    auto gauge = std::make_unique<TAngularGauge>();
    gauge->resize(200, 200);
    gauge->SetColor(RgbColour(255, 255, 255));
    gauge->SetNeedleColor(RgbColour(0, 0, 255));
    gauge->SetShowMinMax(false);
    gauge->SetPosition(50);
    return gauge;
}

TEST(WarningLook, AGaugeTurnsItsNeedleAndReadoutRedAndTintsItsFace) {
    auto gauge = PlainGauge();
    const QPointF centre(100, 100);
    const double face = 92 * 0.92;
    const QRectF readout(100 - 0.28 * face, 100 + 0.42 * face, 0.56 * face, 0.21 * face);
    const QPointF facePoint = OnRay(centre, 200, face * 0.45);  // left of the hub, clear of all

    const QImage normal = RenderWidget(*gauge);
    EXPECT_GT(ShareAlongRay(normal, centre, 90, face * 0.2, face * 0.8,
                            [](const QColor& c) { return c.blue() > 150 && c.red() < 120; }),
              0.8);
    EXPECT_FALSE(Reddish(ColourAt(normal, facePoint)));
    EXPECT_EQ(Share(normal, readout, NearWarning), 0.0);

    gauge->SetWarningLevel(WarningLevel::Warning);
    const QImage warned = RenderWidget(*gauge);
    SaveForReview(warned, "warning_gauge");
    EXPECT_GT(ShareAlongRay(warned, centre, 90, face * 0.2, face * 0.8, Reddish), 0.8);
    EXPECT_TRUE(Reddish(ColourAt(warned, facePoint)))
        << ColourAt(warned, facePoint).name().toStdString();
    EXPECT_GT(Share(warned, readout, NearWarning), 0.04);  // the digits of "50"

    // A sounding alarm flashes: its dark half looks like no warning at all.
    gauge->SetWarningLevel(WarningLevel::Sounding);
    gauge->SetFlashPhase(false);
    EXPECT_FALSE(gauge->WarningShown());
    EXPECT_EQ(testing::DifferingShare(RenderWidget(*gauge), normal), 0.0);
    gauge->SetFlashPhase(true);
    EXPECT_EQ(testing::DifferingShare(RenderWidget(*gauge), warned), 0.0);
}

TEST(WarningLook, AValuePastTheScaleShowsAnArrowBeyondItsEndAndTheReadoutTellsTheValue) {
    auto gauge = PlainGauge();
    const QPointF centre(100, 100);
    const double face = 92 * 0.92;
    // Past the end of a 270 degree scale: the maximum sits at -45 degrees, the minimum at 225.
    const auto arrowAt = [&](const QImage& image, double degrees) {
        return ShareAlongRay(image, centre, degrees, face * 0.84, face * 0.94, NearWarning);
    };
    gauge->SetPosition(100);
    const QImage full = RenderWidget(*gauge);
    EXPECT_EQ(arrowAt(full, -45 - 5), 0.0);

    gauge->SetPosition(150);
    EXPECT_EQ(gauge->Position(), 100);
    EXPECT_EQ(gauge->Reading(), 150);
    EXPECT_EQ(gauge->OverRange(), 1);
    const QImage over = RenderWidget(*gauge);
    SaveForReview(over, "warning_gauge_over_range");
    EXPECT_GT(arrowAt(over, -45 - 5), 0.5);
    EXPECT_EQ(arrowAt(over, 225 + 5), 0.0);
    // The read-out shows 150, not the 100 the needle is pegged at.
    QFont font = QApplication::font();
    font.setFamily(QStringLiteral("Sans Serif"));
    font.setBold(true);
    font.setPixelSize(static_cast<int>(0.21 * face * 0.78));
    font.setHintingPreference(QFont::PreferNoHinting);
    const double match150 =
        testing::TextMatchAlongRay(over, "150", font, centre, 270, face * 0.5, face * 0.6, 3);
    const double match100 =
        testing::TextMatchAlongRay(over, "100", font, centre, 270, face * 0.5, face * 0.6, 3);
    EXPECT_GT(match150, match100);

    gauge->SetPosition(-20);
    const QImage under = RenderWidget(*gauge);
    EXPECT_GT(arrowAt(under, 225 + 5), 0.5);
    EXPECT_EQ(arrowAt(under, -45 - 5), 0.0);
}

TEST(WarningLook, AThermometerTintsItsCardAndMarksAValueAboveItsScale) {
    TThermometer thermometer;
    thermometer.resize(90, 240);
    thermometer.SetColor(RgbColour(235, 235, 235));
    thermometer.SetPosition(50);
    const QPointF card(8, 120);  // left of the glass, below the markers' reach
    EXPECT_FALSE(Reddish(ColourAt(RenderWidget(thermometer), card)));
    thermometer.SetWarningLevel(WarningLevel::Warning);
    EXPECT_TRUE(Reddish(ColourAt(RenderWidget(thermometer), card)));

    // Above the scale: an arrow left of the glass, pointing up past the top of the scale.
    thermometer.SetWarningLevel(WarningLevel::None);
    const QRectF aboveGlass(4, 0, 20, 22);
    EXPECT_EQ(Share(RenderWidget(thermometer), aboveGlass, NearWarning), 0.0);
    thermometer.SetPosition(130);
    const QImage over = RenderWidget(thermometer);
    SaveForReview(over, "warning_thermometer_over_range");
    EXPECT_GT(Share(over, aboveGlass, NearWarning), 0.08);
}

TEST(WarningLook, DisplaysLedsAndBarsTakeTheWarningColour) {
    TAnalogDisplay display;  // green digits on black
    display.resize(140, 44);
    display.SetValue(88.8);
    const QRectF digits(20, 6, 110, 32);
    const auto green = [](const QColor& c) { return c.green() > c.red() + 60; };
    EXPECT_GT(Share(RenderWidget(display), digits, green), 0.03);
    display.SetWarningLevel(WarningLevel::Warning);
    const QImage warned = RenderWidget(display);
    SaveForReview(warned, "warning_numeric");
    EXPECT_EQ(Share(warned, digits, green), 0.0);
    EXPECT_GT(Share(warned, digits, NearWarning), 0.03);
    EXPECT_TRUE(Reddish(ColourAt(warned, QPointF(10, 22))));  // the window, tinted

    TSevenSegmentAnalog segments;
    segments.resize(120, 50);
    segments.SetOnColor(RgbColour(40, 255, 40));
    segments.SetValue(8.8);
    segments.SetWarningLevel(WarningLevel::Warning);
    EXPECT_EQ(segments.LitColour(), WarningInk(NightColours{}));
    const QImage lit = RenderWidget(segments);
    EXPECT_EQ(Share(lit, QRectF(0, 0, 120, 50), green), 0.0);
    EXPECT_GT(Share(lit, QRectF(0, 0, 120, 50), NearWarning), 0.05);

    // A dark LED lights in the warning colour: a "Check engine" bit that is active when clear.
    TLedRound led;
    led.resize(30, 30);
    EXPECT_FALSE(Reddish(ColourAt(RenderWidget(led), QPointF(18, 18))));
    led.SetWarningLevel(WarningLevel::Warning);
    EXPECT_TRUE(Reddish(ColourAt(RenderWidget(led), QPointF(18, 18))));

    TLedBar bar;
    bar.resize(160, 22);
    bar.SetPosition(30);  // three green segments
    const QImage before = RenderWidget(bar);
    EXPECT_TRUE(green(ColourAt(before, QPointF(12, 11))));
    bar.SetWarningLevel(WarningLevel::Warning);
    EXPECT_TRUE(NearWarning(ColourAt(RenderWidget(bar), QPointF(12, 11))));
}

TEST(WarningLook, TheFlasherFlashesSoundingAlarmsInStepAndStopsWhenNoneIsLeft) {
    WarningFlasher flasher;
    auto first = PlainGauge();
    auto second = PlainGauge();
    flasher.Show(first.get(), WarningLevel::Warning);
    EXPECT_FALSE(flasher.Running());  // a warning alone stands still
    EXPECT_TRUE(first->WarningShown());

    flasher.Show(first.get(), WarningLevel::Sounding);
    flasher.Show(second.get(), WarningLevel::Sounding);
    EXPECT_TRUE(flasher.Running());
    flasher.Tick();
    EXPECT_FALSE(first->WarningShown());
    EXPECT_FALSE(second->WarningShown());
    flasher.Tick();
    EXPECT_TRUE(first->WarningShown());
    EXPECT_TRUE(second->WarningShown());

    // Acknowledged: a steady warning; the other one gone: the timer stops.
    flasher.Show(first.get(), WarningLevel::Warning);
    second.reset();
    flasher.Tick();
    EXPECT_FALSE(flasher.Running());
    EXPECT_TRUE(first->WarningShown());

    // Without flashing a sounding alarm shows steadily.
    flasher.SetFlashing(false);
    flasher.Show(first.get(), WarningLevel::Sounding);
    EXPECT_FALSE(flasher.Running());
    EXPECT_EQ(first->Warning(), WarningLevel::Warning);
    flasher.Show(first.get(), WarningLevel::None);
    EXPECT_FALSE(first->WarningShown());
}

}  // namespace
}  // namespace vekaton
