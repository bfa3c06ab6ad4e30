// Night colours as a driver needs them: every kind of instrument dark, its faces and text in
// the dim tint, nothing white; the warning colour still stands apart; the brightness adjustable.
#include <gtest/gtest.h>

#include <QWidget>

#include <cmath>
#include <memory>
#include <string>

#include "PixelProbe.h"
#include "WidgetTestSupport.h"
#include "widgets/ItemWidgetFactory.h"
#include "widgets/NightMode.h"
#include "widgets/TAngularGauge.h"

namespace vekaton {
namespace {

using testing::RenderWidget;

// An item as it stands on a dashboard: a natural size, a caption where it has one, a value
// mid-scale, a lit LED.
std::unique_ptr<InstrumentWidget> Showing(const std::string& className) {
    auto widget = CreateItemWidget(className);
    widget->SetProperty("Caption", PropertyValue::String("Coolant"));
    widget->SetProperty("Units", PropertyValue::String("deg C"));
    widget->SetProperty("Position", PropertyValue::Float(60));
    widget->SetProperty("Value", PropertyValue::Float(42.5));
    widget->SetProperty("Active", PropertyValue::Boolean(true));
    widget->SetProperty("AutoSize", PropertyValue::Boolean(false));
    const QSize size = widget->sizeHint();
    widget->resize(std::max(size.width(), 60), std::max(size.height(), 20));
    return widget;
}

// The share of pixels that a dark-adapted eye would find glaring: white or nearly so.
double GlaringShare(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_ARGB32);
    long glaring = 0;
    for (int y = 0; y < rgb.height(); ++y) {
        for (int x = 0; x < rgb.width(); ++x) {
            glaring += NearWhite(QColor(rgb.pixel(x, y))) ? 1 : 0;
        }
    }
    return static_cast<double>(glaring) / (rgb.width() * rgb.height());
}

double MeanLightness(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_ARGB32);
    double sum = 0;
    for (int y = 0; y < rgb.height(); ++y) {
        for (int x = 0; x < rgb.width(); ++x) {
            sum += QColor(rgb.pixel(x, y)).lightnessF();
        }
    }
    return sum / (rgb.width() * rgb.height());
}

double HueDistance(const QColor& a, const QColor& b) {
    const double d = std::abs(a.hsvHueF() - b.hsvHueF()) * 360.0;
    return std::min(d, 360.0 - d);
}

TEST(NightColours, EveryKindOfInstrumentIsDarkWithNoWhiteLeft) {
    const NightColours night{true, NightTint::Amber, 0.7};
    for (const std::string& name : ItemWidgetClassNames()) {
        SCOPED_TRACE(name);
        auto widget = Showing(name);
        const QImage day = RenderWidget(*widget, 1.0, QColor(232, 232, 232));
        ApplyNightColours(widget.get(), night);
        EXPECT_EQ(widget->Night(), night);
        const QImage dark = RenderWidget(*widget, 1.0, NightPageColour(night));
        testing::SaveForReview(dark, QString::fromStdString("night_" + name));
        EXPECT_EQ(GlaringShare(dark), 0.0);
        EXPECT_LT(MeanLightness(dark), 0.35);  // lit LEDs and bars keep some light
        EXPECT_LT(MeanLightness(dark), MeanLightness(day));
        // Back to day: the drawing is the day's again.
        ApplyNightColours(widget.get(), NightColours{});
        EXPECT_EQ(testing::DifferingShare(RenderWidget(*widget, 1.0, QColor(232, 232, 232)), day),
                  0.0);
    }
}

TEST(NightColours, TheDayGaugeHasTheWhiteFaceTheNightTakesAway) {
    // The probe itself must see white where there is white.
    auto gauge = Showing("TAngularGauge");
    EXPECT_GT(GlaringShare(RenderWidget(*gauge)), 0.2);
}

