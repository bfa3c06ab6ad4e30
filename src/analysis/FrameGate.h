#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "analysis/Condition.h"

namespace vekaton {

class Decoder;

// What became of one frame in an analysis.
enum class FrameFate {
    Used,         // counted in a cell
    BadChecksum,  // its checksum failed: ignored entirely
    Filtered,     // a condition did not hold
    Settling,     // the conditions held, but not yet for the settling time
    OutOfRange,   // passed, but its values fall in no cell
};

// Decides which frames an analysis may use: those with a good checksum that pass every condition
// and have done so without a break for the settling time. The settling time counts from the
// first frame of the current unbroken run of passing frames; a frame counts once its time minus
// that frame's time reaches the settling time. A bad-checksum frame changes nothing: it neither
// counts nor breaks a run.
class FrameGate {
  public:
    FrameGate() = default;
    FrameGate(std::vector<Condition> conditions, double settleSeconds);

    // Used, BadChecksum, Filtered or Settling. timeUs is the frame's time in microseconds.
    FrameFate Judge(const Decoder& decoder, bool checksumGood, std::int64_t timeUs);
    // Forgets the current run, as at the start of a new source.
    void Restart() { runStartUs_.reset(); }

    const std::vector<Condition>& Conditions() const { return conditions_; }
    double SettleSeconds() const { return settleSeconds_; }

  private:
    std::vector<Condition> conditions_;
    double settleSeconds_ = 0.0;
    std::optional<std::int64_t> runStartUs_;
};

}  // namespace vekaton
