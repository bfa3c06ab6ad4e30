#include "widgets/RangeInstrument.h"

#include "widgets/ScaleMath.h"

#include <cmath>

namespace vekaton {

RangeInstrument::RangeInstrument(QWidget* parent) : InstrumentWidget(parent) {}

void RangeInstrument::SetPosition(double position) {
    if (std::isnan(position)) {
        return;
    }
    const double clamped = std::clamp(position, minimum_, maximum_);
    if (clamped == position_ && position == reading_) {
        return;
    }
    reading_ = position;
    position_ = clamped;
    currentMinimum_ = std::min(currentMinimum_, clamped);
    currentMaximum_ = std::max(currentMaximum_, clamped);
    RequestRepaint();
}

void RangeInstrument::SetMinimum(double minimum) {
    if (!std::isfinite(minimum) || minimum == minimum_) {
        return;
    }
    minimum_ = minimum;
    maximum_ = std::max(maximum_, minimum_);
    ClampAll();
}

void RangeInstrument::SetMaximum(double maximum) {
    if (!std::isfinite(maximum) || maximum == maximum_) {
        return;
    }
    maximum_ = maximum;
    minimum_ = std::min(minimum_, maximum_);
    ClampAll();
}

void RangeInstrument::ClampAll() {
    position_ = std::clamp(position_, minimum_, maximum_);
    currentMinimum_ = std::clamp(currentMinimum_, minimum_, maximum_);
    currentMaximum_ = std::clamp(currentMaximum_, minimum_, maximum_);
    InvalidateStatic();
}

void RangeInstrument::SetCurrentMinimum(double value) {
    if (std::isnan(value)) {
        return;
    }
    currentMinimum_ = std::clamp(value, minimum_, maximum_);
    RequestRepaint();
}

void RangeInstrument::SetCurrentMaximum(double value) {
    if (std::isnan(value)) {
        return;
    }
    currentMaximum_ = std::clamp(value, minimum_, maximum_);
    RequestRepaint();
}

void RangeInstrument::ResetMinMax() {
    currentMinimum_ = position_;
    currentMaximum_ = position_;
    RequestRepaint();
}

void RangeInstrument::SetShowMinMax(bool show) {
    if (show != showMinMax_) {
        showMinMax_ = show;
        RequestRepaint();
    }
}

double RangeInstrument::Fraction(double value) const {
    return RangeFraction(value, minimum_, maximum_);
}

}  // namespace vekaton
