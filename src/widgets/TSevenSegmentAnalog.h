#pragma once

#include "widgets/SevenSegmentDisplay.h"

namespace vekaton {

// A seven-segment display of a number with a fixed count of decimals.
class TSevenSegmentAnalog : public SevenSegmentDisplay {
    Q_OBJECT
  public:
    explicit TSevenSegmentAnalog(QWidget* parent = nullptr);

    const char* ClassName() const override { return "TSevenSegmentAnalog"; }
    const PropertyTable& Properties() const override;
    static const PropertyTable& PropertyList();

    double Value() const { return value_; }
    // A value that is not a number is ignored.
    void SetValue(double value);
    int Decimals() const { return decimals_; }
    void SetDecimals(int decimals);

    // No value to show (the formula faulted): a single dash until the next value.
    bool NoValue() const { return noValue_; }
    void SetNoValue(bool noValue);

  protected:
    QString DisplayText() const override;

  private:
    double value_ = 0.0;
    bool noValue_ = false;
    int decimals_ = 1;
};

}  // namespace vekaton
