// What an instrument takes from a position's details when it is bound, and what it keeps.
#include "definitions/BindingScale.h"

#include <gtest/gtest.h>

#include "dashboard/ItemDefaults.h"

namespace vekaton {
namespace {

InstrumentScale Rpm() {
    InstrumentScale scale;
    scale.unit = "rpm";
    scale.minimum = 0;
    scale.maximum = 8000;
    scale.majorTicks = 8;
    scale.decimals = 0;
    return scale;
}

InstrumentScale Coolant() {
    InstrumentScale scale;
    scale.unit = "\u00b0C";
    scale.minimum = -40;
    scale.maximum = 150;
    scale.majorTicks = 19;
    scale.decimals = 1;
    return scale;
}

double Float(const PropertyBag& bag, std::string_view name) {
    return bag.Find(name)->AsFloat();
}

std::int64_t Integer(const PropertyBag& bag, std::string_view name) {
    return bag.Find(name)->AsInteger();
}

std::string Text(const PropertyBag& bag, std::string_view name) {
    return bag.Find(name)->AsText();
}

TEST(BindingScale, ANewGaugeTakesScaleUnitAndDecimals) {
    const PropertyBag bag = PropertiesOnBinding(
        ItemKind::AngularGauge, NewItemProperties(ItemKind::AngularGauge, ""), std::nullopt, Rpm());
    EXPECT_EQ(Float(bag, "Minimum"), 0.0);
    EXPECT_EQ(Float(bag, "Maximum"), 8000.0);
    EXPECT_EQ(Integer(bag, "MajorTicks"), 8);
    EXPECT_EQ(Text(bag, "Units"), "rpm");
    EXPECT_EQ(Integer(bag, "Decimals"), 0);

    const PropertyBag thermometer =
        PropertiesOnBinding(ItemKind::Thermometer, NewItemProperties(ItemKind::Thermometer, ""),
                            std::nullopt, Coolant());
    EXPECT_EQ(Float(thermometer, "Minimum"), -40.0);
    EXPECT_EQ(Float(thermometer, "Maximum"), 150.0);
    EXPECT_EQ(Text(thermometer, "Units"), "\u00b0C");
}

TEST(BindingScale, RebindingFollowsTheNewPositionButKeepsWhatWasSetByHand) {
    const PropertyBag first = PropertiesOnBinding(
        ItemKind::AngularGauge, NewItemProperties(ItemKind::AngularGauge, ""), std::nullopt, Rpm());
    const PropertyBag moved = PropertiesOnBinding(ItemKind::AngularGauge, first, Rpm(), Coolant());
    EXPECT_EQ(Float(moved, "Minimum"), -40.0);
    EXPECT_EQ(Text(moved, "Units"), "\u00b0C");
    EXPECT_EQ(Integer(moved, "Decimals"), 1);

    PropertyBag byHand = first;
    byHand.Set("Maximum", PropertyValue::Float(7000));
    byHand.Set("Units", PropertyValue::String("RPM x1"));
    byHand.Set("Decimals", PropertyValue::Integer(2));
    const PropertyBag kept = PropertiesOnBinding(ItemKind::AngularGauge, byHand, Rpm(), Coolant());
    EXPECT_EQ(Float(kept, "Minimum"), 0.0);
    EXPECT_EQ(Float(kept, "Maximum"), 7000.0);
    EXPECT_EQ(Text(kept, "Units"), "RPM x1");
    EXPECT_EQ(Integer(kept, "Decimals"), 2);

    // A scale that is no scale is never taken.
    InstrumentScale flat = Rpm();
    flat.maximum = flat.minimum;
    const PropertyBag unchanged = PropertiesOnBinding(
        ItemKind::AngularGauge, NewItemProperties(ItemKind::AngularGauge, ""), std::nullopt, flat);
    EXPECT_EQ(unchanged.Find("Minimum") == nullptr || Float(unchanged, "Maximum") == 100.0, true);
}

TEST(BindingScale, DisplaysTakeTheUnitAsSuffixAndDigitsForTheirRange) {
    const PropertyBag display =
        PropertiesOnBinding(ItemKind::AnalogDisplay, NewItemProperties(ItemKind::AnalogDisplay, ""),
                            std::nullopt, Coolant());
    EXPECT_EQ(Text(display, "Suffix"), " \u00b0C");
    EXPECT_EQ(Integer(display, "Precision"), 1);
    const PropertyBag again =
        PropertiesOnBinding(ItemKind::AnalogDisplay, display, Coolant(), Rpm());
    EXPECT_EQ(Text(again, "Suffix"), " rpm");
    EXPECT_EQ(Integer(again, "Precision"), 0);

    const PropertyBag segments = PropertiesOnBinding(
        ItemKind::SevenSegmentAnalog, NewItemProperties(ItemKind::SevenSegmentAnalog, ""),
        std::nullopt, Coolant());
    EXPECT_EQ(Integer(segments, "Digits"), 5) << "sign, three whole digits and one decimal";
    EXPECT_EQ(Integer(segments, "Decimals"), 1);

    InstrumentScale volts;
    volts.maximum = 25.5;
    volts.decimals = 1;
    EXPECT_EQ(DigitsFor(volts), 4) << "never fewer than the kind's own four";
    InstrumentScale huge;
    huge.maximum = 1e30;
    huge.decimals = 9;
    EXPECT_EQ(DigitsFor(huge), 16);

    // Kinds without a scale are left as they are.
    const PropertyBag led = NewItemProperties(ItemKind::LedRound, "");
    EXPECT_TRUE(PropertiesOnBinding(ItemKind::LedRound, led, std::nullopt, Rpm()) == led);
}

}  // namespace
}  // namespace vekaton
