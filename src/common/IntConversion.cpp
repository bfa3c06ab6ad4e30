#include "common/IntConversion.h"

#include <charconv>

#include "common/MessageText.h"

namespace vekaton {

std::string InvalidIntegerMessage(std::string_view text) {
    // The text may be a whole line of a damaged file: only its beginning is quoted.
    return "'" + QuoteText(text) + "' is not a valid integer value";
}

ConversionError::ConversionError(std::string_view text)
    : std::runtime_error(InvalidIntegerMessage(text)), text_(text) {}

std::optional<std::int32_t> TryStrToInt(std::string_view text) {
    std::string_view rest = text;
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) {
        rest.remove_prefix(1);
    }
    bool negative = false;
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    int base = 10;
    if (!rest.empty() && rest.front() == '$') {
        base = 16;
        rest.remove_prefix(1);
    } else if (rest.size() > 1 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
        base = 16;
        rest.remove_prefix(2);
    }
    if (rest.empty()) {
        return std::nullopt;
    }
    std::uint64_t magnitude = 0;
    const auto [end, error] =
        std::from_chars(rest.data(), rest.data() + rest.size(), magnitude, base);
    if (error != std::errc() || end != rest.data() + rest.size()) {
        return std::nullopt;
    }
    // Hexadecimal text may name the bit pattern of a negative number ($FFFFFFFF is -1).
    if (base == 16 && !negative && magnitude <= 0xFFFFFFFFu) {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude));
    }
    if (negative) {
        if (magnitude > 2147483648u) {
            return std::nullopt;
        }
        return static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude));
    }
    if (magnitude > 2147483647u) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(magnitude);
}

std::int32_t StrToInt(std::string_view text) {
    if (const auto value = TryStrToInt(text)) {
        return *value;
    }
    throw ConversionError(text);
}

}  // namespace vekaton
