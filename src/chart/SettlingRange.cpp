#include "chart/SettlingRange.h"

#include <algorithm>
#include <cmath>

namespace vekaton {

std::pair<double, double> SettlingRange::Follow(double lowest, double highest) {
    if (!std::isfinite(lowest) || !std::isfinite(highest)) {
        return shown_.value_or(std::pair<double, double>{0.0, 1.0});
    }
    if (highest < lowest) {
        std::swap(lowest, highest);
    }
    // Never narrower than a share of the values' size (a flat signal gets room around it).
    const double size = std::max(std::fabs(lowest), std::fabs(highest));
    const double narrowest = size > 0.0 ? size * kNarrowest : 1.0;
    if (highest - lowest < narrowest) {
        const double middle = (lowest + highest) / 2.0;
        lowest = middle - narrowest / 2.0;
        highest = middle + narrowest / 2.0;
    }
    if (!shown_) {
        shown_ = {lowest, highest};
        return *shown_;
    }
    auto& [low, high] = *shown_;
    // Closing in, the last small step lands on the values' own edge, so a settled scale reads
    // the values' lowest and highest, not a hair beside them.
    const double close = (high - low) * kSettled;
    const auto approach = [close](double shown, double target) {
        const double next = shown + (target - shown) * kShrinkShare;
        return std::fabs(next - target) < close ? target : next;
    };
    low = lowest < low ? lowest : approach(low, lowest);
    high = highest > high ? highest : approach(high, highest);
    return *shown_;
}

}  // namespace vekaton
