#pragma once

#include <optional>
#include <string_view>

namespace vekaton {

struct ValueRange {
    double minimum = 0.0;
    double maximum = 0.0;
    bool operator==(const ValueRange&) const = default;
};

// The values a position's formula gives over the bytes it can receive: every value of one byte;
// every pair of two; for three or more, the first byte through all its values and the others
// through the values where formulas bend (0, 1, 2, 127, 128, 129, 253, 254, 255). The formula
// sees its bytes as the decoder gives them (A to E, the prefixes reading `byteCount` as the
// value's width). Bytes for which it faults (a division by a raw 0) or gives no finite number
// are skipped. Nothing when the formula cannot be built or gives no value at all.
std::optional<ValueRange> ProposeRange(std::string_view formula, int byteCount);

// A range widened to round numbers for a scale: its ends are whole multiples of a step of 1, 2,
// 2.5 or 5 times a power of ten, with 4 to 10 steps between them. A range of one value is
// widened around it.
struct ScaleRange {
    ValueRange range;
    int majorTicks = 1;  // steps between the ends
};
ScaleRange RoundedScale(const ValueRange& range);

}  // namespace vekaton
