#include "analysis/LogAnalysis.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <span>

#include "analysis/FormulaPruning.h"
#include "log/DataLogFile.h"
#include "log/LogReplay.h"

namespace vekaton {

void LogAnalysis::SeenRange::Note(double value) {
    if (!std::isfinite(value)) {
        return;
    }
    if (low > high) {
        low = high = value;
        return;
    }
    low = std::min(low, value);
    high = std::max(high, value);
}

LogAnalysis::LogAnalysis(DataLogFile& log, const RecordLayout& layout, const ParameterTable& table,
                         const DetailsTable* details, AnalysisSetup setup,
                         AccumulatorOptions options, FrameRange range)
    : log_(log),
      layout_(layout),
      table_(std::make_unique<ParameterTable>(table)),
      decoder_(*table_, formulas_),
      setup_(std::move(setup)),
      options_(options),
      range_(range),
      needsY_(setup_.kind != AnalysisKind::Histogram) {
    decoder_.SetDispatchEnabled(false);  // no dashboard items to hand values to
    const std::vector<ValueRef> used = SetupRefs(setup_);
    PruneUnusedFormulas(*table_, used);
    const std::int64_t records = log_.RecordCount();
    range_.first = std::clamp<std::int64_t>(range_.first, 0, records);
    range_.count =
        std::clamp<std::int64_t>(range_.count.value_or(records), 0, records - range_.first);
    KnownEdges known = EdgesBeforeData(setup_, details);
    xEdges_ = std::move(known.x);
    yEdges_ = std::move(known.y);
    if (!xEdges_ || (needsY_ && setup_.y && !yEdges_)) {
        scanning_ = true;
        scanGate_ = FrameGate(setup_.conditions, setup_.settleSeconds);
        Rewind();
    } else {
        StartCounting();
    }
}

void LogAnalysis::SetMessageHandler(Decoder::MessageHandler handler) {
    decoder_.SetMessageHandler(std::move(handler));
}

std::int64_t LogAnalysis::RangeEnd() const {
    return range_.first + *range_.count;
}

bool LogAnalysis::Rewind() {
    next_ = range_.first;
    if (range_.first == 0) {
        decoder_.RestoreState(Decoder::State{});
        return true;
    }
    // The decoder carries a multi-byte value across frames: the state at the first record is
    // the one that playing every record before it leaves.
    LogReplay replay(log_, layout_, *table_);
    std::string error;
    const auto state = replay.StateAt(range_.first, error);
    if (!state) {
        error_ = error;
        return false;
    }
    decoder_.RestoreState(*state);
    return true;
}

void LogAnalysis::StartCounting() {
    result_ = std::make_unique<FrameAccumulator>(setup_, xEdges_.value_or(BinEdges{}),
                                                 needsY_ ? yEdges_ : std::nullopt, options_);
    Rewind();
}

bool LogAnalysis::Finished() const {
    return error_.has_value() || (!scanning_ && next_ >= RangeEnd());
}

double LogAnalysis::Progress() const {
    const auto total = static_cast<double>(*range_.count);
    if (total <= 0.0) {
        return Finished() ? 1.0 : 0.0;
    }
    const double passes = ScansForRange() ? 2.0 : 1.0;
    const double done = static_cast<double>(next_ - range_.first) + (scanned_ ? total : 0.0);
    return std::min(done / (passes * total), 1.0);
}

void LogAnalysis::PlayRecords(std::int64_t count) {
    const std::size_t size = log_.RecordSize();
    const std::int64_t intervalUs = static_cast<std::int64_t>(log_.IntervalMs()) * 1000;
    for (std::int64_t i = 0; i < count; ++i, ++next_) {
        const std::span<const std::uint8_t> record(
            buffer_.data() + static_cast<std::size_t>(i) * size, size);
        const int sample = static_cast<int>(std::min<std::int64_t>(next_ + 1, INT_MAX));
        const bool good = FeedRecord(decoder_, record, layout_, sample).checksumGood;
        // The time `decode` prints for the record: its index times the log's interval.
        const std::int64_t timeUs = next_ * intervalUs;
        if (!scanning_) {
            result_->Add(decoder_, good, timeUs, next_);
        } else if (scanGate_.Judge(decoder_, good, timeUs) == FrameFate::Used) {
            xSeen_.Note(ReadValue(decoder_, setup_.x));
            if (needsY_ && setup_.y) {
                ySeen_.Note(ReadValue(decoder_, *setup_.y));
            }
        }
    }
}

bool LogAnalysis::Step(std::int64_t records) {
    if (Finished()) {
        return false;
    }
    const std::int64_t count = std::min(std::max<std::int64_t>(records, 1), RangeEnd() - next_);
    if (count > 0) {
        std::string error;
        const auto read = log_.Read(next_, count, buffer_, error);
        if (!read || *read != count) {
            error_ = read ? std::string("the log ended early") : error;
            return false;
        }
        PlayRecords(count);
    }
    if (scanning_ && next_ >= RangeEnd()) {
        if (!xEdges_) {
            xEdges_ = SeenRangeEdges(xSeen_.low, xSeen_.high, setup_.xBins);
        }
        if (needsY_ && setup_.y && !yEdges_) {
            yEdges_ = SeenRangeEdges(ySeen_.low, ySeen_.high, setup_.yBins);
        }
        scanning_ = false;
        scanned_ = true;
        StartCounting();
    }
    return !Finished();
}

bool LogAnalysis::Run(const std::atomic<bool>* cancel,
                      const std::function<void(double)>& progress) {
    while (!Finished()) {
        if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) {
            return false;
        }
        Step();
        if (progress) {
            progress(Progress());
        }
    }
    return !error_.has_value();
}

}  // namespace vekaton
