#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/ValueRef.h"

namespace vekaton {

class DetailsTable;
class ParameterTable;

// How eager warnings are. A value must stay beyond its limit for debounceSeconds before it
// warns (a single noisy frame should not), and must come back inside by hysteresisShare of its
// display range before the warning clears (a value hovering at the limit should not flicker).
struct WarningSettings {
    double debounceSeconds = 0.5;
    double hysteresisShare = 0.02;
};

// Which limit a value has passed.
enum class WarningSide { Low, High, Flag };

// One value the warnings watch, with its limits taken from the definition's details.
struct WarningWatch {
    ValueRef ref;
    std::string name;              // the description, else "position 12"
    std::optional<double> low;     // below it warns (analog values)
    std::optional<double> high;    // above it warns (analog values)
    double margin = 0.0;           // how far back inside a limit the value must come to clear
    bool activeWhenClear = false;  // a flag bit whose condition holds while the bit is 0
    bool alarm = false;            // sounds as well as shows

    // Whether a value is beyond a limit now, and which one.
    std::optional<WarningSide> Beyond(double value) const;
    // Whether a value that warned on `side` has come back far enough to clear.
    bool Cleared(double value, WarningSide side) const;
    // The limit of a side (0 for a flag).
    double LimitOf(WarningSide side) const;
};

// The values with warning limits: every analog value whose details give a low or high limit,
// and every flag bit the details mark as an alarm, in position order (bits after their
// position's value). Values the frame cannot hold (beyond dataBytes, a later byte of a
// multi-byte value, a position without a description) are left out.
std::vector<WarningWatch> WarningWatches(const ParameterTable& table, const DetailsTable& details,
                                         int dataBytes, const WarningSettings& settings = {});

// The hysteresis margin of a value: hysteresisShare of the display range when the details give
// one, else of the span between the two limits, else of the one limit's size.
double HysteresisMargin(std::optional<double> displayMin, std::optional<double> displayMax,
                        std::optional<double> low, std::optional<double> high, double share);

}  // namespace vekaton
