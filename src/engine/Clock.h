#pragma once

#include <cstdint>
#include <functional>

namespace vekaton {

// Time as the core sees it. The shell runs QTimers behind it; tests advance a manual clock, so
// delays, timeouts and poll ticks are tested without waiting.
class Clock {
  public:
    using TimerId = std::uint64_t;

    virtual ~Clock() = default;

    // Milliseconds since an arbitrary fixed start.
    virtual std::int64_t NowMs() const = 0;
    // Calls back once, on the GUI thread, after at least delayMs. Never calls back from inside
    // CallLater itself. Returns an id that is never 0.
    virtual TimerId CallLater(std::int64_t delayMs, std::function<void()> callback) = 0;
    // Cancels a pending call; unknown or finished ids are ignored.
    virtual void Cancel(TimerId id) = 0;
};

}  // namespace vekaton
