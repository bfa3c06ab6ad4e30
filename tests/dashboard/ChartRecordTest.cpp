#include <gtest/gtest.h>

#include "dashboard/ChartRecord.h"

namespace vekaton {
namespace {

TEST(ChartRecordTest, ChannelsSurviveTheStreamAndOtherPropertiesKeepTheirPlace) {
    StreamComponent record;
    record.className = kChartClassName;
    record.name = kChartComponentName;
    record.properties.push_back({"Gridlines", StreamValue::Boolean(true)});
    ChartChannelList channels(2);
    channels[0] = {4, 0, 0x0000FF, true, 0.0, 100.0};
    channels[1] = {18, 3, 0x123456, false, -40.0, 6500.5};
    PutChartChannels(channels, record);
    record.properties.push_back({"Later", StreamValue::Integer(7)});

    std::string bytes;
    ASSERT_FALSE(WriteComponentRecord(record, bytes));
    const ComponentRecordRead read = ReadComponentRecord(bytes);
    ASSERT_TRUE(read.component) << read.error->message;
    EXPECT_EQ(ChartChannelsOf(*read.component), channels);

    // Writing again replaces the list where it stands.
    StreamComponent again = *read.component;
    channels.pop_back();
    PutChartChannels(channels, again);
    ASSERT_EQ(again.properties.size(), 3u);
    EXPECT_EQ(again.properties[0].name, "Gridlines");
    EXPECT_EQ(again.properties[1].name, kChartChannelsProperty);
    EXPECT_EQ(again.properties[2].name, "Later");
    EXPECT_EQ(ChartChannelsOf(again), channels);

    PutChartChannels({}, again);
    EXPECT_EQ(again.properties.size(), 2u);
    EXPECT_FALSE(ChartChannelsOf(again));
}

TEST(ChartRecordTest, ItemsNamingNoPositionOrBitAreLeftOutAndSaid) {
    StreamComponent record;
    std::vector<CollectionItem> items(3);
    items[0].properties = {{"Position", StreamValue::Integer(0)}};
    items[1].properties = {{"Position", StreamValue::Integer(7)}, {"Bit", StreamValue::Integer(9)}};
    items[2].properties = {{"Position", StreamValue::Float(12.0)},
                           {"Color", *StreamValue::Identifier("clRed")}};
    record.properties.push_back({"Channels", StreamValue::Collection(items)});
    std::vector<std::string> notes;
    const auto channels = ChartChannelsOf(record, &notes);
    ASSERT_TRUE(channels);
    ASSERT_EQ(channels->size(), 1u);
    EXPECT_EQ((*channels)[0].position, 12);
    EXPECT_EQ((*channels)[0].colour, 0x0000FF);
    // One note for both, naming them.
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("2 chart channels"), std::string::npos) << notes[0];
    EXPECT_NE(notes[0].find("channels 1, 2."), std::string::npos) << notes[0];
}

TEST(ChartRecordTest, ThousandsOfBadChannelsMakeOneNoteAndTheListStopsAtItsMost) {
    StreamComponent record;
    std::vector<CollectionItem> items(5000);
    for (auto& item : items) {
        item.properties = {{"Position", StreamValue::Integer(9999)}};
    }
    for (std::size_t i = 0; i < kMaxChartChannels + 7; ++i) {
        CollectionItem good;
        good.properties = {{"Position", StreamValue::Integer(static_cast<int>(i % 500) + 1)}};
        items.push_back(good);
    }
    record.properties.push_back({"Channels", StreamValue::Collection(items)});
    std::vector<std::string> notes;
    const auto channels = ChartChannelsOf(record, &notes);
    ASSERT_TRUE(channels);
    EXPECT_EQ(channels->size(), kMaxChartChannels);
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_NE(notes[0].find("5000 chart channels"), std::string::npos) << notes[0];
    EXPECT_NE(notes[0].find("channels 1, 2, 3 and 4997 more."), std::string::npos) << notes[0];
    EXPECT_NE(notes[1].find("the last 7 "), std::string::npos) << notes[1];
}

}  // namespace
}  // namespace vekaton
