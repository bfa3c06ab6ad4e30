#include "engine/LinkHealth.h"

#include <algorithm>

namespace vekaton {
namespace {

constexpr std::int64_t kRateWindowMs = 3000;

}  // namespace

std::int64_t LinkHealth::NoDataAfterMs(int pollPeriodMs) {
    return std::max<std::int64_t>(2000, 3 * static_cast<std::int64_t>(std::max(pollPeriodMs, 0)));
}

void LinkHealth::Update(const LinkCounters& counters, bool running, bool playback,
                        std::int64_t nowMs, int pollPeriodMs) {
    if (running && !wasRunning_) {
        runningSinceMs_ = nowMs;  // a fresh start is not silence yet
    }
    wasRunning_ = running;

    // A reset of the counters (or a new engine) starts the rate afresh.
    if (!samples_.empty() && counters.frames < samples_.back().frames) {
        samples_.clear();
    }
    samples_.push_back(Sample{nowMs, counters.frames});
    while (samples_.size() > 2 && nowMs - samples_[1].ms >= kRateWindowMs) {
        samples_.pop_front();
    }
    const Sample& first = samples_.front();
    const std::int64_t span = nowMs - first.ms;
    framesPerSecond_ = span > 0 ? static_cast<double>(counters.frames - first.frames) * 1000.0 /
                                      static_cast<double>(span)
                                : 0.0;

    if (playback) {
        state_ = LinkState::Playback;
    } else if (!running) {
        state_ = LinkState::Stopped;
    } else {
        const std::int64_t since = std::max(counters.lastFrameMs, runningSinceMs_);
        state_ =
            nowMs - since >= NoDataAfterMs(pollPeriodMs) ? LinkState::NoData : LinkState::Running;
    }
}

}  // namespace vekaton
