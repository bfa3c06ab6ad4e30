#pragma once

#include <optional>
#include <string>

namespace vekaton {

class DetailsTable;
class ParameterTable;

// What an instrument bound to a position shows: its scale, unit, decimals and warning limits,
// taken from the position's details, or proposed from its formula where the details are silent.
struct InstrumentScale {
    std::string caption;  // the description, without what follows " (" or ", "
    std::string unit;
    double minimum = 0.0;
    double maximum = 100.0;
    int majorTicks = 5;
    int decimals = 0;
    std::optional<double> warnLow;
    std::optional<double> warnHigh;
    bool alarm = false;
};

InstrumentScale ScaleOf(const ParameterTable& table, const DetailsTable& details, int position);

// Major ticks for a scale: a count of 4 to 10 (else 3 to 12) steps of a round size that divide
// the range exactly, on round numbers when they can be; 5 when none does.
int TicksFor(double minimum, double maximum);

// A description short enough for an instrument's caption.
std::string ShortCaption(const std::string& description);

}  // namespace vekaton
