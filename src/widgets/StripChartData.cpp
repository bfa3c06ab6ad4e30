#include "widgets/StripChartData.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace vekaton {
namespace {

constexpr float kNoValue = std::numeric_limits<float>::quiet_NaN();
// How far back to look for the point left of the window before calling it a gap.
constexpr std::size_t kNeighbourSearch = 4096;

// Distinct colours that read well on a dark and on a light plot.
constexpr std::array<ColourValue, 12> kChannelColours{
    RgbColour(255, 80, 80),   RgbColour(80, 200, 255),  RgbColour(120, 230, 90),
    RgbColour(255, 200, 40),  RgbColour(230, 110, 255), RgbColour(255, 140, 40),
    RgbColour(60, 230, 200),  RgbColour(255, 120, 180), RgbColour(170, 170, 255),
    RgbColour(200, 255, 120), RgbColour(200, 160, 110), RgbColour(240, 240, 240)};

}  // namespace

StripChartData::StripChartData(std::size_t capacity)
    : capacity_(std::max<std::size_t>(capacity, 16)) {}

int StripChartData::AddChannel(ChartChannel channel) {
    if (channel.colour == 0) {
        // The first palette colour no other channel uses yet.
        channel.colour = kChannelColours[channels_.size() % kChannelColours.size()];
        for (const ColourValue candidate : kChannelColours) {
            const bool used =
                std::any_of(channels_.begin(), channels_.end(),
                            [candidate](const ChartChannel& c) { return c.colour == candidate; });
            if (!used) {
                channel.colour = candidate;
                break;
            }
        }
    }
    if (!std::isfinite(channel.scale)) {
        channel.scale = 1.0;
    }
    if (!std::isfinite(channel.offset)) {
        channel.offset = 0.0;
    }
    channels_.push_back(std::move(channel));
    values_.emplace_back(xs_.size(), kNoValue);
    return ChannelCount() - 1;
}

void StripChartData::SetChannel(int index, ChartChannel channel) {
    if (index < 0 || index >= ChannelCount()) {
        return;
    }
    if (channel.colour == 0) {
        channel.colour = channels_[static_cast<std::size_t>(index)].colour;
    }
    if (!std::isfinite(channel.scale)) {
        channel.scale = 1.0;
    }
    if (!std::isfinite(channel.offset)) {
        channel.offset = 0.0;
    }
    channels_[static_cast<std::size_t>(index)] = std::move(channel);
}

void StripChartData::ClearChannels() {
    channels_.clear();
    values_.clear();
}

const ChartChannel& StripChartData::Channel(int index) const {
    static const ChartChannel none;
    return index >= 0 && index < ChannelCount() ? channels_[static_cast<std::size_t>(index)] : none;
}

std::int64_t StripChartData::AddSample(double x) {
    if (!std::isfinite(x)) {
        return kNoSample;
    }
    if (!xs_.empty() && x < xs_.back()) {
        x = xs_.back();
    }
    if (xs_.size() >= capacity_) {
        DropOldest();
    }
    xs_.push_back(x);
    for (auto& values : values_) {
        values.push_back(kNoValue);
    }
    return EndSample() - 1;
}

bool StripChartData::AddPoint(int channel, std::int64_t sample, double value) {
    if (channel < 0 || channel >= ChannelCount() || sample < firstSample_ ||
        sample >= EndSample() || std::isnan(value)) {
        return false;
    }
    // Values beyond float's range are kept at its edge rather than as infinities.
    const double limit = std::numeric_limits<float>::max();
    values_[static_cast<std::size_t>(channel)][Offset(sample)] =
        static_cast<float>(std::clamp(value, -limit, limit));
    return true;
}

void StripChartData::ClearSamples() {
    firstSample_ = EndSample();
    xs_.clear();
    for (auto& values : values_) {
        values.clear();
    }
}

std::optional<double> StripChartData::X(std::int64_t sample) const {
    if (sample < firstSample_ || sample >= EndSample()) {
        return std::nullopt;
    }
    return xs_[Offset(sample)];
}

