#include "common/FloatText.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace vekaton {

namespace {

std::size_t CopyText(const char* text, NumberBuffer& buffer) {
    const std::size_t length = std::strlen(text);
    std::memcpy(buffer.data(), text, length);
    return length;
}

}  // namespace

std::string ShortestFloatText(double value) {
    NumberBuffer buffer{};
    return std::string(buffer.data(), FormatTableNumber(value, NumberPrecision::Exact, buffer));
}

std::size_t FormatTableNumber(double value, NumberPrecision precision, NumberBuffer& buffer) {
    if (std::isnan(value)) {
        return CopyText("NAN", buffer);
    }
    if (std::isinf(value)) {
        return CopyText(value > 0 ? "INF" : "-INF", buffer);
    }
    if (value == 0.0) {
        return CopyText("0", buffer);  // also for -0.0, which users would read as a fault
    }
    char* const first = buffer.data();
    char* const last = first + buffer.size();
    // The general format with a precision is printf's %g: fixed notation unless the exponent
    // is below -4 or reaches the precision, and no trailing zeros.
    const auto result = precision == NumberPrecision::Exact
                            ? std::to_chars(first, last, value)
                            : std::to_chars(first, last, value, std::chars_format::general,
                                            kTableSignificantDigits);
    return static_cast<std::size_t>(result.ptr - first);
}

std::string TableNumberText(double value, NumberPrecision precision) {
    NumberBuffer buffer{};
    return std::string(buffer.data(), FormatTableNumber(value, precision, buffer));
}

}  // namespace vekaton
