#include "app/analysis/HistogramWidget.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "analysis/FrameAccumulator.h"

namespace vekaton {

namespace {

constexpr int kValueTicks = 4;
const QColor kBar(70, 130, 180);

}  // namespace

HistogramWidget::HistogramWidget(QWidget* parent) : AnalysisPlot(parent) {
    setObjectName("Histogram");
}

QRectF HistogramWidget::PlotArea() const {
    const QFontMetrics metrics(font());
    const double left = metrics.horizontalAdvance("000000") + 12;
    const double top = metrics.height() + 8;
    const double bottom = metrics.height() * 2 + 10;
    return QRectF(left, top, std::max(width() - left - 12, 1.0),
                  std::max(height() - top - bottom, 1.0));
}

double HistogramWidget::Tallest() const {
    std::int64_t tallest = 0;
    const CellGrid& grid = Result()->Grid();
    for (int bin = 0; bin < grid.Columns(); ++bin) {
        tallest = std::max(tallest, grid.Cell(bin).Count());
    }
    return static_cast<double>(std::max<std::int64_t>(tallest, 1));
}

QRectF HistogramWidget::CellRect(int cell) const {
    if (Result() == nullptr || cell < 0 || cell >= Result()->Grid().Columns()) {
        return QRectF();
    }
    // The bin's whole column, so that an empty bin can be outlined too.
    const QRectF area = PlotArea();
    const double width = area.width() / Result()->Grid().Columns();
    return QRectF(area.left() + cell * width, area.top(), width, area.height());
}

int HistogramWidget::CellAt(QPointF point) const {
    if (Result() == nullptr || Result()->Grid().Columns() == 0) {
        return -1;
    }
    const QRectF area = PlotArea();
    if (point.x() < area.left() || point.x() >= area.right() || point.y() < area.top() ||
        point.y() > area.bottom() + 4) {
        return -1;
    }
    const int bins = Result()->Grid().Columns();
    return std::clamp(static_cast<int>((point.x() - area.left()) / (area.width() / bins)), 0,
                      bins - 1);
}

void HistogramWidget::PaintResult(QPainter& painter) {
    const FrameAccumulator& result = *Result();
    const CellGrid& grid = result.Grid();
    const QRectF area = PlotArea();
    const QFontMetrics metrics(font());
    const bool share = result.Setup().share;
    const double total = static_cast<double>(std::max<std::int64_t>(grid.Total(), 1));
    const double tallest = Tallest();
    const QColor text = palette().color(QPalette::Text);

    painter.setPen(text);
    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.drawText(QRectF(area.left(), 2, area.width(), metrics.height()), Qt::AlignLeft,
                     share ? tr("Share of the frames") : tr("Frames"));
    painter.drawText(
        QRectF(area.left(), area.bottom() + metrics.height() + 8, area.width(), metrics.height()),
        Qt::AlignCenter, AxisNames().x);
    painter.setFont(font());

    // The value axis: a few round steps of the tallest bar.
    for (int tick = 0; tick <= kValueTicks; ++tick) {
        const double count = tallest * tick / kValueTicks;
        const double y = area.bottom() - area.height() * tick / kValueTicks;
        painter.setPen(palette().color(QPalette::Midlight));
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        painter.setPen(text);
        const QString label =
            share ? ShortNumber(100.0 * count / total) + " %" : ShortNumber(std::round(count));
        painter.drawText(QRectF(0, y - metrics.height() / 2.0, area.left() - 6, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, label);
    }

    const double width = area.width() / grid.Columns();
    const int every =
        std::max(1, static_cast<int>(std::ceil((metrics.horizontalAdvance("00000") + 8) / width)));
    const std::int64_t minimum = std::max<std::int64_t>(result.Setup().minCount, 1);
    for (int bin = 0; bin < grid.Columns(); ++bin) {
        const double height = area.height() * static_cast<double>(grid.Cell(bin).Count()) / tallest;
        const QRectF bar = QRectF(area.left() + bin * width, area.bottom() - height, width, height)
                               .adjusted(1, 0, -1, 0);
        if (grid.Cell(bin).Count() >= minimum) {
            painter.fillRect(bar, kBar);
        } else {
            painter.setPen(kBar);
            painter.drawRect(bar);
        }
        if (bin % every == 0) {
            painter.setPen(text);
            const double x = area.left() + bin * width;
            painter.drawLine(QPointF(x, area.bottom()), QPointF(x, area.bottom() + 3));
            painter.drawText(QRectF(x - 40, area.bottom() + 4, 80, metrics.height()),
                             Qt::AlignHCenter | Qt::AlignTop,
                             ShortNumber(grid.XEdges().Lower(bin)));
        }
    }
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(area.bottomLeft(), area.bottomRight());
    PaintCellMarks(painter);
}

}  // namespace vekaton
