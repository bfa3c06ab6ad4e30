// Drawing of the strip chart: frame, value grid, title and legend are cached; the time axis
// and the traces are drawn on every repaint from the decimated data.
#include "widgets/ScaleMath.h"
#include "widgets/TStripChart.h"

#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>

#include <cmath>

namespace vekaton {
namespace {

struct Tick {
    double value;
    QString label;
};

// Round-numbered ticks from low to high, about one per spacing pixels of length.
std::vector<Tick> Ticks(double low, double high, double length, double spacing) {
    std::vector<Tick> ticks;
    if (!(high > low) || length <= 0) {
        return ticks;
    }
    const double step = NiceStep(high - low, std::max(1, static_cast<int>(length / spacing)));
    const int decimals = step >= 1.0 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
    const double first = std::ceil(low / step - 1e-9) * step;
    for (int i = 0; i < 1000; ++i) {
        const double value = first + i * step;
        if (value > high + step * 1e-9) {
            break;
        }
        ticks.push_back({value, FormatNumber(value, decimals)});
    }
    return ticks;
}

double Clamped(double y, const QRectF& plot) {
    // Far-off values are pinned just outside the plot so that the raster never sees huge
    // coordinates; the clip hides them.
    return std::clamp(y, plot.top() - plot.height(), plot.bottom() + plot.height());
}

}  // namespace

QFont TStripChart::ChartFont() const {
    return TextFont(std::clamp(height() * 0.045, 9.0, 14.0));
}

QRectF TStripChart::PlotArea(const QRectF& bounds) const {
    const QFontMetricsF metrics(ChartFont());
    double labelWidth = metrics.horizontalAdvance(QStringLiteral("0"));
    for (const Tick& tick : Ticks(viewBottom_, viewTop_, bounds.height(), 34)) {
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(tick.label));
    }
    const double line = metrics.height();
    const double header =
        (title_.isEmpty() && (!showLegend_ || ChannelCount() == 0)) ? line * 0.6 : line * 1.6;
    return bounds.adjusted(labelWidth + 10, header, -10, -(line + 8));
}

