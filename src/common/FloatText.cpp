#include "common/FloatText.h"

#include <array>
#include <charconv>
#include <cmath>

namespace vekaton {

std::string ShortestFloatText(double value) {
    if (std::isnan(value)) {
        return "NAN";
    }
    if (std::isinf(value)) {
        return value > 0 ? "INF" : "-INF";
    }
    if (value == 0.0) {
        return "0";  // also for -0.0, which users would read as a fault
    }
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

}  // namespace vekaton
