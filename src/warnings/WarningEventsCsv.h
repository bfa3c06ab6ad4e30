#pragma once

#include <ostream>
#include <span>

#include "common/FloatText.h"
#include "warnings/LogWarningScan.h"

namespace vekaton {

// The text of a side for people: "low", "high", "on" (a flag bit's condition).
const char* WarningSideText(WarningSide side);

// Warning events as CSV, one row per event, lines ended by CR LF: "Start", "End" (seconds; empty
// for a warning still on at the end of the log), "Start Frame", "End Frame", "Position" (12 or
// 12.3), "Name", "Limit" ("high 105"), "Extreme" (empty for a flag), "Alarm" (yes or no).
void WriteWarningEventsCsv(std::ostream& out, std::span<const WarningEvent> events,
                           NumberPrecision precision = NumberPrecision::Significant);

}  // namespace vekaton
