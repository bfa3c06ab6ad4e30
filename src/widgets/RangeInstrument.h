#pragma once

#include "widgets/InstrumentWidget.h"

#include <algorithm>

namespace vekaton {

// An instrument that shows a Position within Minimum and Maximum and remembers the lowest and
// highest position since its markers were last reset.
class RangeInstrument : public InstrumentWidget {
    Q_OBJECT
  public:
    explicit RangeInstrument(QWidget* parent = nullptr);

    double Position() const { return position_; }
    // Clamped into the range for the pointer; the value itself is kept as the Reading. A value
    // that is not a number is ignored.
    void SetPosition(double position);
    double Reading() const { return reading_; }
    // +1 above the scale, -1 below it, 0 on it: an over-range mark shows it.
    int OverRange() const { return reading_ > maximum_ ? 1 : reading_ < minimum_ ? -1 : 0; }
    double Minimum() const { return minimum_; }
    // Raising the minimum above the maximum raises the maximum with it (and the other way
    // round), so properties can be set in any order.
    void SetMinimum(double minimum);
    double Maximum() const { return maximum_; }
    void SetMaximum(double maximum);

    double CurrentMinimum() const { return currentMinimum_; }
    double CurrentMaximum() const { return currentMaximum_; }
    void SetCurrentMinimum(double value);
    void SetCurrentMaximum(double value);
    // Both markers back to the current position.
    void ResetMinMax();
    bool ShowMinMax() const { return showMinMax_; }
    void SetShowMinMax(bool show);

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption) { SetAppearance(caption_, caption); }
    QString Units() const { return units_; }
    void SetUnits(const QString& units) { SetAppearance(units_, units); }
    int MajorTicks() const { return majorTicks_; }
    void SetMajorTicks(int count) { SetAppearance(majorTicks_, std::clamp(count, 1, 50)); }
    int MinorTicks() const { return minorTicks_; }
    void SetMinorTicks(int count) { SetAppearance(minorTicks_, std::clamp(count, 0, 20)); }
    ColourValue TickColor() const { return tickColour_; }
    void SetTickColor(ColourValue colour) { SetAppearance(tickColour_, colour); }

  protected:
    double Fraction(double value) const;
    // Adds Minimum, Maximum, Position, ShowMinMax, Caption, Units, MajorTicks, MinorTicks and
    // TickColor to a kind's table.
    template <class W>
    static void AppendRangeProperties(PropertyTable& table, double maximum, int majorTicks,
                                      int minorTicks);

  private:
    void ClampAll();

    double position_ = 0.0;
    double reading_ = 0.0;
    double minimum_ = 0.0;
    double maximum_ = 100.0;
    double currentMinimum_ = 0.0;
    double currentMaximum_ = 0.0;
    bool showMinMax_ = true;
    QString caption_;
    QString units_;
    int majorTicks_ = 10;
    int minorTicks_ = 5;
    ColourValue tickColour_ = 0;
};

template <class W>
void RangeInstrument::AppendRangeProperties(PropertyTable& table, double maximum, int majorTicks,
                                            int minorTicks) {
    constexpr double kLimit = 1e12;
    table.push_back(FloatProperty<W>("Minimum", 0.0, -kLimit, kLimit, &W::Minimum, &W::SetMinimum));
    table.push_back(
        FloatProperty<W>("Maximum", maximum, -kLimit, kLimit, &W::Maximum, &W::SetMaximum));
    table.push_back(
        FloatProperty<W>("Position", 0.0, -kLimit, kLimit, &W::Position, &W::SetPosition));
    table.push_back(BooleanProperty<W>("ShowMinMax", true, &W::ShowMinMax, &W::SetShowMinMax));
    table.push_back(StringProperty<W>("Caption", QString(), &W::Caption, &W::SetCaption));
    table.push_back(StringProperty<W>("Units", QString(), &W::Units, &W::SetUnits));
    table.push_back(
        IntegerProperty<W>("MajorTicks", majorTicks, 1, 50, &W::MajorTicks, &W::SetMajorTicks));
    table.push_back(
        IntegerProperty<W>("MinorTicks", minorTicks, 0, 20, &W::MinorTicks, &W::SetMinorTicks));
    table.push_back(ColourProperty<W>("TickColor", 0, &W::TickColor, &W::SetTickColor));
}

}  // namespace vekaton
