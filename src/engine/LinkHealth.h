#pragma once

#include <cstdint>
#include <deque>

#include "engine/LinkCounters.h"

namespace vekaton {

enum class LinkState {
    Stopped,   // acquisition is not running
    Running,   // running, frames arriving
    NoData,    // running, but no frame for a while: the module is silent or the link is broken
    Playback,  // a data log is being played back
};

// Reads the engine's link counters at regular times and says how the link is doing: its state
// and the frame rate. Kept apart from the engine so that the window and the command line judge
// the link the same way; the engine only counts.
class LinkHealth {
  public:
    // Silence that counts as "no data": two seconds, or three poll periods if that is longer.
    static std::int64_t NoDataAfterMs(int pollPeriodMs);

    // One look at the link. nowMs is on the engine's clock (that of LinkCounters::lastFrameMs).
    void Update(const LinkCounters& counters, bool running, bool playback, std::int64_t nowMs,
                int pollPeriodMs);

    LinkState State() const { return state_; }
    // Frames per second over the last few seconds; 0 until two looks apart.
    double FramesPerSecond() const { return framesPerSecond_; }

  private:
    struct Sample {
        std::int64_t ms;
        std::uint64_t frames;
    };

    LinkState state_ = LinkState::Stopped;
    bool wasRunning_ = false;
    std::int64_t runningSinceMs_ = 0;
    double framesPerSecond_ = 0.0;
    std::deque<Sample> samples_;
};

}  // namespace vekaton
