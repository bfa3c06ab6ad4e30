#pragma once

#include <array>
#include <string>

namespace vekaton {

// The shortest decimal text that reads back to the same 64-bit float (4660, 0.5, -9,
// 3.141592653589793). Used for the command line and messages.
std::string ShortestFloatText(double value);

// How the numbers of a table (CSV output of decode, live and the window's export) are written.
enum class NumberPrecision {
    // At most kTableSignificantDigits significant digits, trailing zeros dropped: 38.4 rather
    // than 38.400000000000006. Far finer than any sensor, and free of binary noise.
    Significant,
    // The shortest text that reads back to the same double, for bit-exact work.
    Exact,
};
inline constexpr int kTableSignificantDigits = 10;

// Room for any number's table text; the longest is "-2.225073859e-308" or the 24 characters
// of an exact one.
using NumberBuffer = std::array<char, 32>;

// Writes the table text of a number into `buffer` and returns its length. Allocates nothing.
// Zero is "0" whatever its sign; values that are not finite are "NAN", "INF" and "-INF".
std::size_t FormatTableNumber(double value, NumberPrecision precision, NumberBuffer& buffer);
std::string TableNumberText(double value, NumberPrecision precision);

}  // namespace vekaton
