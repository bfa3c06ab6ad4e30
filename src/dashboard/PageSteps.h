#pragma once

#include <vector>

namespace vekaton {

class DashboardModel;

// The dashboard pages a driver steps through: those holding an item, in order; every page when
// none does (a new dashboard), so that stepping still shows where things would go.
std::vector<int> PagesInUse(const DashboardModel& model, int pageCount);

// The page `steps` places after (negative: before) `current` among `pages`, going round at the
// ends. A current page that is not among them steps from where it would stand. -1 when there are
// no pages.
int StepPage(const std::vector<int>& pages, int current, int steps);

}  // namespace vekaton
