#include "widgets/ScaleMath.h"

#include <algorithm>
#include <cmath>

namespace vekaton {

int ScaleDecimals(double minimum, double maximum, int divisions) {
    if (divisions < 1 || !std::isfinite(minimum) || !std::isfinite(maximum)) {
        return 0;
    }
    const double step = (maximum - minimum) / divisions;
    for (int decimals = 0; decimals < 6; ++decimals) {
        const double scale = std::pow(10.0, decimals);
        bool exact = true;
        for (int i = 0; i <= divisions && exact; ++i) {
            const double label = (minimum + step * i) * scale;
            exact = std::fabs(label - std::round(label)) <= 1e-6 * std::max(1.0, std::fabs(label));
        }
        if (exact) {
            return decimals;
        }
    }
    return 6;
}

QString FormatNumber(double value, int decimals) {
    QString text = QString::number(value, 'f', std::clamp(decimals, 0, 12));
    if (text.startsWith(QLatin1Char('-'))) {
        bool allZero = true;
        for (int i = 1; i < text.size() && allZero; ++i) {
            allZero = text[i] == QLatin1Char('0') || text[i] == QLatin1Char('.');
        }
        if (allZero) {
            text.remove(0, 1);
        }
    }
    return text;
}

double NiceStep(double span, int targetCount) {
    if (!(span > 0.0) || !std::isfinite(span) || targetCount < 1) {
        return 1.0;
    }
    const double raw = span / targetCount;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double normal = raw / magnitude;
    const double nice = normal <= 1.0 ? 1.0 : normal <= 2.0 ? 2.0 : normal <= 5.0 ? 5.0 : 10.0;
    return nice * magnitude;
}

double RangeFraction(double value, double minimum, double maximum) {
    if (!(maximum > minimum)) {
        return 0.0;
    }
    return std::clamp((value - minimum) / (maximum - minimum), 0.0, 1.0);
}

}  // namespace vekaton