TEST(NightColours, WarningsStayDistinctFromTheNightsOwnColours) {
    for (const NightTint tint : {NightTint::Amber, NightTint::Red}) {
        for (const double brightness : {0.15, 0.5, 1.0}) {
            const NightColours night{true, tint, brightness};
            const QColor ink = NightShade(QColor(0, 0, 0), ColourRole::Ink, night);
            const QColor warning = WarningInk(night);
            EXPECT_GE(HueDistance(ink, warning), 25.0)
                << ink.name().toStdString() << " vs " << warning.name().toStdString();
            EXPECT_GE(warning.valueF(), ink.valueF());
            EXPECT_FALSE(NearWhite(warning));
        }
    }

    // On a dark gauge the needle turns from the night's colour to the warning colour.
    const NightColours night{true, NightTint::Red, 0.6};
    auto gauge = Showing("TAngularGauge");
    gauge->resize(200, 200);
    ApplyNightColours(gauge.get(), night);
    const QPointF centre(100, 100);
    const double face = 92 * 0.92;
    const double angle = 90.0 + 135.0 - 270.0 * 0.6;  // 60 of 0 to 100
    const QColor before =
        testing::ColourAt(RenderWidget(*gauge), testing::OnRay(centre, angle, face * 0.5));
    gauge->SetWarningLevel(WarningLevel::Warning);
    const QImage warned = RenderWidget(*gauge, 1.0, NightPageColour(night));
    testing::SaveForReview(warned, "night_warning_gauge");
    const QColor after = testing::ColourAt(warned, testing::OnRay(centre, angle, face * 0.5));
    EXPECT_GE(HueDistance(before, after), 25.0)
        << before.name().toStdString() << " " << after.name().toStdString();
    EXPECT_EQ(GlaringShare(warned), 0.0);
}

TEST(NightColours, BrightnessDimsTheInkAndAPageTurnsDarkAndBack) {
    const QColor dim =
        NightShade(Qt::black, ColourRole::Ink, NightColours{true, NightTint::Amber, 0.2});
    const QColor bright =
        NightShade(Qt::black, ColourRole::Ink, NightColours{true, NightTint::Amber, 1.0});
    EXPECT_LT(dim.valueF(), bright.valueF() * 0.7);
    // Out of range is held to the range.
    EXPECT_EQ(NightShade(Qt::black, ColourRole::Ink, NightColours{true, NightTint::Amber, -3}),
              NightShade(Qt::black, ColourRole::Ink, NightColours{true, NightTint::Amber, 0.15}));
    // A signal keeps its hue; day colours are untouched by day.
    const QColor green = NightShade(QColor(0, 255, 0), ColourRole::Signal, NightColours{true});
    EXPECT_NEAR(green.hsvHueF() * 360.0, 120.0, 1.0);
    EXPECT_LT(green.valueF(), 0.9);
    EXPECT_EQ(NightShade(QColor(1, 2, 3), ColourRole::Face, NightColours{}), QColor(1, 2, 3));

    QWidget page;
    page.resize(400, 300);
    const QColor dayWindow = page.palette().color(QPalette::Window);
    auto* gauge = CreateItemWidget("TAngularGauge", &page).release();
    auto* label = CreateItemWidget("TLabel", &page).release();
    const NightColours night{true, NightTint::Amber, 0.5};
    ApplyNightColours(&page, night);
    EXPECT_EQ(gauge->Night(), night);
    EXPECT_EQ(label->Night(), night);
    EXPECT_EQ(page.palette().color(QPalette::Window), NightPageColour(night));
    EXPECT_TRUE(page.autoFillBackground());
    ApplyNightColours(&page, NightColours{true, NightTint::Red, 0.9});  // changed while dark
    ApplyNightColours(&page, NightColours{});
    EXPECT_FALSE(gauge->Night().on);
    EXPECT_EQ(page.palette().color(QPalette::Window), dayWindow);
    EXPECT_FALSE(page.autoFillBackground());
}

}  // namespace
}  // namespace vekaton
