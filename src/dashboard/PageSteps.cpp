#include "dashboard/PageSteps.h"

#include <algorithm>

#include "dashboard/DashboardModel.h"

namespace vekaton {

std::vector<int> PagesInUse(const DashboardModel& model, int pageCount) {
    std::vector<bool> used(static_cast<std::size_t>(std::max(pageCount, 0)), false);
    for (const int id : model.LiveIds()) {
        const DashboardItem* item = model.Find(id);
        if (item != nullptr && item->page >= 0 && item->page < pageCount) {
            used[static_cast<std::size_t>(item->page)] = true;
        }
    }
    std::vector<int> pages;
    for (int page = 0; page < pageCount; ++page) {
        if (used[static_cast<std::size_t>(page)]) {
            pages.push_back(page);
        }
    }
    if (pages.empty()) {
        for (int page = 0; page < pageCount; ++page) {
            pages.push_back(page);
        }
    }
    return pages;
}

int StepPage(const std::vector<int>& pages, int current, int steps) {
    if (pages.empty()) {
        return -1;
    }
    const auto count = static_cast<int>(pages.size());
    const auto found = std::lower_bound(pages.begin(), pages.end(), current);
    int index = static_cast<int>(found - pages.begin());
    if (found == pages.end() || *found != current) {
        // Between two pages in use: a step forward lands on the next one, a step back on the
        // one before.
        index = steps > 0 ? index - 1 : index;
    }
    const int target = ((index + steps) % count + count) % count;
    return pages[static_cast<std::size_t>(target)];
}

}  // namespace vekaton
