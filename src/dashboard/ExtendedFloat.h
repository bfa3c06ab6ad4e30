#pragma once

#include <array>
#include <cstdint>

namespace vekaton {

// The 10-byte extended float of component streams, little-endian: a 64-bit mantissa with an
// explicit integer bit, then a 15-bit exponent biased by 16383 and the sign bit.
using ExtendedBytes = std::array<std::uint8_t, 10>;

// The nearest double (ties to even). Exact whenever a double can hold the value; values beyond
// a double's range become infinity, those below its smallest denormal zero (with their sign).
// NaNs stay NaNs, keeping the sign and as much of the payload as fits.
double ExtendedToDouble(const ExtendedBytes& bytes);

// Every double, NaNs included, has an exact extended form.
ExtendedBytes DoubleToExtended(double value);

}  // namespace vekaton
