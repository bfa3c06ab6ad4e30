#pragma once

#include "app/analysis/AnalysisPlot.h"

namespace vekaton {

// A cell table: X bins across, Y bins down (lowest first, as the CSV lists them), each cell
// painted on the colour scale with its value written in it, the lower edges along the top and
// the left, the axes' names, and the scale's legend at the right.
class CellTableWidget : public AnalysisPlot {
    Q_OBJECT

  public:
    explicit CellTableWidget(QWidget* parent = nullptr);

    int CellAt(QPointF point) const override;
    QRectF CellRect(int cell) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void PaintResult(QPainter& painter) override;

  private:
    QRectF CellArea() const;
    double CellWidth() const;
    double CellHeight() const;
};

}  // namespace vekaton
