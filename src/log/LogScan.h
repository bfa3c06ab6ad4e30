#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "log/RecordPlayback.h"

namespace vekaton {

class DataLogFile;
class Decoder;
class LogReplay;

// One pass over a whole data log through a decoder, in steps (so that a window can show its
// progress and be cancelled between them): every record is played as playback plays it, from a
// fresh decoder state, with one chart sample per frame at the log's own time (frame x interval,
// from 0). Checkpoints for seeking are kept on the way, and failed checksums counted.
class LogScan {
  public:
    // Makes the chart sample of a frame at X seconds and returns its index.
    using AddSample = std::function<std::int64_t(double seconds)>;

    LogScan(DataLogFile& log, LogReplay& replay, const RecordLayout& layout, Decoder& decoder);

    // Plays up to `records` more records; false once the log is done or reading failed.
    bool Step(std::int64_t records, const AddSample& addSample);
    std::int64_t Done() const { return done_; }
    std::int64_t Total() const;
    bool Finished() const { return done_ >= Total() || error_.has_value(); }
    // The frames whose checksum failed (only with a checksum in the layout).
    std::int64_t BadChecksums() const { return badChecksums_; }
    const std::optional<std::string>& Error() const { return error_; }
    // The log time of a frame in seconds (the interval is the settings' when the log says 0).
    double TimeOf(std::int64_t frame) const;
    void SetDefaultInterval(int sampleRate);

  private:
    DataLogFile& log_;
    LogReplay& replay_;
    RecordLayout layout_;
    Decoder& decoder_;
    int intervalMs_ = 0;
    std::int64_t done_ = 0;
    std::int64_t badChecksums_ = 0;
    std::optional<std::string> error_;
    std::vector<std::uint8_t> buffer_;
};

// Whether a log fits the set it is read with, and if not the likely cause, for the user: a
// length that is not a whole number of records, or most checksums failing. nullopt when it fits.
std::optional<std::string> LogFitWarning(std::uint64_t trailingBytes, std::size_t recordSize,
                                         std::int64_t frames, std::int64_t badChecksums,
                                         bool useCheckSum);

}  // namespace vekaton
