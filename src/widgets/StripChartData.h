#pragma once

#include "dashboard/PropertyBag.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vekaton {

// A line of the strip chart: what it shows and how it is drawn. Position and bit are kept for
// the program (which frame position and which bit of a digital one the line plots).
struct ChartChannel {
    ChartChannel(std::string name_ = {}, ColourValue colour_ = 0, double scale_ = 1.0,
                 double offset_ = 0.0, int position_ = 0, int bit_ = 8, bool visible_ = true)
        : name(std::move(name_)),
          colour(colour_),
          scale(scale_),
          offset(offset_),
          position(position_),
          bit(bit_),
          visible(visible_) {}

    std::string name;
    ColourValue colour = 0;  // 0: not chosen yet, the chart picks one
    double scale = 1.0;      // plotted value = value * scale + offset
    double offset = 0.0;
    int position = 0;
    int bit = 8;
    bool visible = true;
};

// What one pixel column of a trace covers: the range of its values and the values it starts
// and ends with, so that the drawn line joins the neighbouring columns where the data does.
struct ColumnSpan {
    int samples = 0;  // samples whose X falls in the column
    int points = 0;   // of them, those with a value on this channel
    float minimum = 0;
    float maximum = 0;
    float first = 0;
    float last = 0;
};

struct ChartPoint {
    double x = 0;
    float value = 0;
};

// A trace reduced to one span per pixel column, plus the nearest points just outside the
// window so that lines run to the edges.
struct DecimatedTrace {
    std::vector<ColumnSpan> columns;
    std::optional<ChartPoint> before;
    std::optional<ChartPoint> after;
};

// The strip chart's samples: one X value per sample (the time of a frame), one value per
// channel per sample. Samples are numbered from 0 in the order they were added; when the
// store is full the oldest are dropped, and their numbers are not reused.
class StripChartData {
  public:
    static constexpr std::int64_t kNoSample = -1;

    explicit StripChartData(std::size_t capacity = 4'000'000);

    // Adds a channel (its colour chosen if 0) and returns its index.
    int AddChannel(ChartChannel channel);
    void SetChannel(int index, ChartChannel channel);
    void ClearChannels();
    int ChannelCount() const { return static_cast<int>(channels_.size()); }
    // An empty channel for an index out of range.
    const ChartChannel& Channel(int index) const;

    // Adds a sample at x and returns its number, or kNoSample when x is not finite. An x
    // below the last one is taken as the last one: the time axis never runs backwards.
    std::int64_t AddSample(double x);
    // Sets a channel's value for a sample; false (and nothing stored) when the channel or
    // sample does not exist (any more) or the value is not a number.
    bool AddPoint(int channel, std::int64_t sample, double value);
    void ClearSamples();

    std::int64_t FirstSample() const { return firstSample_; }
    std::int64_t EndSample() const { return firstSample_ + static_cast<std::int64_t>(xs_.size()); }
    std::size_t SampleCount() const { return xs_.size(); }
    std::optional<double> X(std::int64_t sample) const;
    std::optional<double> Point(int channel, std::int64_t sample) const;
    std::optional<double> FirstX() const;
    std::optional<double> LastX() const;

    std::size_t Capacity() const { return capacity_; }
    void SetCapacity(std::size_t capacity);

    // Reduces the channel's values with x0 <= X <= x1 to the given number of columns of equal
    // width. Cost: one pass over the samples in the window, whatever the column count.
    void Decimate(int channel, double x0, double x1, int columns, DecimatedTrace& out) const;

  private:
    std::size_t Offset(std::int64_t sample) const;
    void DropOldest();

    std::vector<double> xs_;
    std::vector<std::vector<float>> values_;  // per channel, one per sample; NaN for none
    std::vector<ChartChannel> channels_;
    std::int64_t firstSample_ = 0;
    std::size_t capacity_;
};

}  // namespace vekaton
