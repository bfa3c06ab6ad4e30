#pragma once

#include <string>
#include <vector>

#include "analysis/AnalysisViewText.h"

namespace vekaton {

class DetailsTable;
class ParameterTable;

// Every value the table gives a frame of `dataBytes` data bytes, in position order: each
// described analog position (a multi-byte value by its first position) and each described bit
// of a flag byte.
std::vector<ValueRef> AvailableValueRefs(const ParameterTable& table, int dataBytes);

// A first view of the kind for a new user of the set, from the roles the definitions play:
// a table of block learn by engine speed and load (manifold pressure, else airflow), in closed
// loop with a warm engine where a closed-loop flag and a coolant reading are known, centred on
// 128; a histogram of engine speed; a scatter of load against engine speed coloured by block
// learn. Where a role is missing the first values of the set stand in. Engine speed and
// manifold pressure without a display range get round edges (0 to 6000 rpm, 20 to 100 kPa),
// so that the view also works live; other values get automatic edges. The name tells what the
// view shows; `taken` are the names already in use.
ViewDefinition SuggestedView(AnalysisKind kind, const ParameterTable& table,
                             const DetailsTable& details, int dataBytes,
                             const std::vector<std::string>& taken);

// A name for the view from what it shows ("Block learn table", "Engine speed rpm histogram",
// "Manifold pressure kPa against Engine speed rpm").
std::string DescriptiveViewName(const AnalysisSetup& setup, const ParameterTable& table);

}  // namespace vekaton
