#pragma once

#include <QString>
#include <QWidget>
#include <optional>

#include "analysis/ColourScale.h"

class QPainter;

namespace vekaton {

class FrameAccumulator;

// A number as a cell shows it: about four significant digits, no exponent, no trailing zeros
// (127.8, 2735, 0.05).
QString ShortNumber(double value);
QColor ToColor(Rgb rgb);

// What a table, a histogram and a scatter have in common: a result of cells to draw, one cell
// selected (by a click, or moved with the arrow keys), the cell the live frames fall in
// outlined, and the cell under the mouse told in words. Widgets never own the result; the view
// hands them the current one and takes it away before it goes.
class AnalysisPlot : public QWidget {
    Q_OBJECT

  public:
    // Captions of the axes and of the statistic's value.
    struct Names {
        QString x;
        QString y;
        QString z;
    };

    explicit AnalysisPlot(QWidget* parent = nullptr);

    // Null shows `emptyText` instead.
    void Show(const FrameAccumulator* result, const Names& names, std::optional<double> centre);
    void SetEmptyText(const QString& text);
    const FrameAccumulator* Result() const { return result_; }
    // The result's cells changed (live frames came): draw them again.
    void Refresh();

    int SelectedCell() const { return selected_; }
    void SetSelectedCell(int cell);
    // The cell of the latest live frame, outlined; -1 for none.
    void SetLiveCell(int cell);
    int LiveCell() const { return live_; }

    // The cell drawn under a point of the widget, or -1; and where a cell is drawn.
    virtual int CellAt(QPointF point) const = 0;
    virtual QRectF CellRect(int cell) const = 0;
    // The cell in words: its ranges, frames, mean, minimum, maximum and spread.
    QString CellSummary(int cell) const;

  signals:
    // A cell was clicked or Enter pressed on it: go to its frame (-1: its first frame).
    void cellChosen(int cell, qint64 frame);
    // The mouse is over a cell (-1: over none).
    void cellHovered(int cell);

  protected:
    // Draws the result (never null here).
    virtual void PaintResult(QPainter& painter) = 0;
    // A click at a point that is not only a cell (a scatter's dots); false to choose the cell.
    virtual bool ChoosePoint(QPointF point) {
        (void)point;
        return false;
    }
    // The result or its size changed.
    virtual void ResultChanged() {}
    // Whether higher rows are drawn higher up (a plot) rather than further down (a table).
    virtual bool RowsGoUp() const { return false; }

    const Names& AxisNames() const { return names_; }
    const std::optional<double>& Centre() const { return centre_; }
    // The scale of the values shown, from the lowest to the highest cell value.
    ColourScale CellScale() const;
    // Draws a vertical colour legend of the scale in the rectangle.
    void PaintLegend(QPainter& painter, const QRectF& area, const ColourScale& scale) const;
    void PaintCellMarks(QPainter& painter) const;

    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    const FrameAccumulator* result_ = nullptr;
    Names names_;
    std::optional<double> centre_;
    QString emptyText_;
    int selected_ = -1;
    int live_ = -1;
    int hovered_ = -1;
};

}  // namespace vekaton
