#include "app/car/WarningTiming.h"

#include <QSettings>
#include <algorithm>
#include <cmath>

namespace vekaton {
namespace {

constexpr double kLongestDebounce = 10.0;
constexpr double kWidestHysteresisPercent = 20.0;

// A number from the settings within [0, most]; the default when it is missing or no number.
double Setting(const QSettings& settings, const char* key, double fallback, double most) {
    bool number = false;
    const double value = settings.value(key).toDouble(&number);
    return number && std::isfinite(value) ? std::clamp(value, 0.0, most) : fallback;
}

}  // namespace

WarningSettings LoadWarningTiming() {
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "Vekaton", "Vekaton");
    WarningSettings timing;
    timing.debounceSeconds =
        Setting(settings, "Warnings/DebounceSeconds", timing.debounceSeconds, kLongestDebounce);
    timing.hysteresisShare = Setting(settings, "Warnings/HysteresisPercent",
                                     timing.hysteresisShare * 100.0, kWidestHysteresisPercent) /
                             100.0;
    return timing;
}

}  // namespace vekaton
