#pragma once

#include "widgets/RangeInstrument.h"

namespace vekaton {

// A glass thermometer: a column rising from the bulb to the Position, a scale beside it and
// markers at the lowest and highest position seen.
class TThermometer : public RangeInstrument {
    Q_OBJECT
  public:
    explicit TThermometer(QWidget* parent = nullptr);

    const char* ClassName() const override { return "TThermometer"; }
    const PropertyTable& Properties() const override;
    static const PropertyTable& PropertyList();

    ColourValue MercuryColor() const { return mercuryColour_; }
    void SetMercuryColor(ColourValue colour) { SetAppearance(mercuryColour_, colour); }
    ColourValue TubeColor() const { return tubeColour_; }
    void SetTubeColor(ColourValue colour) { SetAppearance(tubeColour_, colour); }

    // The height of the column's top above the widget's bottom edge, in pixels.
    double ColumnTop() const;

    QSize sizeHint() const override { return {90, 240}; }
    QSize minimumSizeHint() const override { return {36, 90}; }

  protected:
    void PaintStatic(QPainter& painter, const QRectF& bounds) override;
    void PaintDynamic(QPainter& painter, const QRectF& bounds) override;
    bool HasOverlay() const override { return true; }
    void PaintOverlay(QPainter& painter, const QRectF& bounds) override;

  private:
    struct Layout {
        double tubeX = 0;        // centre line of the tube
        double tubeWidth = 0;    // outer width of the glass
        double scaleTop = 0;     // y of Maximum
        double scaleBottom = 0;  // y of Minimum
        double bulbY = 0;        // centre of the bulb
        double bulbRadius = 0;
        QRectF header;  // caption and units
    };
    Layout LayoutIn(const QRectF& bounds) const;
    double YOf(const Layout& layout, double value) const;
    void PaintScale(QPainter& painter, const Layout& layout) const;
    QBrush MercuryBrush(double x, double width) const;
    QColor MercuryColour() const;
    void PaintOverRange(QPainter& painter, const Layout& layout) const;

    ColourValue mercuryColour_ = RgbColour(220, 20, 20);
    QPixmap column_;  // the full column, drawn with the background
    ColourValue tubeColour_ = RgbColour(255, 255, 255);
};

}  // namespace vekaton
