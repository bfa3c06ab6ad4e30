#include "widgets/TLedBar.h"
#include "widgets/TLedRectangle.h"
#include "widgets/TLedRound.h"

#include <gtest/gtest.h>

namespace vekaton {
namespace {

TEST(Led, LitColourIsTheActiveColour) {
    TLedRound led;
    led.SetActiveColor(255);
    led.SetActive(true);
    EXPECT_EQ(led.LensColour(), QColor(255, 0, 0));
}

TEST(Led, AutomaticDarkColourIsADimLitColour) {
    TLedRectangle led;
    led.SetActiveColor(65535);
    led.SetInactiveColor(0xFF0000);
    const QColor dark = led.LensColour();
    EXPECT_NE(dark, QColor(0, 0, 255)) << "the inactive colour is unused while automatic";
    EXPECT_LT(dark.lightness(), QColor(255, 255, 0).lightness() / 2);
    EXPECT_EQ(dark.red(), dark.green()) << "keeps the hue of yellow";
    EXPECT_EQ(dark.blue(), 0);
}

TEST(Led, ChosenDarkColourIsUsedWhenNotAutomatic) {
    // The digital LED of a dashboard: red, black when off.
    TLedRound led;
    led.SetActiveColor(255);
    led.SetInactiveColor(0);
    led.SetAutoInactiveColor(false);
    EXPECT_EQ(led.LensColour(), QColor(0, 0, 0));
    led.SetActive(true);
    EXPECT_EQ(led.LensColour(), QColor(255, 0, 0));
    led.SetActive(false);
    EXPECT_EQ(led.LensColour(), QColor(0, 0, 0));
}

TEST(Led, SystemColoursComeFromThePalette) {
    TLedRound led;
    QPalette palette = led.palette();
    palette.setColor(QPalette::Highlight, QColor(1, 2, 3));
    led.setPalette(palette);
    led.SetActiveColor(SystemColour(13));  // clHighlight
    led.SetActive(true);
    EXPECT_EQ(led.LensColour(), QColor(1, 2, 3));
}

TEST(LedBar, AnyLevelAboveASegmentsLowerEdgeLightsIt) {
    TLedBar bar;  // 0 to 100 in 10 segments
    EXPECT_EQ(bar.LitSegments(), 0);
    bar.SetPosition(1);
    EXPECT_EQ(bar.LitSegments(), 1) << "a single sync error shows";
    bar.SetPosition(10);
    EXPECT_EQ(bar.LitSegments(), 1);
    bar.SetPosition(10.5);
    EXPECT_EQ(bar.LitSegments(), 2);
    bar.SetPosition(100);
    EXPECT_EQ(bar.LitSegments(), 10);
    bar.SetPosition(5000);
    EXPECT_EQ(bar.Position(), 100.0);
    EXPECT_EQ(bar.LitSegments(), 10);
    bar.SetPosition(-3);
    EXPECT_EQ(bar.LitSegments(), 0);
}

TEST(LedBar, RangeAndSegmentCountScaleTheLevel) {
    TLedBar bar;
    bar.SetMaximum(20);
    bar.SetSegments(4);
    bar.SetPosition(15);
    EXPECT_EQ(bar.LitSegments(), 3);
    bar.SetMinimum(10);
    EXPECT_EQ(bar.LitSegments(), 2);
    bar.SetMaximum(10);  // an empty range lights nothing
    EXPECT_EQ(bar.LitSegments(), 0);
}

TEST(LedBar, SegmentsTakeTheColourOfTheirZone) {
    TLedBar bar;  // amber above 60 %, red above 85 %
    EXPECT_EQ(bar.SegmentColour(0), QColor(0, 230, 60));
    EXPECT_EQ(bar.SegmentColour(5), QColor(0, 230, 60));
    EXPECT_EQ(bar.SegmentColour(6), QColor(255, 200, 0));
    EXPECT_EQ(bar.SegmentColour(8), QColor(255, 30, 20));
    bar.SetHighThreshold(100);
    EXPECT_EQ(bar.SegmentColour(9), QColor(255, 200, 0));
}

}  // namespace
}  // namespace vekaton
