// Warnings as a driver meets them: a value must stay beyond its limit for the debounce time
// before it warns, must come back by the hysteresis margin before it clears, an alarm sounds
// until acknowledged and sounds again only after the value came back and passed again.
#include <gtest/gtest.h>

#include <cmath>

#include "decode/Decoder.h"
#include "decode/FormulaFrontEnd.h"
#include "decode/ParameterTable.h"
#include "decode/PositionDetails.h"
#include "warnings/WarningMonitor.h"

namespace vekaton {
namespace {

// Coolant at position 1 (display 0 to 200, warns above 100, margin 4), battery at 2 (warns
// below 11), a "Check engine" flag at 3.0 that is an alarm.
WarningWatch Coolant(bool alarm = true) {
    WarningWatch watch;
    watch.ref = {1, -1};
    watch.name = "Coolant";
    watch.high = 100.0;
    watch.margin = 4.0;
    watch.alarm = alarm;
    return watch;
}

WarningWatch Battery() {
    WarningWatch watch;
    watch.ref = {2, -1};
    watch.name = "Battery";
    watch.low = 11.0;
    watch.high = 15.5;
    watch.margin = 0.2;
    return watch;
}

WarningWatch Flag(bool activeWhenClear) {
    WarningWatch watch;
    watch.ref = {3, 0};
    watch.name = "Check engine";
    watch.activeWhenClear = activeWhenClear;
    watch.alarm = true;
    return watch;
}

TEST(WarningMonitor, AValueMustStayBeyondItsLimitForTheDebounceTime) {
    WarningMonitor monitor;  // 0.5 s by default
    monitor.SetWatches({Coolant()});
    EXPECT_FALSE(monitor.Observe(0, 101, 10.0));
    EXPECT_FALSE(monitor.Observe(0, 104, 10.2));
    EXPECT_FALSE(monitor.Observe(0, 103, 10.45));
    EXPECT_EQ(monitor.ActiveCount(), 0u);
    EXPECT_EQ(monitor.LevelOf(1), WarningLevel::None);
    EXPECT_TRUE(monitor.Observe(0, 102, 10.5));
    EXPECT_EQ(monitor.ActiveCount(), 1u);
    const auto active = monitor.ActiveWarnings();
    ASSERT_EQ(active.size(), 1u);
    EXPECT_EQ(active[0].name, "Coolant");
    EXPECT_EQ(active[0].side, WarningSide::High);
    EXPECT_DOUBLE_EQ(active[0].limit, 100.0);
    EXPECT_DOUBLE_EQ(active[0].since, 10.0);  // when it passed the limit, not when it warned
    EXPECT_DOUBLE_EQ(active[0].extreme, 104.0);
    EXPECT_DOUBLE_EQ(active[0].value, 102.0);

    // A short excursion, back before the time is up, never warns.
    WarningMonitor glitch;
    glitch.SetWatches({Coolant()});
    glitch.Observe(0, 130, 0.0);
    glitch.Observe(0, 130, 0.4);
    glitch.Observe(0, 99, 0.45);
    EXPECT_FALSE(glitch.Observe(0, 130, 0.6));
    EXPECT_FALSE(glitch.Observe(0, 130, 1.0));  // the time counts from 0.6 again
    EXPECT_TRUE(glitch.Observe(0, 130, 1.1));
}

TEST(WarningMonitor, DebounceIsConfigurableAndZeroWarnsAtOnce) {
    WarningMonitor monitor(WarningSettings{2.0, 0.02});
    monitor.SetWatches({Coolant()});
    monitor.Observe(0, 120, 0.0);
    EXPECT_FALSE(monitor.Observe(0, 120, 1.9));
    EXPECT_TRUE(monitor.Observe(0, 120, 2.0));

    monitor.SetDebounceSeconds(0.0);
    monitor.Reset();
    EXPECT_TRUE(monitor.Observe(0, 100.5, 5.0));
    // A clock that steps back does not make the time negative, and a NaN changes nothing.
    EXPECT_FALSE(monitor.Observe(0, std::nan(""), 6.0));
    EXPECT_EQ(monitor.ActiveCount(), 1u);
}

TEST(WarningMonitor, AWarningClearsOnlyBackInsideByTheHysteresisMargin) {
    WarningMonitor monitor(WarningSettings{0.0, 0.02});
    monitor.SetWatches({Coolant(false)});
    ASSERT_TRUE(monitor.Observe(0, 110, 0.0));
    EXPECT_FALSE(monitor.Observe(0, 99, 0.1));  // inside, but not by 4
    EXPECT_FALSE(monitor.Observe(0, 96.5, 0.2));
    EXPECT_EQ(monitor.LevelOf(1), WarningLevel::Warning);
    EXPECT_TRUE(monitor.Observe(0, 96, 0.3));
    EXPECT_EQ(monitor.ActiveCount(), 0u);
    EXPECT_EQ(monitor.LevelOf(1), WarningLevel::None);

    // The low side of a value with both limits, and a jump from one side to the other.
    monitor.SetWatches({Battery()});
    ASSERT_TRUE(monitor.Observe(0, 10.5, 0.0));
    EXPECT_EQ(monitor.ActiveWarnings()[0].side, WarningSide::Low);
    EXPECT_FALSE(monitor.Observe(0, 9.8, 0.1));
    EXPECT_DOUBLE_EQ(monitor.ActiveWarnings()[0].extreme, 9.8);
    EXPECT_FALSE(monitor.Observe(0, 11.1, 0.2));
    EXPECT_TRUE(monitor.Observe(0, 16.0, 0.3));
    ASSERT_EQ(monitor.ActiveWarnings().size(), 1u);
    EXPECT_EQ(monitor.ActiveWarnings()[0].side, WarningSide::High);
    EXPECT_DOUBLE_EQ(monitor.ActiveWarnings()[0].since, 0.3);
}

TEST(WarningMonitor, AcknowledgeSilencesTheAlarmUntilTheValueComesBack) {
    WarningMonitor monitor(WarningSettings{0.5, 0.02});
    monitor.SetWatches({Coolant(true), Battery()});
    monitor.Observe(0, 120, 0.0);
    monitor.Observe(0, 120, 0.5);
    monitor.Observe(1, 9.0, 0.0);
    monitor.Observe(1, 9.0, 0.5);
    EXPECT_EQ(monitor.ActiveCount(), 2u);
    EXPECT_TRUE(monitor.AlarmSounding());
    EXPECT_EQ(monitor.LevelOf(1), WarningLevel::Sounding);
    EXPECT_EQ(monitor.LevelOf(2), WarningLevel::Warning);  // not an alarm: shows, never sounds

    const auto before = monitor.Revision();
    EXPECT_TRUE(monitor.Acknowledge());
    EXPECT_GT(monitor.Revision(), before);
    EXPECT_FALSE(monitor.AlarmSounding());
    EXPECT_EQ(monitor.ActiveCount(), 2u);  // still a warning, only quiet
    EXPECT_EQ(monitor.LevelOf(1), WarningLevel::Warning);
    EXPECT_TRUE(monitor.ActiveWarnings()[0].acknowledged);
    EXPECT_FALSE(monitor.Acknowledge());  // nothing left to silence

    // Still hot: stays silent.
    monitor.Observe(0, 125, 3.0);
    EXPECT_FALSE(monitor.AlarmSounding());
    // Back within, then over again: sounds again once the debounce time has passed.
    monitor.Observe(0, 90, 4.0);
    monitor.Observe(0, 120, 5.0);
    EXPECT_FALSE(monitor.AlarmSounding());
    monitor.Observe(0, 120, 5.5);
    EXPECT_TRUE(monitor.AlarmSounding());
}

TEST(WarningMonitor, FlagBitsAreAlarmsWhenOnOrWhenOffForActiveLowBits) {
    WarningMonitor monitor(WarningSettings{0.0, 0.02});
    monitor.SetWatches({Flag(false)});
    EXPECT_FALSE(monitor.Observe(0, 0.0, 0.0));
    EXPECT_TRUE(monitor.Observe(0, 1.0, 0.1));
    EXPECT_EQ(monitor.LevelOf(3, 0), WarningLevel::Sounding);
    EXPECT_EQ(monitor.LevelOf(3, 1), WarningLevel::None);
    EXPECT_EQ(monitor.LevelOf(3), WarningLevel::None);
    EXPECT_EQ(monitor.ActiveWarnings()[0].side, WarningSide::Flag);
    EXPECT_TRUE(monitor.Observe(0, 0.0, 0.2));

    monitor.SetWatches({Flag(true)});
    EXPECT_TRUE(monitor.Observe(0, 0.0, 0.0));
    EXPECT_TRUE(monitor.AlarmSounding());
    EXPECT_TRUE(monitor.Observe(0, 1.0, 0.1));
    EXPECT_FALSE(monitor.AlarmSounding());
}

TEST(WarningMonitor, WatchesComeFromTheDetailsOfValuesTheFrameHolds) {
    ParameterTable table;
    table.At(1).Descriptions[0] = "Coolant";
    table.At(4).Descriptions[0] = "RPM";
    table.At(4).ByteCount = 2;
    table.At(5).Descriptions[0] = "RPM low byte";
    table.At(6).Descriptions[0] = "No limits";
    table.At(7).IsDigital = true;
    table.At(7).Descriptions[2] = "Check engine";
    table.At(7).Descriptions[3] = "Fan";
    table.At(9).Descriptions[0] = "Outside the frame";

    DetailsTable details;
    details.At(1).warnHigh = 105;
    details.At(1).displayMin = -40;
    details.At(1).displayMax = 160;
    details.At(1).alarm = true;
    details.At(4).warnHigh = 6000;
    details.At(4).warnLow = 500;
    details.At(5).warnHigh = 10;  // a later byte of RPM: no value of its own
    details.At(6).unit = "%";
    details.AtBit(7, 2).alarm = true;
    details.AtBit(7, 2).activeWhenClear = true;
    details.AtBit(7, 3).activeWhenClear = true;  // not an alarm: not watched
    details.At(8).warnHigh = 1;                  // no description
    details.At(9).warnHigh = 1;

    const auto watches = WarningWatches(table, details, 8, WarningSettings{0.5, 0.02});
    ASSERT_EQ(watches.size(), 3u);
    EXPECT_EQ(watches[0].ref, (ValueRef{1, -1}));
    EXPECT_EQ(watches[0].name, "Coolant");
    EXPECT_DOUBLE_EQ(*watches[0].high, 105);
    EXPECT_FALSE(watches[0].low);
    EXPECT_DOUBLE_EQ(watches[0].margin, 4.0);  // 2% of the 200 the display spans
    EXPECT_TRUE(watches[0].alarm);
    EXPECT_EQ(watches[1].ref, (ValueRef{4, -1}));
    EXPECT_DOUBLE_EQ(watches[1].margin, 110.0);  // no display range: 2% of 500 to 6000
    EXPECT_FALSE(watches[1].alarm);
    EXPECT_EQ(watches[2].ref, (ValueRef{7, 2}));
    EXPECT_EQ(watches[2].name, "Check engine");
    EXPECT_TRUE(watches[2].activeWhenClear);

    EXPECT_DOUBLE_EQ(HysteresisMargin(std::nullopt, std::nullopt, std::nullopt, 250.0, 0.02), 5.0);
    EXPECT_DOUBLE_EQ(HysteresisMargin(0.0, 0.0, std::nullopt, std::nullopt, 0.02), 0.0);
}

TEST(WarningMonitor, UpdateReadsTheDecodedFrameWhereTheValueIsShown) {
    ParameterTable table;
    table.At(1).Descriptions[0] = "Coolant";
    table.At(1).SetFormula("A-40");
    table.At(2).Descriptions[0] = "RPM";
    table.At(2).ByteCount = 2;
    table.At(2).SetFormula("A*256+B");
    table.At(4).IsDigital = true;
    table.At(4).Descriptions[1] = "Check engine";
    DetailsTable details;
    details.At(1).warnHigh = 100;
    details.At(2).warnHigh = 6000;
    details.AtBit(4, 1).alarm = true;

    FormulaFrontEnd formulas;
    Decoder decoder(table, formulas);
    WarningMonitor monitor(WarningSettings{0.0, 0.02});
    monitor.SetWatches(WarningWatches(table, details, 4));
    ASSERT_EQ(monitor.Watches().size(), 3u);

    const auto frame = [&](std::uint8_t coolant, int rpm, std::uint8_t flags) {
        decoder.StartFrame();
        decoder.DecodeByte(1, coolant);
        decoder.DecodeByte(2, static_cast<std::uint8_t>(rpm >> 8));
        decoder.DecodeByte(3, static_cast<std::uint8_t>(rpm & 0xFF));
        decoder.DecodeByte(4, flags);
    };
    frame(130, 3000, 0);  // 90 degrees
    EXPECT_FALSE(monitor.Update(decoder, 0.0));
    frame(141, 6100, 2);  // 101 degrees, 6100 rpm, the flag on
    EXPECT_TRUE(monitor.Update(decoder, 0.1));
    EXPECT_EQ(monitor.ActiveCount(), 3u);
    // An instrument bound to RPM is bound to its first byte.
    EXPECT_EQ(monitor.LevelOf(2), WarningLevel::Warning);
    EXPECT_EQ(monitor.LevelOf(1), WarningLevel::Warning);
    EXPECT_EQ(monitor.LevelOf(4, 1), WarningLevel::Sounding);
    EXPECT_DOUBLE_EQ(monitor.ActiveWarnings()[1].value, 6100);

    // Raw bytes are not in the limits' units: nothing changes while raw mode is on.
    decoder.SetRawMode(true);
    frame(100, 1000, 0);
    EXPECT_FALSE(monitor.Update(decoder, 0.2));
    EXPECT_EQ(monitor.ActiveCount(), 3u);
}

}  // namespace
}  // namespace vekaton
