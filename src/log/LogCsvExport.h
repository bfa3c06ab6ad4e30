#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "common/FloatText.h"
#include "decode/Decoder.h"
#include "decode/FormulaFrontEnd.h"
#include "decode/ParameterTable.h"
#include "log/CsvWriter.h"
#include "log/RecordPlayback.h"

namespace vekaton {

class DataLogFile;

// A data log as CSV: one row per record, played through the decoder from a fresh state with a
// copy of the parameter table (so nothing the window shows changes), "Frame", "Time" at the log's
// own interval from 0, and the value columns. `vekaton-cli decode` and the window's Export CSV
// both write through here, in steps so that the window can show progress and cancel.
class LogCsvExport {
  public:
    // `details`, when given, puts the positions' units into the headings.
    LogCsvExport(DataLogFile& log, const RecordLayout& layout, const ParameterTable& table,
                 std::ostream& out, NumberPrecision precision,
                 const DetailsTable* details = nullptr);

    // Formula faults met on the way.
    void SetMessageHandler(Decoder::MessageHandler handler);

    // Writes the header, then rows for up to `records` more records; false once every record
    // is written, the log could not be read, or the output failed.
    bool Step(std::int64_t records);
    std::int64_t Done() const { return done_; }
    std::int64_t Total() const;
    bool Finished() const;
    // Why the log could not be read; nullopt when it could.
    const std::optional<std::string>& ReadError() const { return readError_; }
    bool OutputFailed() const { return !out_; }

  private:
    DataLogFile& log_;
    RecordLayout layout_;
    std::unique_ptr<ParameterTable> table_;
    FormulaFrontEnd formulas_;
    Decoder decoder_;
    std::ostream& out_;
    CsvWriter csv_;
    bool headerWritten_ = false;
    std::int64_t done_ = 0;
    std::optional<std::string> readError_;
    std::vector<std::uint8_t> buffer_;
};

}  // namespace vekaton
