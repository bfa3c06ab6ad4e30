// What a record's properties became once an item took them in: what a save would write
// otherwise than read is named, what it keeps as read is said to be kept.
#include "dashboard/PropertyChanges.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vekaton {
namespace {

constexpr std::string_view kGeometry[] = {"Left", "Top", "Width", "Height"};

std::vector<PropertyDescriptor> Descriptors() {
    return {
        PropertyDescriptor("Width", PropertyValue::Integer(0)),
        PropertyDescriptor("Maximum", PropertyValue::Float(100)),
        PropertyDescriptor("Font.Style", PropertyValue::Set({}), {"fsBold", "fsItalic"}),
        PropertyDescriptor("Color", PropertyValue::Colour(kColourBtnFace)),
        PropertyDescriptor("Caption", PropertyValue::String("")),
    };
}

TEST(PropertyChanges, ValuesTakenAsReadAreNoNews) {
    const std::vector<StreamProperty> stored = {
        {"Width", StreamValue::Integer(120)},
        {"Maximum", StreamValue::Integer(8000)},  // an integer read into a float property
        {"Color", *StreamValue::Identifier("clRed")},
        {"Caption", StreamValue::Text("Engine")},
        {"Hint", StreamValue::Text("a property of another version")},
    };
    PropertyBag shown;
    shown.Set("Width", PropertyValue::Integer(95));  // a label's own size: derived
    shown.Set("Maximum", PropertyValue::Float(8000));
    shown.Set("Color", PropertyValue::Colour(255));
    shown.Set("Caption", PropertyValue::String("Engine"));
    const PropertyChanges changes = ChangesOnLoad(stored, Descriptors(), shown, kGeometry);
    EXPECT_TRUE(changes.changed.empty()) << changes.changed.front();
    EXPECT_TRUE(changes.keptAsRead.empty());
}

TEST(PropertyChanges, ValuesTheItemDidNotTakeAsTheyStoodAreNamedWithWhatIsSaved) {
    const std::vector<StreamProperty> stored = {
        {"Maximum", StreamValue::Float(std::numeric_limits<double>::quiet_NaN())},
        {"Font.Style", *StreamValue::Set({"fsBOld", "fsShadow"})},
        {"Width", StreamValue::Text("wide")},
        {"Color", StreamValue::Text("pink")},
    };
    PropertyBag shown;
    shown.Set("Width", PropertyValue::Integer(200));
    shown.Set("Font.Style", PropertyValue::Set({"fsBold"}));
    const PropertyChanges changes = ChangesOnLoad(stored, Descriptors(), shown, kGeometry);
    EXPECT_EQ(changes.changed,
              (std::vector<std::string>{"Maximum NaN becomes 100",
                                        "Font.Style [fsBOld, fsShadow] becomes [fsBold]",
                                        "Width 'wide' becomes 200"}));
    // The item has no colour of its own here, so the unreadable one is written back as read.
    EXPECT_EQ(changes.keptAsRead, std::vector<std::string>{"Color"});
}

TEST(PropertyChanges, ValuesAreDescribedAsTheUserWroteThem) {
    EXPECT_EQ(DescribeValue(PropertyValue::Float(-std::numeric_limits<double>::infinity())),
              "-Inf");
    EXPECT_EQ(DescribeValue(PropertyValue::Float(0.5)), "0.5");
    EXPECT_EQ(DescribeValue(PropertyValue::Boolean(true)), "True");
    EXPECT_EQ(DescribeValue(PropertyValue::Colour(RgbColour(255, 255, 0))), "clYellow");
    EXPECT_EQ(DescribeValue(PropertyValue::Colour(RgbColour(1, 2, 3))), "197121");
    EXPECT_EQ(DescribeValue(PropertyValue::String("a\nb")), "'a\\nb'");
    EXPECT_EQ(DescribeValue(PropertyValue::Identifier("taCenter")), "taCenter");
}

}  // namespace
}  // namespace vekaton
