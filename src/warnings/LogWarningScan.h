#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "decode/Decoder.h"
#include "decode/FormulaFrontEnd.h"
#include "decode/ParameterTable.h"
#include "log/RecordPlayback.h"
#include "warnings/WarningMonitor.h"

namespace vekaton {

class DataLogFile;
class DetailsTable;

// Frames [first, last] of a log (numbered from 1, as the CSV numbers them) during which a value
// stood beyond one of its limits.
struct FrameSpan {
    std::int64_t first = 0;
    std::int64_t last = 0;
    bool operator==(const FrameSpan&) const = default;
};

// The spans of one watched value, for shading a log's plot.
struct WarningSpans {
    ValueRef ref;
    std::vector<FrameSpan> spans;
};

// One warning as it would have been raised live: beyond the limit for the debounce time, over
// when the value came back by the hysteresis margin.
struct WarningEvent {
    ValueRef ref;
    std::string name;
    WarningSide side = WarningSide::High;
    double limit = 0.0;
    std::int64_t startFrame = 0;  // the frame that passed the limit
    double startSeconds = 0.0;
    std::optional<std::int64_t> endFrame;  // the frame back within; none: still on at the end
    std::optional<double> endSeconds;
    double extreme = 0.0;  // the furthest beyond the limit
    bool alarm = false;
};

// Reads a data log through the decoder (a fresh decoder and a copy of the table, so the values
// are those `vekaton-cli decode` prints) and finds, for the current details, where each value
// was beyond its limits and the warnings that a live run would have raised. The time of frame k
// is (k - 1) times the log's interval; a log recorded without an interval has no time to
// debounce with, so every excursion warns. Works in steps so a window can show progress.
class LogWarningScan {
  public:
    LogWarningScan(DataLogFile& log, const RecordLayout& layout, const ParameterTable& table,
                   const DetailsTable& details, WarningSettings settings = {});

    // Scans up to `records` more records; false once the log is done or cannot be read.
    bool Step(std::int64_t records);
    // The whole log at once; false when it could not be read to its end.
    bool Run();
    std::int64_t Done() const { return done_; }
    std::int64_t Total() const;
    bool Finished() const;
    const std::optional<std::string>& ReadError() const { return readError_; }

    // Every watched value, in the order of the watches (those without spans included).
    const std::vector<WarningSpans>& Spans() const { return spans_; }
    // The warnings found so far in the order they were raised; those still on at the end of the
    // log have no end.
    const std::vector<WarningEvent>& Events() const { return events_; }

  private:
    void NoteFrame(std::int64_t frame, double seconds);

    DataLogFile& log_;
    RecordLayout layout_;
    std::unique_ptr<ParameterTable> table_;
    FormulaFrontEnd formulas_;
    Decoder decoder_;
    WarningMonitor monitor_;
    std::vector<WarningSpans> spans_;
    std::vector<WarningEvent> events_;
    std::vector<int> openEvents_;  // per watch: index into events_, or -1
    std::int64_t done_ = 0;
    std::optional<std::string> readError_;
    std::vector<std::uint8_t> buffer_;
};

}  // namespace vekaton
