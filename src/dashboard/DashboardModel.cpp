#include "dashboard/DashboardModel.h"

#include <algorithm>
#include <string>

#include "common/AsciiCase.h"
#include "dashboard/ItemDefaults.h"

namespace vekaton {

std::optional<int> DashboardModel::Insert(ItemKind kind, std::string name, int page, int parentId) {
    return InsertAt(static_cast<int>(items_.size()) + kFirstId, kind, std::move(name), page,
                    parentId);
}

std::optional<int> DashboardModel::InsertAt(int id, ItemKind kind, std::string name, int page,
                                            int parentId,
                                            const std::optional<std::string>& caption) {
    if (!IsValidId(id) || name.empty() || Slot(id) != nullptr) {
        return std::nullopt;
    }
    const auto index = static_cast<std::size_t>(id - kFirstId);
    if (index >= items_.size()) {
        // Slots skipped by a loader that places items by number stay unused placeholders.
        DashboardItem unused;
        unused.id = -1;
        unused.removed = true;
        items_.resize(index + 1, unused);
    }
    DashboardItem item;
    item.id = id;
    item.kind = kind;
    item.name = std::move(name);
    item.page = page;
    item.parentId = parentId;
    if (caption) {
        item.caption = *caption;
    } else if (kind == ItemKind::Label) {
        item.caption = item.name;
    } else if (kind == ItemKind::ResetButton) {
        item.caption = "Reset";
    }
    item.properties = NewItemProperties(kind, item.caption);
    items_[index] = std::move(item);
    bindings_[static_cast<std::size_t>(id)] = BindingEntry{};
    NotifyChange(id);
    return id;
}

std::optional<int> DashboardModel::NewPanelAt(int id, int page) {
    // A panel's caption carries the panel counter from before it is raised.
    const std::string caption = "     Digital" + std::to_string(Counter(ItemKind::Panel));
    const std::string name =
        std::string(ItemNamePrefix(ItemKind::Panel)) + std::to_string(Counter(ItemKind::Panel) + 1);
    const std::optional<int> panel = InsertAt(id, ItemKind::Panel, name, page, 0, caption);
    if (panel) {
        RaiseCounter(ItemKind::Panel, Counter(ItemKind::Panel) + 1);
        bindings_[static_cast<std::size_t>(*panel)] = BindingEntry{0, 0, 0};
    }
    return panel;
}

std::optional<int> DashboardModel::AddItem(ItemKind kind, int page) {
    const std::optional<int> counter = CounterIndex(kind);
    if (!counter) {
        return std::nullopt;
    }
    const std::size_t needed = kind == ItemKind::LedRound ? 2 : 1;
    if (items_.size() + needed > static_cast<std::size_t>(kLastId)) {
        return std::nullopt;
    }
    if (kind == ItemKind::ResetButton && Counter(kind) >= ResetButtonTable::kLastNumber) {
        return std::nullopt;  // the reset-button table has room for buttons 1 to 99
    }
    const int next = static_cast<int>(items_.size()) + kFirstId;
    if (kind == ItemKind::Panel) {
        return NewPanelAt(next, page);
    }
    int parentId = 0;
    if (kind == ItemKind::LedRound) {
        parentId = *NewPanelAt(next, page);
    }
    int& count = counters_[static_cast<std::size_t>(*counter)];
    ++count;
    const std::optional<int> id =
        Insert(kind, std::string(ItemNamePrefix(kind)) + std::to_string(count), page, parentId);
    bindings_[static_cast<std::size_t>(*id)] = BindingEntry{0, 0, 0};
    return id;
}

std::optional<int> DashboardModel::CreateGauge(std::string_view name, int page) {
    const std::optional<ParsedItemName> parsed = ParseItemName(name);
    if (!parsed) {
        return std::nullopt;
    }
    int parentId = 0;
    if (parsed->kind == ItemKind::LedRound) {
        parentId = AdoptablePanel(static_cast<int>(items_.size()));
    }
    const std::size_t needed = parsed->kind == ItemKind::LedRound && parentId == 0 ? 2 : 1;
    if (items_.size() + needed > static_cast<std::size_t>(kLastId)) {
        return std::nullopt;
    }
    if (parsed->kind == ItemKind::LedRound && parentId == 0) {
        parentId = *NewPanelAt(static_cast<int>(items_.size()) + kFirstId, page);
    }
    RaiseCounter(parsed->kind, parsed->number);
    return Insert(parsed->kind, UpperAscii(name), page, parentId);
}

std::optional<int> DashboardModel::CreateGauge(std::string_view name, int page, int id) {
    const std::optional<ParsedItemName> parsed = ParseItemName(name);
    if (!parsed || !IsValidId(id) || Slot(id) != nullptr) {
        return std::nullopt;
    }
    int parentId = 0;
    if (parsed->kind == ItemKind::LedRound) {
        parentId = AdoptablePanel(id - 1);
        if (parentId == 0) {
            const int after = std::max(static_cast<int>(items_.size()), id) + 1;
            const int at = IsValidId(id - 1) && Slot(id - 1) == nullptr ? id - 1 : after;
            const std::optional<int> panel = NewPanelAt(at, page);
            if (!panel) {
                return std::nullopt;
            }
            parentId = *panel;
        }
    }
    RaiseCounter(parsed->kind, parsed->number);
    return InsertAt(id, parsed->kind, UpperAscii(name), page, parentId);
}

int DashboardModel::AdoptablePanel(int id) const {
    const DashboardItem* panel = Find(id);
    if (panel == nullptr || panel->kind != ItemKind::Panel || panel->parentId != 0) {
        return 0;
    }
    for (const DashboardItem& other : items_) {
        if (!other.removed && other.parentId == id) {
            return 0;
        }
    }
    return id;
}

void DashboardModel::Remove(int id) {
    DashboardItem* item = Find(id);
    if (item == nullptr) {
        return;
    }
    const int parentId = item->parentId;
    std::vector<int> slots{id};
    item->removed = true;
    item->id = -1;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        DashboardItem& other = items_[i];
        // A panel goes with its LED and an LED with its panel.
        if (!other.removed && (other.id == parentId || other.parentId == id)) {
            slots.push_back(other.id);
            other.removed = true;
            other.id = -1;
        }
    }
    for (const int slot : slots) {
        NotifyChange(slot);
    }
}

