// The strip chart's shaded stretches: where a log's values stood beyond their limits.
#include "widgets/TStripChart.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vekaton {

void TStripChart::SetShadedSpans(std::vector<SampleSpan> spans) {
    for (SampleSpan& span : spans) {
        if (span.second < span.first) {
            std::swap(span.first, span.second);
        }
    }
    std::sort(spans.begin(), spans.end());
    if (spans != shaded_) {
        shaded_ = std::move(spans);
        RequestRepaint();
    }
}

void TStripChart::PaintShading(QPainter& painter, const QRectF& plot) const {
    if (shaded_.empty()) {
        return;
    }
    QColor colour = Shade(WarningColour(), ColourRole::Signal);
    colour.setAlphaF(0.22f);
    // Half a sample either side, so a single frame shows as a stripe of its own width.
    double half = 1.0;
    const auto firstX = Data().FirstX();
    const auto lastX = Data().LastX();
    if (firstX && lastX && Data().SampleCount() > 1 && viewWidth_ > 0) {
        const double interval = (*lastX - *firstX) / static_cast<double>(Data().SampleCount() - 1);
        half = std::max(1.0, interval / viewWidth_ * plot.width() / 2.0);
    }
    double paintedTo = plot.left() - 1.0;
    for (const auto& [first, last] : shaded_) {
        const auto left = XOfSample(first, plot);
        const auto right = XOfSample(last, plot);
        if (!left || !right || *right + half < plot.left() || *left - half > plot.right()) {
            continue;
        }
        // Spans closer than a pixel would be painted over each other: one pass per pixel.
        const double from = std::max({*left - half, plot.left(), paintedTo});
        const double to = std::min(*right + half, plot.right());
        if (to <= from) {
            continue;
        }
        painter.fillRect(QRectF(from, plot.top(), to - from, plot.height()), colour);
        paintedTo = to;
    }
}

}  // namespace vekaton
