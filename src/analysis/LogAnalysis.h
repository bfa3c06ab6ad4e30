#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/FrameAccumulator.h"
#include "decode/Decoder.h"
#include "decode/FormulaFrontEnd.h"
#include "decode/ParameterTable.h"
#include "log/RecordPlayback.h"

namespace vekaton {

class DataLogFile;
class DetailsTable;

// The records of a log an analysis reads: all of them, or those between a viewer's cursors.
struct FrameRange {
    std::int64_t first = 0;
    std::optional<std::int64_t> count;  // nullopt: to the end of the log
};

// An analysis over a data log, in steps so that a worker thread can report progress and stop
// when cancelled. Every record is played through a decoder of its own (a copy of the parameter
// table, from a fresh state), exactly as `vekaton-cli decode` plays it, so the values and the
// times (record index x the log's interval) are those that decode prints; only the formulas the
// analysis needs are evaluated, which changes none of its values. Reads a few thousand
// records at a time: memory stays flat however long the log.
//
// Automatic edges that the definitions cannot give (no display range) need the values' range
// first: then the log is read twice, once for the range and once for the cells.
//
// Everything the analysis touches is its own, except the log: on a worker thread, give it a
// DataLogFile that nothing else reads meanwhile. The details are read only by the constructor.
class LogAnalysis {
  public:
    static constexpr std::int64_t kRecordsPerStep = 4096;

    LogAnalysis(DataLogFile& log, const RecordLayout& layout, const ParameterTable& table,
                const DetailsTable* details, AnalysisSetup setup, AccumulatorOptions options = {},
                FrameRange range = {});
    LogAnalysis(const LogAnalysis&) = delete;
    LogAnalysis& operator=(const LogAnalysis&) = delete;

    // Formula faults met on the way, each once.
    void SetMessageHandler(Decoder::MessageHandler handler);

    // Plays up to `records` more records; false once the analysis is done or failed.
    bool Step(std::int64_t records = kRecordsPerStep);
    // Steps to the end, calling progress (0 to 1) after each step; false when cancel was set
    // (checked between steps) or the log could not be read.
    bool Run(const std::atomic<bool>* cancel = nullptr,
             const std::function<void(double)>& progress = {});

    bool Finished() const;
    double Progress() const;
    // Why the log could not be read; nullopt when it could.
    const std::optional<std::string>& Error() const { return error_; }
    // Whether the log is read twice (for the range of automatic edges).
    bool ScansForRange() const { return scanning_ || scanned_; }

    // The result so far; whole once Finished() without an error. Null during the range scan.
    const FrameAccumulator* Result() const { return result_.get(); }
    std::unique_ptr<FrameAccumulator> TakeResult() { return std::move(result_); }

  private:
    struct SeenRange {
        double low = 0.0;
        double high = -1.0;  // low > high: nothing seen
        void Note(double value);
    };

    std::int64_t RangeEnd() const;
    bool Rewind();
    void PlayRecords(std::int64_t count);
    void StartCounting();

    DataLogFile& log_;
    RecordLayout layout_;
    std::unique_ptr<ParameterTable> table_;
    FormulaFrontEnd formulas_;
    Decoder decoder_;
    AnalysisSetup setup_;
    AccumulatorOptions options_;
    FrameRange range_;
    std::optional<BinEdges> xEdges_;
    std::optional<BinEdges> yEdges_;
    bool needsY_ = false;

    bool scanning_ = false;  // reading for the range
    bool scanned_ = false;
    FrameGate scanGate_;
    SeenRange xSeen_;
    SeenRange ySeen_;
    std::unique_ptr<FrameAccumulator> result_;

    std::int64_t next_ = 0;  // the next record to play
    std::optional<std::string> error_;
    std::vector<std::uint8_t> buffer_;
};

}  // namespace vekaton
