#include "analysis/AnalysisNumbers.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace vekaton {

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<double> ParseFiniteNumber(std::string_view text) {
    text = TrimBlanks(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);  // from_chars takes a minus sign only
    }
    // from_chars would also read "inf", "nan" and hexadecimal-looking words; only a digit or a
    // point may start a number here.
    const std::string_view body = !text.empty() && text.front() == '-' ? text.substr(1) : text;
    if (body.empty() ||
        !(std::isdigit(static_cast<unsigned char>(body.front())) != 0 || body.front() == '.')) {
        return std::nullopt;
    }
    double value = 0.0;
    const char* const end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, std::chars_format::general);
    if (ec != std::errc() || ptr != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace vekaton
