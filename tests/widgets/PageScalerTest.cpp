// A dashboard page drawn to fill the window: the items' widgets are placed where the page's fit
// puts them, layouts still get the page geometry, and turning it off puts everything back.
#include <gtest/gtest.h>

#include <QWidget>

#include "PixelProbe.h"
#include "WidgetTestSupport.h"
#include "widgets/ItemWidgetFactory.h"
#include "widgets/NightMode.h"
#include "widgets/PageScaler.h"

namespace vekaton {
namespace {

struct Page {
    QWidget widget;
    InstrumentWidget* gauge = nullptr;
    InstrumentWidget* thermometer = nullptr;
    InstrumentWidget* panel = nullptr;
    InstrumentWidget* led = nullptr;

    // Designed at 800x480: the items reach to 8 pixels from each edge.
    Page() {
        widget.resize(800, 480);
        gauge = CreateItemWidget("TAngularGauge", &widget).release();
        gauge->setGeometry(8, 8, 300, 200);
        thermometer = CreateItemWidget("TThermometer", &widget).release();
        thermometer->setGeometry(500, 100, 292, 372);
        panel = CreateItemWidget("TPanel", &widget).release();
        panel->setGeometry(8, 300, 100, 50);
        led = CreateItemWidget("TLedRound", panel).release();
        led->setGeometry(1, 1, 15, 15);
    }
};

std::int64_t Streamed(const InstrumentWidget& item, const char* name) {
    return item.ExportStreamed().Find(name)->AsInteger();
}

TEST(PageScaler, APageDesignedAt800By480FillsAFullHdScreen) {
    Page page;
    PageScaler scaler(&page.widget);
    page.widget.resize(1920, 1080);
    scaler.SetEnabled(true);
    EXPECT_DOUBLE_EQ(scaler.Fit().scale, 2.25);
    EXPECT_EQ(page.gauge->geometry(), QRect(78, 18, 675, 450));
    EXPECT_EQ(page.thermometer->geometry(), QRect(1185, 225, 657, 837));
    EXPECT_EQ(page.panel->geometry(), QRect(78, 675, 225, 113));
    EXPECT_EQ(page.led->geometry(), QRect(2, 2, 34, 34));  // inside its panel, scaled with it
    // The page fills the height edge to edge (but for the margin) and is centred across.
    EXPECT_EQ(page.thermometer->geometry().bottom() + 1, 1080 - 18);
    EXPECT_EQ(page.gauge->geometry().left(),
              page.widget.width() - 1 - page.thermometer->geometry().right());

    // What a layout saves is the page geometry, not the screen's.
    EXPECT_EQ(Streamed(*page.gauge, "Left"), 8);
    EXPECT_EQ(Streamed(*page.gauge, "Width"), 300);
    EXPECT_EQ(Streamed(*page.led, "Top"), 1);

    // A click lands on the page where the item is.
    const QPointF click = scaler.ToPage(QPointF(78 + 675 / 2.0, 18 + 450 / 2.0));
    EXPECT_NEAR(click.x(), 158, 1e-9);
    EXPECT_NEAR(click.y(), 108, 1e-9);
}

TEST(PageScaler, ASevenInchScreenAndBackToThePageAsDesigned) {
    Page page;
    PageScaler scaler(&page.widget);
    scaler.SetEnabled(true);
    page.widget.resize(1024, 600);
    scaler.Relayout();
    EXPECT_DOUBLE_EQ(scaler.Fit().scale, 1.25);
    EXPECT_EQ(page.gauge->geometry(), QRect(22, 10, 375, 250));
    EXPECT_EQ(page.thermometer->geometry(), QRect(637, 125, 365, 465));

    // An item added while scaled, in page coordinates, joins the layout.
    InstrumentWidget* display = CreateItemWidget("TAnalogDisplay", &page.widget).release();
    display->setGeometry(320, 20, 140, 44);
    scaler.Relayout();
    EXPECT_EQ(display->geometry(), scaler.ToScreen(QRect(320, 20, 140, 44)));

    scaler.SetEnabled(false);
    EXPECT_EQ(page.gauge->geometry(), QRect(8, 8, 300, 200));
    EXPECT_EQ(page.led->geometry(), QRect(1, 1, 15, 15));
    EXPECT_EQ(display->geometry(), QRect(320, 20, 140, 44));
    EXPECT_FALSE(page.gauge->HasPageGeometry());
    EXPECT_DOUBLE_EQ(scaler.Fit().scale, 1.0);
}

TEST(PageScaler, ALayoutReadWhileScaledIsTakenAsPageGeometry) {
    Page page;
    PageScaler scaler(&page.widget);
    page.widget.resize(1920, 1080);
    scaler.SetEnabled(true);
    PropertyBag bag = page.gauge->ExportStreamed();
    bag.Set("Left", PropertyValue::Integer(100));
    page.gauge->ImportStreamed(bag);
    scaler.Relayout();
    EXPECT_EQ(Streamed(*page.gauge, "Left"), 100);
    EXPECT_EQ(page.gauge->geometry(), scaler.ToScreen(QRect(100, 8, 300, 200)));
}

TEST(PageScaler, TheScaledPageIsDrawnSharpAtItsNewSizeByDayAndAtNight) {
    Page page;
    page.gauge->SetProperty("Caption", PropertyValue::String("RPM"));
    page.thermometer->SetProperty("Position", PropertyValue::Float(130));
    page.thermometer->SetWarningLevel(WarningLevel::Warning);
    PageScaler scaler(&page.widget);
    page.widget.resize(1920, 1080);
    scaler.SetEnabled(true);
    for (const bool night : {false, true}) {
        ApplyNightColours(&page.widget, NightColours{night, NightTint::Amber, 0.6});
        const QImage image = testing::RenderWidget(page.widget, 1.0, Qt::black);
        testing::SaveForReview(image, night ? "scaled_page_night" : "scaled_page_day");
        // The dial is drawn at its scaled size: its face reaches out to near its scaled radius.
        const QRect dial = page.gauge->geometry();
        const QPointF centre = dial.center();
        const double radius = std::min(dial.width(), dial.height()) / 2.0;
        const QColor face = testing::ColourAt(image, testing::OnRay(centre, 200, radius * 0.5));
        EXPECT_TRUE(testing::NearColour(
            face, testing::ColourAt(image, testing::OnRay(centre, 200, radius * 0.55)), 8));
        EXPECT_FALSE(testing::NearColour(
            face, testing::ColourAt(image, testing::OnRay(centre, 200, radius * 1.05)), 8));
        EXPECT_EQ(night, face.lightnessF() < 0.2) << face.name().toStdString();
    }
}

}  // namespace
}  // namespace vekaton
