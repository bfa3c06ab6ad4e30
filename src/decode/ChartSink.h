#pragma once

namespace vekaton {

// One plotted channel of the strip chart: a frame position, and the bit for a digital one.
struct PlotChannel {
    int position = 0;
    int bit = 0;
};

// What the decoder needs of the strip chart at the end of a frame.
class ChartSink {
  public:
    virtual ~ChartSink() = default;
    virtual void BeginUpdate() = 0;
    virtual void EndUpdate() = 0;
    virtual int ChannelCount() const = 0;
    virtual PlotChannel Channel(int index) const = 0;
    virtual void AddPoint(int channel, int sampleIndex, double value) = 0;
};

}  // namespace vekaton
