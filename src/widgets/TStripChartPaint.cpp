// Drawing of the strip chart: frame, grid, lanes and header are cached; the value and time axes'
// labels, the traces, breaks and cursors are drawn on every repaint from the decimated data.
#include "widgets/ScaleMath.h"
#include "widgets/TStripChart.h"
#include "widgets/TStripChartTicks.h"

#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>

#include <cmath>

namespace vekaton {
namespace {

constexpr double kTickSpacing = 34;

}  // namespace

QFont TStripChart::ChartFont() const {
    return TextFont(std::clamp(height() * 0.045, 9.0, 14.0));
}

int TStripChart::DigitalCount() const {
    int count = 0;
    for (int i = 0; i < ChannelCount(); ++i) {
        count += Channel(i).digital && Channel(i).visible ? 1 : 0;
    }
    return count;
}

QRectF TStripChart::ValueArea(const QRectF& plot) const {
    const int lanes = DigitalCount();
    if (lanes == 0) {
        return plot;
    }
    // Lanes of up to 22 px, together never more than half the plot.
    const double lane = std::min(22.0, plot.height() * 0.5 / lanes);
    return plot.adjusted(0, 0, 0, -lane * lanes);
}

QRectF TStripChart::LaneOf(const QRectF& plot, int digitalIndex) const {
    const QRectF values = ValueArea(plot);
    const int lanes = std::max(1, DigitalCount());
    const double lane = (plot.bottom() - values.bottom()) / lanes;
    return QRectF(plot.left(), values.bottom() + lane * digitalIndex, plot.width(), lane);
}

bool TStripChart::AxisShowsShares() const {
    // Lines on scales of their own share the axis as a part of each one's scale.
    for (int i = 0; i < ChannelCount(); ++i) {
        const ChartChannel& channel = Channel(i);
        if (channel.visible && !channel.digital && channel.range != ChartRange::Chart) {
            return true;
        }
    }
    return false;
}

QRectF TStripChart::PlotArea(const QRectF& bounds) const {
    const QFontMetricsF metrics(ChartFont());
    double labelWidth = metrics.horizontalAdvance(QStringLiteral("0"));
    const double height = bounds.height();
    const QString suffix = AxisShowsShares() ? QStringLiteral("%") : QString();
    for (const Tick& tick : Ticks(viewBottom_, viewTop_, height, kTickSpacing)) {
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(tick.label + suffix));
    }
    const int highlighted = HighlightedChannel();
    if (highlighted >= 0 && Channel(highlighted).range != ChartRange::Chart) {
        const auto [lo, hi] = ChannelRange(highlighted);
        const double span = yMaximum_ - yMinimum_;
        const double low = lo + (viewBottom_ - yMinimum_) / span * (hi - lo);
        const double high = lo + (viewTop_ - yMinimum_) / span * (hi - lo);
        for (const Tick& tick : Ticks(low, high, height, kTickSpacing)) {
            labelWidth = std::max(labelWidth, metrics.horizontalAdvance(tick.label));
        }
    }
    const double line = metrics.height();
    return bounds.adjusted(labelWidth + 10, Header(bounds).height, -10, -(line + 8));
}

double TStripChart::AxisValue(const ChartChannel& channel, double lo, double hi,
                              double value) const {
    if (channel.range == ChartRange::Chart) {
        return value * channel.scale + channel.offset;
    }
    return yMinimum_ + (value - lo) / (hi - lo) * (yMaximum_ - yMinimum_);
}

std::pair<double, double> TStripChart::ChannelRange(int channel) const {
    const ChartChannel& info = Channel(channel);
    double lo = yMinimum_;
    double hi = yMaximum_;
    if (info.range == ChartRange::Fixed) {
        lo = info.rangeMinimum;
        hi = info.rangeMaximum;
    } else if (info.range == ChartRange::Auto) {
        if (const auto range = Data().ValueRange(channel)) {
            lo = range->first;
            hi = range->second;
        } else {
            lo = 0;
            hi = 1;
        }
        if (hi - lo < 1e-9 * std::max(1.0, std::fabs(lo))) {
            // A flat trace sits in the middle of a range around it.
            const double margin = std::max(1.0, std::fabs(lo) * 0.05);
            lo -= margin;
            hi += margin;
        }
    }
    if (!(hi > lo) || !std::isfinite(lo) || !std::isfinite(hi)) {
        hi = lo + 1;
    }
    return {lo, hi};
}

