// The strip chart's header - title, cursor read-out and a legend that wraps onto as many rows
// as it needs (and scrolls past 40 % of the height) - and what the mouse points at.
#include "widgets/TStripChart.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace vekaton {
namespace {

constexpr double kRowFactor = 1.4;
constexpr double kHitPixels = 8.0;

QString SecondsText(double seconds) {
    return QString::number(seconds, 'f', 3) + QStringLiteral(" s");
}

QString HexWord(std::uint64_t word) {
    QString digits = QString::number(word, 16).toUpper();
    if (digits.size() % 2 != 0) {
        digits.prepend(QLatin1Char('0'));
    }
    return QStringLiteral("0x") + digits;
}

}  // namespace

QString TStripChart::LegendText(int channel) const {
    const ChartChannel& info = Channel(channel);
    QString text = QString::fromStdString(info.name);
    const auto valueAt = [&](std::int64_t sample) -> std::optional<double> {
        return Data().Point(channel, sample);
    };
    const auto valueText = [&](std::int64_t sample) {
        const auto value = valueAt(sample);
        if (!value) {
            return QStringLiteral("-");
        }
        if (info.digital) {
            return *value > 0 ? QStringLiteral("1") : QStringLiteral("0");
        }
        QString shown = QString::number(*value, 'g', 6);
        if (const auto word = Data().Word(channel, sample)) {
            shown += QStringLiteral(" (") + HexWord(*word) + QStringLiteral(")");
        }
        return shown;
    };
    const auto& a = cursors_[kCursorA];
    const auto& b = cursors_[kCursorB];
    if (a) {
        text += QStringLiteral(" ") + valueText(*a);
    }
    if (b) {
        text += (a ? QStringLiteral(" \u2192 ") : QStringLiteral(" ")) + valueText(*b);
        const auto first = a ? valueAt(*a) : std::nullopt;
        const auto second = valueAt(*b);
        if (first && second && !info.digital) {
            text += QStringLiteral(" (\u0394 ") + QString::number(*second - *first, 'g', 6) +
                    QStringLiteral(")");
        }
    }
    return text;
}

QString TStripChart::CursorReadout() const {
    double times[2] = {0, 0};
    bool have[2] = {false, false};
    for (int which = 0; which < 2; ++which) {
        const auto& cursor = cursors_[static_cast<std::size_t>(which)];
        if (cursor) {
            if (const auto x = Data().X(*cursor)) {
                times[which] = *x;
                have[which] = true;
            }
        }
    }
    QStringList parts;
    if (have[0]) {
        parts << QStringLiteral("A ") + SecondsText(times[0]);
    }
    if (have[1]) {
        parts << QStringLiteral("B ") + SecondsText(times[1]);
    }
    if (have[0] && have[1]) {
        const std::int64_t frames = cursors_[1].value_or(0) - cursors_[0].value_or(0);
        parts << QStringLiteral("\u0394t ") + SecondsText(times[1] - times[0]) +
                     (std::llabs(frames) == 1 ? tr(" (1 frame)")
                                              : tr(" (%1 frames)").arg(std::llabs(frames)));
    }
    return parts.join(QStringLiteral("   "));
}

