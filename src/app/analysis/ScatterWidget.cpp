#include "app/analysis/ScatterWidget.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "analysis/FrameAccumulator.h"

namespace vekaton {

namespace {

constexpr int kLegendWidth = 64;
constexpr double kPickDistance = 6.0;  // pixels from a dot that still choose it
const QColor kPlainDot(31, 78, 140);
const QColor kDotRing(0, 0, 0, 110);

// A step of 1, 2 or 5 times a power of ten that cuts `span` into at most about `parts`.
double NiceStep(double span, int parts) {
    if (!(span > 0.0)) {
        return 1.0;
    }
    const double rough = span / parts;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= rough) {
            return factor * power;
        }
    }
    return 10.0 * power;
}

}  // namespace

ScatterWidget::ScatterWidget(QWidget* parent) : AnalysisPlot(parent) {
    setObjectName("Scatter");
}

QRectF ScatterWidget::PlotArea() const {
    const QFontMetrics metrics(font());
    const double left = metrics.height() + 8 + metrics.horizontalAdvance("-00000") + 6;
    const double top = metrics.height() / 2.0 + 4;
    const double bottom = metrics.height() * 2 + 10;
    const double legend = Result() != nullptr && Result()->Setup().z ? kLegendWidth : 12;
    return QRectF(left, top, std::max(width() - left - legend, 1.0),
                  std::max(height() - top - bottom, 1.0));
}

QPointF ScatterWidget::PlaceOf(double x, double y) const {
    const CellGrid& grid = Result()->Grid();
    const QRectF area = PlotArea();
    const BinEdges& xEdges = grid.XEdges();
    const BinEdges& yEdges = *grid.YEdges();
    const double xLow = xEdges.Values().front();
    const double xHigh = xEdges.Values().back();
    const double yLow = yEdges.Values().front();
    const double yHigh = yEdges.Values().back();
    return QPointF(area.left() + area.width() * (x - xLow) / (xHigh - xLow),
                   area.bottom() - area.height() * (y - yLow) / (yHigh - yLow));
}

QRectF ScatterWidget::CellRect(int cell) const {
    if (Result() == nullptr || cell < 0 || !Result()->Grid().YEdges()) {
        return QRectF();
    }
    const CellGrid& grid = Result()->Grid();
    const int column = grid.ColumnOf(cell);
    const int row = grid.RowOf(cell);
    const QPointF low = PlaceOf(grid.XEdges().Lower(column), grid.YEdges()->Lower(row));
    const QPointF high = PlaceOf(grid.XEdges().Upper(column), grid.YEdges()->Upper(row));
    return QRectF(low, high).normalized();
}

int ScatterWidget::CellAt(QPointF point) const {
    if (Result() == nullptr || Result()->Grid().CellCount() == 0) {
        return -1;
    }
    const CellGrid& grid = Result()->Grid();
    const QRectF area = PlotArea();
    if (!area.contains(point)) {
        return -1;
    }
    const double xLow = grid.XEdges().Values().front();
    const double xHigh = grid.XEdges().Values().back();
    const double yLow = grid.YEdges()->Values().front();
    const double yHigh = grid.YEdges()->Values().back();
    const double x = xLow + (xHigh - xLow) * (point.x() - area.left()) / area.width();
    const double y = yLow + (yHigh - yLow) * (area.bottom() - point.y()) / area.height();
    return grid.CellOf(std::min(x, xHigh), std::min(y, yHigh));
}

bool ScatterWidget::ChoosePoint(QPointF point) {
    const FrameAccumulator& result = *Result();
    const ScatterPoint* nearest = nullptr;
    double best = kPickDistance * kPickDistance;
    for (const ScatterPoint& dot : result.Points().Points()) {
        const QPointF place = PlaceOf(dot.x, dot.y);
        const double dx = place.x() - point.x();
        const double dy = place.y() - point.y();
        if (dx * dx + dy * dy <= best) {
            best = dx * dx + dy * dy;
            nearest = &dot;
        }
    }
    if (nearest == nullptr) {
        return false;
    }
    const int cell = result.Grid().CellOf(nearest->x, nearest->y);
    SetSelectedCell(cell);
    emit cellChosen(cell, nearest->frame);
    return true;
}

