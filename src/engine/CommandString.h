#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/CommandText.h"
#include "engine/Clock.h"
#include "engine/Port.h"

namespace vekaton {

// Sends commands without blocking the GUI thread: bytes are written in order, waits are timer
// callbacks. After the last step it waits two ticks, flushes the port's input and calls `done`.
// Commands given while one is in progress are queued and sent after it.
class CommandSender {
  public:
    // Ticks waited after every command before the port's input is flushed.
    static constexpr int kSettleTicks = 2;

    CommandSender(Port& port, Clock& clock);
    ~CommandSender();
    CommandSender(const CommandSender&) = delete;
    CommandSender& operator=(const CommandSender&) = delete;

    // Returns the plan's conversion error, if any (the steps before it are still sent).
    std::optional<std::string> Send(std::string_view text, std::function<void()> done = {});
    bool Busy() const;
    // Drops queued and in-progress commands without calling their `done`. `done` may call Send
    // or Cancel, but must not destroy the sender.
    void Cancel();

  private:
    struct Job;
    void RunSteps();
    Port& port_;
    Clock& clock_;
    std::vector<Job> queue_;
    std::size_t nextStep_ = 0;
    Clock::TimerId timer_ = 0;
    bool running_ = false;  // inside RunSteps: a Send from `done` only queues
};

}  // namespace vekaton
