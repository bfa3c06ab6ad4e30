#include "engine/FramePlot.h"

#include "chart/ChartStore.h"
#include "decode/Decoder.h"

namespace vekaton {

void FramePlot::SetChart(ChartStore* chart) {
    chart_ = chart;
    decoder_.SetChart(chart);
}

std::int64_t FramePlot::Plot(double x) {
    const std::int64_t sample = chart_ != nullptr ? chart_->AddSample(x) : 0;
    decoder_.EndOfFrame(sample);
    return sample;
}

}  // namespace vekaton
