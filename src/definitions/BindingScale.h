#pragma once

#include <optional>

#include "dashboard/ItemKinds.h"
#include "dashboard/PropertyBag.h"
#include "definitions/InstrumentScale.h"

namespace vekaton {

// What an instrument takes from a position's details when it is bound to it:
//  - the scale (Minimum, Maximum, MajorTicks) of a gauge or thermometer;
//  - the unit (Units; a numeric display's Suffix);
//  - the decimals (Decimals; a numeric display's Precision; a seven-segment display's Decimals
//    and Digits enough for the range).
// Each of the three is taken only while the item shows what nobody chose: its kind's default,
// or exactly what the position it showed before gives (`previous`, nothing when it showed
// none). Anything else was set by hand and stays. Other kinds and properties are left alone.
PropertyBag PropertiesOnBinding(ItemKind kind, const PropertyBag& current,
                                const std::optional<InstrumentScale>& previous,
                                const InstrumentScale& next);

// The seven-segment cells a scale needs: its widest end's whole part, a minus sign below zero,
// and the decimals; at least 4, the kind's default.
int DigitsFor(const InstrumentScale& scale);

}  // namespace vekaton