void TStripChart::PaintStatic(QPainter& painter, const QRectF& bounds) {
    headerValid_ = false;  // the font or the legend may have changed
    painter.fillRect(bounds, Shade(Color(), ColourRole::Face));
    const QRectF plot = PlotArea(bounds);
    if (plot.width() <= 4 || plot.height() <= 4) {
        return;
    }
    painter.fillRect(plot, Shade(plotColour_, ColourRole::Face));

    const QFont font = ChartFont();
    const QColor text = Shade(FontColor(), ColourRole::Ink);
    const QColor grid = Shade(gridColour_, ColourRole::Metal);
    painter.setFont(font);
    const QRectF values = ValueArea(plot);
    for (const Tick& tick : Ticks(viewBottom_, viewTop_, values.height(), kTickSpacing)) {
        const double y =
            std::round(values.bottom() -
                       (tick.value - viewBottom_) / (viewTop_ - viewBottom_) * values.height()) +
            0.5;
        painter.setPen(QPen(grid, 1.0));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    }

    // The digital lanes: a line above each, the channel's name inside it.
    int lane = 0;
    QFont small = font;
    small.setPixelSize(std::max(8, static_cast<int>(font.pixelSize() * 0.85)));
    painter.setFont(small);
    for (int channel = 0; channel < ChannelCount(); ++channel) {
        const ChartChannel& info = Channel(channel);
        if (!info.digital || !info.visible) {
            continue;
        }
        const QRectF area = LaneOf(plot, lane++);
        painter.setPen(QPen(grid.lighter(120), 1.0));
        painter.drawLine(QPointF(plot.left(), std::round(area.top()) + 0.5),
                         QPointF(plot.right(), std::round(area.top()) + 0.5));
        QColor name = Shade(info.colour, ColourRole::Signal);
        name.setAlphaF(0.55f);
        painter.setPen(name);
        painter.drawText(area.adjusted(4, 0, -4, 0), Qt::AlignLeft | Qt::AlignVCenter,
                         QFontMetricsF(small).elidedText(QString::fromStdString(info.name),
                                                         Qt::ElideRight, area.width() * 0.3));
    }
    painter.setFont(font);

    painter.setPen(QPen(grid.lighter(140), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot.adjusted(-0.5, -0.5, 0.5, 0.5));
    painter.setPen(text);
    PaintHeader(painter, bounds, plot);
}

void TStripChart::PaintValueLabels(QPainter& painter, const QRectF& bounds, const QRectF& area,
                                   int channel) const {
    const QFontMetricsF metrics(painter.font());
    const auto place = [&](double axisValue) {
        return area.bottom() - (axisValue - viewBottom_) / (viewTop_ - viewBottom_) * area.height();
    };
    const auto draw = [&](double y, const QString& label) {
        if (y < area.top() - 1 || y > area.bottom() + 1) {
            return;
        }
        painter.drawText(QRectF(bounds.left(), std::round(y) + 0.5 - metrics.height() / 2,
                                area.left() - 6 - bounds.left(), metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, label);
    };
    if (channel < 0 || Channel(channel).range == ChartRange::Chart) {
        painter.setPen(channel < 0 ? Shade(FontColor(), ColourRole::Ink)
                                   : Shade(Channel(channel).colour, ColourRole::Signal));
        const QString suffix = channel < 0 && AxisShowsShares() ? QStringLiteral("%") : QString();
        for (const Tick& tick : Ticks(viewBottom_, viewTop_, area.height(), kTickSpacing)) {
            draw(place(tick.value), tick.label + suffix);
        }
        return;
    }
    // The highlighted channel's own units over the same height.
    const ChartChannel& info = Channel(channel);
    const auto [lo, hi] = ChannelRange(channel);
    const double span = yMaximum_ - yMinimum_;
    const double low = lo + (viewBottom_ - yMinimum_) / span * (hi - lo);
    const double high = lo + (viewTop_ - yMinimum_) / span * (hi - lo);
    painter.setPen(Shade(info.colour, ColourRole::Signal));
    for (const Tick& tick : Ticks(low, high, area.height(), kTickSpacing)) {
        draw(place(AxisValue(info, lo, hi, tick.value)), tick.label);
    }
}

void TStripChart::PaintDynamic(QPainter& painter, const QRectF& bounds) {
    const QRectF plot = PlotArea(bounds);
    if (plot.width() <= 4 || plot.height() <= 4) {
        return;
    }
    painter.setFont(ChartFont());
    const int highlighted = HighlightedChannel();
    PaintValueLabels(painter, bounds, ValueArea(plot), highlighted);
    PaintTimeAxis(painter, plot);
    const QPaintEngine* engine = painter.paintEngine();
    const double ratio = engine != nullptr && engine->paintDevice() != nullptr
                             ? engine->paintDevice()->devicePixelRatioF()
                             : devicePixelRatioF();
    painter.save();
    painter.setClipRect(plot);
    PaintBreaks(painter, plot);
    int lane = 0;
    for (int channel = 0; channel < ChannelCount(); ++channel) {
        const ChartChannel& info = Channel(channel);
        if (!info.visible) {
            continue;
        }
        if (info.digital) {
            PaintDigital(painter, LaneOf(plot, lane++), channel, ratio);
        } else if (channel != highlighted) {
            PaintTrace(painter, plot, channel, ratio);
        }
    }
    // The highlighted trace last, on top of the others.
    if (highlighted >= 0 && !Channel(highlighted).digital && Channel(highlighted).visible) {
        PaintTrace(painter, plot, highlighted, ratio);
    }
    PaintCursors(painter, plot);
    painter.restore();
    const bool atHome = homeWindow_ && std::fabs(ViewLeft() - homeWindow_->first) < 1e-9 &&
                        std::fabs(ViewRight() - homeWindow_->second) < 1e-9;
    if (!following_ && !atHome) {
        // Say why the chart stands still and how to get it moving (or back).
        QColor hint = Shade(FontColor(), ColourRole::Ink);
        hint.setAlphaF(0.7f);
        painter.setPen(hint);
        // Below the cursors' tags, which sit at the top.
        const double below = QFontMetricsF(painter.font()).height() + 6;
        painter.drawText(plot.adjusted(6, below, -6, -4), Qt::AlignRight | Qt::AlignTop,
                         homeWindow_ ? tr("double-click or Home: whole log")
                                     : tr("paused - double-click to follow"));
    }
}

void TStripChart::PaintTimeAxis(QPainter& painter, const QRectF& plot) const {
    const double left = ViewLeft();
    const double width = viewWidth_;
    const QFontMetricsF metrics(painter.font());
    const QColor grid = Shade(gridColour_, ColourRole::Metal);
    const QColor text = Shade(FontColor(), ColourRole::Ink);
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

std::optional<double> TStripChart::XOfSample(std::int64_t sample, const QRectF& plot) const {
    const auto x = Data().X(sample);
    if (!x) {
        return std::nullopt;
    }
    return plot.left() + (*x - ViewLeft()) / viewWidth_ * plot.width();
}

void TStripChart::PaintBreaks(QPainter& painter, const QRectF& plot) const {
    QColor colour = Shade(gridColour_, ColourRole::Metal).lighter(170);
    painter.setPen(QPen(colour, 1.0, Qt::DashLine));
    for (const std::int64_t sample : Data().Breaks()) {
        const auto after = XOfSample(sample, plot);
        const auto before = XOfSample(sample - 1, plot);
        if (!after) {
            continue;
        }
        const double x = std::round(before ? (*before + *after) / 2 : *after) + 0.5;
        if (x >= plot.left() && x <= plot.right()) {
            painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        }
    }
}

void TStripChart::PaintCursors(QPainter& painter, const QRectF& plot) const {
    static const char* const kNames[2] = {"A", "B"};
    const QColor colours[2] = {Shade(QColor(240, 240, 240), ColourRole::Signal),
                               Shade(QColor(255, 170, 60), ColourRole::Signal)};
    const QFontMetricsF metrics(painter.font());
    for (int which = 0; which < 2; ++which) {
        const auto& cursor = cursors_[static_cast<std::size_t>(which)];
        if (!cursor) {
            continue;
        }
        const auto xAt = XOfSample(*cursor, plot);
        if (!xAt || *xAt < plot.left() || *xAt > plot.right()) {
            continue;
        }
        const double x = std::round(*xAt) + 0.5;
        painter.setPen(QPen(colours[which], 1.0));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        const QString name = QString::fromLatin1(kNames[which]);
        const double w = metrics.horizontalAdvance(name) + 6;
        const QRectF tag(std::min(x + 2, plot.right() - w), plot.top() + 2, w, metrics.height());
        painter.fillRect(tag, colours[which]);
        painter.setPen(Shade(plotColour_, ColourRole::Face));
        painter.drawText(tag, Qt::AlignCenter, name);
    }
}

}  // namespace vekaton
