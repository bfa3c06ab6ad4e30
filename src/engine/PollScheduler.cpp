#include "engine/PollScheduler.h"

#include <utility>

namespace vekaton {

PollScheduler::PollScheduler(Clock& clock, Interval pollInterval, Interval syncTime,
                             std::function<void()> onPoll, std::function<void()> onSync)
    : clock_(clock),
      pollInterval_(std::move(pollInterval)),
      syncTime_(std::move(syncTime)),
      onPoll_(std::move(onPoll)),
      onSync_(std::move(onSync)) {}

PollScheduler::~PollScheduler() {
    SetPoll(false);
    SetSync(false);
}

void PollScheduler::SetPoll(bool on) {
    if (on == pollEnabled_) {
        return;
    }
    pollEnabled_ = on;
    if (on) {
        SchedulePoll();
    } else if (pollTimer_ != 0) {
        clock_.Cancel(pollTimer_);
        pollTimer_ = 0;
    }
}

void PollScheduler::RestartPoll() {
    if (pollEnabled_) {
        SetPoll(false);
        SetPoll(true);
    }
}

void PollScheduler::SchedulePoll() {
    const std::int64_t interval = pollInterval_();
    if (interval <= 0) {
        return;  // a timer with no interval never fires
    }
    pollTimer_ = clock_.CallLater(interval, [this] {
        pollTimer_ = 0;
        onPoll_();
        // The tick may have turned the timer off, or off and on again.
        if (pollEnabled_ && pollTimer_ == 0) {
            SchedulePoll();
        }
    });
}

void PollScheduler::SetSync(bool on) {
    if (on == syncEnabled_) {
        return;
    }
    syncEnabled_ = on;
    if (on) {
        ScheduleSync();
    } else if (syncTimer_ != 0) {
        clock_.Cancel(syncTimer_);
        syncTimer_ = 0;
    }
}

void PollScheduler::ScheduleSync() {
    if (syncTimer_ != 0) {
        clock_.Cancel(syncTimer_);
        syncTimer_ = 0;
    }
    const std::int64_t syncTime = syncTime_();
    if (syncTime <= 0) {
        return;
    }
    syncTimer_ = clock_.CallLater(syncTime, [this] {
        syncTimer_ = 0;
        onSync_();
        if (syncEnabled_ && syncTimer_ == 0) {
            ScheduleSync();
        }
    });
}

}  // namespace vekaton
