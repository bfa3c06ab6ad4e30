#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "analysis/AnalysisSetup.h"
#include "analysis/CellFrames.h"
#include "analysis/CellGrid.h"
#include "analysis/FrameGate.h"
#include "analysis/PointSample.h"

namespace vekaton {

class Decoder;

// How many frames went where.
struct FrameTally {
    std::int64_t read = 0;
    std::int64_t used = 0;  // counted in a cell
    std::int64_t badChecksum = 0;
    std::int64_t filtered = 0;
    std::int64_t settling = 0;
    std::int64_t outOfRange = 0;

    bool operator==(const FrameTally&) const = default;
};

struct FrameOutcome {
    FrameFate fate = FrameFate::BadChecksum;
    // The cell the frame's values fall in, whatever its fate (a live view outlines it); -1 when
    // they fall outside the edges, and for a frame with a bad checksum.
    int cell = -1;
};

struct AccumulatorOptions {
    bool keepCellFrames = false;    // for stepping from a cell to its frames
    std::size_t pointCapacity = 0;  // points a scatter keeps for drawing; 0 keeps none
};

// An analysis fed one decoded frame at a time: from a data log by LogAnalysis, or live from the
// engine's frames (and playback's) as they complete. The edges are fixed when it is made.
// Memory is bounded by the cells and the point sample (and, when kept, the cells' frame lists).
class FrameAccumulator {
  public:
    // xEdges, yEdges: the resolved edges (yEdges only with a Y axis).
    FrameAccumulator(AnalysisSetup setup, BinEdges xEdges, std::optional<BinEdges> yEdges,
                     AccumulatorOptions options = {});

    // The frame the decoder now holds, with its checksum result (true when the set has none),
    // its time in microseconds and its number (a log's record index, or a live count).
    FrameOutcome Add(const Decoder& decoder, bool checksumGood, std::int64_t timeUs,
                     std::int64_t frame);
    // Empties cells, tallies and points and forgets the settling run; the setup and edges stay.
    void Reset();

    const AnalysisSetup& Setup() const { return setup_; }
    const CellGrid& Grid() const { return grid_; }
    const FrameTally& Tally() const { return tally_; }
    const PointSample& Points() const { return points_; }
    // Null unless kept (AccumulatorOptions::keepCellFrames).
    const CellFrames* Frames() const { return options_.keepCellFrames ? &frames_ : nullptr; }

  private:
    AnalysisSetup setup_;
    AccumulatorOptions options_;
    ValueRef statisticRef_;
    FrameGate gate_;
    CellGrid grid_;
    PointSample points_;
    CellFrames frames_;
    FrameTally tally_;
};

}  // namespace vekaton
