#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "chart/StripChartData.h"
#include "decode/ChartSink.h"

namespace vekaton {

class ParameterTable;

// What the watcher of a chart store hears.
enum class ChartChange {
    Data,     // samples or points were added (once per update batch)
    Cleared,  // every sample went: cursors on them have nothing left to point at
};

// The strip chart's data as the program fills it: the engine adds one sample per frame at the
// elapsed time, and the decoder, which plots into it as its chart sink, adds each channel's
// point at the end of the frame. The chart widget only draws it; its watcher is told when there
// is something new to draw, once per update batch.
class ChartStore : public ChartSink {
  public:
    explicit ChartStore(std::size_t capacity = 4'000'000) : data_(capacity) {}
    ChartStore(const ChartStore&) = delete;
    ChartStore& operator=(const ChartStore&) = delete;

    // One watcher (the widget that draws the store); an empty function removes it.
    void SetWatcher(std::function<void(ChartChange)> watcher) { watcher_ = std::move(watcher); }

    const StripChartData& Data() const { return data_; }

    // The lines: each channel's ChartChannel position and bit are what the decoder plots on it.
    int AddChannel(ChartChannel channel) { return data_.AddChannel(std::move(channel)); }
    void SetChannel(int index, ChartChannel channel) {
        data_.SetChannel(index, std::move(channel));
    }
    void RemoveChannel(int index) { data_.RemoveChannel(index); }
    void ClearChannels() { data_.ClearChannels(); }

    // A frame's sample at x seconds; returns its number for the frame's points. Time that runs
    // backwards is another clock (live frames after a played log, the elapsed time set back):
    // the chart starts afresh rather than run the two together.
    std::int64_t AddSample(double x);
    // The whole multi-byte raw value behind a point, for the cursor read-out.
    void SetWord(int channel, std::int64_t sample, std::uint64_t word);
    // A gap in time (a pause, a lost port): the next sample is not joined to the last.
    void MarkBreak() { data_.MarkBreak(); }
    // Empties the store of samples; the channels stay.
    void Clear();
    void SetCapacity(std::size_t samples) { data_.SetCapacity(samples); }
    void Reserve(std::size_t samples) { data_.Reserve(samples); }

    // In raw mode a point of a multi-byte value is its last byte; the store keeps the whole
    // value beside it, read from the table the decoder just filled.
    void SetTable(const ParameterTable* table) { table_ = table; }
    void SetRawMode(bool on) { rawMode_ = on; }

    // ChartSink. Update batches nest; the watcher hears of the points at the end of the last.
    void BeginUpdate() override { ++updateDepth_; }
    void EndUpdate() override;
    int UpdateDepth() const { return updateDepth_; }
    int ChannelCount() const override { return data_.ChannelCount(); }
    PlotChannel Channel(int index) const override;
    bool AddPoint(int channel, std::int64_t sample, double value) override;

  private:
    void Changed();
    void Notify(ChartChange change) const;
    void KeepWord(int channel, std::int64_t sample);

    StripChartData data_;
    std::function<void(ChartChange)> watcher_;
    const ParameterTable* table_ = nullptr;
    bool rawMode_ = false;
    int updateDepth_ = 0;
    bool changedInUpdate_ = false;
};

}  // namespace vekaton