const TStripChart::HeaderLayout& TStripChart::Header(const QRectF& bounds) const {
    if (headerValid_ && headerSize_ == bounds.size() && header_.height > 0) {
        return header_;
    }
    headerValid_ = true;
    headerSize_ = bounds.size();
    header_ = HeaderLayout{};
    const QFont font = ChartFont();
    const QFontMetricsF metrics(font);
    const double line = metrics.height();
    const double row = line * kRowFactor;
    const QString readout = CursorReadout();
    const bool legend = showLegend_ && ChannelCount() > 0;
    if (title_.isEmpty() && !legend && readout.isEmpty()) {
        header_.height = line * 0.6;
        return header_;
    }
    const double left = bounds.left() + 8;
    const double right = bounds.right() - 10;
    const double width = std::max(10.0, right - left);

    QFont bold = font;
    bold.setBold(true);
    double x = left;
    if (!title_.isEmpty()) {
        x += std::min(QFontMetricsF(bold).horizontalAdvance(title_), width * 0.5) + line;
    }
    if (!readout.isEmpty()) {
        x += metrics.horizontalAdvance(readout) + line;
    }

    // Items with their widths, first as if all fit on the title's row.
    struct Pending {
        int channel;
        QString text;
        double width;
    };
    std::vector<Pending> pending;
    const double swatch = line * 1.1;
    double total = 0;
    if (legend) {
        for (int i = 0; i < ChannelCount(); ++i) {
            if (!Channel(i).visible) {
                continue;
            }
            const QString text =
                metrics.elidedText(LegendText(i), Qt::ElideRight, std::max(40.0, width * 0.6));
            const double w = swatch + 4 + metrics.horizontalAdvance(text);
            pending.push_back({i, text, w});
            total += w + line;
        }
    }
    const bool oneRow = x + total <= right + line;
    std::vector<std::vector<LegendItem>> rows;
    if (oneRow) {
        rows.emplace_back();
        for (const Pending& item : pending) {
            rows.back().push_back({item.channel, item.text, QRectF(x, 0, item.width, line)});
            x += item.width + line;
        }
    } else {
        double cx = left;
        rows.emplace_back();
        for (const Pending& item : pending) {
            if (cx > left && cx + item.width > right) {
                rows.emplace_back();
                cx = left;
            }
            rows.back().push_back({item.channel, item.text, QRectF(cx, 0, item.width, line)});
            cx += item.width + line;
        }
    }
    header_.rows = oneRow ? 0 : static_cast<int>(rows.size());
    const double allowed = std::max(row * 2, bounds.height() * 0.4);
    header_.shownRows =
        oneRow ? 0 : std::clamp(static_cast<int>((allowed - row) / row), 1, header_.rows);
    header_.firstRow = oneRow ? 0 : std::clamp(legendScroll_, 0, header_.rows - header_.shownRows);
    const int firstRow = header_.firstRow;
    const int lastRow = oneRow ? 1 : firstRow + header_.shownRows;
    for (int r = firstRow; r < lastRow; ++r) {
        const double top =
            bounds.top() + (oneRow ? 0 : row * (r - firstRow + 1)) + (row - line) / 2;
        for (LegendItem item : rows[static_cast<std::size_t>(r)]) {
            item.rect.moveTop(top);
            header_.items.push_back(std::move(item));
        }
    }
    header_.height = row * (1 + (oneRow ? 0 : header_.shownRows)) + line * 0.2;
    return header_;
}

