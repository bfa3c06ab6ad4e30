#pragma once

#include <optional>
#include <string_view>

namespace vekaton {

// The kinds of dashboard item. The first eight each have a name prefix and a counter.
enum class ItemKind {
    Label,               // "Label"
    AngularGauge,        // "Analog Meter"
    Thermometer,         // "Thermometer"
    SevenSegmentAnalog,  // "LED Display"
    AnalogDisplay,       // "Numerical Display"
    LedRound,            // "Digital LED" (sits in a panel)
    Panel,               // the digital LED's panel
    ResetButton,         // "Reset Min/Max Button"
    Odometer,            // shows Value like the displays, without hold; has no menu entry
};

inline constexpr int kNamedKindCount = 8;  // the kinds with a prefix and a counter

// "USERLABEL", "USERANGULARGAUGE", ...; empty for a kind without a prefix.
std::string_view ItemNamePrefix(ItemKind kind);
// Index 0..7 of the kind's counter; nullopt for a kind without one.
std::optional<int> CounterIndex(ItemKind kind);

struct ParsedItemName {
    ItemKind kind;
    int number;  // the counter value in the name; 0 when the name carries no digits
};
// Splits a name like "USERANGULARGAUGE7" (case-insensitive) into kind and number. nullopt for a
// name of no known kind, or whose tail is not a decimal number that fits an int.
std::optional<ParsedItemName> ParseItemName(std::string_view name);

// The class name an item of this kind is streamed under ("TAngularGauge", "TLabel", "TPanel",
// "TButton", ...).
std::string_view ItemClassName(ItemKind kind);

// What the decoder sets on an item of this kind.
bool ShowsPosition(ItemKind kind);  // angular gauge, thermometer: Position
bool ShowsValue(ItemKind kind);     // odometer and the two numeric displays: Value
bool HasHoldMode(ItemKind kind);    // the two numeric displays

}  // namespace vekaton
