#pragma once

namespace vekaton {

class DashboardController;

// The demo set's dashboards, built in code: three pages ("Engine", "Fuel & Air", "Status")
// with every kind of item bound to the simulated module's values, so that the first start of
// the demo looks like a real instrument panel. Not undoable: it is the starting point.
void BuildDemoDashboards(DashboardController& dashboard);

}  // namespace vekaton
