#include "WidgetTestSupport.h"
#include "widgets/TOdometer.h"
#include "widgets/TSliderSwitch.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <cmath>

namespace vekaton {
namespace {

std::string Digits(const std::vector<OdometerWheel>& wheels) {
    std::string text;
    for (const OdometerWheel& wheel : wheels) {
        text += static_cast<char>('0' + wheel.digit);
    }
    return text;
}

TEST(OdometerWheels, ShowTheValueWithItsDecimalWheels) {
    EXPECT_EQ(Digits(OdometerWheels(754.3, 6, 1)), "007543");
    EXPECT_EQ(Digits(OdometerWheels(48213, 5, 0)), "48213");
    EXPECT_EQ(Digits(OdometerWheels(0, 3, 2)), "000");
}

TEST(OdometerWheels, OnlyWheelsNextToANineTurnWithTheLastOne) {
    const auto wheels = OdometerWheels(12.95, 4, 1);  // 012.9 and half way to 013.0
    EXPECT_EQ(Digits(wheels), "0129");
    EXPECT_NEAR(wheels[3].roll, 0.5, 1e-6);
    EXPECT_NEAR(wheels[2].roll, 0.5, 1e-6) << "2 turns to 3 with the 9";
    EXPECT_EQ(wheels[1].roll, 0.0);
    EXPECT_EQ(wheels[0].roll, 0.0);

    const auto still = OdometerWheels(12.35, 4, 1);
    EXPECT_NEAR(still[3].roll, 0.5, 1e-6);
    EXPECT_EQ(still[2].roll, 0.0);
}

TEST(OdometerWheels, WrapAroundLikeAMechanicalCounter) {
    EXPECT_EQ(Digits(OdometerWheels(100000.0, 6, 1)), "000000");
    EXPECT_EQ(Digits(OdometerWheels(123456.7, 6, 1)), "234567");
    EXPECT_EQ(Digits(OdometerWheels(-0.1, 6, 1)), "999999");
    EXPECT_EQ(Digits(OdometerWheels(NAN, 3, 0)), "000");
    EXPECT_EQ(OdometerWheels(1, 40, 50).size(), 15u);
}

TEST(Odometer, IgnoresValuesThatAreNotFinite) {
    TOdometer odometer;
    odometer.SetValue(42.5);
    odometer.SetValue(INFINITY);
    odometer.SetValue(NAN);
    EXPECT_EQ(odometer.Value(), 42.5);
    odometer.SetDecimals(20);
    EXPECT_EQ(odometer.Decimals(), 5);
    odometer.SetDigits(3);
    EXPECT_EQ(odometer.Decimals(), 2);
}

TEST(Odometer, DrawsADecimalPointBeforeTheTenthsWheel) {
    TOdometer odometer;
    odometer.resize(110, 26);  // as the status strip shows elapsed time
    odometer.SetValue(44.4);
    const QRectF bounds(0, 0, 110, 26);
    const QRectF point = odometer.DecimalPointRect(bounds);
    ASSERT_FALSE(point.isEmpty());
    // Between the last whole wheel and the tenths wheel, in the lower half.
    const double seam = (point.left() + point.right()) / 2;
    EXPECT_GT(seam, bounds.width() * 4 / 6 - 3);
    EXPECT_LT(seam, bounds.width() * 5 / 6 + 3);
    EXPECT_GT(point.center().y(), bounds.height() / 2);

    const QImage image = testing::RenderWidget(odometer);
    const QColor centre = image.pixelColor(point.center().toPoint());
    EXPECT_GT(centre.red(), 200) << "the point's bright face";
    EXPECT_GT(centre.green(), 150);
    EXPECT_LT(centre.blue(), 120);

    odometer.SetDecimals(0);
    EXPECT_TRUE(odometer.DecimalPointRect(bounds).isEmpty());
    const QImage whole = testing::RenderWidget(odometer);
    EXPECT_NE(whole.pixelColor(point.center().toPoint()), centre);
}

TEST(SliderSwitch, StaysOnItsStops) {
    TSliderSwitch slider;
    slider.SetPositionCount(4);
    slider.SetPosition(7);
    EXPECT_EQ(slider.Position(), 3);
    slider.SetPositionCount(2);
    EXPECT_EQ(slider.Position(), 1);
    EXPECT_EQ(slider.CaptionOf(1), "On");
    EXPECT_EQ(slider.CaptionOf(5), "5");
}

TEST(SliderSwitch, UserMovesAreReported) {
    TSliderSwitch slider;
    slider.resize(90, 30);
    std::vector<int> moved;
    QObject::connect(&slider, &TSliderSwitch::PositionChanged,
                     [&moved](int position) { moved.push_back(position); });

    QMouseEvent click(QEvent::MouseButtonPress, QPointF(10, 15), QPointF(10, 15), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&slider, &click);
    EXPECT_EQ(slider.Position(), 1) << "a two-way switch flips on any click";

    QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    QCoreApplication::sendEvent(&slider, &left);
    QCoreApplication::sendEvent(&slider, &left);  // already at the end: no report
    EXPECT_EQ(slider.Position(), 0);
    EXPECT_EQ(moved, (std::vector<int>{1, 0}));

    slider.SetPosition(1);  // set by the program: not a user move
    EXPECT_EQ(moved.size(), 2u);

    slider.SetPositionCount(3);
    EXPECT_EQ(slider.StopAt(QPointF(85, 15)), 2);
    EXPECT_EQ(slider.StopAt(QPointF(-40, 15)), 0);
}

}  // namespace
}  // namespace vekaton
