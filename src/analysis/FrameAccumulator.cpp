#include "analysis/FrameAccumulator.h"

#include <cmath>

#include "decode/Decoder.h"

namespace vekaton {

FrameAccumulator::FrameAccumulator(AnalysisSetup setup, BinEdges xEdges,
                                   std::optional<BinEdges> yEdges, AccumulatorOptions options)
    : setup_(std::move(setup)),
      options_(options),
      statisticRef_(StatisticRef(setup_)),
      gate_(setup_.conditions, setup_.settleSeconds),
      // Without Y edges a table or scatter has no rows, so no frame falls in a cell.
      grid_(std::move(xEdges), setup_.kind == AnalysisKind::Histogram
                                   ? std::nullopt
                                   : std::optional<BinEdges>(yEdges.value_or(BinEdges{}))),
      points_(setup_.kind == AnalysisKind::Scatter ? options.pointCapacity : 0),
      frames_(options.keepCellFrames ? grid_.CellCount() : 0) {}

FrameOutcome FrameAccumulator::Add(const Decoder& decoder, bool checksumGood, std::int64_t timeUs,
                                   std::int64_t frame) {
    ++tally_.read;
    FrameOutcome outcome;
    outcome.fate = gate_.Judge(decoder, checksumGood, timeUs);
    if (outcome.fate == FrameFate::BadChecksum) {
        ++tally_.badChecksum;
        return outcome;
    }
    const double x = ReadValue(decoder, setup_.x);
    const double y = setup_.y ? ReadValue(decoder, *setup_.y) : 0.0;
    outcome.cell = grid_.CellOf(x, y);
    if (outcome.fate == FrameFate::Filtered) {
        ++tally_.filtered;
        return outcome;
    }
    if (outcome.fate == FrameFate::Settling) {
        ++tally_.settling;
        return outcome;
    }
    const double value = ReadValue(decoder, statisticRef_);
    // A formula that divides by zero gives no number to average: the frame falls in no cell.
    if (outcome.cell < 0 || !std::isfinite(value)) {
        outcome.fate = FrameFate::OutOfRange;
        ++tally_.outOfRange;
        return outcome;
    }
    ++tally_.used;
    grid_.Add(outcome.cell, value, frame);
    if (options_.keepCellFrames) {
        frames_.Note(outcome.cell, frame);
    }
    if (points_.Capacity() > 0) {
        points_.Offer(ScatterPoint{x, y, value, frame});
    }
    return outcome;
}

void FrameAccumulator::Reset() {
    gate_.Restart();
    grid_.Clear();
    points_.Clear();
    frames_.Clear();
    tally_ = FrameTally{};
}

}  // namespace vekaton
