#include "dashboard/ExtendedFloat.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace vekaton {
namespace {

// An extended float from its mantissa and its sign-and-exponent word, laid out little-endian.
ExtendedBytes Ext(std::uint64_t mantissa, unsigned signAndExponent) {
    ExtendedBytes bytes{};
    for (std::size_t i = 0; i < 8; ++i) {
        bytes[i] = static_cast<std::uint8_t>(mantissa >> (8 * i));
    }
    bytes[8] = static_cast<std::uint8_t>(signAndExponent & 0xFF);
    bytes[9] = static_cast<std::uint8_t>(signAndExponent >> 8);
    return bytes;
}

constexpr std::uint64_t kOne = 0x8000000000000000ULL;

bool SameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

TEST(ExtendedFloat, EveryDoubleHasItsExactExtendedForm) {
    const struct {
        double value;
        ExtendedBytes bytes;
    } cases[] = {
        {0.0, {0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x00}},
        {-0.0, {0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x80}},
        {1.0, {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}},
        {-2.5, {0, 0, 0, 0, 0, 0, 0, 0xA0, 0x00, 0xC0}},
        {1e300, {0x00, 0xE0, 0xAC, 0x03, 0x40, 0xE4, 0x21, 0xBF, 0xE3, 0x43}},
        // The smallest denormal double, 2^-1074, is a normal extended number.
        {5e-324, {0, 0, 0, 0, 0, 0, 0, 0x80, 0xCD, 0x3B}},
        // 3 * 2^-1074: the denormal's two bits move to the top of the mantissa.
        {1.5e-323, {0, 0, 0, 0, 0, 0, 0, 0xC0, 0xCE, 0x3B}},
        {std::numeric_limits<double>::infinity(), {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F}},
        {-std::numeric_limits<double>::infinity(), {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0xFF}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DoubleToExtended(c.value), c.bytes) << c.value;
        EXPECT_TRUE(SameBits(ExtendedToDouble(c.bytes), c.value)) << c.value;
    }
}

TEST(ExtendedFloat, RoundTripsDoublesBitForBit) {
    const double values[] = {0.1,
                             -1.0 / 3.0,
                             123456789.125,
                             std::numeric_limits<double>::max(),
                             std::numeric_limits<double>::lowest(),
                             std::numeric_limits<double>::min(),
                             std::numeric_limits<double>::denorm_min(),
                             -std::numeric_limits<double>::denorm_min() * 12345,
                             std::numeric_limits<double>::epsilon()};
    for (const double value : values) {
        EXPECT_TRUE(SameBits(ExtendedToDouble(DoubleToExtended(value)), value)) << value;
    }
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(std::isnan(ExtendedToDouble(DoubleToExtended(nan))));
    EXPECT_TRUE(std::signbit(ExtendedToDouble(DoubleToExtended(-nan))));
}

TEST(ExtendedFloat, ValuesADoubleCannotHoldAreRoundedToNearestEven) {
    // 1/3 with 64 mantissa bits rounds to the double 1/3.
    EXPECT_EQ(ExtendedToDouble(Ext(0xAAAAAAAAAAAAAAABULL, 0x3FFD)), 1.0 / 3.0);
    // 1 + 2^-53 is halfway between 1 and the next double: ties go to the even one, 1.
    EXPECT_EQ(ExtendedToDouble(Ext(kOne | 0x400, 0x3FFF)), 1.0);
    // Just above halfway rounds up.
    EXPECT_EQ(ExtendedToDouble(Ext(kOne | 0x401, 0x3FFF)), 1.0 + 0x1p-52);
    // The largest double plus half of its last unit rounds to infinity.
    EXPECT_EQ(ExtendedToDouble(Ext(0xFFFFFFFFFFFFFC00ULL, 0x43FE)),
              std::numeric_limits<double>::infinity());
    EXPECT_EQ(ExtendedToDouble(Ext(0xFFFFFFFFFFFFFBFFULL, 0x43FE)),
              std::numeric_limits<double>::max());
    // Beyond a double's range: infinity with the sign.
    EXPECT_EQ(ExtendedToDouble(Ext(kOne, 0x7FFE)), std::numeric_limits<double>::infinity());
    EXPECT_EQ(ExtendedToDouble(Ext(kOne, 0xC400)), -std::numeric_limits<double>::infinity());
}

TEST(ExtendedFloat, DenormalsAtBothEnds) {
    // Extended denormals lie far below any double: zero with the sign.
    EXPECT_TRUE(SameBits(ExtendedToDouble(Ext(1, 0x0000)), 0.0));
    EXPECT_TRUE(SameBits(ExtendedToDouble(Ext(0x7FFFFFFFFFFFFFFFULL, 0x8000)), -0.0));
    // Double denormals come out exact.
    EXPECT_EQ(ExtendedToDouble(Ext(kOne, 0x3BCD)), 0x1p-1074);
    EXPECT_EQ(ExtendedToDouble(Ext(kOne, 0x3C00)), 0x1p-1023);
    EXPECT_EQ(ExtendedToDouble(Ext(kOne, 0x3C01)), 0x1p-1022);  // the smallest normal
    // 2^-1075 is half the smallest denormal: the tie goes to the even zero...
    EXPECT_TRUE(SameBits(ExtendedToDouble(Ext(kOne, 0x3BCC)), 0.0));
    // ...anything above it rounds up to 2^-1074,
    EXPECT_EQ(ExtendedToDouble(Ext(0xC000000000000000ULL, 0x3BCC)), 0x1p-1074);
    // 1.5 * 2^-1074 ties to the even 2^-1073,
    EXPECT_EQ(ExtendedToDouble(Ext(0xC000000000000000ULL, 0x3BCD)), 0x1p-1073);
    // and below 2^-1075 it is zero.
    EXPECT_TRUE(SameBits(ExtendedToDouble(Ext(0xFFFFFFFFFFFFFFFFULL, 0x3BCB)), 0.0));
    // The largest denormal plus a rounding carry becomes the smallest normal.
    EXPECT_EQ(ExtendedToDouble(Ext(0xFFFFFFFFFFFFFFFFULL, 0x3C00)), 0x1p-1022);
}

TEST(ExtendedFloat, InfinitiesNaNsAndUnnormals) {
    EXPECT_EQ(ExtendedToDouble(Ext(kOne, 0x7FFF)), std::numeric_limits<double>::infinity());
    EXPECT_EQ(ExtendedToDouble(Ext(kOne, 0xFFFF)), -std::numeric_limits<double>::infinity());
    // A NaN keeps its sign and the top of its payload.
    const double nan = ExtendedToDouble(Ext(0xC000000000000800ULL, 0xFFFF));
    EXPECT_TRUE(std::isnan(nan));
    EXPECT_TRUE(std::signbit(nan));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(nan), 0xFFF8000000000001ULL);
    EXPECT_TRUE(std::isnan(ExtendedToDouble(Ext(0x0000000000000001ULL, 0x7FFF))));
    // Without its integer bit the mantissa is still read by its value.
    EXPECT_EQ(ExtendedToDouble(Ext(0x4000000000000000ULL, 0x3FFF)), 0.5);
}

}  // namespace
}  // namespace vekaton
