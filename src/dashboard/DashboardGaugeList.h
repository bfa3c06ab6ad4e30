#pragma once

#include <functional>
#include <string>
#include <vector>

#include "dashboard/DashboardModel.h"
#include "dashboard/GaugeList.h"
#include "dashboard/ItemNumbering.h"

namespace vekaton {

// The gauge list of a dashboard: one entry per live item on a page (a digital LED's panel
// included), in the numbering of the save, reset-button lists translated into that numbering.
std::vector<GaugeListEntry> GaugeListOf(const DashboardModel& model,
                                        const ItemNumbering& numbering);

struct GaugeListApplied {
    // For the user: entries placed elsewhere or left out, each naming the entry.
    std::vector<std::string> notes;
    // Something the file holds was not taken in: the file deserves its ".bad" copy.
    bool dropped = false;
};

// Recreates the items of a gauge list in an emptied model, in the file's order, so that each
// item gets its saved number as ID. An entry naming an existing item only updates it. Items on
// a page past the last one go to the last page. Other items are attached through `bind`
// (the decoder's BindItem) and take the entry's binding.
GaugeListApplied ApplyGaugeList(const std::vector<GaugeListEntry>& entries, DashboardModel& model,
                                int pageCount,
                                const std::function<void(int id, int position)>& bind);

}  // namespace vekaton
