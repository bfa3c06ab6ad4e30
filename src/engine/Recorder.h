#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "log/DataLog.h"

namespace vekaton {

class EngineView;

// Recording received frames to a data log: the log, the current frame's record as it is
// assembled, the stop that waits for the end of the next frame, the frame count and its label.
// A record goes into the log only whole, so the log stays readable whatever happens mid-frame.
class Recorder {
  public:
    explicit Recorder(EngineView& view) : view_(view) {}
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // Creates the log (an open one is closed first) with the poll interval in its header, and
    // starts recording. The reason when it cannot be created, saying that recording did not
    // start.
    std::optional<std::string> Start(const std::filesystem::path& path, int intervalMs);
    // "STOP Record": the log closes at the end of the next frame, after its last byte.
    void RequestStop();
    // Closes the log at once: the completed frames are in it, the frame in progress is left out.
    // Returns the message that says so (also shown), or nothing when no log was open.
    std::optional<std::string> CloseNow(std::string_view why);

    bool IsOpen() const { return log_.IsOpen(); }
    bool Recording() const { return recording_; }
    bool StopRequested() const { return stopRequested_; }
    int FrameCount() const { return frameCount_; }
    std::filesystem::path Path() const { return log_.Path(); }

    // The current frame's record: dropped at every frame start, begun with the bytes a packet
    // lost to the trigger, then added to byte by byte.
    void DropRecord() { pendingRecord_.clear(); }
    void BeginRecord(const std::vector<std::uint8_t>& bytes) { pendingRecord_ = bytes; }
    void Append(std::uint8_t b) { pendingRecord_.push_back(b); }
    // The end of a frame: the record goes into the log when it is whole (`recordLength` bytes;
    // a frame whose start the log missed is left out), then a requested stop closes the log,
    // and the label shows the count.
    void FinishRecord(std::size_t recordLength);

  private:
    void Close();

    EngineView& view_;
    DataLogWriter log_;
    bool recording_ = false;
    bool stopRequested_ = false;
    int frameCount_ = 0;
    std::vector<std::uint8_t> pendingRecord_;
};

}  // namespace vekaton
