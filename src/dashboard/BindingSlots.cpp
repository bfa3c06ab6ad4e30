#include "dashboard/BindingSlots.h"

#include <cstdint>

namespace vekaton {

int LastBytePosition(int position, int byteCount) {
    if (!ParameterTable::IsValidPosition(position)) {
        return 0;
    }
    const std::int64_t last =
        static_cast<std::int64_t>(position) + (byteCount > 1 ? byteCount - 1 : 0);
    return last <= ParameterTable::kLastPosition ? static_cast<int>(last) : 0;
}

int FreeBindingSlots(const ParameterTable& table, int position) {
    const ParameterRecord* record = table.Find(position);
    if (record == nullptr) {
        return 0;
    }
    int free = 0;
    for (int s = 0; s < ParameterRecord::kUsableBoundSlots; ++s) {
        if (record->BoundItems[static_cast<std::size_t>(s)] <= 0) {
            ++free;
        }
    }
    return free;
}

bool IsBoundAt(const ParameterTable& table, int itemId, int position) {
    const ParameterRecord* record = table.Find(position);
    if (record == nullptr) {
        return false;
    }
    for (const std::int32_t slot : record->BoundItems) {
        if (slot == itemId) {
            return true;
        }
    }
    return false;
}

std::vector<int> ItemsBoundAt(const ParameterTable& table, int position) {
    std::vector<int> items;
    if (const ParameterRecord* record = table.Find(position)) {
        for (const std::int32_t slot : record->BoundItems) {
            if (slot <= 0) {
                break;
            }
            items.push_back(slot);
        }
    }
    return items;
}

bool BindingsFit(const ParameterTable& table, const std::vector<int>& itemIds, int position,
                 int byteCount) {
    const int last = LastBytePosition(position, byteCount);
    if (last == 0) {
        return itemIds.empty();
    }
    int needed = 0;
    for (const int id : itemIds) {
        if (!IsBoundAt(table, id, last)) {
            ++needed;
        }
    }
    return needed <= FreeBindingSlots(table, last);
}

}  // namespace vekaton
