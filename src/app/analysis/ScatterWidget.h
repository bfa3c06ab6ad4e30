#pragma once

#include "app/analysis/AnalysisPlot.h"

namespace vekaton {

// An X-Y scatter: the frames' density in the cells shaded behind, and a bounded sample of the
// frames drawn as dots coloured by Z, so that a log of a million frames draws as fast as a
// short one. A click on a dot goes to that dot's frame; elsewhere to the cell's first frame.
class ScatterWidget : public AnalysisPlot {
    Q_OBJECT

  public:
    explicit ScatterWidget(QWidget* parent = nullptr);

    int CellAt(QPointF point) const override;
    QRectF CellRect(int cell) const override;
    QSize sizeHint() const override { return QSize(480, 320); }
    QSize minimumSizeHint() const override { return QSize(260, 180); }
    // Where a value pair is drawn.
    QPointF PlaceOf(double x, double y) const;

  protected:
    void PaintResult(QPainter& painter) override;
    bool ChoosePoint(QPointF point) override;
    bool RowsGoUp() const override { return true; }

  private:
    QRectF PlotArea() const;
    void PaintAxes(QPainter& painter, const QRectF& area) const;
};

}  // namespace vekaton
