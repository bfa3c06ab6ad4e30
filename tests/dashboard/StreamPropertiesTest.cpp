#include "dashboard/StreamProperties.h"

#include <gtest/gtest.h>

#include <vector>

#include "dashboard/ComponentStream.h"
#include "support/ByteText.h"

namespace vekaton {
namespace {

using testing::Bytes;

std::vector<PropertyDescriptor> GaugeDescriptors() {
    return {
        {"Left", PropertyValue::Integer(0)},
        {"Caption", PropertyValue::String("")},
        {"Color", PropertyValue::Colour(kColourBtnFace)},
        {"Position", PropertyValue::Float(0.0)},
        {"Visible", PropertyValue::Boolean(true)},
        {"Style", PropertyValue::Identifier("bsRaised")},
        {"Options", PropertyValue::Set({})},
    };
}

TEST(StreamProperties, ValuesArriveInWhateverFormTheWriterChose) {
    const auto asType = [](const StreamValue& value, PropertyType type) {
        return FromStreamValue(value, type);
    };
    // A float property may be stored as an integer, a single, a double or a currency.
    EXPECT_EQ(asType(StreamValue::Integer(7), PropertyType::Float), PropertyValue::Float(7.0));
    EXPECT_EQ(asType(StreamValue::Single(1.5f), PropertyType::Float), PropertyValue::Float(1.5));
    EXPECT_EQ(asType(StreamValue::Double(0.1), PropertyType::Float), PropertyValue::Float(0.1));
    EXPECT_EQ(asType(StreamValue::Currency(25000), PropertyType::Float), PropertyValue::Float(2.5));
    EXPECT_EQ(asType(StreamValue::Float(-2.5), PropertyType::Float), PropertyValue::Float(-2.5));
    // An integer property stored as a whole extended float.
    EXPECT_EQ(asType(StreamValue::Float(12.0), PropertyType::Integer), PropertyValue::Integer(12));
    EXPECT_FALSE(asType(StreamValue::Float(12.5), PropertyType::Integer));
    // Colours by name or number, names in any case.
    EXPECT_EQ(asType(*StreamValue::Identifier("clRed"), PropertyType::Colour),
              PropertyValue::Colour(0x0000FF));
    EXPECT_EQ(asType(*StreamValue::Identifier("CLBTNFACE"), PropertyType::Colour),
              PropertyValue::Colour(kColourBtnFace));
    EXPECT_EQ(asType(StreamValue::Integer(65535), PropertyType::Colour),
              PropertyValue::Colour(65535));
    EXPECT_EQ(asType(StreamValue::Integer(-2147483633LL), PropertyType::Colour),
              PropertyValue::Colour(kColourBtnFace));
    EXPECT_FALSE(asType(*StreamValue::Identifier("clNoSuchColour"), PropertyType::Colour));
    // Text in any of the four text types.
    EXPECT_EQ(asType(StreamValue::Text("Caf\u00E9"), PropertyType::String),
              PropertyValue::String("Caf\u00E9"));
    EXPECT_EQ(asType(StreamValue::WideText("\u03A9"), PropertyType::String),
              PropertyValue::String("\u03A9"));
    EXPECT_EQ(asType(StreamValue::Utf8Text("\u03A9"), PropertyType::String),
              PropertyValue::String("\u03A9"));
    EXPECT_EQ(asType(*StreamValue::FromContent(StreamType::LString, "\x80"), PropertyType::String),
              PropertyValue::String("\u20AC"));
    // Booleans, identifiers, sets.
    EXPECT_EQ(asType(StreamValue::Boolean(false), PropertyType::Boolean),
              PropertyValue::Boolean(false));
    EXPECT_EQ(asType(*StreamValue::Identifier("True"), PropertyType::Boolean),
              PropertyValue::Boolean(true));
    EXPECT_EQ(asType(*StreamValue::Set({"b", "a"}), PropertyType::Set),
              PropertyValue::Set({"a", "b"}));
    // What no item property takes.
    EXPECT_FALSE(FromStreamValue(StreamValue::Nil()));
    EXPECT_FALSE(FromStreamValue(StreamValue::Binary("x")));
    EXPECT_FALSE(FromStreamValue(StreamValue::Collection({})));
    EXPECT_FALSE(asType(StreamValue::Text("x"), PropertyType::Integer));
}

TEST(StreamProperties, WritesEachKindInItsStreamType) {
    EXPECT_EQ(ToStreamValue(PropertyValue::Integer(300))->Type(), StreamType::Int16);
    EXPECT_EQ(ToStreamValue(PropertyValue::Float(1.0)), StreamValue::Float(1.0));
    EXPECT_EQ(ToStreamValue(PropertyValue::Boolean(true))->Type(), StreamType::True);
    EXPECT_EQ(ToStreamValue(PropertyValue::String("Caf\u00E9"))->Content(), "Caf\xE9");
    EXPECT_EQ(ToStreamValue(PropertyValue::String("\u03A9"))->Type(), StreamType::WString);
    EXPECT_EQ(ToStreamValue(PropertyValue::Identifier("taCenter")),
              StreamValue::Identifier("taCenter"));
    // Colours with a name are written by name, others as numbers.
    EXPECT_EQ(ToStreamValue(PropertyValue::Colour(65535)), StreamValue::Identifier("clYellow"));
    EXPECT_EQ(ToStreamValue(PropertyValue::Colour(kColourBtnFace)),
              StreamValue::Identifier("clBtnFace"));
    EXPECT_EQ(ToStreamValue(PropertyValue::Colour(0x123456)), StreamValue::Integer(0x123456));
    EXPECT_EQ(ToStreamValue(PropertyValue::Set({"akTop", "akLeft"}))->Members(),
              (std::vector<std::string>{"akLeft", "akTop"}));
}

TEST(StreamProperties, LoadSplitsKnownRefusedAndUnknown) {
    const std::vector<StreamProperty> stored{
        {"Left", StreamValue::Integer(40)},
        {"Glow", StreamValue::Float(0.5)},  // another version's property
        {"Color", *StreamValue::Identifier("clRed")},
        {"Caption", StreamValue::Binary("??")},  // cannot be a caption
        {"Position", StreamValue::Integer(3)},
    };
    const auto descriptors = GaugeDescriptors();
    const LoadedProperties loaded = LoadProperties(stored, descriptors);
    EXPECT_EQ(*loaded.values.Find("Left"), PropertyValue::Integer(40));
    EXPECT_EQ(*loaded.values.Find("Color"), PropertyValue::Colour(0xFF));
    EXPECT_EQ(*loaded.values.Find("Position"), PropertyValue::Float(3.0));
    EXPECT_FALSE(loaded.values.Contains("Caption"));
    EXPECT_EQ(loaded.refused, std::vector<std::string>{"Caption"});
    EXPECT_EQ(loaded.unknown, std::vector<std::string>{"Glow"});
}

TEST(StreamProperties, UnknownPropertiesSurviveALoadAndSaveByteForByte) {
    // A record from another version: properties this program does not know, between and after
    // known ones, colours by name and an integer stored as Int32 although it fits a byte.
    // clang-format off
    const std::string record = Bytes({
        "TPF0", 13, "TAngularGauge", 17, "USERANGULARGAUGE1",
        4, "Left", 4, 40, 0, 0, 0,
        9, "GlowStyle", 7, 6, "gsSoft",
        5, "Color", 7, 5, "clRed",
        10, "Gradient.A", 14, 1, 3, "Pos", 2, 1, 0, 1, 3, "Pos", 2, 2, 0, 0,
        8, "Position", 5, 0, 0, 0, 0, 0, 0, 0, 0xA0, 0x00, 0xC0,
        6, "Sprite", 10, 4, 0, 0, 0, 0xDE, 0xAD, 0xBE, 0xEF,
        0, 0,
    });
    // clang-format on
    const ComponentRecordRead read = ReadComponentRecord(record);
    ASSERT_TRUE(read.component);
    const auto descriptors = GaugeDescriptors();
    const LoadedProperties loaded = LoadProperties(read.component->properties, descriptors);

    // Unchanged: the same record comes out, byte for byte.
    StreamComponent saved = *read.component;
    saved.properties = PropertiesToWrite(loaded.values, descriptors, read.component->properties);
    std::string written;
    ASSERT_FALSE(WriteComponentRecord(saved, written));
    EXPECT_EQ(written, record);

    // The user moves the gauge and sets its caption: the unknown properties keep their bytes
    // and their places, the changed one takes its new value in its place, the new one follows.
    PropertyBag edited = loaded.values;
    edited.Set("Left", PropertyValue::Integer(50));
    edited.Set("Caption", PropertyValue::String("RPM"));
    saved.properties = PropertiesToWrite(edited, descriptors, read.component->properties);
    ASSERT_EQ(saved.properties.size(), 7u);
    EXPECT_EQ(saved.properties[0].name, "Left");
    EXPECT_EQ(saved.properties[0].value, StreamValue::Integer(50));
    EXPECT_EQ(saved.properties[1], read.component->properties[1]);
    EXPECT_EQ(saved.properties[2], read.component->properties[2]);
    EXPECT_EQ(saved.properties[3], read.component->properties[3]);
    EXPECT_EQ(saved.properties[4], read.component->properties[4]);
    EXPECT_EQ(saved.properties[5], read.component->properties[5]);
    EXPECT_EQ(saved.properties[6].name, "Caption");
    EXPECT_EQ(saved.properties[6].value.Utf8(), "RPM");

    // Set back to its default, a known property is no longer written; unknown ones stay.
    edited.Set("Color", PropertyValue::Colour(kColourBtnFace));
    saved.properties = PropertiesToWrite(edited, descriptors, read.component->properties);
    EXPECT_EQ(saved.properties.size(), 6u);
    EXPECT_EQ(read.component->Find("Color") != nullptr, true);
    for (const StreamProperty& property : saved.properties) {
        EXPECT_NE(property.name, "Color");
    }
}

TEST(StreamProperties, AStoredValueTheWidgetCannotTakeIsKeptUntilTheUserSetsIt) {
    const std::vector<StreamProperty> stored{{"Caption", StreamValue::Binary("\x01\x02")}};
    const auto descriptors = GaugeDescriptors();
    const LoadedProperties loaded = LoadProperties(stored, descriptors);
    EXPECT_EQ(PropertiesToWrite(loaded.values, descriptors, stored), stored);
    PropertyBag edited = loaded.values;
    edited.Set("Caption", PropertyValue::String("Oil"));
    const auto written = PropertiesToWrite(edited, descriptors, stored);
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written[0].value, StreamValue::Text("Oil"));
}

TEST(StreamProperties, NewItemsWriteWhatDiffersFromTheDefaultsInDescriptorOrder) {
    const auto descriptors = GaugeDescriptors();
    PropertyBag values = DefaultProperties(descriptors);
    values.Set("Style", PropertyValue::Identifier("bsLowered"));
    values.Set("Left", PropertyValue::Integer(-5));
    values.Set("Position", PropertyValue::Integer(2));  // converted to the float type
    const auto written = PropertiesToWrite(values, descriptors);
    ASSERT_EQ(written.size(), 3u);
    EXPECT_EQ(written[0].name, "Left");
    EXPECT_EQ(written[0].value, StreamValue::Integer(-5));
    EXPECT_EQ(written[1].name, "Position");
    EXPECT_EQ(written[1].value, StreamValue::Float(2.0));
    EXPECT_EQ(written[2].name, "Style");
    EXPECT_EQ(written[2].value.Utf8(), "bsLowered");
}

}  // namespace
}  // namespace vekaton
