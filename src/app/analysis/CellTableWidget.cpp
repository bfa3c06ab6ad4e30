#include "app/analysis/CellTableWidget.h"

#include <QPainter>
#include <algorithm>

#include "analysis/AnalysisText.h"
#include "analysis/FrameAccumulator.h"

namespace vekaton {

namespace {

constexpr int kLegendWidth = 64;
constexpr int kSmallestCellWidth = 40;
constexpr int kSmallestCellHeight = 20;
constexpr int kLargestCellHeight = 34;

}  // namespace

CellTableWidget::CellTableWidget(QWidget* parent) : AnalysisPlot(parent) {
    setObjectName("CellTable");
}

QRectF CellTableWidget::CellArea() const {
    const QFontMetrics metrics(font());
    const double left = metrics.height() + 6 + metrics.horizontalAdvance("-00000.0") + 6;
    const double top = metrics.height() * 2 + 8;
    return QRectF(left, top, std::max(width() - left - kLegendWidth - 4, 1.0),
                  std::max(height() - top - 4, 1.0));
}

double CellTableWidget::CellWidth() const {
    const int columns = Result() != nullptr ? std::max(Result()->Grid().Columns(), 1) : 1;
    return CellArea().width() / columns;
}

double CellTableWidget::CellHeight() const {
    const int rows = Result() != nullptr ? std::max(Result()->Grid().Rows(), 1) : 1;
    return std::min(CellArea().height() / rows, static_cast<double>(kLargestCellHeight));
}

QSize CellTableWidget::minimumSizeHint() const {
    if (Result() == nullptr) {
        return QSize(200, 120);
    }
    const QRectF area = CellArea();
    const double spareWidth = width() - area.width();
    const double spareHeight = height() - area.height();
    return QSize(static_cast<int>(spareWidth) + Result()->Grid().Columns() * kSmallestCellWidth,
                 static_cast<int>(spareHeight) + Result()->Grid().Rows() * kSmallestCellHeight);
}

QSize CellTableWidget::sizeHint() const {
    return minimumSizeHint().expandedTo(QSize(480, 260));
}

QRectF CellTableWidget::CellRect(int cell) const {
    if (Result() == nullptr || cell < 0) {
        return QRectF();
    }
    const CellGrid& grid = Result()->Grid();
    const QRectF area = CellArea();
    return QRectF(area.left() + grid.ColumnOf(cell) * CellWidth(),
                  area.top() + grid.RowOf(cell) * CellHeight(), CellWidth(), CellHeight());
}

int CellTableWidget::CellAt(QPointF point) const {
    if (Result() == nullptr || Result()->Grid().CellCount() == 0) {
        return -1;
    }
    const CellGrid& grid = Result()->Grid();
    const QRectF area = CellArea();
    const auto column = static_cast<int>((point.x() - area.left()) / CellWidth());
    const auto row = static_cast<int>((point.y() - area.top()) / CellHeight());
    if (point.x() < area.left() || point.y() < area.top() || column >= grid.Columns() ||
        row >= grid.Rows()) {
        return -1;
    }
    return row * grid.Columns() + column;
}

void CellTableWidget::PaintResult(QPainter& painter) {
    const FrameAccumulator& result = *Result();
    const CellGrid& grid = result.Grid();
    const QRectF area = CellArea();
    const QFontMetrics metrics(font());
    const QColor text = palette().color(QPalette::Text);
    const QColor gridLine = palette().color(QPalette::Mid);
    const ColourScale scale = CellScale();

    // The axes' names: X above its edges, Y turned up the left side.
    painter.setPen(text);
    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.drawText(QRectF(area.left(), 2, area.width(), metrics.height()), Qt::AlignLeft,
                     AxisNames().x + QString::fromUtf8(" \u2192"));
    painter.save();
    const double tableHeight = CellHeight() * grid.Rows();
    painter.translate(2, area.top() + tableHeight);
    painter.rotate(-90);
    painter.drawText(QRectF(0, 0, tableHeight, metrics.height()), Qt::AlignLeft,
                     AxisNames().y + QString::fromUtf8(" \u2192"));
    painter.restore();
    painter.setFont(font());

    for (int column = 0; column < grid.Columns(); ++column) {
        const QRectF head(area.left() + column * CellWidth(), metrics.height() + 4, CellWidth(),
                          metrics.height());
        painter.drawText(head, Qt::AlignCenter, ShortNumber(grid.XEdges().Lower(column)));
    }
    const double labelLeft = metrics.height() + 6;
    for (int row = 0; row < grid.Rows() && grid.YEdges(); ++row) {
        const QRectF head(labelLeft, area.top() + row * CellHeight(), area.left() - labelLeft - 6,
                          CellHeight());
        painter.drawText(head, Qt::AlignRight | Qt::AlignVCenter,
                         ShortNumber(grid.YEdges()->Lower(row)));
    }

    for (int cell = 0; cell < grid.CellCount(); ++cell) {
        const QRectF box = CellRect(cell);
        const auto value = CellValue(result, cell);
        if (!value) {
            painter.fillRect(box, palette().color(QPalette::AlternateBase));
            continue;
        }
        const Rgb colour = scale.Of(*value);
        painter.fillRect(box, ToColor(colour));
        painter.setPen(DarkTextOn(colour) ? QColor(Qt::black) : QColor(Qt::white));
        const QString number = metrics.horizontalAdvance(ShortNumber(*value)) < box.width() - 2
                                   ? ShortNumber(*value)
                                   : QString("#");
        painter.drawText(box, Qt::AlignCenter, number);
    }
    painter.setPen(gridLine);
    for (int column = 0; column <= grid.Columns(); ++column) {
        const double x = area.left() + column * CellWidth();
        painter.drawLine(QPointF(x, area.top()), QPointF(x, area.top() + tableHeight));
    }
    for (int row = 0; row <= grid.Rows(); ++row) {
        const double y = area.top() + row * CellHeight();
        painter.drawLine(QPointF(area.left(), y), QPointF(area.left() + area.width(), y));
    }
    PaintCellMarks(painter);
    PaintLegend(painter,
                QRectF(area.right() + 8, area.top(), kLegendWidth - 8,
                       std::min(tableHeight, area.height())),
                scale);
}

}  // namespace vekaton
