#pragma once

#include "widgets/SevenSegmentDisplay.h"

#include <cstdint>

namespace vekaton {

// A seven-segment display of a whole number (the byte count of the last packet, for one).
class TSevenSegmentInteger : public SevenSegmentDisplay {
    Q_OBJECT
  public:
    explicit TSevenSegmentInteger(QWidget* parent = nullptr);

    const char* ClassName() const override { return "TSevenSegmentInteger"; }
    const PropertyTable& Properties() const override;
    static const PropertyTable& PropertyList();

    int Value() const { return value_; }
    void SetValue(int value);

  protected:
    QString DisplayText() const override;

  private:
    int value_ = 0;
};

}  // namespace vekaton
