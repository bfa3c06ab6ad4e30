#include "app/analysis/AnalysisPlot.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <cmath>

#include "analysis/AnalysisText.h"
#include "analysis/FrameAccumulator.h"

namespace vekaton {

QString ShortNumber(double value) {
    if (!std::isfinite(value)) {
        return QString();
    }
    const double size = std::abs(value);
    const int decimals =
        size < 1e-12 ? 0 : std::clamp(3 - static_cast<int>(std::floor(std::log10(size))), 0, 4);
    QString text = QString::number(value, 'f', decimals);
    if (text.contains('.')) {
        while (text.endsWith('0')) {
            text.chop(1);
        }
        if (text.endsWith('.')) {
            text.chop(1);
        }
    }
    return text == "-0" ? QString("0") : text;
}

QColor ToColor(Rgb rgb) {
    return QColor(rgb.r, rgb.g, rgb.b);
}

AnalysisPlot::AnalysisPlot(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void AnalysisPlot::Show(const FrameAccumulator* result, const Names& names,
                        std::optional<double> centre) {
    const bool sameShape = result != nullptr && result_ != nullptr &&
                           result->Grid().CellCount() == result_->Grid().CellCount();
    result_ = result;
    names_ = names;
    centre_ = centre;
    if (!sameShape) {
        selected_ = live_ = hovered_ = -1;
    }
    ResultChanged();
    update();
}

void AnalysisPlot::SetEmptyText(const QString& text) {
    emptyText_ = text;
    update();
}

void AnalysisPlot::Refresh() {
    update();
}

void AnalysisPlot::SetSelectedCell(int cell) {
    const int count = result_ != nullptr ? result_->Grid().CellCount() : 0;
    selected_ = cell >= 0 && cell < count ? cell : -1;
    update();
}

void AnalysisPlot::SetLiveCell(int cell) {
    if (cell != live_) {
        live_ = cell;
        update();
    }
}

QString AnalysisPlot::CellSummary(int cell) const {
    if (result_ == nullptr || cell < 0 || cell >= result_->Grid().CellCount()) {
        return QString();
    }
    const CellGrid& grid = result_->Grid();
    const auto range = [](const QString& name, double lower, double upper) {
        return QString("%1 %2 to %3").arg(name, ShortNumber(lower), ShortNumber(upper));
    };
    const int column = grid.ColumnOf(cell);
    QStringList lines{range(names_.x, grid.XEdges().Lower(column), grid.XEdges().Upper(column))};
    if (grid.YEdges()) {
        const int row = grid.RowOf(cell);
        lines << range(names_.y, grid.YEdges()->Lower(row), grid.YEdges()->Upper(row));
    }
    const RunningStats& stats = grid.Cell(cell);
    if (stats.Count() == 0) {
        lines << tr("no frames");
        return lines.join('\n');
    }
    const double total = static_cast<double>(grid.Total());
    lines << (stats.Count() == 1 ? tr("1 frame") : tr("%1 frames").arg(stats.Count())) +
                 QString(" (%1 %)").arg(
                     ShortNumber(100.0 * static_cast<double>(stats.Count()) / total));
    lines << tr("%1: mean %2, min %3, max %4")
                 .arg(names_.z, ShortNumber(stats.Mean()), ShortNumber(stats.Min()),
                      ShortNumber(stats.Max()));
    if (const auto sd = stats.SampleSd()) {
        lines.back() += tr(", sd %1").arg(ShortNumber(*sd));
    }
    if (stats.Count() < std::max<std::int64_t>(result_->Setup().minCount, 1)) {
        lines << tr("fewer than the minimum count of %1: not shown").arg(result_->Setup().minCount);
    }
    return lines.join('\n');
}

ColourScale AnalysisPlot::CellScale() const {
    double low = centre_.value_or(0.0);
    double high = low;
    bool any = false;
    for (int cell = 0; result_ != nullptr && cell < result_->Grid().CellCount(); ++cell) {
        if (const auto value = CellValue(*result_, cell)) {
            low = any ? std::min(low, *value) : *value;
            high = any ? std::max(high, *value) : *value;
            any = true;
        }
    }
    return ColourScale(low, high, centre_);
}

void AnalysisPlot::PaintLegend(QPainter& painter, const QRectF& area,
                               const ColourScale& scale) const {
    const QRectF bar(area.left(), area.top() + 6, 12, std::max(area.height() - 12, 10.0));
    constexpr int kSteps = 48;
    for (int i = 0; i < kSteps; ++i) {
        const double place = 1.0 - (i + 0.5) / kSteps;  // highest at the top
        const double top = bar.top() + bar.height() * i / kSteps;
        painter.fillRect(QRectF(bar.left(), top, bar.width(), bar.height() / kSteps + 1),
                         ToColor(scale.AtPlace(place)));
    }
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(bar);
    painter.setPen(palette().color(QPalette::Text));
    const QFontMetrics metrics(font());
    const auto label = [&](double place, double value) {
        const double y = bar.bottom() - bar.height() * place;
        painter.drawText(QPointF(bar.right() + 4, y + metrics.ascent() / 2.0 - 1),
                         ShortNumber(value));
    };
    // The ends of the bar and, for a diverging scale, its centre: the values the colours there
    // stand for, which never crowd each other.
    if (!scale.Centre()) {
        label(1.0, scale.High());
        label(0.0, scale.Low());
        return;
    }
    const double centre = *scale.Centre();
    const double reach = std::max(scale.High() - centre, centre - scale.Low());
    label(1.0, centre + reach);
    label(0.0, centre - reach);
    if (bar.height() >= 3 * metrics.height()) {
        label(0.5, centre);
    }
}

void AnalysisPlot::PaintCellMarks(QPainter& painter) const {
    painter.setBrush(Qt::NoBrush);
    if (live_ >= 0 && result_ != nullptr && live_ < result_->Grid().CellCount()) {
        painter.setPen(QPen(QColor(255, 140, 0), 3));
        painter.drawRect(CellRect(live_).adjusted(1.5, 1.5, -1.5, -1.5));
    }
    if (selected_ >= 0) {
        // Solid while the keys move it, dashed otherwise.
        QPen pen(palette().color(QPalette::Highlight), 2,
                 hasFocus() ? Qt::SolidLine : Qt::DashLine);
        painter.setPen(pen);
        painter.drawRect(CellRect(selected_).adjusted(0.5, 0.5, -0.5, -0.5));
    }
}

void AnalysisPlot::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (result_ == nullptr || result_->Grid().CellCount() == 0) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(rect().adjusted(12, 12, -12, -12), Qt::AlignCenter | Qt::TextWordWrap,
                         result_ == nullptr ? emptyText_ : tr("No frame was counted."));
        return;
    }
    PaintResult(painter);
    if (result_->Tally().used == 0) {
        // Empty cells alone do not say why: the frames were all left out.
        const FrameTally& tally = result_->Tally();
        QString why = tr("No frame was counted: %1 of %2 left out by the filters, %3 by settling, "
                         "%4 out of range, %5 by checksum.")
                          .arg(tally.filtered)
                          .arg(tally.read)
                          .arg(tally.settling)
                          .arg(tally.outOfRange)
                          .arg(tally.badChecksum);
        if (tally.read == 0) {
            why = emptyText_.isEmpty() ? tr("No frame was read.") : emptyText_;
        }
        const QFontMetrics metrics(font());
        QRectF box = metrics.boundingRect(rect().adjusted(40, 0, -40, 0), Qt::TextWordWrap, why);
        box.moveCenter(QRectF(rect()).center());
        painter.fillRect(box.adjusted(-10, -6, 10, 6), palette().color(QPalette::ToolTipBase));
        painter.setPen(palette().color(QPalette::ToolTipText));
        painter.drawText(box, Qt::AlignCenter | Qt::TextWordWrap, why);
    }
}

