#include "decode/ExpressionNumber.h"

#include <charconv>
#include <clocale>
#include <numbers>
#include <string>
#include <system_error>

namespace vekaton {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Where the literal's parts lie; filled by Scan when the whole text has the literal's shape.
struct LiteralShape {
    bool negative = false;
    std::string_view intDigits;
    std::string_view fracDigits;
    long long exponent = 0;  // clamped far beyond any float's range
};

std::optional<LiteralShape> Scan(std::string_view text, char decimalSeparator) {
    LiteralShape shape;
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        shape.negative = text[at] == '-';
        ++at;
    }
    const std::size_t intStart = at;
    while (at < text.size() && IsDigit(text[at])) {
        ++at;
    }
    shape.intDigits = text.substr(intStart, at - intStart);
    if (at < text.size() && text[at] == decimalSeparator) {
        ++at;
        const std::size_t fracStart = at;
        while (at < text.size() && IsDigit(text[at])) {
            ++at;
        }
        shape.fracDigits = text.substr(fracStart, at - fracStart);
    }
    if (shape.intDigits.empty() && shape.fracDigits.empty()) {
        return std::nullopt;
    }
    if (at < text.size() && text[at] == 'E') {
        ++at;
        bool negativeExponent = false;
        if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
            negativeExponent = text[at] == '-';
            ++at;
        }
        const std::size_t expStart = at;
        while (at < text.size() && IsDigit(text[at])) {
            if (shape.exponent < 1'000'000'000) {
                shape.exponent = shape.exponent * 10 + (text[at] - '0');
            }
            ++at;
        }
        if (at == expStart) {
            return std::nullopt;
        }
        if (negativeExponent) {
            shape.exponent = -shape.exponent;
        }
    }
    if (at != text.size()) {
        return std::nullopt;
    }
    return shape;
}

// True when a literal that from_chars found out of range is too small rather than too large:
// the decimal position of its first significant digit plus the exponent is negative.
bool IsUnderflow(const LiteralShape& shape) {
    long long magnitude = 0;
    const auto firstInt = shape.intDigits.find_first_not_of('0');
    if (firstInt != std::string_view::npos) {
        magnitude = static_cast<long long>(shape.intDigits.size() - firstInt) - 1;
    } else {
        const auto firstFrac = shape.fracDigits.find_first_not_of('0');
        magnitude =
            -static_cast<long long>(firstFrac == std::string_view::npos ? 0 : firstFrac) - 1;
    }
    return magnitude + shape.exponent < 0;
}

}  // namespace

std::optional<double> ParseNumberLiteral(std::string_view text, char decimalSeparator) {
    if (text == "PI") {
        return std::numbers::pi;
    }
    if (text == "-PI") {
        return -std::numbers::pi;
    }
    const auto shape = Scan(text, decimalSeparator);
    if (!shape) {
        return std::nullopt;
    }
    // from_chars wants no "+" and a point; the shape is already known to be a literal.
    std::string clean;
    clean.reserve(text.size());
    for (const char c : text.substr(text[0] == '+' ? 1 : 0)) {
        clean += c == decimalSeparator ? '.' : c;
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(clean.data(), clean.data() + clean.size(), value);
    if (error == std::errc::result_out_of_range) {
        if (!IsUnderflow(*shape)) {
            return std::nullopt;
        }
        return shape->negative ? -0.0 : 0.0;
    }
    if (error != std::errc() || end != clean.data() + clean.size()) {
        return std::nullopt;
    }
    return value;
}

char LocaleDecimalSeparator() {
    const std::lconv* conventions = std::localeconv();
    if (conventions == nullptr || conventions->decimal_point == nullptr ||
        conventions->decimal_point[0] == '\0') {
        return '.';
    }
    return conventions->decimal_point[0];
}

}  // namespace vekaton
