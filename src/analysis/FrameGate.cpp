#include "analysis/FrameGate.h"

#include "decode/Decoder.h"

namespace vekaton {

FrameGate::FrameGate(std::vector<Condition> conditions, double settleSeconds)
    : conditions_(std::move(conditions)), settleSeconds_(settleSeconds) {}

FrameFate FrameGate::Judge(const Decoder& decoder, bool checksumGood, std::int64_t timeUs) {
    if (!checksumGood) {
        return FrameFate::BadChecksum;
    }
    for (const Condition& condition : conditions_) {
        if (!condition.Holds(ReadValue(decoder, condition.ref))) {
            runStartUs_.reset();
            return FrameFate::Filtered;
        }
    }
    if (!runStartUs_) {
        runStartUs_ = timeUs;
    }
    if (settleSeconds_ <= 0.0) {
        return FrameFate::Used;
    }
    // The difference is taken in whole microseconds and divided once, so that 0.3 s after a frame
    // at 0.1 s is 0.2 s exactly, as the printed times say, and not 0.19999999999999998.
    const double elapsed = static_cast<double>(timeUs - *runStartUs_) / 1e6;
    return elapsed >= settleSeconds_ ? FrameFate::Used : FrameFate::Settling;
}

}  // namespace vekaton
