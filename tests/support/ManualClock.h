#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <utility>

#include "engine/Clock.h"

namespace vekaton::testing {

// A clock that moves only when the test says so; due callbacks run in time order.
class ManualClock : public Clock {
public:
    std::int64_t NowMs() const override { return now_; }
    TimerId CallLater(std::int64_t delayMs, std::function<void()> callback) override;
    void Cancel(TimerId id) override;

    // Moves time forward, running every callback that falls due on the way (also ones that
    // callbacks schedule within the window).
    void Advance(std::int64_t ms);
    std::size_t Pending() const { return timers_.size(); }

private:
    struct Key {
        std::int64_t due;
        TimerId id;
        bool operator<(const Key& other) const {
            return due != other.due ? due < other.due : id < other.id;
        }
    };
    std::int64_t now_ = 0;
    TimerId nextId_ = 1;
    std::map<Key, std::function<void()>> timers_;
};

}  // namespace vekaton::testing
