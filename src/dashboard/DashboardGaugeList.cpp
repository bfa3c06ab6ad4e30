#include "dashboard/DashboardGaugeList.h"

#include <algorithm>

namespace vekaton {

namespace {

// Only the hold modes the displays know are written back.
int HoldModeToWrite(int mode) {
    return mode >= kHoldFollow && mode <= kHoldMax ? mode : kHoldFollow;
}

std::string Named(const std::string& name) {
    // Names come from a file; a long one is cut so the note stays readable.
    constexpr std::size_t kMost = 40;
    return name.size() <= kMost ? "\"" + name + "\"" : "\"" + name.substr(0, kMost) + "…\"";
}

}  // namespace

std::vector<GaugeListEntry> GaugeListOf(const DashboardModel& model,
                                        const ItemNumbering& numbering) {
    std::vector<GaugeListEntry> entries;
    for (const int id : numbering.Ids()) {
        const DashboardItem* item = model.Find(id);
        if (item == nullptr) {
            continue;
        }
        GaugeListEntry entry;
        entry.name = item->name;
        entry.page = item->page;
        entry.kind = GaugeEntryKindOf(item->name);
        if (entry.kind == GaugeEntryKind::ResetButton) {
            const int number = model.ResetButtonNumber(id);
            const ResetButtonEntry& reset = model.ResetButtons().Entry(number);
            entry.idList = model.ResetListTextForSave(number, numbering);
            entry.minPreset = reset.minPreset;
            entry.maxPreset = reset.maxPreset;
        } else if (entry.kind == GaugeEntryKind::Item) {
            const BindingEntry binding = model.Binding(id);
            entry.position = binding.position;
            entry.bit = binding.bit;
            entry.holdMode = HoldModeToWrite(binding.holdMode);
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

GaugeListApplied ApplyGaugeList(const std::vector<GaugeListEntry>& entries, DashboardModel& model,
                                int pageCount,
                                const std::function<void(int id, int position)>& bind) {
    GaugeListApplied applied;
    const int lastPage = std::max(0, pageCount - 1);
    for (const GaugeListEntry& entry : entries) {
        int page = entry.page;
        if (page < 0 || page > lastPage) {
            page = std::clamp(page, 0, lastPage);
            applied.notes.push_back(Named(entry.name) + " was on page " +
                                    std::to_string(entry.page + 1) + ", which does not exist; it " +
                                    "is on page " + std::to_string(page + 1) + " now.");
        }
        std::optional<int> id = model.FindByName(entry.name);
        if (!id) {
            id = model.CreateGauge(entry.name, page);
        }
        if (!id) {
            applied.notes.push_back(Named(entry.name) +
                                    " is no dashboard item this program knows, " +
                                    "or there are more than 500 items; it was left out.");
            applied.dropped = true;
            continue;
        }
        switch (entry.kind) {
            case GaugeEntryKind::Label:
                break;
            case GaugeEntryKind::ResetButton:
                model.SetResetEntry(
                    model.ResetButtonNumber(*id),
                    ResetButtonEntry{ParseIdList(entry.idList), entry.minPreset, entry.maxPreset});
                break;
            case GaugeEntryKind::Item:
                if (bind) {
                    bind(*id, entry.position);
                }
                model.SetBinding(*id, BindingEntry{entry.position, entry.bit, entry.holdMode});
                break;
        }
    }
    return applied;
}

}  // namespace vekaton
