#pragma once

#include <optional>
#include <string_view>

namespace vekaton {

// The value of a number literal of a formula, or nothing when the whole text is not one.
// Accepted: "PI" and "-PI", and an optional sign, digits with an optional separator and
// fraction (at least one digit on either side: "1." and ".5" are numbers, "." is not), then an
// optional exponent "E" with an optional sign and at least one digit ("1E" is not a number).
// A literal too large for a 64-bit float is not a number; one too small for it is zero.
std::optional<double> ParseNumberLiteral(std::string_view text, char decimalSeparator);

// The decimal separator of the C library's current locale, for parsers that read numbers the
// way the user's locale writes them.
char LocaleDecimalSeparator();

}  // namespace vekaton
