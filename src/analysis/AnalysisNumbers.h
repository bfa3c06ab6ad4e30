#pragma once

#include <optional>
#include <string_view>

namespace vekaton {

// A finite decimal number as typed for an edge, a condition or a range: an optional sign, digits
// with an optional point, and an optional exponent ("-12.5", "+3", "1e3", "2.5E-2"). Blanks
// around it are allowed. Infinity and NaN are refused: no bin or condition means anything
// with them.
std::optional<double> ParseFiniteNumber(std::string_view text);

// The text without leading and trailing blanks (spaces and tabs).
std::string_view TrimBlanks(std::string_view text);

}  // namespace vekaton
