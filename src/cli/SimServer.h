#pragma once

#include <cstdint>
#include <deque>
#include <span>
#include <vector>

#include "sim/EngineSimulator.h"

namespace vekaton {
class DataLogWriter;
}

namespace vekaton::cli {

// Serves the simulated module on the master side of a pseudo-terminal until a stop is signalled.
//
// One poll() loop: the host's bytes go to the simulator and its answers come back; in the
// streaming modes frames fall due on the simulator's schedule. Bytes leave at the line speed when
// one is given. While no program has the device open (the master reports a hang-up) frames are
// made and dropped, and the loop only wakes now and then to look again, so it never spins.
class SimServer {
  public:
    // How long the loop sleeps while nobody has the device open.
    static constexpr int kIdleWaitMs = 20;
    // What is held back for a reader that does not read; beyond it new frames are dropped.
    static constexpr std::size_t kMaxPendingBytes = 64 * 1024;

    // masterFd: non-blocking master of the pty. stopFd: readable when the program must stop.
    // sentLog, if given, receives every frame made, as meant before faults.
    SimServer(EngineSimulator& simulator, int masterFd, int stopFd, int baudRate,
              DataLogWriter* sentLog);

    // Returns 0 when stopped by stopFd, 1 when waiting on the line failed (the reason is on
    // standard error).
    int Run();

  private:
    static std::int64_t NowMs();
    void ProbeConnection();
    void ReadHost(std::int64_t now);
    void Queue(const std::vector<std::uint8_t>& bytes);
    void WritePending(std::int64_t now);
    void NoteFramesMade();
    int NextWakeMs(std::int64_t now) const;

    EngineSimulator& simulator_;
    int masterFd_;
    int stopFd_;
    double msPerByte_;  // 0: no pacing
    DataLogWriter* sentLog_;
    bool connected_ = false;
    bool blocked_ = false;  // the last write found the pty's buffer full
    std::deque<std::uint8_t> pending_;
    double lineFreeAtMs_ = 0.0;  // when the bytes already written have left the line
    std::uint64_t framesLogged_ = 0;
};

}  // namespace vekaton::cli
