// Scale text a person can read: the caption of an analog meter never runs over its scale
// numbers, at any size a dashboard gives it, and a thermometer's numbers are never too small.
// Checked on the rendered pixels: the caption's pixels are those that appear when the caption is
// set, the numbers' pixels those that change with the text colour while there is no caption; the
// two must stay apart.
#include <gtest/gtest.h>

#include <QImage>
#include <QSize>
#include <QString>
#include <algorithm>
#include <utility>
#include <vector>

#include "PixelProbe.h"
#include "WidgetTestSupport.h"
#include "widgets/TAngularGauge.h"
#include "widgets/TThermometer.h"

namespace vekaton {
namespace {

using testing::RenderWidget;

struct Scale {
    double minimum;
    double maximum;
    int majors;
    int arc;
};

QImage Draw(const Scale& scale, int size, const QString& caption, ColourValue text,
            bool value = false) {
    TAngularGauge gauge;
    gauge.resize(size, size);
    gauge.SetColor(RgbColour(255, 255, 255));
    gauge.SetShowValue(value);
    gauge.SetShowMinMax(false);
    gauge.SetArcAngle(scale.arc);
    gauge.SetMaximum(scale.maximum);
    gauge.SetMinimum(scale.minimum);
    gauge.SetMajorTicks(scale.majors);
    gauge.SetFontColor(text);
    gauge.SetCaption(caption);
    gauge.SetPosition(scale.minimum);  // the needle lies out of the way, at the scale's start
    return RenderWidget(gauge);
}

// Pixels that differ between two renderings, grown by `grow` pixels each way.
std::vector<bool> Differing(const QImage& a, const QImage& b, int grow) {
    const int w = a.width();
    const int h = a.height();
    std::vector<bool> mask(static_cast<std::size_t>(w * h), false);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (a.pixel(x, y) == b.pixel(x, y)) {
                continue;
            }
            for (int dy = -grow; dy <= grow; ++dy) {
                for (int dx = -grow; dx <= grow; ++dx) {
                    const int px = x + dx;
                    const int py = y + dy;
                    if (px >= 0 && py >= 0 && px < w && py < h) {
                        mask[static_cast<std::size_t>(py * w + px)] = true;
                    }
                }
            }
        }
    }
    return mask;
}

TEST(GaugeCaption, NeverRunsOverTheScaleNumbersFrom100To400Pixels) {
    // The demo's meters and their captions, and a full and a half dial.
    const std::vector<std::pair<QString, Scale>> meters{
        {"Engine", {0, 6000, 6, 270}},
        {"Engine speed", {0, 6000, 6, 270}},
        {"Manifold", {10, 105, 5, 270}},
        {"Block learn", {0, 255, 8, 270}},
        {"Coolant temperature", {-40, 150, 10, 270}},
        {"Throttle", {0, 100, 5, 180}},
    };
    const ColourValue black = RgbColour(0, 0, 0);
    const ColourValue red = RgbColour(255, 0, 0);
    for (const auto& [caption, scale] : meters) {
        for (int size = 100; size <= 400; size += 20) {
            const QImage plain = Draw(scale, size, QString(), black);
            const std::vector<bool> numbers = Differing(plain, Draw(scale, size, {}, red), 1);
            const QImage captioned = Draw(scale, size, caption, black);
            const std::vector<bool> written = Differing(plain, captioned, 0);
            int captionPixels = 0;
            int overlapping = 0;
            for (std::size_t i = 0; i < written.size(); ++i) {
                captionPixels += written[i] ? 1 : 0;
                overlapping += written[i] && numbers[i] ? 1 : 0;
            }
            EXPECT_GT(captionPixels, 0) << caption.toStdString() << " at " << size << " px";
            EXPECT_EQ(overlapping, 0)
                << caption.toStdString() << " runs over the numbers at " << size << " px";
            if (overlapping > 0 || (size == 200 && caption == "Block learn")) {
                testing::SaveForReview(
                    captioned,
                    QString("gauge-caption-%1-%2").arg(caption).arg(size).replace(' ', '-'));
            }
        }
    }
}

TEST(GaugeReadout, NeverRunsOverTheScaleNumbersFrom100To400Pixels) {
    // The readout under the needle's hub sits between the last numbers of a full dial.
    const std::vector<std::pair<QString, Scale>> meters{
        {"Engine speed", {0, 6000, 6, 270}},
        {"Manifold", {10, 105, 5, 270}},
        {"Block learn", {0, 255, 8, 270}},
        {"Coolant temperature", {-40, 150, 10, 270}},
    };
    const ColourValue black = RgbColour(0, 0, 0);
    for (const auto& [name, scale] : meters) {
        for (int size = 100; size <= 400; size += 20) {
            const QImage plain = Draw(scale, size, {}, black);
            const std::vector<bool> numbers =
                Differing(plain, Draw(scale, size, {}, RgbColour(255, 0, 0)), 1);
            const QImage withValue = Draw(scale, size, {}, black, true);
            const std::vector<bool> readout = Differing(plain, withValue, 0);
            int readoutPixels = 0;
            int overlapping = 0;
            for (std::size_t i = 0; i < readout.size(); ++i) {
                readoutPixels += readout[i] ? 1 : 0;
                overlapping += readout[i] && numbers[i] ? 1 : 0;
            }
            EXPECT_GT(readoutPixels, 0) << name.toStdString() << " at " << size << " px";
            EXPECT_EQ(overlapping, 0)
                << name.toStdString() << "'s readout runs over the numbers at " << size << " px";
            if (overlapping > 0) {
                testing::SaveForReview(
                    withValue,
                    QString("gauge-readout-%1-%2").arg(name).arg(size).replace(' ', '-'));
            }
        }
    }
}

// The height in pixels of the tallest run of rows holding text that changes with the text
// colour: the height of the scale numbers' digits.
int DigitHeight(const std::vector<bool>& text, int width, int height) {
    int tallest = 0;
    int run = 0;
    for (int y = 0; y < height; ++y) {
        bool any = false;
        for (int x = 0; x < width && !any; ++x) {
            any = text[static_cast<std::size_t>(y * width + x)];
        }
        run = any ? run + 1 : 0;
        tallest = std::max(tallest, run);
    }
    return tallest;
}

TEST(ThermometerScale, NumbersStayReadableOnANarrowThermometer) {
    // The demo's fuel thermometer: narrow, a long scale.
    for (const QSize size : {QSize(60, 240), QSize(50, 180), QSize(80, 300)}) {
        const auto draw = [&](ColourValue text) {
            TThermometer thermometer;
            thermometer.resize(size);
            thermometer.SetMinimum(0);
            thermometer.SetMaximum(100);
            thermometer.SetMajorTicks(10);
            thermometer.SetFontColor(text);
            return RenderWidget(thermometer);
        };
        const QImage black = draw(RgbColour(0, 0, 0));
        const std::vector<bool> text = Differing(black, draw(RgbColour(255, 0, 0)), 0);
        // Digits of a 9-pixel font stand about 6 pixels tall; each number is its own run, as
        // long as numbers do not touch.
        const int digits = DigitHeight(text, black.width(), black.height());
        EXPECT_GE(digits, 6) << size.width() << "x" << size.height();
        EXPECT_LE(digits, 14) << "numbers crowd into one another at " << size.width() << "x"
                              << size.height();
        if (size == QSize(60, 240)) {
            testing::SaveForReview(black, "thermometer-narrow");
        }
    }
}

}  // namespace
}  // namespace vekaton
