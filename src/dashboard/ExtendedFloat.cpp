#include "dashboard/ExtendedFloat.h"

#include <bit>

namespace vekaton {
namespace {

constexpr int kExtendedBias = 16383;
constexpr int kDoubleBias = 1023;
constexpr std::uint64_t kIntegerBit = 0x8000000000000000ULL;
constexpr std::uint64_t kDoubleFraction = (1ULL << 52) - 1;

// Shifts `m` right by `shift` bits, rounding to nearest with ties to even.
std::uint64_t ShiftRounded(std::uint64_t m, int shift) {
    if (shift <= 0) {
        return m;
    }
    if (shift > 64) {
        return 0;  // below half of the last kept unit
    }
    if (shift == 64) {
        // Nothing is kept; the top bit is the rounding bit.
        const bool half = (m & kIntegerBit) != 0;
        const bool rest = (m & ~kIntegerBit) != 0;
        return half && rest ? 1 : 0;
    }
    const std::uint64_t kept = m >> shift;
    const std::uint64_t remainder = m & ((1ULL << shift) - 1);
    const std::uint64_t half = 1ULL << (shift - 1);
    return kept + ((remainder > half || (remainder == half && (kept & 1) != 0)) ? 1 : 0);
}

}  // namespace

double ExtendedToDouble(const ExtendedBytes& bytes) {
    std::uint64_t mantissa = 0;
    for (int i = 7; i >= 0; --i) {
        mantissa = (mantissa << 8) | bytes[static_cast<std::size_t>(i)];
    }
    const unsigned signAndExponent = bytes[8] | (static_cast<unsigned>(bytes[9]) << 8);
    const std::uint64_t sign = (signAndExponent & 0x8000U) != 0 ? 1ULL << 63 : 0;
    const int exponent = static_cast<int>(signAndExponent & 0x7FFFU);

    if (exponent == 0x7FFF) {
        const std::uint64_t fraction = mantissa & ~kIntegerBit;
        if (fraction == 0) {
            return std::bit_cast<double>(sign | 0x7FF0000000000000ULL);
        }
        // A quiet NaN with the payload's top bits.
        return std::bit_cast<double>(sign | 0x7FF8000000000000ULL | (fraction >> 11));
    }
    if (mantissa == 0) {
        return std::bit_cast<double>(sign);
    }
    // value = mantissa * 2^(e - bias - 63); the smallest exponent field also stands for 1.
    const int lead = std::countl_zero(mantissa);
    mantissa <<= lead;
    const int power = (exponent == 0 ? 1 : exponent) - kExtendedBias - lead;  // of the top bit
    if (power > kDoubleBias) {
        return std::bit_cast<double>(sign | 0x7FF0000000000000ULL);
    }
    // 53 bits survive in a normal double, fewer in a denormal one.
    int shift = 11;
    if (power < 1 - kDoubleBias) {
        shift += (1 - kDoubleBias) - power;
    }
    const std::uint64_t kept = ShiftRounded(mantissa, shift);
    if (power < 1 - kDoubleBias) {
        // Denormal field; a carry into bit 52 makes it the smallest normal, as it should.
        return std::bit_cast<double>(sign | kept);
    }
    // kept lies in [2^52, 2^53]; a carry to 2^53 moves into the exponent (up to infinity).
    const std::uint64_t bits =
        (static_cast<std::uint64_t>(power + kDoubleBias) << 52) + (kept - (1ULL << 52));
    return std::bit_cast<double>(sign | bits);
}

ExtendedBytes DoubleToExtended(double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const bool negative = (bits >> 63) != 0;
    const int field = static_cast<int>((bits >> 52) & 0x7FF);
    const std::uint64_t fraction = bits & kDoubleFraction;

    std::uint64_t mantissa = 0;
    int exponent = 0;
    if (field == 0x7FF) {
        exponent = 0x7FFF;
        mantissa = kIntegerBit | (fraction << 11);
    } else if (field == 0) {
        if (fraction != 0) {
            // A denormal double is a normal extended number.
            const int lead = std::countl_zero(fraction);
            mantissa = fraction << lead;
            exponent = kExtendedBias + 63 - 1074 - lead;
        }
    } else {
        mantissa = kIntegerBit | (fraction << 11);
        exponent = field - kDoubleBias + kExtendedBias;
    }

    ExtendedBytes out{};
    for (std::size_t i = 0; i < 8; ++i) {
        out[i] = static_cast<std::uint8_t>(mantissa >> (8 * i));
    }
    const unsigned top = static_cast<unsigned>(exponent) | (negative ? 0x8000U : 0U);
    out[8] = static_cast<std::uint8_t>(top & 0xFF);
    out[9] = static_cast<std::uint8_t>(top >> 8);
    return out;
}

}  // namespace vekaton
