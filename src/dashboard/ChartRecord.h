#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dashboard/ChartChannelList.h"
#include "dashboard/ComponentStream.h"

namespace vekaton {

// The strip chart's record in the layout file: its channel list as the collection property
// "Channels", one item per channel with Position, Bit, Color and, for a fixed scale,
// AutoScale False with Minimum and Maximum.
inline constexpr std::string_view kChartClassName = "TStripChart";
inline constexpr std::string_view kChartComponentName = "StripChart1";
inline constexpr std::string_view kChartChannelsProperty = "Channels";

// Writes the channel list into the record, in the place an earlier "Channels" had (at the end
// for a new one); other properties stay as they are. No channels: no property.
void PutChartChannels(const ChartChannelList& channels, StreamComponent& record);

// More channels than there are positions and bits (500 x 8) can only repeat one another.
inline constexpr std::size_t kMaxChartChannels = 4000;

// The channel list a record holds; nothing when it has no "Channels" collection. Items that do
// not name a position 1 to 500 and a bit 0 to 7, and items past kMaxChartChannels, are left out;
// one note for each kind counts them and names the first few.
std::optional<ChartChannelList> ChartChannelsOf(const StreamComponent& record,
                                                std::vector<std::string>* notes = nullptr);

}  // namespace vekaton
