#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vekaton {

struct LookupPoint {
    double x = 0.0;  // the raw byte
    double y = 0.0;  // its value
};

inline constexpr std::size_t kMaxLookupPoints = 256;

struct LookupFormula {
    std::string formula;
    int segments = 0;
    // The largest difference, over every whole raw value the table spans, between the formula
    // and the table read with straight lines between its points (0 when every segment fits).
    double maxError = 0.0;
};

// A formula of the one-byte variable A that follows a lookup table: exact at the table's
// points and straight between them, held at the first and last point's value beyond them
// (MIN and MAX clamp each segment). The formula language allows 20 levels and 50 operands a
// level; when every segment does not fit, the fewest points are left out that keep the largest
// error smallest. Points are taken in order of x; a repeated x keeps its first value. Nothing
// for fewer than two distinct points, more than kMaxLookupPoints (a byte has no more values) or
// values that are not finite.
std::optional<LookupFormula> BuildLookupFormula(std::vector<LookupPoint> points);

}  // namespace vekaton