void TStripChart::PaintStatic(QPainter& painter, const QRectF& bounds) {
    painter.fillRect(bounds, ColourOf(Color()));
    const QRectF plot = PlotArea(bounds);
    if (plot.width() <= 4 || plot.height() <= 4) {
        return;
    }
    painter.fillRect(plot, ColourOf(plotColour_));

    const QFont font = ChartFont();
    const QFontMetricsF metrics(font);
    const QColor text = ColourOf(FontColor());
    const QColor grid = ColourOf(gridColour_);
    painter.setFont(font);
    for (const Tick& tick : Ticks(viewBottom_, viewTop_, plot.height(), 34)) {
        const double y = std::round(plot.bottom() - (tick.value - viewBottom_) /
                                                        (viewTop_ - viewBottom_) * plot.height()) +
                         0.5;
        painter.setPen(QPen(grid, 1.0));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(text);
        painter.drawText(QRectF(bounds.left(), y - metrics.height() / 2,
                                plot.left() - 6 - bounds.left(), metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, tick.label);
    }
    painter.setPen(QPen(grid.lighter(140), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot.adjusted(-0.5, -0.5, 0.5, 0.5));

    const QRectF header(plot.left(), bounds.top(), plot.width(), plot.top() - bounds.top());
    double titleWidth = 0;
    if (!title_.isEmpty()) {
        QFont bold = font;
        bold.setBold(true);
        painter.setFont(bold);
        painter.setPen(text);
        titleWidth = std::min(QFontMetricsF(bold).horizontalAdvance(title_), header.width() * 0.5);
        painter.drawText(
            header, Qt::AlignLeft | Qt::AlignVCenter,
            QFontMetricsF(bold).elidedText(title_, Qt::ElideRight, header.width() * 0.5));
        painter.setFont(font);
    }
    if (showLegend_) {
        PaintLegend(painter, header.adjusted(titleWidth + 16, 0, 0, 0));
    }
}

void TStripChart::PaintLegend(QPainter& painter, const QRectF& header) const {
    const QFontMetricsF metrics(painter.font());
    double right = header.right();
    const double swatch = metrics.height() * 1.1;
    // Laid out from the right so that the first channels keep their places as others are added.
    for (int i = ChannelCount() - 1; i >= 0; --i) {
        const ChartChannel& channel = Channel(i);
        if (!channel.visible) {
            continue;
        }
        const QString name = metrics.elidedText(QString::fromStdString(channel.name),
                                                Qt::ElideRight, metrics.height() * 9);
        const double width = metrics.horizontalAdvance(name);
        const double left = right - width - swatch - 4;
        if (left < header.left()) {
            break;
        }
        const double y = header.center().y();
        painter.setPen(QPen(ColourOf(channel.colour), 2.5, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(left, y), QPointF(left + swatch, y));
        painter.setPen(ColourOf(FontColor()));
        painter.drawText(QRectF(left + swatch + 4, header.top(), width + 1, header.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, name);
        right = left - metrics.height();
    }
}

void TStripChart::PaintDynamic(QPainter& painter, const QRectF& bounds) {
    const QRectF plot = PlotArea(bounds);
    if (plot.width() <= 4 || plot.height() <= 4) {
        return;
    }
    PaintTimeAxis(painter, plot);
    const QPaintEngine* engine = painter.paintEngine();
    const double ratio = engine != nullptr && engine->paintDevice() != nullptr
                             ? engine->paintDevice()->devicePixelRatioF()
                             : devicePixelRatioF();
    painter.save();
    painter.setClipRect(plot);
    for (int channel = 0; channel < ChannelCount(); ++channel) {
        PaintTrace(painter, plot, channel, ratio);
    }
    painter.restore();
    if (!following_) {
        // Say why the chart stands still and how to get it moving.
        painter.setFont(ChartFont());
        QColor hint = ColourOf(FontColor());
        hint.setAlphaF(0.7f);
        painter.setPen(hint);
        painter.drawText(plot.adjusted(6, 4, -6, -4), Qt::AlignRight | Qt::AlignTop,
                         tr("paused - double-click to follow"));
    }
}

void TStripChart::PaintTimeAxis(QPainter& painter, const QRectF& plot) const {
    const double left = ViewLeft();
    const double width = viewWidth_;
    const QFont font = ChartFont();
    const QFontMetricsF metrics(font);
    painter.setFont(font);
    const QColor grid = ColourOf(gridColour_);
    const QColor text = ColourOf(FontColor());
    const std::vector<Tick> ticks = Ticks(left, left + width, plot.width(), 90);
    for (const Tick& tick : ticks) {
        const double x = std::round(plot.left() + (tick.value - left) / width * plot.width()) + 0.5;
        if (x < plot.left() || x > plot.right()) {
            continue;
        }
        painter.setPen(QPen(grid, 1.0, Qt::DotLine));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        painter.setPen(text);
        const double labelWidth = metrics.horizontalAdvance(tick.label);
        const double labelLeft =
            std::clamp(x - labelWidth / 2, plot.left() - 6, plot.right() - labelWidth + 6);
        painter.drawText(QRectF(labelLeft, plot.bottom() + 3, labelWidth + 1, metrics.height()),
                         Qt::AlignCenter, tick.label);
    }
    painter.setPen(text);
    painter.drawText(QRectF(plot.right() + 1, plot.bottom() + 3, 9, metrics.height()),
                     Qt::AlignLeft, QStringLiteral("s"));
}

void TStripChart::PaintTrace(QPainter& painter, const QRectF& plot, int channel, double ratio) {
    const ChartChannel& info = Channel(channel);
    if (!info.visible) {
        return;
    }
    const int columns = std::max(1, static_cast<int>(plot.width() * ratio));
    const double left = ViewLeft();
    const double width = viewWidth_;
    data_.Decimate(channel, left, left + width, columns, scratch_);

    const double span = viewTop_ - viewBottom_;
    const auto yOf = [&](double value) {
        const double plotted = value * info.scale + info.offset;
        return Clamped(plot.bottom() - (plotted - viewBottom_) / span * plot.height(), plot);
    };
    const auto xOf = [&](double x) {
        return std::clamp(plot.left() + (x - left) / width * plot.width(),
                          plot.left() - plot.width(), plot.right() + plot.width());
    };

    QPen pen(ColourOf(info.colour), traceWidth_, Qt::SolidLine, Qt::RoundCap, Qt::BevelJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
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
}

}  // namespace vekaton
