#include "widgets/TSevenSegmentAnalog.h"

#include "widgets/ScaleMath.h"

#include <cmath>

namespace vekaton {

TSevenSegmentAnalog::TSevenSegmentAnalog(QWidget* parent) : SevenSegmentDisplay(parent) {
    ResetToDefaults();
}

const PropertyTable& TSevenSegmentAnalog::Properties() const {
    return PropertyList();
}

const PropertyTable& TSevenSegmentAnalog::PropertyList() {
    static const PropertyTable table = [] {
        using S = TSevenSegmentAnalog;
        PropertyTable t;
        AppendDisplayProperties<S>(t, 4);
        t.push_back(IntegerProperty<S>("Decimals", 1, 0, 15, &S::Decimals, &S::SetDecimals));
        t.push_back(FloatProperty<S>("Value", 0.0, -1e15, 1e15, &S::Value, &S::SetValue));
        return t;
    }();
    return table;
}

void TSevenSegmentAnalog::SetValue(double value) {
    if (std::isnan(value) || value == value_) {
        return;
    }
    value_ = value;
    ValueChanged();
}

void TSevenSegmentAnalog::SetDecimals(int decimals) {
    decimals = std::clamp(decimals, 0, 15);
    if (decimals != decimals_) {
        decimals_ = decimals;
        ValueChanged();
    }
}

void TSevenSegmentAnalog::SetNoValue(bool noValue) {
    if (noValue != noValue_) {
        noValue_ = noValue;
        ValueChanged();
    }
}

QString TSevenSegmentAnalog::DisplayText() const {
    if (noValue_) {
        return QStringLiteral("-");
    }
    // Too wide for the display: anything longer than Digits() cells is shown as dashes.
    const QString overflow(Digits() + 1, QLatin1Char('-'));
    if (!std::isfinite(value_)) {
        return overflow;
    }
    // Drop decimals before giving up, so that a large value still shows its whole part.
    for (int decimals = std::min(decimals_, Digits() - 1); decimals >= 0; --decimals) {
        QString text = FormatNumber(value_, decimals);
        const int cellCount = static_cast<int>(text.size()) - (decimals > 0 ? 1 : 0);
        if (cellCount > Digits()) {
            continue;
        }
        if (LeadingZeros()) {
            const bool negative = text.startsWith(QLatin1Char('-'));
            text.insert(negative ? 1 : 0, QString(Digits() - cellCount, QLatin1Char('0')));
        }
        return text;
    }
    return overflow;
}

}  // namespace vekaton
