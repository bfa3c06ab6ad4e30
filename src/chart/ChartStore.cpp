#include "chart/ChartStore.h"

#include <algorithm>

#include "decode/ParameterTable.h"

namespace vekaton {
namespace {

// The raw read-out keeps up to the last 7 bytes of a multi-byte value.
constexpr int kWordBytes = 7;

}  // namespace

std::int64_t ChartStore::AddSample(double x) {
    const auto last = data_.LastX();
    if (last && x < *last - 1e-9) {
        Clear();
    }
    const std::int64_t sample = data_.AddSample(x);
    if (sample != StripChartData::kNoSample) {
        Changed();
    }
    return sample;
}

void ChartStore::SetWord(int channel, std::int64_t sample, std::uint64_t word) {
    data_.SetWord(channel, sample, word);
}

void ChartStore::Clear() {
    data_.ClearSamples();
    Notify(ChartChange::Cleared);
    Changed();
}

void ChartStore::EndUpdate() {
    if (updateDepth_ == 0) {
        return;  // unbalanced: nothing to close
    }
    if (--updateDepth_ == 0 && changedInUpdate_) {
        changedInUpdate_ = false;
        Notify(ChartChange::Data);
    }
}

PlotChannel ChartStore::Channel(int index) const {
    if (index < 0 || index >= ChannelCount()) {
        return PlotChannel{};
    }
    const ChartChannel& channel = data_.Channel(index);
    return PlotChannel{channel.position, channel.bit};
}

bool ChartStore::AddPoint(int channel, std::int64_t sample, double value) {
    const bool stored = data_.AddPoint(channel, sample, value);
    if (stored) {
        Changed();
    }
    if (rawMode_) {
        KeepWord(channel, sample);
    }
    return stored;
}

void ChartStore::KeepWord(int channel, std::int64_t sample) {
    if (table_ == nullptr || channel < 0 || channel >= ChannelCount()) {
        return;
    }
    const int position = data_.Channel(channel).position;
    const ParameterRecord* first = table_->Find(position);
    if (first == nullptr || first->IsDigital || first->ByteCount <= 1) {
        return;
    }
    const int last = std::min<int>(ParameterTable::kLastPosition, position + first->ByteCount - 1);
    std::uint64_t word = 0;
    for (int p = std::max(position, last - kWordBytes + 1); p <= last; ++p) {
        word = (word << 8) | table_->At(p).RawByte;
    }
    data_.SetWord(channel, sample, word);
}

void ChartStore::Changed() {
    if (updateDepth_ > 0) {
        changedInUpdate_ = true;
    } else {
        Notify(ChartChange::Data);
    }
}

void ChartStore::Notify(ChartChange change) const {
    if (watcher_) {
        watcher_(change);
    }
}

}  // namespace vekaton
