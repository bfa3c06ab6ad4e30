#include "analysis/CellFrames.h"

#include <algorithm>

namespace vekaton {

std::optional<std::int64_t> CellFrames::Next(int cell, std::int64_t frame) const {
    if (cell < 0 || static_cast<std::size_t>(cell) >= frames_.size()) {
        return std::nullopt;
    }
    const auto& list = Of(cell);
    const auto found = std::upper_bound(list.begin(), list.end(), frame);
    if (found == list.end()) {
        return std::nullopt;
    }
    return *found;
}

std::optional<std::int64_t> CellFrames::Previous(int cell, std::int64_t frame) const {
    if (cell < 0 || static_cast<std::size_t>(cell) >= frames_.size()) {
        return std::nullopt;
    }
    const auto& list = Of(cell);
    const auto found = std::lower_bound(list.begin(), list.end(), frame);
    if (found == list.begin()) {
        return std::nullopt;
    }
    return *(found - 1);
}

void CellFrames::Clear() {
    for (auto& list : frames_) {
        list.clear();
        list.shrink_to_fit();
    }
}

}  // namespace vekaton
