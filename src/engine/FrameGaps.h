#pragma once

#include <cstdint>
#include <optional>

namespace vekaton {

// Where frames were missed, so that the chart breaks its lines there instead of joining values
// that lie frames apart. Talk/listen knows it exactly: a request went unanswered. Listen-only
// knows it from a burst of the wrong length. Where frames come by themselves (listen only, ALDL
// 160 interface), a frame that comes far later than the frames before it (more than two and a
// half times their usual spacing) marks a gap too; a stream that stays that slow has a new
// pace, not gaps.
class FrameGaps {
  public:
    static constexpr double kLateFactor = 2.5;

    // Acquisition starts (again): the first frame has nothing before it to be late against.
    void Restart();
    // A frame that should have come did not (an unanswered request, a broken burst).
    void NoteMissed() { missed_ = true; }
    // A frame ended at `nowMs`; `timed` when its lateness counts (frames the module sends by
    // itself). True when frames were missed just before it.
    bool FrameEnded(std::int64_t nowMs, bool timed);
    // The usual spacing of frames learned so far, in ms (0 before two frames).
    double TypicalSpacingMs() const { return typical_; }

  private:
    bool missed_ = false;
    std::optional<std::int64_t> last_;
    double typical_ = 0.0;
    int lateRun_ = 0;
};

}  // namespace vekaton