bool DashboardModel::Restore(int id) {
    if (!IsValidId(id) || Slot(id) == nullptr || Find(id) != nullptr) {
        return false;
    }
    std::vector<int> slots{id};
    DashboardItem& item = items_[static_cast<std::size_t>(id - kFirstId)];
    item.removed = false;
    item.id = id;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        DashboardItem& other = items_[i];
        const int slot = static_cast<int>(i) + kFirstId;
        if (other.removed && !other.name.empty() &&
            ((item.parentId != 0 && slot == item.parentId) || other.parentId == id)) {
            other.removed = false;
            other.id = slot;
            slots.push_back(slot);
        }
    }
    for (const int slot : slots) {
        NotifyChange(slot);
    }
    return true;
}

void DashboardModel::Clear() {
    const int slots = static_cast<int>(items_.size());
    items_.clear();
    bindings_.fill(BindingEntry{});
    counters_.fill(0);
    resetButtons_.Clear();
    pageCaptions_.clear();
    for (int id = kFirstId; id <= slots; ++id) {
        NotifyChange(id);
    }
}

const DashboardItem* DashboardModel::Slot(int id) const {
    if (!IsValidId(id) || static_cast<std::size_t>(id - kFirstId) >= items_.size()) {
        return nullptr;
    }
    const DashboardItem& item = items_[static_cast<std::size_t>(id - kFirstId)];
    return item.removed && item.name.empty() ? nullptr : &item;
}

std::vector<int> DashboardModel::LiveIds() const {
    std::vector<int> ids;
    for (const DashboardItem& item : items_) {
        if (!item.removed) {
            ids.push_back(item.id);
        }
    }
    return ids;
}

