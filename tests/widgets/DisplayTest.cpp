#include "widgets/TAnalogDisplay.h"
#include "widgets/TSevenSegmentAnalog.h"
#include "widgets/TSevenSegmentInteger.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vekaton {
namespace {

// The cells of a display written as text: digits and '-' as they read, ' ' for blank, a '.'
// after a cell whose point is lit, '?' for any other pattern.
std::string Read(const std::vector<SegmentCell>& cells) {
    std::string text;
    for (const SegmentCell& cell : cells) {
        char c = '?';
        for (const char candidate : std::string("0123456789- ")) {
            if (SegmentsOf(QLatin1Char(candidate)) == cell.segments) {
                c = candidate;
                break;
            }
        }
        text += c;
        if (cell.point) {
            text += '.';
        }
    }
    return text;
}

TEST(SevenSegment, CharactersLightTheirSegments) {
    EXPECT_EQ(SegmentsOf(QLatin1Char('8')), 0x7F);
    EXPECT_EQ(SegmentsOf(QLatin1Char('1')), 0x06);
    EXPECT_EQ(SegmentsOf(QLatin1Char('-')), 0x40);
    EXPECT_EQ(SegmentsOf(QLatin1Char('x')), 0);
    const auto cells = SegmentCells("1.2..3");
    ASSERT_EQ(cells.size(), 4u);
    EXPECT_TRUE(cells[0].point);
    EXPECT_TRUE(cells[1].point);
    EXPECT_EQ(cells[2].segments, 0);  // a second point gets a blank cell of its own
    EXPECT_TRUE(cells[2].point);
}

TEST(SevenSegmentAnalog, ShowsTheValueRightAlignedWithItsDecimals) {
    TSevenSegmentAnalog display;
    EXPECT_EQ(Read(display.ShownCells()), "  0.0");
    display.SetDecimals(2);
    display.SetValue(13.87);
    EXPECT_EQ(Read(display.ShownCells()), "13.87");
    display.SetValue(-2.5);
    EXPECT_EQ(Read(display.ShownCells()), "-2.50");
    display.SetLeadingZeros(true);
    display.SetValue(3.14159);
    EXPECT_EQ(Read(display.ShownCells()), "03.14");
}

TEST(SevenSegmentAnalog, DropsDecimalsBeforeShowingDashes) {
    TSevenSegmentAnalog display;
    display.SetDecimals(2);
    display.SetValue(812.345);
    EXPECT_EQ(Read(display.ShownCells()), "812.3");
    display.SetValue(4660);
    EXPECT_EQ(Read(display.ShownCells()), "4660");
    display.SetValue(12345);
    EXPECT_EQ(Read(display.ShownCells()), "----");
    display.SetValue(-99.99);
    EXPECT_EQ(Read(display.ShownCells()), "-100") << "rounding decides how many cells it needs";
}

TEST(SevenSegmentAnalog, IgnoresValuesThatAreNotNumbers) {
    TSevenSegmentAnalog display;
    display.SetValue(7.5);
    display.SetValue(std::nan(""));
    EXPECT_EQ(display.Value(), 7.5);
    display.SetValue(INFINITY);
    EXPECT_EQ(Read(display.ShownCells()), "----");
}

TEST(NumericDisplays, ShowADashWhileThereIsNoValue) {
    TSevenSegmentAnalog segments;
    segments.SetValue(12.5);
    segments.SetNoValue(true);
    EXPECT_EQ(Read(segments.ShownCells()), "   -");
    segments.SetNoValue(false);
    EXPECT_EQ(Read(segments.ShownCells()), " 12.5");
    TAnalogDisplay display;
    display.SetSuffix(" ms");
    display.SetValue(3.25);
    display.SetNoValue(true);
    EXPECT_EQ(display.DisplayText(), QString::fromUtf8("\u2014 ms"));
    EXPECT_EQ(display.Value(), 3.25);
}

TEST(SevenSegmentInteger, ShowsWholeNumbers) {
    TSevenSegmentInteger display;
    display.SetValue(67);
    EXPECT_EQ(Read(display.ShownCells()), "  67");
    display.SetValue(-144);
    EXPECT_EQ(Read(display.ShownCells()), "-144");
    display.SetLeadingZeros(true);
    display.SetValue(-5);
    EXPECT_EQ(Read(display.ShownCells()), "-005");
    display.SetValue(123456);
    EXPECT_EQ(Read(display.ShownCells()), "----");
    display.SetDigits(6);
    EXPECT_EQ(Read(display.ShownCells()), "123456");
    display.SetValue(INT32_MIN);
    EXPECT_EQ(display.Value(), INT32_MIN);
    EXPECT_EQ(Read(display.ShownCells()), "------");
}

TEST(AnalogDisplay, WritesPrefixValueAndSuffix) {
    TAnalogDisplay display;
    EXPECT_EQ(display.DisplayText(), "0.00");
    display.SetPrefix("AFR ");
    display.SetSuffix(":1");
    display.SetPrecision(1);
    display.SetValue(14.68);
    EXPECT_EQ(display.DisplayText(), "AFR 14.7:1");
    display.SetValue(-0.01);
    EXPECT_EQ(display.DisplayText(), "AFR 0.0:1");
}

TEST(NumericDisplays, TheLastOfManyValuesIsTheOneShown) {
    TAnalogDisplay display;
    display.resize(140, 44);
    for (int i = 0; i <= 1000; ++i) {
        display.SetValue(i * 0.5);
    }
    EXPECT_EQ(display.DisplayText(), "500.00");
}

}  // namespace
}  // namespace vekaton
