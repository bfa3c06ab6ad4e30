#include "chart/StripChartData.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace vekaton {
namespace {

constexpr float kNoValue = std::numeric_limits<float>::quiet_NaN();

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
    words_.emplace_back();
    blocks_.emplace_back((xs_.size() + kBlock - 1) / kBlock);
    ranges_.push_back(RangeCache{true, false, 0, 0});
    return ChannelCount() - 1;
}

void StripChartData::RemoveChannel(int index) {
    if (index < 0 || index >= ChannelCount()) {
        return;
    }
    const auto at = static_cast<std::ptrdiff_t>(index);
    channels_.erase(channels_.begin() + at);
    values_.erase(values_.begin() + at);
    words_.erase(words_.begin() + at);
    blocks_.erase(blocks_.begin() + at);
    ranges_.erase(ranges_.begin() + at);
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

void StripChartData::MatchChannels(const std::vector<ChartChannel>& wanted) {
    StripChartData matched(capacity_);
    matched.xs_ = xs_;
    matched.breaks_ = breaks_;
    matched.breakPending_ = breakPending_;
    matched.firstSample_ = firstSample_;
    for (const ChartChannel& channel : wanted) {
        const auto held = std::find_if(channels_.begin(), channels_.end(), [&](const auto& c) {
            return c.position == channel.position && c.bit == channel.bit;
        });
        if (held == channels_.end()) {
            matched.AddChannel(channel);
            continue;
        }
        const auto at = static_cast<std::size_t>(held - channels_.begin());
        matched.channels_.push_back(channel);
        matched.values_.push_back(std::move(values_[at]));
        matched.words_.push_back(std::move(words_[at]));
        matched.blocks_.push_back(std::move(blocks_[at]));
        matched.ranges_.push_back(ranges_[at]);
        channels_[at].position = -1;  // taken: a second channel alike starts empty
    }
    *this = std::move(matched);
}

void StripChartData::ClearChannels() {
    channels_.clear();
    values_.clear();
    words_.clear();
    blocks_.clear();
    ranges_.clear();
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
    if (breakPending_ && !xs_.empty()) {
        breaks_.push_back(EndSample());
    }
    breakPending_ = false;
    if (xs_.size() % kBlock == 0) {
        for (auto& blocks : blocks_) {
            blocks.emplace_back();
        }
    }
    xs_.push_back(x);
    for (auto& values : values_) {
        values.push_back(kNoValue);
    }
    for (auto& words : words_) {
        if (!words.empty()) {
            words.push_back(kNoWord);
        }
    }
    return EndSample() - 1;
}

void StripChartData::MarkBreak() {
    breakPending_ = true;
}

std::pair<std::int64_t, std::int64_t> StripChartData::SegmentOf(std::int64_t sample) const {
    const auto next = std::upper_bound(breaks_.begin(), breaks_.end(), sample);
    const std::int64_t begin = next == breaks_.begin() ? firstSample_ : *(next - 1);
    const std::int64_t end = next == breaks_.end() ? EndSample() : *next;
    return {std::max(begin, firstSample_), end};
}

std::optional<std::pair<double, double>> StripChartData::ValueRange(int channel) const {
    if (channel < 0 || channel >= ChannelCount()) {
        return std::nullopt;
    }
    RangeCache& cache = ranges_[static_cast<std::size_t>(channel)];
    if (!cache.valid) {
        cache = RangeCache{true, false, 0, 0};
        for (const float v : values_[static_cast<std::size_t>(channel)]) {
            if (std::isnan(v)) {
                continue;
            }
            if (!cache.any) {
                cache.any = true;
                cache.lo = cache.hi = v;
            } else {
                cache.lo = std::min(cache.lo, v);
                cache.hi = std::max(cache.hi, v);
            }
        }
    }
    if (!cache.any) {
        return std::nullopt;
    }
    return std::make_pair(static_cast<double>(cache.lo), static_cast<double>(cache.hi));
}

std::int64_t StripChartData::NearestSample(double x) const {
    if (xs_.empty() || std::isnan(x)) {
        return kNoSample;
    }
    const auto at = std::lower_bound(xs_.begin(), xs_.end(), x);
    std::size_t index = static_cast<std::size_t>(at - xs_.begin());
    if (index == xs_.size()) {
        index = xs_.size() - 1;
    } else if (index > 0 && x - xs_[index - 1] <= xs_[index] - x) {
        --index;
    }
    return firstSample_ + static_cast<std::int64_t>(index);
}

void StripChartData::SetWord(int channel, std::int64_t sample, std::uint64_t word) {
    if (channel < 0 || channel >= ChannelCount() || sample < firstSample_ ||
        sample >= EndSample()) {
        return;
    }
    auto& words = words_[static_cast<std::size_t>(channel)];
    if (words.empty()) {
        words.assign(xs_.size(), kNoWord);
    }
    // Seven bytes at most, so that no word is mistaken for the empty marker.
    words[Offset(sample)] = word & 0x00FF'FFFF'FFFF'FFFFULL;
}

std::optional<std::uint64_t> StripChartData::Word(int channel, std::int64_t sample) const {
    if (channel < 0 || channel >= ChannelCount() || sample < firstSample_ ||
        sample >= EndSample()) {
        return std::nullopt;
    }
    const auto& words = words_[static_cast<std::size_t>(channel)];
    if (words.empty() || words[Offset(sample)] == kNoWord) {
        return std::nullopt;
    }
    return words[Offset(sample)];
}

std::size_t StripChartData::MemoryBytes() const {
    std::size_t bytes = xs_.capacity() * sizeof(double);
    for (const auto& values : values_) {
        bytes += values.capacity() * sizeof(float);
    }
    for (const auto& words : words_) {
        bytes += words.capacity() * sizeof(std::uint64_t);
    }
    return bytes;
}

bool StripChartData::AddPoint(int channel, std::int64_t sample, double value) {
    if (channel < 0 || channel >= ChannelCount() || sample < firstSample_ ||
        sample >= EndSample() || std::isnan(value)) {
        return false;
    }
    // Values beyond float's range are kept at its edge rather than as infinities.
    const double limit = std::numeric_limits<float>::max();
    const auto stored = static_cast<float>(std::clamp(value, -limit, limit));
    const std::size_t offset = Offset(sample);
    float& slot = values_[static_cast<std::size_t>(channel)][offset];
    RangeCache& range = ranges_[static_cast<std::size_t>(channel)];
    Block& block = blocks_[static_cast<std::size_t>(channel)][offset / kBlock];
    if (!std::isnan(slot)) {
        range.valid = false;  // a value replaced may have been the lowest or highest
        block.points = -1;
    } else {
        if (range.valid) {
            range.lo = range.any ? std::min(range.lo, stored) : stored;
            range.hi = range.any ? std::max(range.hi, stored) : stored;
            range.any = true;
        }
        if (block.points >= 0) {
            const auto at = static_cast<std::uint8_t>(offset % kBlock);
            if (block.points == 0) {
                block = Block{stored, stored, stored, stored, 0, at, at};
            }
            block.lo = std::min(block.lo, stored);
            block.hi = std::max(block.hi, stored);
            if (at < block.firstAt) {
                block.first = stored;
                block.firstAt = at;
            }
            if (at >= block.lastAt) {
                block.last = stored;
                block.lastAt = at;
            }
            ++block.points;
        }
    }
    slot = stored;
    return true;
}

void StripChartData::ClearSamples() {
    firstSample_ = EndSample();
    // The memory goes too: after a whole log has been shown it is not kept for the live chart.
    std::vector<double>().swap(xs_);
    for (auto& values : values_) {
        std::vector<float>().swap(values);
    }
    for (auto& blocks : blocks_) {
        std::vector<Block>().swap(blocks);
    }
    for (auto& words : words_) {
        words.clear();
        words.shrink_to_fit();
    }
    for (auto& range : ranges_) {
        range = RangeCache{true, false, 0, 0};
    }
    breaks_.clear();
    breakPending_ = false;
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

void StripChartData::Reserve(std::size_t samples) {
    samples = std::min(samples, capacity_);
    xs_.reserve(samples);
    for (auto& values : values_) {
        values.reserve(samples);
    }
}

std::size_t StripChartData::Offset(std::int64_t sample) const {
    return static_cast<std::size_t>(sample - firstSample_);
}

void StripChartData::DropOldest() {
    // Drop a sixteenth at a time so that a full store does not move its data on every sample,
    // and whole blocks, so that the summaries stay aligned with the samples.
    const std::size_t target = capacity_ - std::max<std::size_t>(1, capacity_ / 16);
    std::size_t count = xs_.size() > target ? xs_.size() - target : 0;
    count = std::min(xs_.size(), (count + kBlock - 1) / kBlock * kBlock);
    if (count == 0) {
        return;
    }
    const auto drop = static_cast<std::ptrdiff_t>(count);
    xs_.erase(xs_.begin(), xs_.begin() + drop);
    for (auto& values : values_) {
        values.erase(values.begin(), values.begin() + drop);
    }
    for (auto& words : words_) {
        if (!words.empty()) {
            words.erase(words.begin(), words.begin() + drop);
        }
    }
    for (auto& range : ranges_) {
        range.valid = false;
    }
    for (auto& blocks : blocks_) {
        const auto whole = static_cast<std::ptrdiff_t>(std::min(blocks.size(), count / kBlock));
        blocks.erase(blocks.begin(), blocks.begin() + whole);
    }
    firstSample_ += static_cast<std::int64_t>(count);
    breaks_.erase(breaks_.begin(), std::upper_bound(breaks_.begin(), breaks_.end(), firstSample_));
}

}  // namespace vekaton
