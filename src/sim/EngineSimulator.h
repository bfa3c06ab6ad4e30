#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/LinkSettings.h"
#include "sim/EngineModel.h"

namespace vekaton {

// Faults the simulated module can put into a frame.
enum class SimFault : int {
    WrongChecksum = 0,  // the checksum byte is off by one
    DroppedByte = 1,    // the middle data byte is left out
    StrayBytes = 2,     // two bytes of line noise (00 FF) come before the frame
    Silence = 3,        // the frame is not sent at all (no answer, or a missed burst)
};
inline constexpr int kSimFaultKinds = 4;

// "bad-checksum", "drop-byte", "stray-bytes", "silence": the names the simulator's options use.
std::string_view SimFaultName(SimFault fault);
std::optional<SimFault> SimFaultFromName(std::string_view name);

// The defaults answer like the module of the real capture in tests/data: request F4 57 01 00 B4,
// header F4 95 01, 63 data bytes and a checksum.
inline constexpr std::array<std::uint8_t, 5> kSimDefaultRequest{0xF4, 0x57, 0x01, 0x00, 0xB4};
inline constexpr std::array<std::uint8_t, 3> kSimDefaultHeader{0xF4, 0x95, 0x01};

struct SimulatorConfig {
    SyncMode mode = SyncMode::TalkListen;
    // Talk/listen: the request the module answers (empty: any bytes from the host). ALDL 160
    // interface: the start string that opens every packet.
    std::vector<std::uint8_t> request{kSimDefaultRequest.begin(), kSimDefaultRequest.end()};
    // Response header before the data (not used in the ALDL 160 interface mode, where the start
    // string takes its place).
    std::vector<std::uint8_t> header{kSimDefaultHeader.begin(), kSimDefaultHeader.end()};
    int dataBytes = 63;
    bool checksum = true;
    // The adapter reads back every byte the host sends (RX and TX tied to the one data line).
    bool echo = false;
    // Streaming modes: from the start of one frame to the start of the next, in ms.
    int intervalMs = 100;
    std::uint32_t seed = 1;
    // Fault kind k is put into every faultEvery[k]-th frame (0: never).
    std::array<int, kSimFaultKinds> faultEvery{};
    // The module sends this many frames, then none at all, like an engine switched off (the
    // adapter still echoes). -1: it never stops.
    std::int64_t stopAfterFrames = -1;
};

struct SimulatorStats {
    std::uint64_t frames = 0;  // frames made, sent or silenced
    std::array<std::uint64_t, kSimFaultKinds> faults{};
};

// Supplies the content of each frame: the running engine, or a replayed data log.
class FrameSource {
  public:
    virtual ~FrameSource() = default;
    // `header` comes filled with the configured header and may be overwritten.
    virtual void Fill(std::int64_t elapsedMs, std::uint32_t frameNumber,
                      std::span<std::uint8_t> header, std::span<std::uint8_t> data) = 0;
};

// A simulated engine control module behind its interface adapter. Pure core: the caller hands it
// the host's bytes and the time, and sends on what it returns. vekaton-sim (on a pseudo-terminal),
// the window's "Simulated ECM" port and the tests all drive this one object.
//
// Talk/listen: every complete request is answered with [header][data][checksum]. Listen only:
// one burst [header][data][checksum] every intervalMs, silence between. ALDL 160 interface: one
// packet [start string][data][checksum] every intervalMs. The checksum, when on, makes all bytes
// before it plus itself add up to 0 modulo 256. The data layout is EngineModel's.
class EngineSimulator {
  public:
    explicit EngineSimulator(SimulatorConfig config);
    ~EngineSimulator();
    EngineSimulator(const EngineSimulator&) = delete;
    EngineSimulator& operator=(const EngineSimulator&) = delete;

    // From now on the frames' header and data come from the log's records, looping at its end.
    // A record is laid out as the frame: header (the start string's length in the ALDL 160
    // interface mode), data bytes, then the checksum byte when on (recomputed when sent).
    std::optional<std::string> ReplayLog(const std::filesystem::path& path);

    // Bytes the host wrote; returns what goes back: the echo and, in talk/listen mode, the
    // answer to each request completed by these bytes.
    std::vector<std::uint8_t> OnHostBytes(std::span<const std::uint8_t> bytes, std::int64_t nowMs);
    // Streaming modes: the frame that falls due by nowMs, if any (never more than one, so that
    // bursts stay apart). Talk/listen mode: nothing.
    std::vector<std::uint8_t> Poll(std::int64_t nowMs);
    // When Poll next has something to send; the largest time in talk/listen mode.
    std::int64_t NextDueMs() const;

    // Puts the fault into the next frame made.
    void InjectOnce(SimFault fault);

    const SimulatorConfig& Config() const { return config_; }
    const SimulatorStats& Stats() const { return stats_; }
    // The last frame as meant, before any fault was applied.
    const std::vector<std::uint8_t>& LastFrame() const { return lastFrame_; }
    // Its data bytes (positions 1 to dataBytes).
    std::span<const std::uint8_t> LastData() const;

  private:
    std::vector<std::uint8_t> MakeFrame(std::int64_t nowMs);
    std::size_t HeaderSize() const;
    void StartClock(std::int64_t nowMs);

    SimulatorConfig config_;
    std::unique_ptr<FrameSource> source_;
    SimulatorStats stats_;
    std::vector<std::uint8_t> lastFrame_;
    std::vector<std::uint8_t> recent_;  // the host's last bytes, to spot a complete request
    std::array<bool, kSimFaultKinds> injectNext_{};
    std::optional<std::int64_t> startMs_;
    std::int64_t nextDueMs_ = std::numeric_limits<std::int64_t>::min();
};

}  // namespace vekaton
