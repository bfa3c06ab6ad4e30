// The layout file's records as the session builds and takes them in.
#include "session/SetLayout.h"

#include <gtest/gtest.h>

#include "dashboard/ChartRecord.h"
#include "dashboard/DashboardModel.h"

namespace vekaton {
namespace {

// Labels stream their caption; nothing else is known.
std::vector<PropertyDescriptor> Catalog(std::string_view className) {
    if (className == "TLabel") {
        return {PropertyDescriptor("Caption", PropertyValue::String(""))};
    }
    return {};
}

TEST(SetLayout, NamesTheFixedControlsThenTheItems) {
    DashboardModel model;
    SetLayout layout(model, Catalog);
    const auto id = model.AddItem(ItemKind::Label, 0);
    ASSERT_TRUE(id);
    const std::vector<std::string> expected = {
        "",          "",          "TabSheet2",   "TabSheet3",
        "TabSheet4", "TabSheet6", "StripChart1", model.Find(*id)->name};
    EXPECT_EQ(layout.ComponentNames(), expected);
}

TEST(SetLayout, WhatItWritesItReadsBackWithTheWindowsPart) {
    DashboardModel model;
    SetLayout layout(model, Catalog);
    const int id = *model.AddItem(ItemKind::Label, 1);
    PropertyBag caption;
    caption.Set("Caption", PropertyValue::String("Boost"));
    model.SetProperties(id, caption);
    model.SetPageCaption(2, "Fuel");
    WindowLayout window;
    window.placement = WindowPlacement{5, 6, 705, 506, 3};
    window.chartChannels = ChartChannelList{{7, 2, 0, true, 0.0, 100.0}};
    const std::vector<StreamComponent> records = layout.Records(window);

    model.SetPageCaption(2, "");
    model.SetProperties(id, PropertyBag{});
    LayoutRead read;
    for (const StreamComponent& record : records) {
        read.records.emplace_back(record);
    }
    read.trailer = layout.Trailer(window);
    std::vector<std::string> messages;
    std::vector<std::string> changed;
    const WindowLayout back = layout.Apply(read, messages, changed);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(model.PageCaption(2), "Fuel");
    ASSERT_NE(model.Find(id)->properties.Find("Caption"), nullptr);
    EXPECT_EQ(model.Find(id)->properties.Find("Caption")->AsText(), "Boost");
    EXPECT_EQ(back.placement, window.placement);
    EXPECT_EQ(back.chartChannels, window.chartChannels);
}

TEST(SetLayout, KeepsWhatItDoesNotKnowAndTheFilesColour) {
    DashboardModel model;
    SetLayout layout(model, Catalog);
    LayoutRead read;
    read.records.resize(7);
    StreamComponent label;
    label.className = "TLabel";
    label.properties = {{"Caption", StreamValue::Text("kept")}};
    read.records[0] = label;
    read.trailer = LayoutTrailer{0, 0, 10, 10, 12345, 0};
    std::vector<std::string> messages;
    std::vector<std::string> changed;
    layout.Apply(read, messages, changed);
    const WindowLayout window;
    EXPECT_EQ(layout.Records(window)[0], label);
    EXPECT_EQ(layout.Trailer(window).colour, 12345);
    layout.Forget();
    EXPECT_EQ(layout.Records(window)[0].properties.size(), 0u);
    EXPECT_EQ(layout.Trailer(window).colour, kColourBtnFace);
}

TEST(SetLayout, ReportsValuesItCannotShow) {
    DashboardModel model;
    SetLayout layout(model, Catalog);
    const int id = *model.AddItem(ItemKind::Label, 0);
    LayoutRead read;
    read.records.resize(8);
    StreamComponent record;
    record.className = "TLabel";
    record.properties = {{"Caption", StreamValue::Integer(3)}};
    read.records[7] = record;
    std::vector<std::string> messages;
    std::vector<std::string> changed;
    layout.Apply(read, messages, changed);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0],
              model.Find(id)->name + ": values of Caption that it cannot show were kept as read.");
}

TEST(SetLayout, ManyItemsWithValuesTheyCannotShowAreOneMessage) {
    DashboardModel model;
    SetLayout layout(model, Catalog);
    LayoutRead read;
    read.records.resize(7);
    StreamComponent record;
    record.className = "TLabel";
    record.properties = {{"Caption", StreamValue::Integer(3)}};
    for (int i = 0; i < 300; ++i) {
        model.AddItem(ItemKind::Label, 0);
        read.records.emplace_back(record);
    }
    std::vector<std::string> messages;
    std::vector<std::string> changed;
    layout.Apply(read, messages, changed);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("Items hold values they cannot show", 0), 0u) << messages[0];
    EXPECT_NE(messages[0].find("USERLABEL1: values of Caption"), std::string::npos);
    EXPECT_NE(messages[0].find("\n... and 290 more items."), std::string::npos) << messages[0];
}

}  // namespace
}  // namespace vekaton
