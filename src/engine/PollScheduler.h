#pragma once

#include <cstdint>
#include <functional>

#include "engine/Clock.h"

namespace vekaton {

// The engine's two timers on the clock: the poll timer (Timer1), which ticks every poll interval
// while enabled, and the sync timer, which fires after SyncTime ms of silence in listen-only
// mode. Each interval is asked for when the timer is next scheduled, so a new sample rate or
// playback speed applies from the next tick (or at once, with RestartPoll).
class PollScheduler {
  public:
    using Interval = std::function<std::int64_t()>;

    PollScheduler(Clock& clock, Interval pollInterval, Interval syncTime,
                  std::function<void()> onPoll, std::function<void()> onSync);
    ~PollScheduler();
    PollScheduler(const PollScheduler&) = delete;
    PollScheduler& operator=(const PollScheduler&) = delete;

    // A timer with an interval of 0 or less is enabled but never fires.
    void SetPoll(bool on);
    bool PollEnabled() const { return pollEnabled_; }
    // Starts the poll interval over, at the interval asked for now (when enabled).
    void RestartPoll();

    void SetSync(bool on);
    bool SyncEnabled() const { return syncEnabled_; }
    // Data arrived: the silence starts over (when enabled). Checked here, as it comes with
    // every chunk of received bytes.
    void RestartSync() {
        if (syncEnabled_) {
            ScheduleSync();
        }
    }

  private:
    void SchedulePoll();
    void ScheduleSync();

    Clock& clock_;
    Interval pollInterval_;
    Interval syncTime_;
    std::function<void()> onPoll_;
    std::function<void()> onSync_;
    bool pollEnabled_ = false;
    Clock::TimerId pollTimer_ = 0;
    bool syncEnabled_ = false;
    Clock::TimerId syncTimer_ = 0;
};

}  // namespace vekaton
