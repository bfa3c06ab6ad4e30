#include "support/ManualClock.h"

#include <algorithm>

namespace vekaton::testing {

Clock::TimerId ManualClock::CallLater(std::int64_t delayMs, std::function<void()> callback) {
    const TimerId id = nextId_++;
    timers_.emplace(Key{now_ + std::max<std::int64_t>(delayMs, 0), id}, std::move(callback));
    return id;
}

void ManualClock::Cancel(TimerId id) {
    std::erase_if(timers_, [id](const auto& entry) { return entry.first.id == id; });
}

void ManualClock::Advance(std::int64_t ms) {
    const std::int64_t end = now_ + ms;
    while (!timers_.empty() && timers_.begin()->first.due <= end) {
        auto node = timers_.extract(timers_.begin());
        now_ = node.key().due;
        node.mapped()();
    }
    now_ = end;
}

}  // namespace vekaton::testing
