#pragma once

#include <vector>

#include "decode/ParameterTable.h"

namespace vekaton {

// Questions about the BoundItems lists asked before binding, so that the parameter editor can
// say why an item would stay unbound instead of leaving it unbound without a word.

// The position that shows a value of byteCount bytes starting at position: its last byte.
// 0 when that lies outside 1..500.
int LastBytePosition(int position, int byteCount);
// Usable slots (of the 14) still free at a position; 0 outside the table.
int FreeBindingSlots(const ParameterTable& table, int position);
bool IsBoundAt(const ParameterTable& table, int itemId, int position);
// The items listed at a position, in slot order.
std::vector<int> ItemsBoundAt(const ParameterTable& table, int position);
// Whether binding these items to a value of byteCount bytes at position leaves none of them
// unbound: the last byte must have a free slot for each one not already listed there.
bool BindingsFit(const ParameterTable& table, const std::vector<int>& itemIds, int position,
                 int byteCount);

}  // namespace vekaton
