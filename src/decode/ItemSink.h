#pragma once

#include <array>

namespace vekaton {

// What the decoder needs of the dashboard items bound to frame positions: it hands each bound
// item its position's value and bits, and keeps the item's bound position in step with the
// BoundItems lists. The dashboard model implements it; the decoder never sees the model.
class ItemSink {
  public:
    // Item IDs run from 1 to 500.
    static constexpr int kFirstItemId = 1;
    static constexpr int kLastItemId = 500;
    static constexpr bool IsValidItemId(int id) { return id >= kFirstItemId && id <= kLastItemId; }

    virtual ~ItemSink() = default;
    // One position's decoded value and bits for one item bound there.
    virtual void ApplyDecoded(int itemId, double value, const std::array<bool, 8>& bits) = 0;
    // The position's formula faulted for the bytes received: there is no value to show.
    virtual void ApplyNoValue(int itemId) = 0;
    // The position recorded in the item's binding entry (0: none).
    virtual int BoundPosition(int itemId) const = 0;
    virtual void SetBoundPosition(int itemId, int position) = 0;
};

}  // namespace vekaton
