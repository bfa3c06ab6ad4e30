#pragma once

#include <cstdint>
#include <vector>

namespace vekaton {

// One channel of the strip chart as the set keeps it (in the layout file's strip chart record):
// which frame position and bit it plots, its colour and its scale. Plain data, so that the
// layout codec can store it without knowing the chart.
struct ChartChannelSetting {
    int position = 0;         // frame position, 1 to 500
    int bit = 0;              // the bit of a digital position, 0 to 7; 0 for an analog one
    std::int32_t colour = 0;  // as ParameterRecord::ChartColour: 0 lets the chart choose
    bool autoScale = true;    // false: drawn from minimum to maximum
    double minimum = 0.0;
    double maximum = 100.0;

    bool operator==(const ChartChannelSetting&) const = default;
};

// The chart's channels in the order they are drawn and listed in the legend.
using ChartChannelList = std::vector<ChartChannelSetting>;

}  // namespace vekaton
