#include "common/CommandText.h"

#include <algorithm>
#include <utility>

#include "common/IntConversion.h"
#include "common/LinkSettings.h"

namespace vekaton {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Splits command text into tokens. With a comma anywhere the comma separates and blanks inside
// tokens are dropped; an empty token stays (it is the byte 0). Without commas blanks separate,
// and runs of blanks at either end or in between make no tokens, so a stray blank never turns
// into an extra 0 byte.
std::vector<std::string> Tokenize(std::string_view text) {
    std::vector<std::string> tokens;
    if (text.find(',') != std::string_view::npos) {
        std::string current;
        for (const char c : text) {
            if (c == ',') {
                tokens.push_back(std::move(current));
                current.clear();
            } else if (!IsBlank(c)) {
                current.push_back(c);
            }
        }
        tokens.push_back(std::move(current));
        return tokens;
    }
    std::size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && IsBlank(text[pos])) {
            ++pos;
        }
        const std::size_t start = pos;
        while (pos < text.size() && !IsBlank(text[pos])) {
            ++pos;
        }
        if (pos > start) {
            tokens.emplace_back(text.substr(start, pos - start));
        }
    }
    return tokens;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Lenient number reading of a command token: leading blanks, a sign, "$" for hexadecimal; it
// stops at the first character that does not belong and keeps the value so far. Only the low
// 8 bits are sent, so the arithmetic may wrap freely.
std::uint8_t TokenToByte(std::string_view token) {
    std::size_t pos = 0;
    while (pos < token.size() && IsBlank(token[pos])) {
        ++pos;
    }
    bool negative = false;
    if (pos < token.size() && (token[pos] == '+' || token[pos] == '-')) {
        negative = token[pos] == '-';
        ++pos;
    }
    unsigned base = 10;
    if (pos < token.size() && token[pos] == '$') {
        base = 16;
        ++pos;
    }
    std::uint32_t value = 0;
    for (; pos < token.size(); ++pos) {
        const int digit = HexDigit(token[pos]);
        if (digit < 0 || static_cast<unsigned>(digit) >= base) {
            break;
        }
        value = value * base + static_cast<unsigned>(digit);
    }
    if (negative) {
        value = 0u - value;
    }
    return static_cast<std::uint8_t>(value & 0xFFu);
}

bool IsDelayToken(std::string_view token) {
    return token.size() >= 2 && token[0] == '(' && (token[1] == 'D' || token[1] == 'd');
}

// The digits of "(D110)": everything after "(D" up to the closing bracket (or the end).
std::string_view DelayDigits(std::string_view token) {
    std::string_view digits = token.substr(2);
    const std::size_t close = digits.find(')');
    if (close != std::string_view::npos) {
        digits = digits.substr(0, close);
    }
    return digits;
}

}  // namespace

CommandPlan ParseCommand(std::string_view text) {
    CommandPlan plan;
    constexpr int kMaxTicks = kMaxCommandDelayMs / kTickMs;
    int ticksUsed = 0;
    for (const std::string& token : Tokenize(text)) {
        if (IsDelayToken(token)) {
            const std::string_view digits = DelayDigits(token);
            const auto ms = TryStrToInt(digits);
            if (!ms) {
                plan.error = InvalidIntegerMessage(digits);
                break;
            }
            int ticks = *ms > 0 ? *ms / kTickMs : 0;
            if (ticks > kMaxTicks - ticksUsed) {
                ticks = kMaxTicks - ticksUsed;
                plan.delayCapped = true;
            }
            if (ticks > 0) {
                plan.steps.push_back({CommandStep::Kind::WaitTicks, 0, ticks});
                ticksUsed += ticks;
            }
            continue;
        }
        if (!token.empty() && token.front() == '(') {
            continue;  // not a delay and not a number: skipped rather than sent as a 0 byte
        }
        plan.steps.push_back({CommandStep::Kind::SendByte, TokenToByte(token), 0});
    }
    return plan;
}

std::vector<std::uint8_t> RequestTextToBytes(std::string_view text, bool* truncated) {
    std::vector<std::uint8_t> bytes;
    const auto tokens = Tokenize(text);
    const std::size_t limit = static_cast<std::size_t>(kMaxRequestBytes);
    for (std::size_t i = 0; i < tokens.size() && i < limit; ++i) {
        bytes.push_back(TokenToByte(tokens[i]));
    }
    if (truncated != nullptr) {
        *truncated = tokens.size() > limit;
    }
    return bytes;
}

int ComputeDataOffset(int requestLength, int responseBytes, bool requestEchoed) {
    return requestEchoed ? requestLength + responseBytes : responseBytes;
}

}  // namespace vekaton
