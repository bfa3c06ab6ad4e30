#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Clock.h"
#include "engine/Port.h"

namespace vekaton {

// One step of a command: send a byte, or wait whole 55-ms ticks.
struct CommandStep {
    enum class Kind { SendByte, WaitTicks } kind = Kind::SendByte;
    std::uint8_t byte = 0;
    int ticks = 0;
    bool operator==(const CommandStep&) const = default;
};

struct CommandPlan {
    std::vector<CommandStep> steps;
    // Set when a delay token's digits are not a valid integer: the steps before it are kept and
    // the rest of the command is not sent.
    std::optional<std::string> error;
    // Set when the delays asked for more than kMaxCommandDelayMs in total and were shortened.
    bool delayCapped = false;
};

inline constexpr int kTickMs = 55;
inline constexpr int kMaxCommandDelayMs = 10000;  // one command never waits longer in total

// Turns command text ("$f4 $57 (D110) $56", or comma-separated) into the steps that
// CommandStrToRawStr performs, delays rounded down to whole ticks and capped in total.
CommandPlan ParseCommand(std::string_view text);

// RequestStrToRawStr's conversion: every token becomes one byte (delay tokens are not
// recognised). At most kMaxRequestBytes are kept; `truncated` tells whether more were given.
std::vector<std::uint8_t> RequestTextToBytes(std::string_view text, bool* truncated = nullptr);

// DataOffset: bytes that precede the first data byte.
int ComputeDataOffset(int requestLength, int responseBytes, bool requestEchoed);

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