std::optional<double> StripChartData::Point(int channel, std::int64_t sample) const {
    if (channel < 0 || channel >= ChannelCount() || sample < firstSample_ ||
        sample >= EndSample()) {
        return std::nullopt;
    }
    const float value = values_[static_cast<std::size_t>(channel)][Offset(sample)];
    if (std::isnan(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> StripChartData::FirstX() const {
    return xs_.empty() ? std::nullopt : std::optional<double>(xs_.front());
}

std::optional<double> StripChartData::LastX() const {
    return xs_.empty() ? std::nullopt : std::optional<double>(xs_.back());
}

void StripChartData::SetCapacity(std::size_t capacity) {
    capacity_ = std::max<std::size_t>(capacity, 16);
    while (xs_.size() > capacity_) {
        DropOldest();
    }
}

std::size_t StripChartData::Offset(std::int64_t sample) const {
    return static_cast<std::size_t>(sample - firstSample_);
}

void StripChartData::DropOldest() {
    // Drop a sixteenth at a time so that a full store does not move its data on every sample.
    const std::size_t target = capacity_ - std::max<std::size_t>(1, capacity_ / 16);
    const std::size_t count = xs_.size() > target ? xs_.size() - target : 0;
    if (count == 0) {
        return;
    }
    const auto drop = static_cast<std::ptrdiff_t>(count);
    xs_.erase(xs_.begin(), xs_.begin() + drop);
    for (auto& values : values_) {
        values.erase(values.begin(), values.begin() + drop);
    }
    firstSample_ += static_cast<std::int64_t>(count);
}

void StripChartData::Decimate(int channel, double x0, double x1, int columns,
                              DecimatedTrace& out) const {
    out.columns.assign(static_cast<std::size_t>(std::max(columns, 0)), ColumnSpan{});
    out.before.reset();
    out.after.reset();
    if (channel < 0 || channel >= ChannelCount() || columns <= 0 || !(x1 > x0) ||
        !std::isfinite(x0) || !std::isfinite(x1)) {
        return;
    }
    const std::vector<float>& values = values_[static_cast<std::size_t>(channel)];
    const auto xBegin = xs_.begin();
    std::size_t begin = static_cast<std::size_t>(std::lower_bound(xBegin, xs_.end(), x0) - xBegin);
    const std::size_t end =
        static_cast<std::size_t>(std::upper_bound(xBegin, xs_.end(), x1) - xBegin);

    for (std::size_t k = begin, steps = 0; k > 0 && steps < kNeighbourSearch; --k, ++steps) {
        if (!std::isnan(values[k - 1])) {
            out.before = ChartPoint{xs_[k - 1], values[k - 1]};
            break;
        }
    }
    for (std::size_t k = end, steps = 0; k < xs_.size() && steps < kNeighbourSearch; ++k, ++steps) {
        if (!std::isnan(values[k])) {
            out.after = ChartPoint{xs_[k], values[k]};
            break;
        }
    }

    const double width = (x1 - x0) / columns;
    for (int c = 0; c < columns && begin < end; ++c) {
        std::size_t stop = end;
        if (c + 1 < columns) {
            const double edge = x0 + width * (c + 1);
            stop = static_cast<std::size_t>(
                std::lower_bound(xBegin + static_cast<std::ptrdiff_t>(begin),
                                 xBegin + static_cast<std::ptrdiff_t>(end), edge) -
                xBegin);
        }
        if (stop == begin) {
            continue;
        }
        ColumnSpan& span = out.columns[static_cast<std::size_t>(c)];
        span.samples = static_cast<int>(stop - begin);
        const float* data = values.data();
        std::size_t firstValid = begin;
        while (firstValid < stop && std::isnan(data[firstValid])) {
            ++firstValid;
        }
        if (firstValid < stop) {
            std::size_t lastValid = stop - 1;
            while (std::isnan(data[lastValid])) {
                --lastValid;
            }
            float low = data[firstValid];
            float high = low;
            int points = 0;
            // NaN compares false both ways, so missing points drop out of the range here.
            for (std::size_t k = firstValid; k <= lastValid; ++k) {
                const float v = data[k];
                low = v < low ? v : low;
                high = v > high ? v : high;
                points += v == v ? 1 : 0;
            }
            span.points = points;
            span.minimum = low;
            span.maximum = high;
            span.first = data[firstValid];
            span.last = data[lastValid];
        }
        begin = stop;
    }
}

}  // namespace vekaton
