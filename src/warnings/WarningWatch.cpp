#include "warnings/WarningWatch.h"

#include <cmath>

#include "decode/ParameterTable.h"
#include "decode/PositionDetails.h"

namespace vekaton {

std::optional<WarningSide> WarningWatch::Beyond(double value) const {
    if (ref.IsBit()) {
        const bool on = value != 0.0;
        return on != activeWhenClear ? std::optional(WarningSide::Flag) : std::nullopt;
    }
    if (std::isnan(value)) {
        return std::nullopt;
    }
    if (high && value > *high) {
        return WarningSide::High;
    }
    if (low && value < *low) {
        return WarningSide::Low;
    }
    return std::nullopt;
}

bool WarningWatch::Cleared(double value, WarningSide side) const {
    switch (side) {
        case WarningSide::Flag:
            return !Beyond(value).has_value();
        case WarningSide::High:
            return !high || value <= *high - margin;
        case WarningSide::Low:
            return !low || value >= *low + margin;
    }
    return true;
}

double WarningWatch::LimitOf(WarningSide side) const {
    if (side == WarningSide::High && high) {
        return *high;
    }
    if (side == WarningSide::Low && low) {
        return *low;
    }
    return 0.0;
}

double HysteresisMargin(std::optional<double> displayMin, std::optional<double> displayMax,
                        std::optional<double> low, std::optional<double> high, double share) {
    share = std::isfinite(share) ? std::max(0.0, share) : 0.0;
    double span = 0.0;
    if (displayMin && displayMax && *displayMax != *displayMin) {
        span = std::abs(*displayMax - *displayMin);
    } else if (low && high && *high != *low) {
        span = std::abs(*high - *low);
    } else if (high || low) {
        span = std::abs(high ? *high : *low);
    }
    return std::isfinite(span) ? span * share : 0.0;
}

std::vector<WarningWatch> WarningWatches(const ParameterTable& table, const DetailsTable& details,
                                         int dataBytes, const WarningSettings& settings) {
    std::vector<WarningWatch> watches;
    const auto usable = [&](ValueRef ref) {
        return !UnknownValueReason(table, ref, dataBytes).has_value();
    };
    for (int position = ParameterTable::kFirstPosition; position <= ParameterTable::kLastPosition;
         ++position) {
        const PositionDetails* found = details.Find(position);
        if (found != nullptr && (found->warnLow || found->warnHigh) && usable({position, -1})) {
            WarningWatch watch;
            watch.ref = {position, -1};
            watch.name = ValueRefName(table, watch.ref);
            watch.low = found->warnLow;
            watch.high = found->warnHigh;
            watch.margin = HysteresisMargin(found->displayMin, found->displayMax, found->warnLow,
                                            found->warnHigh, settings.hysteresisShare);
            watch.alarm = found->alarm;
            watches.push_back(std::move(watch));
        }
        for (int bit = 0; bit < 8; ++bit) {
            const BitDetails* flag = details.FindBit(position, bit);
            if (flag != nullptr && flag->alarm && usable({position, bit})) {
                WarningWatch watch;
                watch.ref = {position, bit};
                watch.name = ValueRefName(table, watch.ref);
                watch.activeWhenClear = flag->activeWhenClear;
                watch.alarm = true;
                watches.push_back(std::move(watch));
            }
        }
    }
    return watches;
}

}  // namespace vekaton
