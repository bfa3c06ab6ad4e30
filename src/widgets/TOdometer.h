#pragma once

#include "widgets/InstrumentWidget.h"

#include <vector>

namespace vekaton {

// One number wheel of an odometer: the digit in the window and how far (0 to 1) the wheel has
// turned towards the next one.
struct OdometerWheel {
    int digit = 0;
    double roll = 0.0;
    friend bool operator==(const OdometerWheel&, const OdometerWheel&) = default;
};

// The wheels for a value, most significant first. Like a mechanical counter, the last wheel
// turns continuously and each wheel turns with the one to its right only while that one
// passes from 9 to 0; values beyond the wheels wrap around.
std::vector<OdometerWheel> OdometerWheels(double value, int digits, int decimals);

// A mechanical counter of rolling number wheels; the decimal wheels are coloured apart.
class TOdometer : public InstrumentWidget {
    Q_OBJECT
  public:
    explicit TOdometer(QWidget* parent = nullptr);

    const char* ClassName() const override { return "TOdometer"; }
    const PropertyTable& Properties() const override;
    static const PropertyTable& PropertyList();

    double Value() const { return value_; }
    // A value that is not finite is ignored.
    void SetValue(double value);
    // Number of wheels, decimals included.
    int Digits() const { return digits_; }
    void SetDigits(int digits);
    int Decimals() const { return decimals_; }
    void SetDecimals(int decimals);
    ColourValue DecimalColor() const { return decimalColour_; }
    void SetDecimalColor(ColourValue colour) { SetAppearance(decimalColour_, colour); }

    std::vector<OdometerWheel> Wheels() const { return OdometerWheels(value_, digits_, decimals_); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Where the decimal point sits for a widget of these bounds: on the seam before the first
    // decimal wheel, low like a printed point. Empty without decimals.
    QRectF DecimalPointRect(const QRectF& bounds) const;

  protected:
    void PaintStatic(QPainter& painter, const QRectF& bounds) override;
    void PaintDynamic(QPainter& painter, const QRectF& bounds) override;
    bool HasOverlay() const override { return true; }
    void PaintOverlay(QPainter& painter, const QRectF& bounds) override;

  private:
    QRectF WheelRect(const QRectF& bounds, int index) const;
    QColor WheelColour(bool decimal) const;
    QColor DigitColour(bool decimal) const;

    double value_ = 0.0;
    int digits_ = 6;
    int decimals_ = 1;
    ColourValue decimalColour_ = RgbColour(235, 235, 235);
};

}  // namespace vekaton
