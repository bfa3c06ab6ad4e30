#pragma once

#include <optional>
#include <string>
#include <vector>

#include "dashboard/GaugeList.h"
#include "dashboard/LayoutFile.h"

namespace vekaton {

class ConfigurationSet;
class DetailsTable;
class ParameterTable;

struct DashboardOptions {
    // The room of one dashboard page, in pixels; the pages are laid out for it. The default is
    // what a 1024 x 700 window gives; a larger page gets larger instruments.
    int pageWidth = 1000;
    int pageHeight = 600;
};

// A dashboard as the set's two files hold it: the gauge list and the layout file's records
// (the window's own controls first, then the items, in the same order as the gauge list).
struct GeneratedDashboard {
    std::vector<GaugeListEntry> gaugeList;
    std::vector<StreamComponent> layout;
    LayoutTrailer trailer;

    std::string GaugeListText() const;
    // The layout file's bytes; nullopt only for records this generator could not have made.
    std::optional<std::string> LayoutBytes() const;
};

// Three pages made from a definition, with scales, units, decimals and limits from its details:
//  - "Engine": engine speed, vehicle speed, load (manifold pressure, else airflow), coolant and
//    intake air, throttle, spark and battery, a peak engine speed, knock retard, key flags;
//  - "Fuel": the fuel loop: O2 sensors, integrators, block learn with its cell, injector pulse
//    widths, idle air, and the loop's flags;
//  - "Flags": every used flag bit as an LED, the malfunction codes grouped first; a bit that
//    means something when clear lights when it is clear.
// Values are found by their role (DashboardRoles.h). What a definition lacks is left out and the
// rest closes up. The strip chart gets the main values as channels. The same definition always
// gives the same dashboard.
GeneratedDashboard GenerateDashboard(const ParameterTable& table, const DetailsTable& details,
                                     const DashboardOptions& options = {});

// Writes the gauge list and the layout file of `set` (with their "_bak" copies as every save).
// Returns the first error; the layout file is written first, as the window saves.
std::optional<std::string> WriteDashboard(ConfigurationSet& set,
                                          const GeneratedDashboard& dashboard);

}  // namespace vekaton
