#include "widgets/TAngularGauge.h"
#include "widgets/TThermometer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vekaton {
namespace {

TEST(RangeInstrument, PositionIsClampedIntoTheRange) {
    TAngularGauge gauge;
    gauge.SetMaximum(8000);
    gauge.SetPosition(9000);
    EXPECT_EQ(gauge.Position(), 8000.0);
    gauge.SetPosition(-50);
    EXPECT_EQ(gauge.Position(), 0.0);
    gauge.SetPosition(2500.5);
    EXPECT_EQ(gauge.Position(), 2500.5);
    gauge.SetPosition(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(gauge.Position(), 2500.5);
    gauge.SetPosition(std::numeric_limits<double>::infinity());
    EXPECT_EQ(gauge.Position(), 8000.0);
}

TEST(RangeInstrument, NarrowingTheRangeMovesPositionAndMarkersIntoIt) {
    TThermometer thermometer;
    thermometer.SetMaximum(200);
    thermometer.SetPosition(10);
    thermometer.SetPosition(150);
    thermometer.SetMaximum(120);
    EXPECT_EQ(thermometer.Position(), 120.0);
    EXPECT_EQ(thermometer.CurrentMaximum(), 120.0);
    thermometer.SetMinimum(40);
    EXPECT_EQ(thermometer.CurrentMinimum(), 40.0);
}

TEST(RangeInstrument, CrossedLimitsPushEachOther) {
    TAngularGauge gauge;
    gauge.SetMinimum(500);  // above the maximum of 100
    EXPECT_EQ(gauge.Minimum(), 500.0);
    EXPECT_EQ(gauge.Maximum(), 500.0);
    gauge.SetMaximum(900);
    EXPECT_EQ(gauge.Minimum(), 500.0);
    gauge.SetMaximum(-10);
    EXPECT_EQ(gauge.Minimum(), -10.0);
    gauge.SetMinimum(std::numeric_limits<double>::infinity());
    EXPECT_EQ(gauge.Minimum(), -10.0);
}

TEST(RangeInstrument, MarkersFollowTheExtremesUntilReset) {
    TAngularGauge gauge;
    gauge.SetPosition(40);
    gauge.SetPosition(75);
    gauge.SetPosition(20);
    gauge.SetPosition(30);
    EXPECT_EQ(gauge.CurrentMinimum(), 0.0);  // the gauge started at 0
    EXPECT_EQ(gauge.CurrentMaximum(), 75.0);

    gauge.ResetMinMax();
    EXPECT_EQ(gauge.CurrentMinimum(), 30.0);
    EXPECT_EQ(gauge.CurrentMaximum(), 30.0);
    gauge.SetPosition(35);
    gauge.SetPosition(25);
    EXPECT_EQ(gauge.CurrentMinimum(), 25.0);
    EXPECT_EQ(gauge.CurrentMaximum(), 35.0);

    // Reset buttons may preset the markers; presets stay within the range.
    gauge.SetCurrentMinimum(-20);
    gauge.SetCurrentMaximum(60);
    EXPECT_EQ(gauge.CurrentMinimum(), 0.0);
    EXPECT_EQ(gauge.CurrentMaximum(), 60.0);
    gauge.SetPosition(50);
    EXPECT_EQ(gauge.CurrentMaximum(), 60.0);
}

TEST(RangeInstrument, ClampedValuesMoveTheMarkersOnlyToTheEdge) {
    TThermometer thermometer;
    thermometer.SetPosition(1e9);
    EXPECT_EQ(thermometer.CurrentMaximum(), 100.0);
}

TEST(AngularGauge, NeedleSweepsTheArcFromMinimumToMaximum) {
    TAngularGauge gauge;
    gauge.SetMinimum(-40);
    gauge.SetMaximum(140);
    gauge.SetPosition(-40);
    EXPECT_DOUBLE_EQ(gauge.NeedleAngle(), 225.0);  // lower left for a 270 degree arc
    gauge.SetPosition(50);
    EXPECT_DOUBLE_EQ(gauge.NeedleAngle(), 90.0);  // straight up
    gauge.SetPosition(140);
    EXPECT_DOUBLE_EQ(gauge.NeedleAngle(), -45.0);
    gauge.SetArcAngle(180);
    EXPECT_DOUBLE_EQ(gauge.NeedleAngle(), 0.0);
}

TEST(AngularGauge, SectionsOutsideTheNumberedOnesAreIgnored) {
    TAngularGauge gauge;
    gauge.SetSection(2, 60, 80, 255);
    gauge.SetSection(0, 1, 2, 3);
    gauge.SetSection(4, 1, 2, 3);
    gauge.SetSection(3, std::nan(""), 2, 3);
    EXPECT_EQ(gauge.SectionStart(2), 60.0);
    EXPECT_EQ(gauge.SectionEnd(2), 80.0);
    EXPECT_EQ(gauge.SectionColor(2), 255);
    EXPECT_EQ(gauge.SectionStart(3), 0.0);
    EXPECT_EQ(gauge.SectionColor(4), 0);
    EXPECT_EQ(gauge.Property("Section2End"), PropertyValue::Float(80));
}

TEST(Thermometer, ColumnRisesWithThePosition) {
    TThermometer thermometer;
    thermometer.resize(90, 240);
    thermometer.SetPosition(10);
    const double low = thermometer.ColumnTop();
    thermometer.SetPosition(90);
    const double high = thermometer.ColumnTop();
    EXPECT_GT(high, low + 100);
    thermometer.SetPosition(500);
    EXPECT_GT(thermometer.ColumnTop(), high);
    EXPECT_LT(thermometer.ColumnTop(), 240);
}

}  // namespace
}  // namespace vekaton
