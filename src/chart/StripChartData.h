#pragma once

#include "dashboard/PropertyBag.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vekaton {

// How a channel's values are placed on the chart's height.
enum class ChartRange : int {
    Chart = 0,  // against the chart's value axis (YMinimum to YMaximum), as value * scale + offset
    Auto = 1,   // normalised: its own data's lowest to highest value fill the value axis
    Fixed = 2,  // normalised: rangeMinimum to rangeMaximum fill the value axis
};

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
    ChartRange range = ChartRange::Chart;
    double rangeMinimum = 0.0;  // with ChartRange::Fixed
    double rangeMaximum = 100.0;
    // An on/off flag: drawn as a 0/1 step in a lane of its own below the values; any value
    // above 0 is on.
    bool digital = false;
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

    // Adds a channel (its colour chosen if 0) and returns its index. The samples so far have no
    // value on it.
    int AddChannel(ChartChannel channel);
    void SetChannel(int index, ChartChannel channel);
    // Removes one channel and its values; the others keep theirs (and move down one index).
    void RemoveChannel(int index);
    void ClearChannels();
    // Takes these channels, in this order: a channel of the same position and bit as one held
    // keeps its values; any other starts without values. Channels not named go, with theirs.
    void MatchChannels(const std::vector<ChartChannel>& wanted);
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
    // The next sample begins a new stretch of time (acquisition paused, the port lost): lines
    // are not drawn across the break.
    void MarkBreak();
    // The samples that begin a stretch after a break, in order.
    const std::vector<std::int64_t>& Breaks() const { return breaks_; }
    // The stretch [begin, end) of samples that holds `sample`.
    std::pair<std::int64_t, std::int64_t> SegmentOf(std::int64_t sample) const;

    // The lowest and highest value of a channel over the samples held; nullopt without values.
    std::optional<std::pair<double, double>> ValueRange(int channel) const;
    // The sample whose X is nearest to x; kNoSample when there are none.
    std::int64_t NearestSample(double x) const;

    // A channel's whole multi-byte raw value at a sample (the raw chart shows its last byte).
    // Up to the last 7 bytes of a value are kept; words exist only for channels given one.
    void SetWord(int channel, std::int64_t sample, std::uint64_t word);
    std::optional<std::uint64_t> Word(int channel, std::int64_t sample) const;

    std::int64_t FirstSample() const { return firstSample_; }
    std::int64_t EndSample() const { return firstSample_ + static_cast<std::int64_t>(xs_.size()); }
    std::size_t SampleCount() const { return xs_.size(); }
    std::optional<double> X(std::int64_t sample) const;
    std::optional<double> Point(int channel, std::int64_t sample) const;
    std::optional<double> FirstX() const;
    std::optional<double> LastX() const;

    std::size_t Capacity() const { return capacity_; }
    // Makes room for this many samples at once (a whole log), so that the store does not grow
    // step by step to twice what it needs.
    void Reserve(std::size_t samples);
    void SetCapacity(std::size_t capacity);

    // Reduces the channel's values with x0 <= X <= x1 to the given number of columns of equal
    // width. Cost: one pass over the samples in the window, whatever the column count. Only the
    // samples [sampleBegin, sampleEnd) are looked at (one stretch between breaks, say).
    void Decimate(int channel, double x0, double x1, int columns, DecimatedTrace& out,
                  std::int64_t sampleBegin = 0,
                  std::int64_t sampleEnd = std::numeric_limits<std::int64_t>::max()) const;

    // Bytes held for the samples, their values and words.
    std::size_t MemoryBytes() const;

    // Samples summed up in one block of the per-channel summaries that let a zoomed-out view
    // skip the samples themselves.
    static constexpr std::size_t kBlock = 64;

  private:
    static constexpr std::uint64_t kNoWord = ~std::uint64_t{0};
    // A block of kBlock samples of one channel: its values' range and the first and last of
    // them. points < 0: to be counted again (a value in it was replaced).
    struct Block {
        float lo = 0;
        float hi = 0;
        float first = 0;
        float last = 0;
        int points = 0;
        std::uint8_t firstAt = 0;
        std::uint8_t lastAt = 0;
    };
    // The values of some samples summed up as a column needs them.
    struct Span {
        int points = 0;
        float lo = 0;
        float hi = 0;
        float first = 0;
        float last = 0;

        void Add(float lowest, float highest, float firstValue, float lastValue, int count) {
            if (points == 0) {
                lo = lowest;
                hi = highest;
                first = firstValue;
            } else {
                lo = std::min(lo, lowest);
                hi = std::max(hi, highest);
            }
            last = lastValue;
            points += count;
        }
    };
    void Accumulate(int channel, std::size_t begin, std::size_t stop, Span& span) const;
    void Recount(int channel, std::size_t block) const;
    struct RangeCache {
        bool valid = false;  // lo/hi describe every value held
        bool any = false;
        float lo = 0;
        float hi = 0;
    };

    std::size_t Offset(std::int64_t sample) const;
    void DropOldest();

    std::vector<double> xs_;
    std::vector<std::vector<float>> values_;          // per channel, one per sample; NaN for none
    std::vector<std::vector<std::uint64_t>> words_;   // per channel; empty until a word is set
    mutable std::vector<std::vector<Block>> blocks_;  // per channel, one per kBlock samples
    mutable std::vector<RangeCache> ranges_;          // per channel
    std::vector<ChartChannel> channels_;
    std::vector<std::int64_t> breaks_;
    bool breakPending_ = false;
    std::int64_t firstSample_ = 0;
    std::size_t capacity_;
};

}  // namespace vekaton
