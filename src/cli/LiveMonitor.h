#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/LinkSettings.h"
#include "engine/LinkCounters.h"

namespace vekaton::cli {

// What `live` says about the link while it runs: that no frame comes, that every frame fails
// its checksum, that frames are lost again and again; and a summary line at the end. Plain
// logic over the engine's counters and the time, so it is tested without a port.
class LiveMonitor {
  public:
    static constexpr std::int64_t kSilenceMs = 2000;
    static constexpr int kBadChecksumRun = 5;
    static constexpr std::uint64_t kLossesToWarn = 3;
    static constexpr std::int64_t kLossWarningGapMs = 30000;

    // The link as the messages describe it. requestLength: bytes of the request (the start
    // string in the ALDL 160 interface mode).
    LiveMonitor(std::string port, const LinkSettings& settings, int requestLength,
                std::int64_t startMs);

    // Bytes that arrived on the port, whether or not they made a frame.
    void BytesReceived(std::size_t count) { bytes_ += count; }
    // While the port is lost the link's own messages say what happened; the monitor is quiet
    // and counts a new silence from the port's return.
    void SetPortLost(bool lost, std::int64_t nowMs);

    // Called now and then and after frames: the warnings due, each a text of one or more lines.
    std::vector<std::string> Check(const LinkCounters& counters, std::int64_t nowMs);

    // "N frames received, N bad checksums, N sync errors, N polls without a complete answer".
    static std::string Summary(const LinkCounters& counters);

  private:
    std::string SilenceWarning(const LinkCounters& counters) const;
    std::string ChecksumWarning() const;
    std::string LossWarning(const LinkCounters& counters, std::uint64_t lost) const;
    std::string FrameShape() const;
    std::uint64_t FrameBytes() const;  // modes 1 and 2: the echo, header, data and checksum

    std::string port_;
    LinkSettings settings_;
    int requestLength_;
    std::int64_t quietSinceMs_;  // the start, the last frame or the port's return
    bool portLost_ = false;
    bool newBaseline_ = false;  // the port came back: count bytes and polls afresh

    std::uint64_t bytes_ = 0;
    std::uint64_t bytesAtFrame_ = 0;  // bytes_ when the last frame came
    std::uint64_t pollsAtFrame_ = 0;
    std::uint64_t framesSeen_ = 0;
    bool silenceReported_ = false;
    bool explained_ = false;  // the long form of the silence warning was given
    bool checksumRunReported_ = false;
    std::int64_t lastChecksumWarningMs_ = -1;
    std::uint64_t lostAtWarning_ = 0;
    std::int64_t lastLossWarningMs_ = -1;
};

}  // namespace vekaton::cli
