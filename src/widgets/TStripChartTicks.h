#pragma once

#include <QString>

#include <algorithm>
#include <cmath>
#include <vector>

#include "widgets/ScaleMath.h"

namespace vekaton {

// One labelled tick of a chart axis.
struct Tick {
    double value;
    QString label;
};

// Round-numbered ticks from low to high, about one per spacing pixels of length.
inline std::vector<Tick> Ticks(double low, double high, double length, double spacing) {
    std::vector<Tick> ticks;
    if (!(high > low) || length <= 0 || !std::isfinite(low) || !std::isfinite(high)) {
        return ticks;
    }
    const double step = NiceStep(high - low, std::max(1, static_cast<int>(length / spacing)));
    if (!(step > 0) || !std::isfinite(step)) {
        return ticks;
    }
    const int decimals = step >= 1.0 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
    const double first = std::ceil(low / step - 1e-9) * step;
    for (int i = 0; i < 1000; ++i) {
        const double value = first + i * step;
        if (value > high + step * 1e-9) {
            break;
        }
        ticks.push_back({value, FormatNumber(value, decimals)});
    }
    return ticks;
}

}  // namespace vekaton
