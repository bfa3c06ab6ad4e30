#include "WidgetTestSupport.h"
#include "widgets/TAngularGauge.h"

#include <QDir>
#include <QPainter>

#include <gtest/gtest.h>

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
        {"AngularGauge_large_wide", Make<TAngularGauge>([](TAngularGauge& g) {
             Tachometer(g);
             g.SetPosition(4321);
         }),
         QSize(420, 360)},
    });
}

}  // namespace
}  // namespace vekaton