void DashboardModel::SetProperties(int id, PropertyBag properties) {
    if (DashboardItem* item = Find(id)) {
        item->properties = std::move(properties);
        NotifyChange(id);
    }
}

void DashboardModel::SetProperty(int id, std::string_view name, PropertyValue value) {
    if (DashboardItem* item = Find(id)) {
        item->properties.Set(name, std::move(value));
        NotifyChange(id);
    }
}

std::string DashboardModel::PageCaption(int page) const {
    return page >= 0 && static_cast<std::size_t>(page) < pageCaptions_.size()
               ? pageCaptions_[static_cast<std::size_t>(page)]
               : std::string();
}

void DashboardModel::SetPageCaption(int page, std::string caption) {
    constexpr int kMostPages = 100;
    if (page < 0 || page >= kMostPages) {
        return;
    }
    if (static_cast<std::size_t>(page) >= pageCaptions_.size()) {
        pageCaptions_.resize(static_cast<std::size_t>(page) + 1);
    }
    pageCaptions_[static_cast<std::size_t>(page)] = std::move(caption);
}

int DashboardModel::ResetButtonNumber(int id) const {
    const DashboardItem* item = Find(id);
    if (item == nullptr || item->kind != ItemKind::ResetButton) {
        return 0;
    }
    const std::optional<ParsedItemName> parsed = ParseItemName(item->name);
    return parsed && ResetButtonTable::IsValidNumber(parsed->number) ? parsed->number : 0;
}

ResetButtonEntry DashboardModel::ResetButtonFor(int id) const {
    return resetButtons_.Entry(ResetButtonNumber(id));
}

void DashboardModel::SetResetButton(int id, ResetButtonEntry entry) {
    resetButtons_.SetEntry(ResetButtonNumber(id), std::move(entry));
}

void DashboardModel::SetResetEntry(int number, ResetButtonEntry entry) {
    resetButtons_.SetEntry(number, std::move(entry));
}

void DashboardModel::ClickResetButton(int id) {
    const ResetButtonEntry entry = ResetButtonFor(id);
    for (const int target : entry.ids) {
        ResetMinMax(target, entry.minPreset, entry.maxPreset);
    }
}

ItemNumbering DashboardModel::NumberForSave() const {
    return ItemNumbering(LiveIds());
}

std::vector<int> DashboardModel::ResetListForSave(int number,
                                                  const ItemNumbering& numbering) const {
    return numbering.Translate(resetButtons_.Entry(number).ids);
}

std::string DashboardModel::ResetListTextForSave(int number, const ItemNumbering& numbering) const {
    return FormatIdList(ResetListForSave(number, numbering));
}

DashboardItem* DashboardModel::Find(int id) {
    if (!IsValidId(id) || static_cast<std::size_t>(id - kFirstId) >= items_.size()) {
        return nullptr;
    }
    DashboardItem& item = items_[static_cast<std::size_t>(id - kFirstId)];
    return item.removed ? nullptr : &item;
}

const DashboardItem* DashboardModel::Find(int id) const {
    return const_cast<DashboardModel*>(this)->Find(id);
}

std::optional<int> DashboardModel::FindByName(std::string_view name) const {
    for (const DashboardItem& item : items_) {
        if (!item.removed && EqualsNoCase(item.name, name)) {
            return item.id;
        }
    }
    return std::nullopt;
}

BindingEntry DashboardModel::Binding(int id) const {
    return IsValidId(id) ? bindings_[static_cast<std::size_t>(id)] : BindingEntry{};
}

void DashboardModel::SetBinding(int id, const BindingEntry& entry) {
    if (IsValidId(id)) {
        bindings_[static_cast<std::size_t>(id)] = entry;
    }
}

void DashboardModel::SetBoundPosition(int id, int position) {
    if (IsValidId(id)) {
        bindings_[static_cast<std::size_t>(id)].position = position;
    }
}

void DashboardModel::SetHoldMode(int id, int mode) {
    if (IsValidId(id)) {
        bindings_[static_cast<std::size_t>(id)].holdMode = mode;
    }
}

