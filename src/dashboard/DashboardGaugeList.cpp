#include "dashboard/DashboardGaugeList.h"

#include <algorithm>
#include <utility>

#include "common/MessageText.h"
#include "common/NoteList.h"

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

// A reset list whose entries are not all kept: how many were left out, the first few as written.
struct ResetListLeftOut {
    std::string button;
    std::size_t count = 0;
    std::vector<std::string> examples;
};

std::string LeftOutNote(const ResetListLeftOut& left) {
    std::string text = Named(left.button) + ": " + std::to_string(left.count) +
                       (left.count == 1 ? " entry" : " entries") +
                       " of its reset list name no item of the dashboard (IDs are 1 to 500, each "
                       "once) and were left out: ";
    for (std::size_t i = 0; i < left.examples.size(); ++i) {
        text += (i > 0 ? ", " : "") + ("\"" + QuoteText(left.examples[i]) + "\"");
    }
    if (left.count > left.examples.size()) {
        text += " and " + std::to_string(left.count - left.examples.size()) + " more";
    }
    return text + ".";
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
    // Each kind of note is told for the first few entries and counted for the rest.
    NoteList moved;
    NoteList unknown;
    const int lastPage = std::max(0, pageCount - 1);
    std::vector<std::pair<int, ResetListLeftOut>> resetLists;  // by button ID
    for (const GaugeListEntry& entry : entries) {
        int page = entry.page;
        if (page < 0 || page > lastPage) {
            page = std::clamp(page, 0, lastPage);
            moved.AddLazy([&] {
                return Named(entry.name) + " was on page " + std::to_string(entry.page + 1) +
                       ", which does not exist; it is on page " + std::to_string(page + 1) +
                       " now.";
            });
        }
        std::optional<int> id = model.FindByName(entry.name);
        if (!id) {
            id = model.CreateGauge(entry.name, page);
        }
        if (!id) {
            unknown.AddLazy([&] {
                return Named(entry.name) + " is no dashboard item this program knows, " +
                       "or there are more than 500 items; it was left out.";
            });
            applied.dropped = true;
            continue;
        }
        switch (entry.kind) {
            case GaugeEntryKind::Label:
                break;
            case GaugeEntryKind::ResetButton: {
                IdListRead list = ReadIdList(entry.idList);
                resetLists.push_back(
                    {*id, {entry.name, list.skippedCount, std::move(list.skippedExamples)}});
                model.SetResetEntry(
                    model.ResetButtonNumber(*id),
                    ResetButtonEntry{std::move(list.ids), entry.minPreset, entry.maxPreset});
                break;
            }
            case GaugeEntryKind::Item:
                if (bind) {
                    bind(*id, entry.position);
                }
                model.SetBinding(*id, BindingEntry{entry.position, entry.bit, entry.holdMode});
                break;
        }
    }
    for (NoteList* notes : {&moved, &unknown}) {
        for (std::string& line : notes->Lines("entries like these")) {
            applied.notes.push_back(std::move(line));
        }
    }
    // Only once every item exists is it known which IDs name none; a save leaves those out.
    NoteList lists;
    for (auto& [buttonId, left] : resetLists) {
        for (const int listed : model.ResetButtons().Entry(model.ResetButtonNumber(buttonId)).ids) {
            if (model.Find(listed) == nullptr && ++left.count <= IdListRead::kExamples) {
                left.examples.push_back(std::to_string(listed));
            }
        }
        if (left.count > 0) {
            lists.Add(LeftOutNote(left));
            applied.dropped = true;
        }
    }
    for (std::string& line : lists.Lines("reset buttons like these")) {
        applied.notes.push_back(std::move(line));
    }
    return applied;
}

}  // namespace vekaton
