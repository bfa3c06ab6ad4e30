#include "dashboard/DashboardModel.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace vekaton {

namespace {

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

std::string ToUpper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return upper;
}

}  // namespace

std::optional<int> DashboardModel::Insert(ItemKind kind, std::string name, int page, int parentId) {
    if (items_.size() >= static_cast<std::size_t>(kLastId)) {
        return std::nullopt;
    }
    DashboardItem item;
    item.id = static_cast<int>(items_.size()) + kFirstId;
    item.kind = kind;
    item.name = std::move(name);
    item.page = page;
    item.parentId = parentId;
    if (kind == ItemKind::Label) {
        item.caption = item.name;
    } else if (kind == ItemKind::ResetButton) {
        item.caption = "Reset";
    }
    bindings_[static_cast<std::size_t>(item.id)] = BindingEntry{};
    items_.push_back(std::move(item));
    return items_.back().id;
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
    int parentId = 0;
    if (kind == ItemKind::LedRound) {
        parentId = *AddItem(ItemKind::Panel, page);
    }
    // A panel's caption carries the panel counter from before it is raised.
    const std::string panelCaption = "     Digital" + std::to_string(Counter(ItemKind::Panel));
    int& count = counters_[static_cast<std::size_t>(*counter)];
    ++count;
    const std::optional<int> id =
        Insert(kind, std::string(ItemNamePrefix(kind)) + std::to_string(count), page, parentId);
    bindings_[static_cast<std::size_t>(*id)] = BindingEntry{0, 0, 0};
    if (kind == ItemKind::Panel) {
        items_[static_cast<std::size_t>(*id - kFirstId)].caption = panelCaption;
    }
    return id;
}

std::optional<int> DashboardModel::CreateGauge(std::string_view name, int page) {
    const std::optional<ParsedItemName> parsed = ParseItemName(name);
    if (!parsed) {
        return std::nullopt;
    }
    const std::size_t needed = parsed->kind == ItemKind::LedRound ? 2 : 1;
    if (items_.size() + needed > static_cast<std::size_t>(kLastId)) {
        return std::nullopt;
    }
    int parentId = 0;
    if (parsed->kind == ItemKind::LedRound) {
        parentId = *AddItem(ItemKind::Panel, page);
    }
    RaiseCounter(parsed->kind, parsed->number);
    return Insert(parsed->kind, ToUpper(name), page, parentId);
}

void DashboardModel::Remove(int id) {
    DashboardItem* item = Find(id);
    if (item == nullptr) {
        return;
    }
    const int parentId = item->parentId;
    item->removed = true;
    item->id = -1;
    for (DashboardItem& other : items_) {
        // A panel goes with its LED and an LED with its panel.
        if (!other.removed && (other.id == parentId || other.parentId == id)) {
            other.removed = true;
            other.id = -1;
        }
    }
}

void DashboardModel::Clear() {
    items_.clear();
    bindings_.fill(BindingEntry{});
    counters_.fill(0);
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
        if (!item.removed && EqualNoCase(item.name, name)) {
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

void DashboardModel::ApplyValue(int id, double value) {
    DashboardItem* item = Find(id);
    if (item == nullptr) {
        return;
    }
    bool changed = false;
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
        item.active = false;
        Notify(item.id);
    }
}

void DashboardModel::Notify(int id) {
    if (observer_) {
        observer_(id);
    }
}

}  // namespace vekaton