int DashboardModel::Counter(ItemKind kind) const {
    const std::optional<int> index = CounterIndex(kind);
    return index ? counters_[static_cast<std::size_t>(*index)] : 0;
}

void DashboardModel::RaiseCounter(ItemKind kind, int atLeast) {
    if (const std::optional<int> index = CounterIndex(kind)) {
        int& count = counters_[static_cast<std::size_t>(*index)];
        count = std::max(count, atLeast);
    }
}

void DashboardModel::ApplyDecoded(int id, double value, const std::array<bool, 8>& bits) {
    const DashboardItem* item = Find(id);
    if (item == nullptr) {
        return;
    }
    if (item->kind == ItemKind::LedRound) {
        ApplyBits(id, bits);
    } else {
        ApplyValue(id, value);
    }
}

void DashboardModel::ApplyNoValue(int id) {
    DashboardItem* item = Find(id);
    if (item == nullptr || item->noValue ||
        !(ShowsPosition(item->kind) || ShowsValue(item->kind))) {
        return;
    }
    item->noValue = true;
    Notify(id);
}

void DashboardModel::ApplyValue(int id, double value) {
    DashboardItem* item = Find(id);
    if (item == nullptr) {
        return;
    }
    bool changed = item->noValue;
    item->noValue = false;
    if (ShowsPosition(item->kind)) {
        changed = item->position != value || value < item->minMarker || value > item->maxMarker;
        item->position = value;
        item->minMarker = std::min(item->minMarker, value);
        item->maxMarker = std::max(item->maxMarker, value);
    } else if (ShowsValue(item->kind)) {
        item->latest = value;
        const int hold = HasHoldMode(item->kind) ? Binding(id).holdMode : kHoldFollow;
        const bool take = hold <= kHoldFollow ? true
                          : hold == kHoldMax  ? value > item->value
                                              : value < item->value;
        if (take && item->value != value) {
            item->value = value;
            changed = true;
        }
    }
    if (changed) {
        Notify(id);
    }
}

void DashboardModel::ApplyBits(int id, const std::array<bool, 8>& bits) {
    DashboardItem* item = Find(id);
    if (item == nullptr || item->kind != ItemKind::LedRound) {
        return;
    }
    // Bit 8 means "none": such an LED is left as it is rather than read past the bits.
    const int bit = Binding(id).bit;
    if (bit < 0 || bit > 7) {
        return;
    }
    const bool active = bits[static_cast<std::size_t>(bit)];
    if (item->active != active) {
        item->active = active;
        Notify(id);
    }
}

void DashboardModel::ResetMinMax(int id, double minPreset, double maxPreset) {
    DashboardItem* item = Find(id);
    if (item == nullptr) {
        return;
    }
    const auto pick = [](double preset, double current) {
        return preset == kPresetCurrentValue ? current : preset;
    };
    if (ShowsPosition(item->kind)) {
        item->minMarker = pick(minPreset, item->position);
        item->maxMarker = pick(maxPreset, item->position);
    } else if (HasHoldMode(item->kind)) {
        const int hold = Binding(id).holdMode;
        if (hold == kHoldMax) {
            item->value = pick(maxPreset, item->latest);
        } else if (hold > kHoldFollow) {
            item->value = pick(minPreset, item->latest);
        } else {
            return;
        }
    } else {
        return;
    }
    Notify(id);
}

void DashboardModel::ClearLiveReadings() {
    for (DashboardItem& item : items_) {
        if (item.removed) {
            continue;
        }
        item.position = 0.0;
        item.minMarker = 0.0;
        item.maxMarker = 0.0;
        item.value = 0.0;
        item.latest = 0.0;
        item.noValue = false;
        item.active = false;
        Notify(item.id);
    }
}

void DashboardModel::Notify(int id) {
    if (observer_) {
        observer_(id);
    }
}

void DashboardModel::NotifyChange(int id) {
    if (changeObserver_) {
        changeObserver_(id);
    }
}

}  // namespace vekaton
