#include "analysis/CellGrid.h"

#include <algorithm>

namespace vekaton {

CellGrid::CellGrid(BinEdges xEdges, std::optional<BinEdges> yEdges)
    : xEdges_(std::move(xEdges)), yEdges_(std::move(yEdges)) {
    cells_.resize(static_cast<std::size_t>(CellCount()));
    firstFrames_.assign(cells_.size(), -1);
}

std::int64_t CellGrid::Total() const {
    std::int64_t total = 0;
    for (const RunningStats& cell : cells_) {
        total += cell.Count();
    }
    return total;
}

void CellGrid::Clear() {
    std::fill(cells_.begin(), cells_.end(), RunningStats{});
    std::fill(firstFrames_.begin(), firstFrames_.end(), -1);
}

}  // namespace vekaton
