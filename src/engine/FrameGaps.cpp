#include "engine/FrameGaps.h"

namespace vekaton {

namespace {

// The spacing learned follows the stream slowly, so one late frame does not teach it lateness.
constexpr double kLearnShare = 0.2;
// Late frames in a row that make the new spacing the usual one.
constexpr int kSlowerAfter = 3;

}  // namespace

void FrameGaps::Restart() {
    missed_ = false;
    last_.reset();
    typical_ = 0.0;
    lateRun_ = 0;
}

bool FrameGaps::FrameEnded(std::int64_t nowMs, bool timed) {
    bool gap = missed_;
    missed_ = false;
    if (timed && last_) {
        const auto spacing = static_cast<double>(nowMs - *last_);
        const bool late = typical_ > 0.0 && spacing > kLateFactor * typical_;
        lateRun_ = late ? lateRun_ + 1 : 0;
        if (late && lateRun_ >= kSlowerAfter) {
            typical_ = spacing;  // the stream is slower now: its new pace is no gap
            lateRun_ = 0;
        } else if (late) {
            gap = true;
        } else if (spacing > 0.0) {
            typical_ = typical_ == 0.0 ? spacing : typical_ + (spacing - typical_) * kLearnShare;
        }
    }
    last_ = nowMs;
    return gap;
}

}  // namespace vekaton