void ScatterWidget::PaintAxes(QPainter& painter, const QRectF& area) const {
    const CellGrid& grid = Result()->Grid();
    const QFontMetrics metrics(font());
    const QColor text = palette().color(QPalette::Text);
    const auto ticks = [&](const BinEdges& edges, bool horizontal) {
        const double low = edges.Values().front();
        const double high = edges.Values().back();
        const double length = horizontal ? area.width() : area.height();
        const double step = NiceStep(high - low, std::max(2, static_cast<int>(length / 70)));
        for (double value = std::ceil(low / step) * step; value <= high + step * 1e-9;
             value += step) {
            const QPointF at = horizontal ? PlaceOf(value, grid.YEdges()->Values().front())
                                          : PlaceOf(grid.XEdges().Values().front(), value);
            painter.setPen(palette().color(QPalette::Midlight));
            if (horizontal) {
                painter.drawLine(QPointF(at.x(), area.top()), QPointF(at.x(), area.bottom()));
            } else {
                painter.drawLine(QPointF(area.left(), at.y()), QPointF(area.right(), at.y()));
            }
            painter.setPen(text);
            const QString label = ShortNumber(std::abs(value) < step * 1e-9 ? 0.0 : value);
            if (horizontal) {
                painter.drawText(QRectF(at.x() - 40, area.bottom() + 3, 80, metrics.height()),
                                 Qt::AlignHCenter | Qt::AlignTop, label);
            } else {
                painter.drawText(QRectF(metrics.height() + 4, at.y() - metrics.height() / 2.0,
                                        area.left() - metrics.height() - 10, metrics.height()),
                                 Qt::AlignRight | Qt::AlignVCenter, label);
            }
        }
    };
    ticks(grid.XEdges(), true);
    ticks(*grid.YEdges(), false);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(area);

    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(text);
    painter.drawText(
        QRectF(area.left(), area.bottom() + metrics.height() + 6, area.width(), metrics.height()),
        Qt::AlignCenter, AxisNames().x);
    painter.save();
    painter.translate(2, area.bottom());
    painter.rotate(-90);
    painter.drawText(QRectF(0, 0, area.height(), metrics.height()), Qt::AlignCenter, AxisNames().y);
    painter.restore();
    painter.setFont(font());
}

void ScatterWidget::PaintResult(QPainter& painter) {
    const FrameAccumulator& result = *Result();
    const CellGrid& grid = result.Grid();
    if (!grid.YEdges() || grid.YEdges()->Empty()) {
        return;
    }
    const QRectF area = PlotArea();
    // The density behind: the darker, the more frames, on a square-root scale so that sparse
    // cells still show.
    std::int64_t most = 1;
    for (int cell = 0; cell < grid.CellCount(); ++cell) {
        most = std::max(most, grid.Cell(cell).Count());
    }
    for (int cell = 0; cell < grid.CellCount(); ++cell) {
        if (const std::int64_t count = grid.Cell(cell).Count(); count > 0) {
            const double depth = std::sqrt(static_cast<double>(count) / static_cast<double>(most));
            painter.fillRect(CellRect(cell),
                             QColor(120, 120, 120, 20 + static_cast<int>(70 * depth)));
        }
    }
    PaintAxes(painter, area);

    const std::vector<ScatterPoint>& dots = result.Points().Points();
    std::optional<ColourScale> scale;
    if (result.Setup().z && !dots.empty()) {
        const auto [low, high] = std::minmax_element(
            dots.begin(), dots.end(),
            [](const ScatterPoint& a, const ScatterPoint& b) { return a.z < b.z; });
        scale.emplace(low->z, high->z, Centre());
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setClipRect(area);
    for (const ScatterPoint& dot : dots) {
        const QPointF place = PlaceOf(dot.x, dot.y);
        // A faint dark ring keeps dots of the pale middle of a diverging scale visible.
        painter.fillRect(QRectF(place.x() - 2.5, place.y() - 2.5, 5, 5), kDotRing);
        painter.fillRect(QRectF(place.x() - 1.5, place.y() - 1.5, 3, 3),
                         scale ? ToColor(scale->Of(dot.z)) : kPlainDot);
    }
    painter.setClipping(false);
    PaintCellMarks(painter);
    if (scale) {
        PaintLegend(painter, QRectF(area.right() + 8, area.top(), kLegendWidth - 8, area.height()),
                    *scale);
    }
}

}  // namespace vekaton
