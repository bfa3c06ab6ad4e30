#include "WidgetTestSupport.h"
#include "widgets/AppearanceEditor.h"
#include "widgets/TAnalogDisplay.h"
#include "widgets/TAngularGauge.h"
#include "widgets/TLedBar.h"
#include "widgets/TLedRectangle.h"
#include "widgets/TLedRound.h"
#include "widgets/TOdometer.h"
#include "widgets/TSevenSegmentAnalog.h"
#include "widgets/TSevenSegmentInteger.h"
#include "widgets/TSliderSwitch.h"
#include "widgets/TStripChart.h"
#include "widgets/TThermometer.h"

#include <QDir>
#include <QPainter>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vekaton {
namespace {

using testing::DifferingShare;
using testing::DistinctColours;
using testing::RenderWidget;

// One picture of a widget: how to build and set it up, at what size and pixel ratio.
struct Shot {
    std::string name;
    std::function<std::unique_ptr<QWidget>()> make;
    QSize size{200, 200};
    double ratio = 1.0;
};

QString GalleryDir() {
    const QString dir = QStringLiteral(VEKATON_BINARY_DIR "/gallery");
    QDir().mkpath(dir);
    return dir;
}

// Renders the shots of one widget kind, saves them, and checks that none is blank and that
// no two of them look the same.
std::vector<QImage> RenderShots(const std::vector<Shot>& shots) {
    std::vector<QImage> images;
    for (const Shot& shot : shots) {
        std::unique_ptr<QWidget> widget = shot.make();
        widget->resize(shot.size);
        QImage image = RenderWidget(*widget, shot.ratio);
        EXPECT_TRUE(image.save(GalleryDir() + "/" + QString::fromStdString(shot.name) + ".png"))
            << shot.name;
        EXPECT_GT(DistinctColours(image), 8) << shot.name << " looks blank";
        for (size_t i = 0; i < images.size(); ++i) {
            if (images[i].size() == image.size()) {
                EXPECT_GT(DifferingShare(images[i], image), 0.002)
                    << shot.name << " draws like " << shots[i].name;
            }
        }
        images.push_back(image);
    }
    return images;
}

template <class W>
std::function<std::unique_ptr<QWidget>()> Make(std::function<void(W&)> setUp) {
    return [setUp] {
        auto widget = std::make_unique<W>();
        setUp(*widget);
        return std::unique_ptr<QWidget>(std::move(widget));
    };
}

void Tachometer(TAngularGauge& g) {
    g.SetMaximum(8000);
    g.SetMajorTicks(8);
    g.SetCaption("Engine");
    g.SetUnits("rpm");
    g.SetSection(1, 0, 5500, RgbColour(0, 170, 60));
    g.SetSection(2, 5500, 6500, RgbColour(255, 190, 0));
    g.SetSection(3, 6500, 8000, RgbColour(230, 20, 20));
}

TEST(Gallery, AngularGauge) {
    RenderShots({
        {"AngularGauge_default", Make<TAngularGauge>([](TAngularGauge&) {})},
        {"AngularGauge_tach_idle", Make<TAngularGauge>([](TAngularGauge& g) {
             Tachometer(g);
             g.SetPosition(850);
         })},
        {"AngularGauge_tach_redline", Make<TAngularGauge>([](TAngularGauge& g) {
             Tachometer(g);
             g.SetPosition(900);
             g.SetPosition(7150);
             g.SetPosition(6840);
         })},
        {"AngularGauge_yellow_coolant", Make<TAngularGauge>([](TAngularGauge& g) {
             g.SetColor(65535);
             g.SetMinimum(-40);
             g.SetMaximum(140);
             g.SetMajorTicks(9);
             g.SetMinorTicks(4);
             g.SetCaption("Coolant");
             g.SetUnits(QString::fromUtf8("\u00B0C"));
             g.SetSection(3, 110, 140, 255);
             g.SetPosition(20);
             g.SetPosition(92.5);
             g.SetDecimals(1);
         })},
        {"AngularGauge_dark_boost_half", Make<TAngularGauge>([](TAngularGauge& g) {
             g.SetColor(RgbColour(24, 26, 30));
             g.SetTickColor(RgbColour(235, 235, 235));
             g.SetFontColor(RgbColour(235, 235, 235));
             g.SetNeedleColor(RgbColour(255, 120, 0));
             g.SetArcAngle(180);
             g.SetMinimum(-1);
             g.SetMaximum(1.5);
             g.SetMajorTicks(5);
             g.SetCaption("Boost");
             g.SetUnits("bar");
             g.SetDecimals(2);
             g.SetPosition(0.84);
         }),
         QSize(200, 200)},
        {"AngularGauge_small_2x", Make<TAngularGauge>([](TAngularGauge& g) {
             Tachometer(g);
             g.SetPosition(3000);
         }),
         QSize(100, 100), 2.0},
        {"AngularGauge_tiny_80", Make<TAngularGauge>([](TAngularGauge& g) {
             Tachometer(g);
             g.SetPosition(2500);
         }),
         QSize(80, 80)},
        {"AngularGauge_large_wide", Make<TAngularGauge>([](TAngularGauge& g) {
             Tachometer(g);
             g.SetPosition(4321);
         }),
         QSize(420, 360)},
    });
}

TEST(Gallery, Thermometer) {
    RenderShots({
        {"Thermometer_default", Make<TThermometer>([](TThermometer&) {}), QSize(90, 240)},
        {"Thermometer_oil_warm", Make<TThermometer>([](TThermometer& t) {
             t.SetMinimum(-20);
             t.SetMaximum(160);
             t.SetMajorTicks(9);
             t.SetCaption("Oil");
             t.SetUnits(QString::fromUtf8("\u00B0C"));
             t.SetPosition(35);
             t.SetPosition(104);
             t.SetPosition(96);
         }),
         QSize(90, 240)},
        {"Thermometer_dark_wide", Make<TThermometer>([](TThermometer& t) {
             t.SetColor(RgbColour(30, 32, 38));
             t.SetTickColor(RgbColour(220, 220, 220));
             t.SetFontColor(RgbColour(220, 220, 220));
             t.SetMercuryColor(RgbColour(40, 140, 255));
             t.SetCaption("Intake air");
             t.SetUnits(QString::fromUtf8("\u00B0C"));
             t.SetMinimum(-40);
             t.SetMaximum(60);
             t.SetPosition(18);
         }),
         QSize(200, 200)},
        {"Thermometer_small_2x", Make<TThermometer>([](TThermometer& t) {
             t.SetCaption("Coolant");
             t.SetPosition(70);
         }),
         QSize(50, 130), 2.0},
    });
}

TEST(Gallery, SevenSegmentDisplays) {
    RenderShots({
        {"SevenSegmentAnalog_default", Make<TSevenSegmentAnalog>([](TSevenSegmentAnalog&) {}),
         QSize(200, 70)},
        {"SevenSegmentAnalog_volts", Make<TSevenSegmentAnalog>([](TSevenSegmentAnalog& s) {
             s.SetValue(13.87);
             s.SetDecimals(2);
         }),
         QSize(200, 70)},
        {"SevenSegmentAnalog_negative_green", Make<TSevenSegmentAnalog>([](TSevenSegmentAnalog& s) {
             s.SetOnColor(RgbColour(60, 255, 90));
             s.SetDigits(5);
             s.SetValue(-12.5);
         }),
         QSize(200, 70)},
        {"SevenSegmentAnalog_overflow",
         Make<TSevenSegmentAnalog>([](TSevenSegmentAnalog& s) { s.SetValue(123456); }),
         QSize(200, 70)},
        {"SevenSegmentInteger_bytes",
         Make<TSevenSegmentInteger>([](TSevenSegmentInteger& s) { s.SetValue(67); }),
         QSize(200, 70)},
        {"SevenSegmentInteger_amber_zeros_2x",
         Make<TSevenSegmentInteger>([](TSevenSegmentInteger& s) {
             s.SetOnColor(RgbColour(255, 170, 0));
             s.SetLeadingZeros(true);
             s.SetDigits(3);
             s.SetValue(144);
         }),
         QSize(90, 40), 2.0},
    });
}

TEST(Gallery, AnalogDisplay) {
    RenderShots({
        {"AnalogDisplay_default", Make<TAnalogDisplay>([](TAnalogDisplay&) {}), QSize(200, 60)},
        {"AnalogDisplay_afr", Make<TAnalogDisplay>([](TAnalogDisplay& d) {
             d.SetValue(14.68);
             d.SetSuffix(" AFR");
             d.SetCaption("Air/fuel ratio");
         }),
         QSize(200, 60)},
        {"AnalogDisplay_light_raised_centred", Make<TAnalogDisplay>([](TAnalogDisplay& d) {
             d.SetColor(RgbColour(240, 240, 236));
             d.SetFontColor(RgbColour(20, 20, 20));
             d.SetBevelStyle(TAnalogDisplay::kBevelRaised);
             d.SetTextAlignment(TAnalogDisplay::kAlignCenter);
             d.SetPrecision(0);
             d.SetPrefix("Spark ");
             d.SetValue(32);
             d.SetSuffix(QString::fromUtf8("\u00B0"));
         }),
         QSize(200, 60)},
        {"AnalogDisplay_large_caption", Make<TAnalogDisplay>([](TAnalogDisplay& d) {
             d.SetCaption("Battery");
             d.SetSuffix(" V");
             d.SetValue(13.9);
             d.SetFontColor(RgbColour(255, 190, 40));
         }),
         QSize(320, 110)},
        {"AnalogDisplay_small_2x", Make<TAnalogDisplay>([](TAnalogDisplay& d) {
             d.SetPrecision(1);
             d.SetValue(-3.25);
         }),
         QSize(80, 24), 2.0},
    });
}

TEST(Gallery, Leds) {
    const auto round = [](bool active, ColourValue colour, int bevel) {
        return Make<TLedRound>([=](TLedRound& led) {
            led.SetActiveColor(colour);
            led.SetBevelStyle(bevel);
            led.SetActive(active);
        });
    };
    RenderShots({
        {"LedRound_off", round(false, RgbColour(0, 255, 0), LedWidget::kBevelLowered),
         QSize(40, 40)},
        {"LedRound_on", round(true, RgbColour(0, 255, 0), LedWidget::kBevelLowered), QSize(40, 40)},
        {"LedRound_red_on_raised", round(true, 255, LedWidget::kBevelRaised), QSize(40, 40)},
        {"LedRound_panel_dark", Make<TLedRound>([](TLedRound& led) {
             // As the digital LED of a dashboard starts: red, black when off, raised.
             led.SetActiveColor(255);
             led.SetInactiveColor(0);
             led.SetAutoInactiveColor(false);
             led.SetBevelStyle(LedWidget::kBevelRaised);
         }),
         QSize(40, 40)},
        {"LedRound_tiny_15_2x", round(true, RgbColour(255, 180, 0), LedWidget::kBevelRaised),
         QSize(15, 15), 2.0},
    });
    RenderShots({
        {"LedRectangle_off", Make<TLedRectangle>([](TLedRectangle&) {}), QSize(60, 28)},
        {"LedRectangle_on", Make<TLedRectangle>([](TLedRectangle& led) { led.SetActive(true); }),
         QSize(60, 28)},
        {"LedRectangle_amber_flat", Make<TLedRectangle>([](TLedRectangle& led) {
             led.SetActiveColor(RgbColour(255, 170, 0));
             led.SetBevelStyle(LedWidget::kBevelNone);
             led.SetActive(true);
         }),
         QSize(60, 28)},
    });
}

TEST(Gallery, LedBar) {
    RenderShots({
        {"LedBar_empty", Make<TLedBar>([](TLedBar&) {}), QSize(200, 28)},
        {"LedBar_one_error", Make<TLedBar>([](TLedBar& b) { b.SetPosition(1); }), QSize(200, 28)},
        {"LedBar_high", Make<TLedBar>([](TLedBar& b) { b.SetPosition(93); }), QSize(200, 28)},
    });
    RenderShots({
        {"LedBar_vertical_mid", Make<TLedBar>([](TLedBar& b) {
             b.SetBarOrientation(TLedBar::kVertical);
             b.SetSegments(16);
             b.SetPosition(70);
         }),
         QSize(28, 200)},
        {"LedBar_vertical_full", Make<TLedBar>([](TLedBar& b) {
             b.SetBarOrientation(TLedBar::kVertical);
             b.SetSegments(16);
             b.SetPosition(100);
         }),
         QSize(28, 200)},
    });
}

TEST(Gallery, Odometer) {
    RenderShots({
        {"Odometer_zero", Make<TOdometer>([](TOdometer&) {}), QSize(200, 44)},
        {"Odometer_rolling", Make<TOdometer>([](TOdometer& o) { o.SetValue(1299.97); }),
         QSize(200, 44)},
        {"Odometer_elapsed", Make<TOdometer>([](TOdometer& o) { o.SetValue(754.3); }),
         QSize(200, 44)},
        {"Odometer_no_decimals_2x", Make<TOdometer>([](TOdometer& o) {
             o.SetDigits(5);
             o.SetDecimals(0);
             o.SetValue(48213);
         }),
         QSize(100, 24), 2.0},
    });
}

TEST(Gallery, SliderSwitch) {
    RenderShots({
        {"SliderSwitch_off", Make<TSliderSwitch>([](TSliderSwitch&) {}), QSize(90, 32)},
        {"SliderSwitch_on", Make<TSliderSwitch>([](TSliderSwitch& s) { s.SetPosition(1); }),
         QSize(90, 32)},
        {"SliderSwitch_three_way", Make<TSliderSwitch>([](TSliderSwitch& s) {
             s.SetPositionCount(3);
             s.SetCaptions("Low,Mid,High");
             s.SetPosition(1);
         }),
         QSize(90, 32)},
    });
}

// Coolant, engine speed scaled to fit, and a digital flag, over ten minutes of frames.
void FillChart(TStripChart& chart, int samples, double step) {
    chart.SetTitle("Processed Data");
    chart.AddChannel({"Coolant", 0, 1.0, 0.0, 12, 8, true});
    chart.AddChannel({"RPM / 40", 0, 1.0 / 40.0, 0.0, 20, 8, true});
    chart.AddChannel({"Closed loop", 0, 20.0, 10.0, 7, 3, true});
    for (int i = 0; i < samples; ++i) {
        const double t = i * step;
        chart.Store().BeginUpdate();
        const auto sample = chart.Store().AddSample(t);
        chart.Store().AddPoint(0, sample, 90 - 60 * std::exp(-t / 120.0) + std::sin(t * 0.7));
        chart.Store().AddPoint(
            1, sample,
            2400 + 1800 * std::sin(t / 9.0) + 300 * std::sin(t * 3.1) + (i % 37 == 0 ? 900 : 0));
        chart.Store().AddPoint(2, sample, (static_cast<int>(t / 25.0) % 2 == 0) ? 5.0 : 0.0);
        chart.Store().EndUpdate();
    }
}

TEST(Gallery, StripChart) {
    RenderShots({
        {"StripChart_empty",
         Make<TStripChart>([](TStripChart& c) { c.SetTitle("Processed Data"); }), QSize(480, 260)},
        {"StripChart_following", Make<TStripChart>([](TStripChart& c) {
             FillChart(c, 6000, 0.1);
             c.SetWindowSeconds(120);
         }),
         QSize(480, 260)},
        {"StripChart_whole_run_decimated", Make<TStripChart>([](TStripChart& c) {
             FillChart(c, 200000, 0.01);
             c.SetWindowSeconds(2000);
         }),
         QSize(480, 260)},
        {"StripChart_paused_zoomed", Make<TStripChart>([](TStripChart& c) {
             FillChart(c, 6000, 0.1);
             c.SetViewWindow(100, 130);
         }),
         QSize(480, 260)},
        {"StripChart_raw_light_2x", Make<TStripChart>([](TStripChart& c) {
             FillChart(c, 3000, 0.1);
             c.SetTitle("Raw Data");
             c.SetColor(RgbColour(236, 236, 236));
             c.SetPlotColor(RgbColour(255, 255, 255));
             c.SetGridColor(RgbColour(215, 215, 220));
             c.SetFontColor(RgbColour(30, 30, 30));
             c.SetTraceWidth(2);
         }),
         QSize(360, 200), 2.0},
    });
}

// The editor as a user sees it, for a person to judge; its inputs are tested elsewhere.
TEST(Gallery, AppearanceEditor) {
    TAngularGauge gauge;
    Tachometer(gauge);
    gauge.SetPosition(3200);
    gauge.resize(200, 200);
    AppearanceEditor editor(gauge);
    editor.resize(editor.sizeHint());
    const QImage image = editor.grab().toImage();
    EXPECT_TRUE(image.save(GalleryDir() + "/AppearanceEditor_AngularGauge.png"));
    EXPECT_GT(DistinctColours(image), 8);
    auto* tabs = editor.findChild<QTabWidget*>();
    ASSERT_NE(tabs, nullptr);
    tabs->setCurrentIndex(2);
    EXPECT_TRUE(
        editor.grab().toImage().save(GalleryDir() + "/AppearanceEditor_AngularGauge_colours.png"));
}

}  // namespace
}  // namespace vekaton
