// Reducing a channel's samples to one span per pixel column, from the samples themselves or,
// for columns of many samples, from the block summaries.
#include "chart/StripChartData.h"

#include <algorithm>
#include <cmath>

namespace vekaton {
namespace {

// How far back to look for the point left of the window before calling it a gap.
constexpr std::size_t kNeighbourSearch = 4096;

}  // namespace

void StripChartData::Decimate(int channel, double x0, double x1, int columns, DecimatedTrace& out,
                              std::int64_t sampleBegin, std::int64_t sampleEnd) const {
    out.columns.assign(static_cast<std::size_t>(std::max(columns, 0)), ColumnSpan{});
    out.before.reset();
    out.after.reset();
    if (channel < 0 || channel >= ChannelCount() || columns <= 0 || !(x1 > x0) ||
        !std::isfinite(x0) || !std::isfinite(x1)) {
        return;
    }
    const std::vector<float>& values = values_[static_cast<std::size_t>(channel)];
    // The stretch of samples looked at, as offsets into the store.
    const std::size_t lowest = static_cast<std::size_t>(std::clamp<std::int64_t>(
        sampleBegin - firstSample_, 0, static_cast<std::int64_t>(xs_.size())));
    const std::size_t highest = static_cast<std::size_t>(std::clamp<std::int64_t>(
        sampleEnd == std::numeric_limits<std::int64_t>::max()
            ? static_cast<std::int64_t>(xs_.size())
            : sampleEnd - firstSample_,
        static_cast<std::int64_t>(lowest), static_cast<std::int64_t>(xs_.size())));
    const auto xBegin = xs_.begin();
    const auto xLow = xBegin + static_cast<std::ptrdiff_t>(lowest);
    const auto xHigh = xBegin + static_cast<std::ptrdiff_t>(highest);
    std::size_t begin = static_cast<std::size_t>(std::lower_bound(xLow, xHigh, x0) - xBegin);
    const std::size_t end = static_cast<std::size_t>(std::upper_bound(xLow, xHigh, x1) - xBegin);

    for (std::size_t k = begin, steps = 0; k > lowest && steps < kNeighbourSearch; --k, ++steps) {
        if (!std::isnan(values[k - 1])) {
            out.before = ChartPoint{xs_[k - 1], values[k - 1]};
            break;
        }
    }
    for (std::size_t k = end, steps = 0; k < highest && steps < kNeighbourSearch; ++k, ++steps) {
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
            // A column of many blocks ends on a block's edge, so that it is summed from the
            // blocks alone; the edge moves by less than a sixteenth of the column.
            if (stop - begin >= 8 * kBlock) {
                const std::size_t snapped = (stop + kBlock / 2) / kBlock * kBlock;
                stop = std::clamp(snapped, begin + 1, end);
            }
        }
        if (stop == begin) {
            continue;
        }
        ColumnSpan& column = out.columns[static_cast<std::size_t>(c)];
        column.samples = static_cast<int>(stop - begin);
        Span span;
        Accumulate(channel, begin, stop, span);
        if (span.points > 0) {
            column.points = span.points;
            column.minimum = span.lo;
            column.maximum = span.hi;
            column.first = span.first;
            column.last = span.last;
        }
        begin = stop;
    }
}

void StripChartData::Recount(int channel, std::size_t block) const {
    const std::vector<float>& values = values_[static_cast<std::size_t>(channel)];
    Block counted;
    const std::size_t begin = block * kBlock;
    const std::size_t stop = std::min(values.size(), begin + kBlock);
    for (std::size_t k = begin; k < stop; ++k) {
        const float v = values[k];
        if (std::isnan(v)) {
            continue;
        }
        const auto at = static_cast<std::uint8_t>(k - begin);
        if (counted.points == 0) {
            counted = Block{v, v, v, v, 0, at, at};
        }
        counted.lo = std::min(counted.lo, v);
        counted.hi = std::max(counted.hi, v);
        counted.last = v;
        counted.lastAt = at;
        ++counted.points;
    }
    blocks_[static_cast<std::size_t>(channel)][block] = counted;
}

void StripChartData::Accumulate(int channel, std::size_t begin, std::size_t stop,
                                Span& span) const {
    const float* data = values_[static_cast<std::size_t>(channel)].data();
    const auto scan = [&](std::size_t from, std::size_t to) {
        std::size_t firstValid = from;
        while (firstValid < to && std::isnan(data[firstValid])) {
            ++firstValid;
        }
        if (firstValid == to) {
            return;
        }
        std::size_t lastValid = to - 1;
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
        span.Add(low, high, data[firstValid], data[lastValid], points);
    };
    const std::size_t head = (begin + kBlock - 1) / kBlock * kBlock;
    const std::size_t tail = stop / kBlock * kBlock;
    if (stop - begin < 3 * kBlock || head >= tail) {
        scan(begin, stop);
        return;
    }
    scan(begin, head);
    const auto& blocks = blocks_[static_cast<std::size_t>(channel)];
    for (std::size_t b = head / kBlock; b < tail / kBlock; ++b) {
        if (blocks[b].points < 0) {
            Recount(channel, b);
        }
        const Block& block = blocks[b];
        if (block.points > 0) {
            span.Add(block.lo, block.hi, block.first, block.last, block.points);
        }
    }
    scan(tail, stop);
}

}  // namespace vekaton
