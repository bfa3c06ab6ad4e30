#pragma once

#include "widgets/InstrumentWidget.h"
#include "widgets/SevenSegmentGlyphs.h"

namespace vekaton {

// What the two seven-segment displays share: a row of digit cells whose unlit segments are
// part of the cached background, lit and unlit colours, and the number of digits.
class SevenSegmentDisplay : public InstrumentWidget {
    Q_OBJECT
  public:
    explicit SevenSegmentDisplay(QWidget* parent = nullptr);

    int Digits() const { return digits_; }
    void SetDigits(int digits) { SetAppearance(digits_, std::clamp(digits, 1, 16)); }
    bool LeadingZeros() const { return leadingZeros_; }
    void SetLeadingZeros(bool on);
    ColourValue OnColor() const { return onColour_; }
    void SetOnColor(ColourValue colour) { SetAppearance(onColour_, colour); }
    ColourValue OffColor() const { return offColour_; }
    void SetOffColor(ColourValue colour) { SetAppearance(offColour_, colour); }
    bool AutoOffColor() const { return autoOffColour_; }
    void SetAutoOffColor(bool on) { SetAppearance(autoOffColour_, on); }

    // The cells as they are shown now, one per digit.
    std::vector<SegmentCell> ShownCells() const;
    // The colours lit and unlit segments are drawn in now.
    QColor LitColour() const;
    QColor UnlitColour() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    // The text to show, before it is fitted into Digits() cells.
    virtual QString DisplayText() const = 0;
    // Call after the shown value changed.
    void ValueChanged();

    template <class W>
    static void AppendDisplayProperties(PropertyTable& table, int digits);

    void PaintStatic(QPainter& painter, const QRectF& bounds) override;
    void PaintDynamic(QPainter& painter, const QRectF& bounds) override;

  private:
    std::vector<QRectF> CellBoxes(const QRectF& bounds) const;

    int digits_ = 4;
    bool leadingZeros_ = false;
    ColourValue onColour_ = RgbColour(255, 40, 30);
    ColourValue offColour_ = RgbColour(60, 10, 10);
    bool autoOffColour_ = true;
};

template <class W>
void SevenSegmentDisplay::AppendDisplayProperties(PropertyTable& table, int digits) {
    table.push_back(IntegerProperty<W>("Digits", digits, 1, 16, &W::Digits, &W::SetDigits));
    table.push_back(
        BooleanProperty<W>("LeadingZeros", false, &W::LeadingZeros, &W::SetLeadingZeros));
    table.push_back(ColourProperty<W>("Color", RgbColour(16, 16, 16), &W::Color, &W::SetColor));
    table.push_back(
        ColourProperty<W>("OnColor", RgbColour(255, 40, 30), &W::OnColor, &W::SetOnColor));
    table.push_back(
        ColourProperty<W>("OffColor", RgbColour(60, 10, 10), &W::OffColor, &W::SetOffColor));
    table.push_back(
        BooleanProperty<W>("AutoOffColor", true, &W::AutoOffColor, &W::SetAutoOffColor));
}

}  // namespace vekaton
