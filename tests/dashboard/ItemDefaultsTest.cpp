#include <gtest/gtest.h>

#include "dashboard/BindingSlots.h"
#include "dashboard/DashboardModel.h"
#include "dashboard/ItemDefaults.h"
#include "dashboard/ValueStatistics.h"

namespace vekaton {
namespace {

TEST(ItemDefaults, NewItemsLookAsTheMenuPromises) {
    DashboardModel model;
    const DashboardItem& gauge = *model.Find(*model.AddItem(ItemKind::AngularGauge, 0));
    EXPECT_EQ(gauge.properties.Find("Color")->AsColour(), 65535) << "yellow";

    const DashboardItem& led = *model.Find(*model.AddItem(ItemKind::LedRound, 0));
    EXPECT_EQ(GeometryOf(led.properties), (ItemGeometry{1, 1, 15, 15}));
    EXPECT_EQ(led.properties.Find("InactiveColor")->AsColour(), 0);
    EXPECT_EQ(led.properties.Find("ActiveColor")->AsColour(), 255);
    EXPECT_FALSE(led.properties.Find("AutoInactiveColor")->AsBoolean());
    EXPECT_EQ(led.properties.Find("Bevel")->AsText(), "bvRaised");

    const DashboardItem& panel = *model.Find(led.parentId);
    EXPECT_EQ(GeometryOf(panel.properties).width, 60);
    EXPECT_EQ(GeometryOf(panel.properties).height, 17);
    EXPECT_EQ(panel.properties.Find("Caption")->AsText(), "     Digital0");
    EXPECT_EQ(panel.properties.Find("BevelOuter")->AsText(), "bvNone");
    EXPECT_EQ(panel.properties.Find("Alignment")->AsText(), "taLeftJustify");

    const DashboardItem& label = *model.Find(*model.AddItem(ItemKind::Label, 0));
    EXPECT_EQ(label.properties.Find("Caption")->AsText(), "USERLABEL1");
    EXPECT_FALSE(label.properties.Contains("Width")) << "a label sizes itself";
    const DashboardItem& button = *model.Find(*model.AddItem(ItemKind::ResetButton, 0));
    EXPECT_EQ(button.properties.Find("Caption")->AsText(), "Reset");

    EXPECT_EQ(ItemClassName(ItemKind::Label), "TLabel");
    EXPECT_EQ(ItemClassName(ItemKind::Panel), "TPanel");
    EXPECT_EQ(ItemClassName(ItemKind::ResetButton), "TButton");
    EXPECT_EQ(ItemClassName(ItemKind::SevenSegmentAnalog), "TSevenSegmentAnalog");
}

TEST(ItemDefaults, GeometryReadsWhateverABagHolds) {
    PropertyBag bag;
    PutGeometry(bag, {10, 20, 30, 40});
    EXPECT_EQ(GeometryOf(bag), (ItemGeometry{10, 20, 30, 40}));
    bag.Set("Left", PropertyValue::Float(12.0));
    bag.Set("Top", PropertyValue::String("high"));
    bag.Set("Width", PropertyValue::Integer(1'000'000'000'000));
    EXPECT_EQ(GeometryOf(bag), (ItemGeometry{12, 0, 100000, 40}));
    EXPECT_EQ(GeometryOf(PropertyBag{}), ItemGeometry{});
}

TEST(BindingSlots, FullPositionsAreSeenBeforeBinding) {
    ParameterTable table;
    EXPECT_EQ(LastBytePosition(4, 2), 5);
    EXPECT_EQ(LastBytePosition(4, 1), 4);
    EXPECT_EQ(LastBytePosition(4, -3), 4);
    EXPECT_EQ(LastBytePosition(499, 3), 0);
    EXPECT_EQ(LastBytePosition(0, 1), 0);
    EXPECT_EQ(FreeBindingSlots(table, 5), 14);
    EXPECT_EQ(FreeBindingSlots(table, 501), 0);

    auto& slots = table.At(5).BoundItems;
    for (int s = 0; s < 13; ++s) {
        slots[static_cast<std::size_t>(s)] = 100 + s;
    }
    EXPECT_EQ(FreeBindingSlots(table, 5), 1);
    EXPECT_TRUE(IsBoundAt(table, 104, 5));
    EXPECT_EQ(ItemsBoundAt(table, 5).size(), 13u);
    EXPECT_TRUE(BindingsFit(table, {1}, 4, 2));
    EXPECT_FALSE(BindingsFit(table, {1, 2}, 4, 2));
    EXPECT_TRUE(BindingsFit(table, {1, 100, 101}, 5, 1)) << "items already listed need no slot";
    EXPECT_FALSE(BindingsFit(table, {1}, 500, 2));
}

TEST(ValueStatistics, MinMaxAndBitsSinceTheReset) {
    ParameterTable table;
    ValueStatistics stats;
    EXPECT_FALSE(stats.Of(1));
    for (const double v : {30.0, -4.5, 12.0}) {
        table.At(1).Value = v;
        table.At(2).RawByte = v > 0 ? 0x81 : 0x01;
        stats.Observe(table, 2);
    }
    ASSERT_TRUE(stats.Of(1));
    EXPECT_EQ(stats.Of(1)->minimum, -4.5);
    EXPECT_EQ(stats.Of(1)->maximum, 30.0);
    EXPECT_FALSE(stats.Of(3)) << "beyond the frame";
    EXPECT_EQ(stats.BitsSeenSet(2), 0x81);
    EXPECT_EQ(stats.BitsSeenClear(2), 0xFE);
    stats.Observe(table, 100000);  // held within the table
    stats.Reset();
    EXPECT_FALSE(stats.Of(1));
    EXPECT_EQ(stats.BitsSeenSet(2), 0);
    EXPECT_FALSE(stats.Of(0));
    EXPECT_FALSE(stats.Of(501));
}

}  // namespace
}  // namespace vekaton
