#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vekaton {

// What a line of the gauge list describes, told by the name's prefix.
enum class GaugeEntryKind {
    Label,        // "USERLABEL...": name, page and a trailing comma
    ResetButton,  // "USERRESETBUTTON...": name, page, ID list; then a minimum and a maximum line
    Item,         // anything else: name, page, position, bit, hold mode
};
GaugeEntryKind GaugeEntryKindOf(std::string_view name);

inline constexpr int kGaugeListPresetCurrent = 9999;  // a preset that means "the current value"

// One entry of the gauge list, as plain data; the window maps it to the dashboard model.
struct GaugeListEntry {
    GaugeEntryKind kind = GaugeEntryKind::Item;
    std::string name;
    int page = 0;  // 0-based page index
    // Item: the binding entry.
    int position = 0;
    int bit = 8;
    int holdMode = 0;
    // Reset button: the IDs of the items it resets, as text, and its presets.
    std::string idList;
    int minPreset = kGaugeListPresetCurrent;
    int maxPreset = kGaugeListPresetCurrent;
    friend bool operator==(const GaugeListEntry&, const GaugeListEntry&) = default;
};

// Gauge lists larger than this are refused rather than read.
inline constexpr std::uint64_t kMaxGaugeListFileSize = 4ULL * 1024 * 1024;
// A dashboard has at most 500 items (their IDs run from 1 to 500), so a longer list holds
// nothing more that could be shown; entries past this many are counted and left out.
inline constexpr std::size_t kMaxGaugeListEntries = 500;
// Item names are streamed with a length byte: a longer one names no item a layout can keep.
inline constexpr std::size_t kMaxItemNameBytes = 255;

struct GaugeListParse {
    std::vector<GaugeListEntry> entries;
    // One per line that was not taken in whole, naming the line ("Line 4: ..."): the first
    // few, then one line that counts the rest.
    std::vector<std::string> warnings;
    bool Damaged() const { return !warnings.empty(); }
};

// Reads gauge list text (CR LF or LF). Integers are read as the set files read them. Values
// are kept as written (a hold mode of 7 stays 7); only the syntax is checked. Empty lines are
// skipped; every other line that cannot be read is reported, never dropped silently. At most
// kMaxGaugeListEntries entries are read; the rest are counted in a warning with a few names.
GaugeListParse ParseGaugeList(std::string_view text);

// The gauge list text, lines ended by CR LF; a hold mode outside 0 to 2 is written as 0.
std::string FormatGaugeList(const std::vector<GaugeListEntry>& entries);

}  // namespace vekaton
