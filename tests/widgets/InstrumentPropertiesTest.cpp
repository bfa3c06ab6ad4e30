#include "widgets/InstrumentFactory.h"
#include "widgets/TAngularGauge.h"

#include <gtest/gtest.h>

#include <set>

namespace vekaton {
namespace {

// A value of the descriptor's type that differs from its default and that the widget should
// keep as given.
PropertyValue OtherValue(const PropertyDescriptor& d) {
    const PropertyValue& def = d.defaultValue;
    switch (d.Type()) {
        case PropertyType::Integer: {
            const auto value = def.AsInteger() + 1;
            return PropertyValue::Integer(
                static_cast<double>(value) <= d.maximum ? value : def.AsInteger() - 1);
        }
        case PropertyType::Float:
            return PropertyValue::Float(def.AsFloat() + 1.5);
        case PropertyType::Boolean:
            return PropertyValue::Boolean(!def.AsBoolean());
        case PropertyType::String:
            return PropertyValue::String(def.AsText() + "x");
        case PropertyType::Identifier:
            return PropertyValue::Identifier(
                d.choices.at(d.choices.front() == def.AsText() ? 1 : 0));
        case PropertyType::Colour:
            return PropertyValue::Colour(def.AsColour() == 255 ? 65535 : 255);
        case PropertyType::Set:
            return PropertyValue::Set(def.AsSet().empty()
                                          ? std::vector<std::string>{d.choices.at(0)}
                                          : std::vector<std::string>{});
    }
    return def;
}

class EveryKind : public ::testing::TestWithParam<std::string> {};

TEST_P(EveryKind, StartsAtTheDefaultsOfItsTable) {
    const auto widget = CreateInstrument(GetParam());
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->ClassName(), GetParam());
    const auto descriptors = widget->Descriptors();
    EXPECT_EQ(widget->ExportProperties(), DefaultProperties(descriptors));
    EXPECT_TRUE(ChangedProperties(widget->ExportProperties(), descriptors).Empty());

    std::set<std::string> names;
    for (const PropertyDescriptor& d : descriptors) {
        EXPECT_TRUE(names.insert(d.name).second) << "duplicate " << d.name;
        if (d.Type() == PropertyType::Identifier) {
            EXPECT_GE(d.choices.size(), 2u) << d.name;
        }
    }
    const auto listed = InstrumentDescriptors(GetParam());
    ASSERT_EQ(listed.size(), descriptors.size());
    for (size_t i = 0; i < listed.size(); ++i) {
        EXPECT_EQ(listed[i].name, descriptors[i].name);
        EXPECT_EQ(listed[i].defaultValue, descriptors[i].defaultValue);
    }
}

TEST_P(EveryKind, EveryPropertyRoundTripsThroughABag) {
    const auto source = CreateInstrument(GetParam());
    for (const PropertyDescriptor& d : source->Descriptors()) {
        const PropertyValue value = OtherValue(d);
        ASSERT_TRUE(source->SetProperty(d.name, value)) << d.name;
        EXPECT_EQ(source->Property(d.name), value) << d.name;
    }
    const PropertyBag written =
        ChangedProperties(source->ExportProperties(), source->Descriptors());
    EXPECT_EQ(written.Size(), source->Descriptors().size());

    const auto target = CreateInstrument(GetParam());
    EXPECT_TRUE(target->ImportProperties(written).empty());
    EXPECT_EQ(target->ExportProperties(), source->ExportProperties());

    target->ResetToDefaults();
    EXPECT_TRUE(ChangedProperties(target->ExportProperties(), target->Descriptors()).Empty());
}

INSTANTIATE_TEST_SUITE_P(Widgets, EveryKind, ::testing::ValuesIn(InstrumentClassNames()));

TEST(InstrumentFactory, KnowsEveryKindAndNothingElse) {
    const auto names = InstrumentClassNames();
    for (const char* name : {"TAngularGauge", "TThermometer", "TSevenSegmentAnalog",
                             "TSevenSegmentInteger", "TAnalogDisplay", "TLedRound", "TLedRectangle",
                             "TLedBar", "TOdometer", "TSliderSwitch", "TStripChart"}) {
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
    }
    EXPECT_EQ(CreateInstrument("TLabel"), nullptr);
    EXPECT_TRUE(InstrumentDescriptors("TButton").empty());
}

TEST(InstrumentProperties, ImportSetsRangesBeforeTheValuesTheyClamp) {
    // A reader may deliver the position before the range; it must still land.
    PropertyBag bag;
    bag.Set("Position", PropertyValue::Float(5000));
    bag.Set("Maximum", PropertyValue::Integer(8000));
    bag.Set("Minimum", PropertyValue::Float(500));
    TAngularGauge gauge;
    EXPECT_TRUE(gauge.ImportProperties(bag).empty());
    EXPECT_EQ(gauge.Minimum(), 500.0);
    EXPECT_EQ(gauge.Maximum(), 8000.0);
    EXPECT_EQ(gauge.Position(), 5000.0);
}

TEST(InstrumentProperties, ImportSkipsAndReportsWhatItCannotUse) {
    PropertyBag bag;
    bag.Set("Caption", PropertyValue::String("Boost"));
    bag.Set("Color", PropertyValue::Identifier("clYellow"));
    bag.Set("NeedleColor", PropertyValue::Integer(0xFF0000));
    bag.Set("Maximum", PropertyValue::String("lots"));
    bag.Set("OnClick", PropertyValue::Identifier("GaugeClick"));
    bag.Set("Font.Style", PropertyValue::Set({"fsBold", "fsNoSuchStyle"}));
    TAngularGauge gauge;
    const auto skipped = gauge.ImportProperties(bag);
    EXPECT_EQ(skipped, (std::vector<std::string>{"OnClick", "Maximum"}));
    EXPECT_EQ(gauge.Caption(), "Boost");
    EXPECT_EQ(gauge.Color(), 65535);
    EXPECT_EQ(gauge.NeedleColor(), 0xFF0000);
    EXPECT_EQ(gauge.Maximum(), 100.0);
    EXPECT_EQ(gauge.FontStyleFlags(), kFontBold);
    EXPECT_FALSE(gauge.SetProperty("Nothing", PropertyValue::Integer(1)));
    EXPECT_FALSE(gauge.SetProperty("ArcAngle", PropertyValue::String("wide")));
}

TEST(InstrumentProperties, IntegerAndChoicePropertiesStayWithinTheirLimits) {
    TAngularGauge gauge;
    EXPECT_TRUE(gauge.SetProperty("MajorTicks", PropertyValue::Integer(100000)));
    EXPECT_EQ(gauge.MajorTicks(), 50);
    EXPECT_TRUE(gauge.SetProperty("ArcAngle", PropertyValue::Integer(-5)));
    EXPECT_EQ(gauge.ArcAngle(), 90);

    const auto display = CreateInstrument("TAnalogDisplay");
    EXPECT_TRUE(display->SetProperty("Alignment", PropertyValue::Identifier("taCenter")));
    EXPECT_EQ(display->Property("Alignment"), PropertyValue::Identifier("taCenter"));
    // An unknown enumeration value leaves the property as it was.
    EXPECT_TRUE(display->SetProperty("Alignment", PropertyValue::Identifier("taJustify")));
    EXPECT_EQ(display->Property("Alignment"), PropertyValue::Identifier("taCenter"));
}

}  // namespace
}  // namespace vekaton
