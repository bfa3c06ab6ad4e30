#pragma once

#include "widgets/InstrumentWidget.h"

namespace vekaton {

// A row (or column) of LED segments lit in proportion to the Position between Minimum and
// Maximum, green, then amber, then red as the level rises.
class TLedBar : public InstrumentWidget {
    Q_OBJECT
  public:
    enum Orientation { kHorizontal, kVertical };

    explicit TLedBar(QWidget* parent = nullptr);

    const char* ClassName() const override { return "TLedBar"; }
    const PropertyTable& Properties() const override;
    static const PropertyTable& PropertyList();

    double Position() const { return position_; }
    // Clamped into the range; a value that is not a number is ignored.
    void SetPosition(double position);
    double Minimum() const { return minimum_; }
    void SetMinimum(double minimum);
    double Maximum() const { return maximum_; }
    void SetMaximum(double maximum);
    int Segments() const { return segments_; }
    void SetSegments(int count) { SetAppearance(segments_, std::clamp(count, 1, 100)); }
    int BarOrientation() const { return orientation_; }
    void SetBarOrientation(int orientation) {
        SetAppearance(orientation_, std::clamp(orientation, 0, 1));
    }
    ColourValue LowColor() const { return lowColour_; }
    void SetLowColor(ColourValue colour) { SetAppearance(lowColour_, colour); }
    ColourValue MidColor() const { return midColour_; }
    void SetMidColor(ColourValue colour) { SetAppearance(midColour_, colour); }
    ColourValue HighColor() const { return highColour_; }
    void SetHighColor(ColourValue colour) { SetAppearance(highColour_, colour); }
    // Percentages of the range where amber and red begin.
    int MidThreshold() const { return midThreshold_; }
    void SetMidThreshold(int percent) { SetAppearance(midThreshold_, std::clamp(percent, 0, 100)); }
    int HighThreshold() const { return highThreshold_; }
    void SetHighThreshold(int percent) {
        SetAppearance(highThreshold_, std::clamp(percent, 0, 100));
    }

    // Segments lit now: any level above a segment's lower edge lights it, so a single error
    // on a bar of a hundred shows.
    int LitSegments() const;
    // The lit colour of segment i (0 is the lowest).
    QColor SegmentColour(int index) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void PaintStatic(QPainter& painter, const QRectF& bounds) override;
    void PaintDynamic(QPainter& painter, const QRectF& bounds) override;

  private:
    QRectF SegmentRect(const QRectF& bounds, int index) const;

    double position_ = 0.0;
    double minimum_ = 0.0;
    double maximum_ = 100.0;
    int segments_ = 10;
    int orientation_ = kHorizontal;
    ColourValue lowColour_ = RgbColour(0, 230, 60);
    ColourValue midColour_ = RgbColour(255, 200, 0);
    ColourValue highColour_ = RgbColour(255, 30, 20);
    int midThreshold_ = 60;
    int highThreshold_ = 85;
};

}  // namespace vekaton
