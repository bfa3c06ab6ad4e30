#pragma once

#include <cstdint>

namespace vekaton {

class ChartStore;
class Decoder;

// The chart's part of the end of every frame, received or played back: the frame's sample at
// its time, and the decoder's point for each channel on it. Without a chart only the decoder's
// end of frame runs, at sample 0.
class FramePlot {
  public:
    explicit FramePlot(Decoder& decoder) : decoder_(decoder) {}

    // The chart the frames go to (may be null); the decoder plots into it too.
    void SetChart(ChartStore* chart);
    std::int64_t Plot(double x);

  private:
    Decoder& decoder_;
    ChartStore* chart_ = nullptr;
};

}  // namespace vekaton
