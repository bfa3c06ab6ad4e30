#include "widgets/TSevenSegmentInteger.h"

namespace vekaton {

TSevenSegmentInteger::TSevenSegmentInteger(QWidget* parent) : SevenSegmentDisplay(parent) {
    ResetToDefaults();
}

const PropertyTable& TSevenSegmentInteger::Properties() const {
    return PropertyList();
}

const PropertyTable& TSevenSegmentInteger::PropertyList() {
    static const PropertyTable table = [] {
        using S = TSevenSegmentInteger;
        PropertyTable t;
        AppendDisplayProperties<S>(t, 4);
        t.push_back(IntegerProperty<S>("Value", 0, INT32_MIN, INT32_MAX, &S::Value, &S::SetValue));
        return t;
    }();
    return table;
}

void TSevenSegmentInteger::SetValue(int value) {
    if (value != value_) {
        value_ = value;
        ValueChanged();
    }
}

QString TSevenSegmentInteger::DisplayText() const {
    const qint64 value = value_;
    QString text = QString::number(value < 0 ? -value : value);
    if (LeadingZeros()) {
        const int width = Digits() - (value < 0 ? 1 : 0);
        text = text.rightJustified(width, QLatin1Char('0'));
    }
    return value < 0 ? QLatin1Char('-') + text : text;
}

}  // namespace vekaton
