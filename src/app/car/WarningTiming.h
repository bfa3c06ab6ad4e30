#pragma once

#include "warnings/WarningWatch.h"

namespace vekaton {

// How long a value must stay beyond a limit before it warns, and how far it must come back
// before the warning clears: the user's own choice ("Warnings/DebounceSeconds", 0 to 10, and
// "Warnings/HysteresisPercent" of the display range, 0 to 20, in the user's settings), else
// half a second and 2 %. Live warnings and a log's use the same.
WarningSettings LoadWarningTiming();

}  // namespace vekaton
