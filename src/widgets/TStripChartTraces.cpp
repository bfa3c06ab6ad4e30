// The strip chart's traces: analog lines from the decimated data over their own scale, and the
// 0/1 steps of digital channels in their lanes, each drawn stretch by stretch between breaks.
#include "widgets/TStripChart.h"

#include <QPainter>

#include <cmath>

namespace vekaton {
namespace {

double Clamped(double y, const QRectF& plot) {
    // Far-off values are pinned just outside the plot so that the raster never sees huge
    // coordinates; the clip hides them.
    return std::clamp(y, plot.top() - plot.height(), plot.bottom() + plot.height());
}

// The traces of one channel are drawn stretch by stretch, so that no line crosses a break.
template <class DrawStretch>
void ForEachStretch(const StripChartData& data, double left, double right, DrawStretch&& draw) {
    std::int64_t begin = data.FirstSample();
    const std::int64_t end = data.EndSample();
    const auto& breaks = data.Breaks();
    for (std::size_t b = 0; b <= breaks.size() && begin < end; ++b) {
        const std::int64_t stop = b < breaks.size() ? std::min(breaks[b], end) : end;
        if (stop > begin) {
            const auto first = data.X(begin);
            const auto last = data.X(stop - 1);
            if (first && last && *first <= right && *last >= left) {
                draw(begin, stop);
            }
        }
        begin = std::max(begin, stop);
    }
}

}  // namespace

void TStripChart::PaintTrace(QPainter& painter, const QRectF& plot, int channel, double ratio) {
    const ChartChannel& info = Channel(channel);
    const QRectF area = ValueArea(plot);
    const int columns = std::max(1, static_cast<int>(plot.width() * ratio));
    const double left = ViewLeft();
    const double width = viewWidth_;
    const auto [lo, hi] = ChannelRange(channel);

    const double span = viewTop_ - viewBottom_;
    const auto yOf = [&, lo = lo, hi = hi](double value) {
        const double plotted = AxisValue(info, lo, hi, value);
        return Clamped(area.bottom() - (plotted - viewBottom_) / span * area.height(), area);
    };
    const auto xOf = [&](double x) {
        return std::clamp(plot.left() + (x - left) / width * plot.width(),
                          plot.left() - plot.width(), plot.right() + plot.width());
    };

    const bool highlighted = channel == HighlightedChannel();
    QPen pen(Shade(info.colour, ColourRole::Signal), traceWidth_ + (highlighted ? 1 : 0),
             Qt::SolidLine, Qt::RoundCap, Qt::BevelJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.save();
    painter.setClipRect(area.adjusted(0, -1, 0, 1));
    QPolygonF line;
    line.reserve(static_cast<qsizetype>(columns) * 4 + 2);
    const auto flush = [&] {
        if (line.size() >= 2) {
            painter.drawPolyline(line);
        } else if (line.size() == 1 && plot.contains(line.front())) {
            painter.drawPoint(line.front());
        }
        line.clear();
    };
    ForEachStretch(Data(), left, left + width, [&](std::int64_t begin, std::int64_t end) {
        Data().Decimate(channel, left, left + width, columns, scratch_, begin, end);
        if (scratch_.before) {
            line << QPointF(xOf(scratch_.before->x), yOf(scratch_.before->value));
        }
        for (int c = 0; c < columns; ++c) {
            const ColumnSpan& column = scratch_.columns[static_cast<size_t>(c)];
            if (column.samples == 0) {
                continue;  // no sample falls here: the line runs on to the next one
            }
            if (column.points == 0) {
                flush();  // samples without values on this channel: a gap
                continue;
            }
            const double x = plot.left() + (c + 0.5) / ratio;
            line << QPointF(x, yOf(column.first));
            if (column.points > 1) {
                line << QPointF(x, yOf(column.minimum)) << QPointF(x, yOf(column.maximum));
            }
            line << QPointF(x, yOf(column.last));
        }
        if (scratch_.after && !line.isEmpty()) {
            line << QPointF(xOf(scratch_.after->x), yOf(scratch_.after->value));
        }
        flush();
    });
    painter.restore();
}

void TStripChart::PaintDigital(QPainter& painter, const QRectF& lane, int channel, double ratio) {
    const ChartChannel& info = Channel(channel);
    const QRectF plot(lane.left(), lane.top(), lane.width(), lane.height());
    const int columns = std::max(1, static_cast<int>(plot.width() * ratio));
    const double left = ViewLeft();
    const double width = viewWidth_;
    const double inset = std::min(3.0, lane.height() * 0.2);
    const auto yOf = [&](double value) {
        return value > 0 ? lane.top() + inset + 0.5 : lane.bottom() - inset - 0.5;
    };
    const auto xOf = [&](double x) {
        return std::clamp(plot.left() + (x - left) / width * plot.width(),
                          plot.left() - plot.width(), plot.right() + plot.width());
    };
    const bool highlighted = channel == HighlightedChannel();
    painter.setPen(QPen(Shade(info.colour, ColourRole::Signal), highlighted ? 2.0 : 1.0,
                        Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    QPolygonF line;
    const auto flush = [&] {
        if (line.size() >= 2) {
            painter.drawPolyline(line);
        }
        line.clear();
    };
    // A step: the level holds until the next column, then the line goes straight up or down.
    const auto stepTo = [&](double x, double y) {
        if (!line.isEmpty()) {
            line << QPointF(x, line.back().y());
        }
        line << QPointF(x, y);
    };
    ForEachStretch(Data(), left, left + width, [&](std::int64_t begin, std::int64_t end) {
        Data().Decimate(channel, left, left + width, columns, scratch_, begin, end);
        if (scratch_.before) {
            line << QPointF(xOf(scratch_.before->x), yOf(scratch_.before->value));
        }
        for (int c = 0; c < columns; ++c) {
            const ColumnSpan& column = scratch_.columns[static_cast<size_t>(c)];
            if (column.samples == 0) {
                continue;
            }
            if (column.points == 0) {
                flush();
                continue;
            }
            const double x = plot.left() + (c + 0.5) / ratio;
            stepTo(x, yOf(column.first));
            if (column.minimum != column.maximum) {
                line << QPointF(x, yOf(column.maximum)) << QPointF(x, yOf(column.minimum));
            }
            line << QPointF(x, yOf(column.last));
        }
        if (scratch_.after && !line.isEmpty()) {
            stepTo(xOf(scratch_.after->x), yOf(scratch_.after->value));
        }
        flush();
    });
}

}  // namespace vekaton