void AnalysisPlot::mouseMoveEvent(QMouseEvent* event) {
    const int cell = CellAt(event->position());
    if (cell != hovered_) {
        hovered_ = cell;
        emit cellHovered(cell);
        if (cell >= 0) {
            QToolTip::showText(event->globalPosition().toPoint(), CellSummary(cell), this);
        } else {
            QToolTip::hideText();
        }
    }
    QWidget::mouseMoveEvent(event);
}

void AnalysisPlot::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || result_ == nullptr) {
        QWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    if (ChoosePoint(event->position())) {
        return;
    }
    const int cell = CellAt(event->position());
    if (cell >= 0) {
        SetSelectedCell(cell);
        emit cellChosen(cell, -1);
    }
}

void AnalysisPlot::keyPressEvent(QKeyEvent* event) {
    if (result_ == nullptr || result_->Grid().CellCount() == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    const CellGrid& grid = result_->Grid();
    int column = selected_ >= 0 ? grid.ColumnOf(selected_) : 0;
    int row = selected_ >= 0 ? grid.RowOf(selected_) : 0;
    int key = event->key();
    if (RowsGoUp() && (key == Qt::Key_Up || key == Qt::Key_Down)) {
        key = key == Qt::Key_Up ? Qt::Key_Down : Qt::Key_Up;
    }
    switch (key) {
        case Qt::Key_Left:
            column = std::max(column - (selected_ >= 0 ? 1 : 0), 0);
            break;
        case Qt::Key_Right:
            column = std::min(column + (selected_ >= 0 ? 1 : 0), grid.Columns() - 1);
            break;
        case Qt::Key_Up:
            row = std::max(row - (selected_ >= 0 ? 1 : 0), 0);
            break;
        case Qt::Key_Down:
            row = std::min(row + (selected_ >= 0 ? 1 : 0), grid.Rows() - 1);
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (selected_ >= 0) {
                emit cellChosen(selected_, -1);
            }
            return;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    SetSelectedCell(row * grid.Columns() + column);
    emit cellHovered(selected_);
}

void AnalysisPlot::leaveEvent(QEvent* event) {
    if (hovered_ >= 0) {
        hovered_ = -1;
        emit cellHovered(-1);
    }
    QWidget::leaveEvent(event);
}

}  // namespace vekaton
