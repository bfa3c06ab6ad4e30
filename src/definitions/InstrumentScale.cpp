#include "definitions/InstrumentScale.h"

#include <array>
#include <cmath>

#include "decode/ParameterTable.h"
#include "decode/PositionDetails.h"
#include "decode/ProposedRange.h"

namespace vekaton {
namespace {

// Decimals that show a formula's step from one raw value to the next, at most 2.
int DecimalsOf(const ValueRange& range, int byteCount) {
    const double counts = byteCount >= 2 ? 65535.0 : 255.0;
    const double step = (range.maximum - range.minimum) / counts;
    if (step >= 0.95 || step == 0.0) {
        return 0;
    }
    return step >= 0.095 ? 1 : 2;
}

}  // namespace

int TicksFor(double minimum, double maximum) {
    const double span = maximum - minimum;
    if (!(span > 0.0) || !std::isfinite(span)) {
        return 5;
    }
    constexpr std::array<double, 4> kFactors = {1.0, 2.0, 2.5, 5.0};
    // Ticks on round numbers first; then round steps from an end that is not round itself
    // (a block learn scale from 68 to 188 ticks at 128, its middle).
    for (const bool aligned : {true, false}) {
        for (const auto& [fewest, most] : {std::pair{4, 10}, std::pair{3, 12}}) {
            for (int exponent = -3; exponent <= 7; ++exponent) {
                for (const double factor : kFactors) {
                    const double step = factor * std::pow(10.0, exponent);
                    const double steps = span / step;
                    const double whole = std::round(steps);
                    const bool onRound =
                        std::abs(std::remainder(minimum, step)) < step * 1e-9 || !aligned;
                    if (whole >= fewest && whole <= most &&
                        std::abs(steps - whole) < 1e-9 * whole && onRound) {
                        return static_cast<int>(whole);
                    }
                }
            }
        }
    }
    return 5;
}

std::string ShortCaption(const std::string& description) {
    std::string caption = description;
    for (const char* cut : {" (", ", ", "; "}) {
        const std::size_t at = caption.find(cut);
        if (at != std::string::npos && at > 0) {
            caption.resize(at);
        }
    }
    return caption;
}

InstrumentScale ScaleOf(const ParameterTable& table, const DetailsTable& details, int position) {
    InstrumentScale scale;
    const ParameterRecord* record = table.Find(position);
    if (record == nullptr) {
        return scale;
    }
    scale.caption = ShortCaption(record->Descriptions[0]);
    const PositionDetails* info = details.Find(position);
    // A position without a formula shows its raw byte.
    const std::optional<ValueRange> proposed =
        record->FormulaEvaluated() ? ProposeRange(record->Formula(), record->ByteCount)
                                   : std::optional<ValueRange>(ValueRange{0.0, 255.0});
    if (info != nullptr) {
        scale.unit = info->unit;
        scale.warnLow = info->warnLow;
        scale.warnHigh = info->warnHigh;
        scale.alarm = info->alarm;
    }
    if (info != nullptr && info->displayMin && info->displayMax &&
        *info->displayMax > *info->displayMin) {
        scale.minimum = *info->displayMin;
        scale.maximum = *info->displayMax;
        scale.majorTicks = TicksFor(scale.minimum, scale.maximum);
    } else if (proposed) {
        const ScaleRange rounded = RoundedScale(*proposed);
        scale.minimum = rounded.range.minimum;
        scale.maximum = rounded.range.maximum;
        scale.majorTicks = rounded.majorTicks;
    }
    if (info != nullptr && info->decimals) {
        scale.decimals = *info->decimals;
    } else if (proposed) {
        scale.decimals = DecimalsOf(*proposed, record->ByteCount);
    }
    return scale;
}

}  // namespace vekaton
