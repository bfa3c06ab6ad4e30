#pragma once

#include <cstdint>

namespace vekaton {

// One plotted channel of the strip chart: a frame position, and the bit for a digital one.
struct PlotChannel {
    int position = 0;
    int bit = 0;
};

// What the decoder needs of the strip chart at the end of a frame: the channels to plot, and a
// place for each one's point at the frame's sample.
class ChartSink {
  public:
    virtual ~ChartSink() = default;
    virtual void BeginUpdate() = 0;
    virtual void EndUpdate() = 0;
    virtual int ChannelCount() const = 0;
    virtual PlotChannel Channel(int index) const = 0;
    // False when nothing was stored (no such channel or sample, not a number).
    virtual bool AddPoint(int channel, std::int64_t sample, double value) = 0;
};

}  // namespace vekaton
