#include "warnings/LogWarningScan.h"

#include <algorithm>
#include <climits>

#include "decode/PositionDetails.h"
#include "log/DataLogFile.h"

namespace vekaton {

LogWarningScan::LogWarningScan(DataLogFile& log, const RecordLayout& layout,
                               const ParameterTable& table, const DetailsTable& details,
                               WarningSettings settings)
    : log_(log),
      layout_(layout),
      table_(std::make_unique<ParameterTable>(table)),
      decoder_(*table_, formulas_),
      monitor_(settings) {
    monitor_.SetWatches(WarningWatches(*table_, details, layout.dataBytes, settings));
    for (const WarningWatch& watch : monitor_.Watches()) {
        spans_.push_back(WarningSpans{watch.ref, {}});
    }
    openEvents_.assign(monitor_.Watches().size(), -1);
    if (log.IntervalMs() == 0) {
        monitor_.SetDebounceSeconds(0.0);
    }
}

std::int64_t LogWarningScan::Total() const {
    return log_.RecordCount();
}

bool LogWarningScan::Finished() const {
    return done_ >= Total() || readError_.has_value();
}

bool LogWarningScan::Run() {
    while (Step(4096)) {
    }
    return !readError_.has_value();
}

bool LogWarningScan::Step(std::int64_t records) {
    if (Finished()) {
        return false;
    }
    std::string error;
    const auto read = log_.Read(done_, std::max<std::int64_t>(records, 1), buffer_, error);
    if (!read || *read == 0) {
        readError_ = read ? std::string("the log ended early") : error;
        return false;
    }
    const std::size_t size = log_.RecordSize();
    for (std::int64_t i = 0; i < *read; ++i) {
        const std::span<const std::uint8_t> record(
            buffer_.data() + static_cast<std::size_t>(i) * size, size);
        const std::int64_t frame = ++done_;
        FeedRecord(decoder_, record, layout_,
                   static_cast<int>(std::min<std::int64_t>(frame, INT_MAX)));
        NoteFrame(frame, static_cast<double>((frame - 1) * log_.IntervalMs()) / 1000.0);
    }
    return !Finished();
}

void LogWarningScan::NoteFrame(std::int64_t frame, double seconds) {
    const auto watches = monitor_.Watches();
    for (std::size_t i = 0; i < watches.size(); ++i) {
        const double value = ReadValue(decoder_, watches[i].ref);
        if (watches[i].Beyond(value)) {
            std::vector<FrameSpan>& spans = spans_[i].spans;
            if (!spans.empty() && spans.back().last == frame - 1) {
                spans.back().last = frame;
            } else {
                spans.push_back(FrameSpan{frame, frame});
            }
        }
        monitor_.Observe(i, value, seconds);
        const WarningStatus& status = monitor_.Statuses()[i];
        int& open = openEvents_[i];
        if (open >= 0) {
            WarningEvent& event = events_[static_cast<std::size_t>(open)];
            if (status.phase == WarningPhase::Active && status.side == event.side) {
                event.extreme = status.extreme;
                continue;
            }
            event.endFrame = frame;
            event.endSeconds = seconds;
            open = -1;
        }
        if (status.phase == WarningPhase::Active) {
            const std::int64_t framesBack = static_cast<std::int64_t>(
                log_.IntervalMs() > 0
                    ? (seconds - status.beyondSince) * 1000.0 / log_.IntervalMs() + 0.5
                    : 0.0);
            events_.push_back(WarningEvent{watches[i].ref, watches[i].name, status.side,
                                           watches[i].LimitOf(status.side), frame - framesBack,
                                           status.beyondSince, std::nullopt, std::nullopt,
                                           status.extreme, watches[i].alarm});
            open = static_cast<int>(events_.size() - 1);
        }
    }
}

}  // namespace vekaton