void TStripChart::PaintHeader(QPainter& painter, const QRectF& bounds, const QRectF& plot) const {
    const HeaderLayout& header = Header(bounds);
    const QFont font = painter.font();
    const QFontMetricsF metrics(font);
    const double line = metrics.height();
    const double row = line * kRowFactor;
    const QRectF titleRow(bounds.left() + 8, bounds.top(), bounds.width() - 18, row);
    const QColor text = Shade(FontColor(), ColourRole::Ink);
    double x = titleRow.left();
    if (!title_.isEmpty()) {
        QFont bold = font;
        bold.setBold(true);
        painter.setFont(bold);
        painter.setPen(text);
        const double w =
            std::min(QFontMetricsF(bold).horizontalAdvance(title_), titleRow.width() * 0.5);
        painter.drawText(QRectF(x, titleRow.top(), w + 1, row), Qt::AlignLeft | Qt::AlignVCenter,
                         QFontMetricsF(bold).elidedText(title_, Qt::ElideRight, w + 1));
        painter.setFont(font);
        x += w + line;
    }
    const QString readout = CursorReadout();
    if (!readout.isEmpty()) {
        painter.setPen(Shade(QColor(255, 200, 120), ColourRole::Signal));
        const double w = metrics.horizontalAdvance(readout);
        painter.drawText(QRectF(x, titleRow.top(), w + 1, row), Qt::AlignLeft | Qt::AlignVCenter,
                         readout);
    }
    for (const LegendItem& item : header.items) {
        const ChartChannel& channel = Channel(item.channel);
        const double y = item.rect.center().y();
        const double swatch = line * 1.1;
        painter.setPen(QPen(Shade(channel.colour, ColourRole::Signal), channel.digital ? 1.5 : 2.5,
                            Qt::SolidLine, Qt::RoundCap));
        if (channel.digital) {
            // A little step for a flag.
            QPolygonF step;
            step << QPointF(item.rect.left(), y + 3)
                 << QPointF(item.rect.left() + swatch / 2, y + 3)
                 << QPointF(item.rect.left() + swatch / 2, y - 3)
                 << QPointF(item.rect.left() + swatch, y - 3);
            painter.drawPolyline(step);
        } else {
            painter.drawLine(QPointF(item.rect.left(), y), QPointF(item.rect.left() + swatch, y));
        }
        // The highlighted channel's entry in its own colour (bold would change its width).
        painter.setPen(item.channel == HighlightedChannel()
                           ? Shade(channel.colour, ColourRole::Signal)
                           : text);
        painter.drawText(QRectF(item.rect.left() + swatch + 4, item.rect.top(),
                                item.rect.width() - swatch - 4 + line, item.rect.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, item.text);
    }
    if (header.rows > header.shownRows) {
        // Says that the legend goes on, and how to see the rest.
        const QString more = tr("rows %1-%2 of %3 (wheel)")
                                 .arg(header.firstRow + 1)
                                 .arg(header.firstRow + header.shownRows)
                                 .arg(header.rows);
        painter.setPen(text);
        painter.drawText(QRectF(plot.left(), titleRow.top(), plot.width(), row),
                         Qt::AlignRight | Qt::AlignVCenter, more);
    }
}

TStripChart::LegendInfo TStripChart::Legend() const {
    const HeaderLayout& header = Header(QRectF(rect()));
    return LegendInfo{header.rows, header.shownRows, static_cast<int>(header.items.size()),
                      header.firstRow};
}

int TStripChart::ChannelAt(const QPointF& at) const {
    const QRectF bounds(rect());
    const QRectF plot = PlotArea(bounds);
    for (const LegendItem& item : Header(bounds).items) {
        if (item.rect.adjusted(-2, -2, 2, 2).contains(at)) {
            return item.channel;
        }
    }
    if (!plot.contains(at)) {
        return -1;
    }
    int lane = 0;
    for (int channel = 0; channel < ChannelCount(); ++channel) {
        const ChartChannel& info = Channel(channel);
        if (info.digital && info.visible) {
            if (LaneOf(plot, lane++).contains(at)) {
                return channel;
            }
        }
    }
    const QRectF area = ValueArea(plot);
    const std::int64_t sample = SampleAtPixel(at.x());
    if (sample == StripChartData::kNoSample || !area.contains(at)) {
        return -1;
    }
    int best = -1;
    double bestDistance = kHitPixels;
    for (int channel = 0; channel < ChannelCount(); ++channel) {
        const ChartChannel& info = Channel(channel);
        if (info.digital || !info.visible) {
            continue;
        }
        const auto value = Data().Point(channel, sample);
        if (!value) {
            continue;
        }
        const auto [lo, hi] = ChannelRange(channel);
        const double y = area.bottom() - (AxisValue(info, lo, hi, *value) - viewBottom_) /
                                             (viewTop_ - viewBottom_) * area.height();
        const double distance = std::fabs(y - at.y());
        if (distance < bestDistance) {
            bestDistance = distance;
            best = channel;
        }
    }
    return best;
}

}  // namespace vekaton
