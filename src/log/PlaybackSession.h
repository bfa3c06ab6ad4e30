#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "log/DataLogFile.h"
#include "log/LogReplay.h"
#include "log/RecordPlayback.h"

namespace vekaton {

class ParameterTable;

// A data log being played back in real time: the log, where playback stands, how fast it goes,
// and the checkpoints that make seeking give the same values as playing from the start.
class PlaybackSession {
  public:
    static constexpr double kSlowest = 0.25;
    static constexpr double kFastest = 8.0;
    // Records read from the file at a time, so that a tick rarely touches the disk.
    static constexpr std::int64_t kReadAhead = 256;

    // Opens the log with the record layout of the settings in force. Check Error().
    PlaybackSession(const std::filesystem::path& path, const RecordLayout& layout,
                    ParameterTable& table);
    const std::optional<std::string>& Error() const { return error_; }

    const DataLogFile& Log() const { return log_; }
    const RecordLayout& Layout() const { return layout_; }
    LogReplay& Replay() { return replay_; }
    // The log's interval (the settings' SampleRate when the log says 0).
    int IntervalMs() const { return intervalMs_; }
    void SetDefaultInterval(int sampleRate);

    // The frame that plays next (0 = the first); equal to Frames() at the end.
    std::int64_t Position() const { return position_; }
    void SetPosition(std::int64_t frame);
    std::int64_t Frames() const { return log_.RecordCount(); }
    bool AtEnd() const { return position_ >= Frames(); }
    // The record at Position(); empty with `error` set when it cannot be read.
    std::span<const std::uint8_t> Current(std::string& error);
    // The log time of a frame, in seconds: the time axis starts at 0 for every log.
    double TimeOf(std::int64_t frame) const {
        return static_cast<double>(frame) * intervalMs_ / 1000.0;
    }

    bool Paused() const { return paused_; }
    void SetPaused(bool paused) { paused_ = paused; }
    double Speed() const { return speed_; }
    void SetSpeed(double speed);
    // The poll timer's interval at this speed: at least 1 ms.
    std::int64_t TickMs() const;

  private:
    DataLogFile log_;
    RecordLayout layout_;
    LogReplay replay_;
    std::optional<std::string> error_;
    int intervalMs_ = 0;
    std::int64_t position_ = 0;
    bool paused_ = false;
    double speed_ = 1.0;
    std::vector<std::uint8_t> buffer_;
    std::int64_t bufferFirst_ = 0;
    std::int64_t bufferCount_ = 0;
};

}  // namespace vekaton
