#pragma once

#include <string>
#include <vector>

namespace vekaton {

class DetailsTable;
class ParameterTable;

// A described flag bit as a generated dashboard shows it.
struct FlagBit {
    int position = 0;
    int bit = 0;
    std::string caption;  // the description, its first letter capitalised
    bool code = false;    // a malfunction code ("code 24: ...")
    bool activeWhenClear = false;
    bool alarm = false;
    int priority = 1;  // for status flags that do not all fit: 0 first to go, 2 last
};

// Every described bit of every digital position, in position and bit order, but for those
// described as not used or not listed.
std::vector<FlagBit> UsedFlagBits(const ParameterTable& table, const DetailsTable& details);

enum class FlagPurpose {
    Engine,    // closed loop, engine running, malfunctions present
    FuelLoop,  // closed loop, rich, block learn enabled, decel fuel cut-off, power enrichment
};
// The flags worth a place beside the instruments, found by their descriptions; those a
// definition lacks are left out.
std::vector<FlagBit> KeyFlags(const std::vector<FlagBit>& bits, FlagPurpose purpose);

// Where an LED or a heading goes in columns of LEDs.
struct FlagPlace {
    int column = 0;
    int top = 0;
    const FlagBit* bit = nullptr;  // null for a heading
    std::string heading;
};

// The malfunction codes under "Malfunction codes", then the other flags under "Status flags", in
// columns from `top` to `bottom`, a heading never last in its column. When they do not all fit,
// status flags of the lowest priority are left out, the later ones first.
std::vector<FlagPlace> PlaceFlags(const std::vector<FlagBit>& bits, int columns, int top,
                                  int bottom, int ledPitch, int headingHeight);

}  // namespace vekaton
