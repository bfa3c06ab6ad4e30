#include "dashboard/PropertyBag.h"

#include <gtest/gtest.h>

namespace vekaton {
namespace {

TEST(PropertyValue, AccessorsAnswerOnlyForTheirOwnType) {
    EXPECT_EQ(PropertyValue::Integer(-7).AsInteger(), -7);
    EXPECT_EQ(PropertyValue::Float(2.5).AsFloat(), 2.5);
    EXPECT_EQ(PropertyValue::Integer(3).AsFloat(), 3.0);
    EXPECT_TRUE(PropertyValue::Boolean(true).AsBoolean());
    EXPECT_EQ(PropertyValue::String("rpm").AsText(), "rpm");
    EXPECT_EQ(PropertyValue::Identifier("bvRaised").AsText(), "bvRaised");
    EXPECT_EQ(PropertyValue::Colour(65535).AsColour(), 65535);

    EXPECT_EQ(PropertyValue::String("12").AsInteger(), 0);
    EXPECT_FALSE(PropertyValue::Integer(1).AsBoolean());
    EXPECT_EQ(PropertyValue::Float(1.5).AsText(), "");
    EXPECT_EQ(PropertyValue::Integer(255).AsColour(), 0);
}

TEST(PropertyValue, TypesTellEqualLookingValuesApart) {
    EXPECT_NE(PropertyValue::Integer(255), PropertyValue::Colour(255));
    EXPECT_NE(PropertyValue::String("x"), PropertyValue::Identifier("x"));
    EXPECT_NE(PropertyValue::Integer(1), PropertyValue::Float(1.0));
    EXPECT_EQ(PropertyValue(), PropertyValue::Integer(0));
}

TEST(PropertyValue, SetsAreSortedAndUnique) {
    const auto a = PropertyValue::Set({"fsItalic", "fsBold", "fsItalic"});
    const auto b = PropertyValue::Set({"fsBold", "fsItalic"});
    EXPECT_EQ(a, b);
    EXPECT_EQ(a.AsSet().size(), 2u);
    EXPECT_TRUE(a.HasMember("fsBold"));
    EXPECT_FALSE(a.HasMember("fsUnderline"));
}

TEST(PropertyValue, ConvertsAsAStreamReaderMust) {
    // An integer written for a float property, and a whole float for an integer one.
    EXPECT_EQ(PropertyValue::Integer(8000).ConvertedTo(PropertyType::Float),
              PropertyValue::Float(8000.0));
    EXPECT_EQ(PropertyValue::Float(12.0).ConvertedTo(PropertyType::Integer),
              PropertyValue::Integer(12));
    EXPECT_FALSE(PropertyValue::Float(12.5).ConvertedTo(PropertyType::Integer));
    EXPECT_FALSE(PropertyValue::Float(1e300).ConvertedTo(PropertyType::Integer));

    // Colours as identifiers, signed and unsigned integers.
    EXPECT_EQ(PropertyValue::Identifier("clYellow").ConvertedTo(PropertyType::Colour),
              PropertyValue::Colour(65535));
    EXPECT_EQ(PropertyValue::Identifier("CLBTNFACE").ConvertedTo(PropertyType::Colour),
              PropertyValue::Colour(kColourBtnFace));
    EXPECT_EQ(PropertyValue::Integer(0x8000000F).ConvertedTo(PropertyType::Colour),
              PropertyValue::Colour(kColourBtnFace));
    EXPECT_EQ(PropertyValue::Integer(-2147483633).ConvertedTo(PropertyType::Colour),
              PropertyValue::Colour(kColourBtnFace));
    EXPECT_FALSE(PropertyValue::Integer(0x100000000LL).ConvertedTo(PropertyType::Colour));
    EXPECT_FALSE(PropertyValue::Identifier("clNoSuchColour").ConvertedTo(PropertyType::Colour));

    EXPECT_EQ(PropertyValue::Identifier("True").ConvertedTo(PropertyType::Boolean),
              PropertyValue::Boolean(true));
    EXPECT_EQ(PropertyValue::String("taCenter").ConvertedTo(PropertyType::Identifier),
              PropertyValue::Identifier("taCenter"));
    EXPECT_EQ(PropertyValue::Identifier("Boost").ConvertedTo(PropertyType::String),
              PropertyValue::String("Boost"));
    EXPECT_FALSE(PropertyValue::String("3").ConvertedTo(PropertyType::Integer));
    EXPECT_FALSE(PropertyValue::Integer(1).ConvertedTo(PropertyType::Boolean));
    EXPECT_FALSE(PropertyValue::Identifier("fsBold").ConvertedTo(PropertyType::Set));
}

TEST(ColourNames, NameTheFixedAndSystemColours) {
    EXPECT_EQ(ColourFromIdentifier("clRed"), 255);
    EXPECT_EQ(ColourFromIdentifier("clYellow"), 65535);
    EXPECT_EQ(ColourFromIdentifier("clBlack"), 0);
    EXPECT_EQ(ColourFromIdentifier("clBlue"), 0xFF0000);
    EXPECT_EQ(ColourFromIdentifier("clWindowText"), kColourWindowText);
    EXPECT_EQ(ColourIdentifier(65535), "clYellow");
    EXPECT_EQ(ColourIdentifier(kColourBtnFace), "clBtnFace");
    EXPECT_FALSE(ColourIdentifier(RgbColour(1, 2, 3)));
    EXPECT_TRUE(IsSystemColour(kColourBtnFace));
    EXPECT_FALSE(IsSystemColour(0xFFFFFF));
    EXPECT_FALSE(IsSystemColour(kColourNone));
    EXPECT_EQ(RgbColour(255, 255, 0), 65535);
}

TEST(PropertyBag, KeepsFirstSetOrderAndReplacesInPlace) {
    PropertyBag bag;
    bag.Set("Maximum", PropertyValue::Float(8000));
    bag.Set("Caption", PropertyValue::String("RPM"));
    bag.Set("Maximum", PropertyValue::Float(7000));
    ASSERT_EQ(bag.Size(), 2u);
    EXPECT_EQ(bag.begin()->name, "Maximum");
    EXPECT_EQ(bag.Find("Maximum")->AsFloat(), 7000.0);
    EXPECT_EQ(bag.Find("Nothing"), nullptr);
    EXPECT_TRUE(bag.Remove("Maximum"));
    EXPECT_FALSE(bag.Remove("Maximum"));
    EXPECT_EQ(bag.Size(), 1u);
}

std::vector<PropertyDescriptor> GaugeLike() {
    return {{"Minimum", PropertyValue::Float(0.0)},
            {"Maximum", PropertyValue::Float(100.0)},
            {"Color", PropertyValue::Colour(kColourBtnFace)},
            {"Caption", PropertyValue::String("")}};
}

TEST(PropertyBag, ChangedPropertiesAreWhatDiffersInDescriptorOrder) {
    const auto descriptors = GaugeLike();
    PropertyBag values;
    values.Set("Caption", PropertyValue::String("Boost"));
    values.Set("Color", PropertyValue::Identifier("clBtnFace"));  // the default, spelt by name
    values.Set("Maximum", PropertyValue::Integer(8000));          // converted to float
    values.Set("Minimum", PropertyValue::Float(0.0));
    values.Set("Unknown", PropertyValue::Integer(1));
    values.Set("Caption2", PropertyValue::String("x"));

    const PropertyBag changed = ChangedProperties(values, descriptors);
    ASSERT_EQ(changed.Size(), 2u);
    EXPECT_EQ(changed.begin()->name, "Maximum");
    EXPECT_EQ(*changed.Find("Maximum"), PropertyValue::Float(8000.0));
    EXPECT_EQ(*changed.Find("Caption"), PropertyValue::String("Boost"));

    EXPECT_TRUE(ChangedProperties(DefaultProperties(descriptors), descriptors).Empty());
    EXPECT_EQ(FindDescriptor(descriptors, "Color")->Type(), PropertyType::Colour);
    EXPECT_EQ(FindDescriptor(descriptors, "color"), nullptr);
}

}  // namespace
}  // namespace vekaton
