#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace vekaton {

// Which frames were counted in each cell, in order, so that a view can step from a cell to the
// frames behind it. Costs 8 bytes per counted frame: views keep it, the command line does not.
class CellFrames {
  public:
    explicit CellFrames(int cells = 0) : frames_(static_cast<std::size_t>(cells)) {}

    // Frames arrive in increasing order.
    void Note(int cell, std::int64_t frame) {
        frames_[static_cast<std::size_t>(cell)].push_back(frame);
    }
    const std::vector<std::int64_t>& Of(int cell) const {
        return frames_[static_cast<std::size_t>(cell)];
    }
    // The cell's first frame after `frame`, or before it; nullopt when there is none.
    std::optional<std::int64_t> Next(int cell, std::int64_t frame) const;
    std::optional<std::int64_t> Previous(int cell, std::int64_t frame) const;
    void Clear();

  private:
    std::vector<std::vector<std::int64_t>> frames_;
};

}  // namespace vekaton
