#pragma once

#include "app/analysis/AnalysisPlot.h"

namespace vekaton {

// A histogram: one bar per bin of X, as tall as its frames (or its share of them), the value
// axis at the left and the lower edges underneath. A bin below the minimum count is drawn
// hollow.
class HistogramWidget : public AnalysisPlot {
    Q_OBJECT

  public:
    explicit HistogramWidget(QWidget* parent = nullptr);

    int CellAt(QPointF point) const override;
    QRectF CellRect(int cell) const override;
    QSize sizeHint() const override { return QSize(480, 260); }
    QSize minimumSizeHint() const override { return QSize(260, 160); }

  protected:
    void PaintResult(QPainter& painter) override;

  private:
    QRectF PlotArea() const;
    double Tallest() const;
};

}  // namespace vekaton
