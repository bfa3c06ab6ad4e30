#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

}  // namespace vekaton
