#pragma once

#include <string>
#include <string_view>

#include "dashboard/ItemKinds.h"

namespace vekaton {

struct DashboardItem;

// What a person calls a kind of item: the words of the "Add" menu ("Analog Meter", "LED
// Display", "Reset Min/Max Button"); the digital LED's panel is a "Digital LED caption".
std::string_view ItemKindLabel(ItemKind kind);
// The same for a widget's class name ("TAngularGauge"); empty for a class no item has.
std::string_view ClassLabel(std::string_view className);

// How an item is named to a person, in undo texts and titles: a label, reset button or LED
// caption by its caption in quotes, anything else by its kind and number ("Analog Meter 6"
// for USERANGULARGAUGE6). The stored name stays as it is.
std::string ItemDisplayName(const DashboardItem& item);

}  // namespace vekaton
