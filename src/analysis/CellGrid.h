#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "analysis/BinEdges.h"
#include "analysis/RunningStats.h"

namespace vekaton {

// The cells of a table, a histogram or a scatter's density: X bins across, Y bins down (one row
// when there is no Y axis), each cell the statistics of the values added to it and the first
// frame that landed there. Memory depends on the number of cells only, never on the frames.
class CellGrid {
  public:
    CellGrid() = default;
    CellGrid(BinEdges xEdges, std::optional<BinEdges> yEdges);

    const BinEdges& XEdges() const { return xEdges_; }
    // nullopt for one axis only (a histogram).
    const std::optional<BinEdges>& YEdges() const { return yEdges_; }
    int Columns() const { return xEdges_.Count(); }
    int Rows() const { return yEdges_ ? yEdges_->Count() : (xEdges_.Empty() ? 0 : 1); }
    int CellCount() const { return Columns() * Rows(); }

    // The cell that (x, y) falls in, or -1 when either lies outside its edges; y is ignored
    // without a Y axis. Cells are numbered row by row: row * Columns() + column.
    int CellOf(double x, double y) const {
        const int column = xEdges_.BinOf(x);
        if (column < 0) {
            return -1;
        }
        if (!yEdges_) {
            return column;
        }
        const int row = yEdges_->BinOf(y);
        return row < 0 ? -1 : row * Columns() + column;
    }
    int ColumnOf(int cell) const { return cell % Columns(); }
    int RowOf(int cell) const { return cell / Columns(); }

    void Add(int cell, double value, std::int64_t frame) {
        auto& stats = cells_[static_cast<std::size_t>(cell)];
        if (stats.Count() == 0) {
            firstFrames_[static_cast<std::size_t>(cell)] = frame;
        }
        stats.Add(value);
    }
    const RunningStats& Cell(int cell) const { return cells_[static_cast<std::size_t>(cell)]; }
    const RunningStats& At(int column, int row) const { return Cell(row * Columns() + column); }
    // The first frame counted in the cell, or -1 while it is empty.
    std::int64_t FirstFrame(int cell) const { return firstFrames_[static_cast<std::size_t>(cell)]; }
    // The values counted in all cells together.
    std::int64_t Total() const;

    // Empties every cell; the edges stay.
    void Clear();

  private:
    BinEdges xEdges_;
    std::optional<BinEdges> yEdges_;
    std::vector<RunningStats> cells_;
    std::vector<std::int64_t> firstFrames_;
};

}  // namespace vekaton
