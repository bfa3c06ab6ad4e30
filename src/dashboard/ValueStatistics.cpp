#include "dashboard/ValueStatistics.h"

#include <algorithm>
#include <cmath>

namespace vekaton {

void ValueStatistics::Observe(const ParameterTable& table, int lastPosition) {
    const int last = std::min(lastPosition, ParameterTable::kLastPosition);
    for (int position = ParameterTable::kFirstPosition; position <= last; ++position) {
        const ParameterRecord& record = table.At(position);
        Entry& entry = entries_[static_cast<std::size_t>(position)];
        const double value = record.Value;
        if (record.HasValue && !std::isnan(value)) {
            if (!entry.seen) {
                entry.range = Range{value, value};
                entry.seen = true;
            } else {
                entry.range.minimum = std::min(entry.range.minimum, value);
                entry.range.maximum = std::max(entry.range.maximum, value);
            }
        }
        entry.set |= record.RawByte;
        entry.clear |= static_cast<std::uint8_t>(~record.RawByte);
    }
}

void ValueStatistics::Reset() {
    entries_.fill(Entry{});
}

const ValueStatistics::Entry* ValueStatistics::Find(int position) const {
    return ParameterTable::IsValidPosition(position) ? &entries_[static_cast<std::size_t>(position)]
                                                     : nullptr;
}

std::optional<ValueStatistics::Range> ValueStatistics::Of(int position) const {
    const Entry* entry = Find(position);
    if (entry == nullptr || !entry->seen) {
        return std::nullopt;
    }
    return entry->range;
}

std::uint8_t ValueStatistics::BitsSeenSet(int position) const {
    const Entry* entry = Find(position);
    return entry != nullptr ? entry->set : 0;
}

std::uint8_t ValueStatistics::BitsSeenClear(int position) const {
    const Entry* entry = Find(position);
    return entry != nullptr ? entry->clear : 0;
}

}  // namespace vekaton
