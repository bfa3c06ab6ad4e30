#include "definitions/BindingScale.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace vekaton {
namespace {

// The instruments' own defaults of what binding sets (their widgets' property tables).
constexpr double kDefaultMinimum = 0.0;
constexpr double kDefaultMaximum = 100.0;
constexpr int kGaugeDecimals = 0;
constexpr int kGaugeMostDecimals = 6;
constexpr int kSegmentDecimals = 1;
constexpr int kSegmentMostDecimals = 3;
constexpr int kSegmentDigits = 4;
constexpr int kSegmentMostDigits = 16;
constexpr int kDisplayPrecision = 2;
constexpr int kDisplayMostPrecision = 6;

double FloatOf(const PropertyBag& bag, std::string_view name, double fallback) {
    const PropertyValue* value = bag.Find(name);
    const std::optional<PropertyValue> number =
        value != nullptr ? value->ConvertedTo(PropertyType::Float) : std::nullopt;
    return number ? number->AsFloat() : fallback;
}

std::int64_t IntegerOf(const PropertyBag& bag, std::string_view name, std::int64_t fallback) {
    const PropertyValue* value = bag.Find(name);
    const std::optional<PropertyValue> number =
        value != nullptr ? value->ConvertedTo(PropertyType::Integer) : std::nullopt;
    return number ? number->AsInteger() : fallback;
}

std::string TextOf(const PropertyBag& bag, std::string_view name) {
    const PropertyValue* value = bag.Find(name);
    return value != nullptr && (value->Type() == PropertyType::String ||
                                value->Type() == PropertyType::Identifier)
               ? value->AsText()
               : std::string();
}

bool Same(double a, double b) {
    return std::abs(a - b) <= 1e-9 * std::max({1.0, std::abs(a), std::abs(b)});
}

std::string SuffixOf(const InstrumentScale& scale) {
    return scale.unit.empty() ? std::string() : " " + scale.unit;
}

// Decimals as a kind can show them.
int Shown(int decimals, int most) {
    return std::clamp(decimals, 0, most);
}

// A count the user never touched: the kind's default, or what the previous binding gave.
bool Untouched(std::int64_t now, std::int64_t kindDefault, std::optional<int> previous) {
    return now == kindDefault || (previous && now == *previous);
}

void TakeScale(PropertyBag& bag, const std::optional<InstrumentScale>& previous,
               const InstrumentScale& next) {
    const double minimum = FloatOf(bag, "Minimum", kDefaultMinimum);
    const double maximum = FloatOf(bag, "Maximum", kDefaultMaximum);
    const bool untouched =
        (Same(minimum, kDefaultMinimum) && Same(maximum, kDefaultMaximum)) ||
        (previous && Same(minimum, previous->minimum) && Same(maximum, previous->maximum));
    if (untouched && next.maximum > next.minimum) {
        bag.Set("Minimum", PropertyValue::Float(next.minimum));
        bag.Set("Maximum", PropertyValue::Float(next.maximum));
        bag.Set("MajorTicks", PropertyValue::Integer(std::clamp(next.majorTicks, 1, 50)));
    }
}

void TakeText(PropertyBag& bag, std::string_view name, const std::string& previous,
              const std::string& next) {
    const std::string now = TextOf(bag, name);
    if (now.empty() || now == previous) {
        bag.Set(name, PropertyValue::String(next));
    }
}

void TakeDecimals(PropertyBag& bag, std::string_view name, int kindDefault, int most,
                  const std::optional<InstrumentScale>& previous, const InstrumentScale& next) {
    const std::optional<int> before =
        previous ? std::optional<int>(Shown(previous->decimals, most)) : std::nullopt;
    if (Untouched(IntegerOf(bag, name, kindDefault), kindDefault, before)) {
        bag.Set(name, PropertyValue::Integer(Shown(next.decimals, most)));
    }
}

}  // namespace

int DigitsFor(const InstrumentScale& scale) {
    const double widest = std::max(std::abs(scale.minimum), std::abs(scale.maximum));
    int whole = 1;
    for (double limit = 10.0; widest >= limit && whole < kSegmentMostDigits; limit *= 10.0) {
        ++whole;
    }
    const int sign = scale.minimum < 0.0 ? 1 : 0;
    const int cells = whole + sign + Shown(scale.decimals, kSegmentMostDecimals);
    return std::clamp(cells, kSegmentDigits, kSegmentMostDigits);
}

PropertyBag PropertiesOnBinding(ItemKind kind, const PropertyBag& current,
                                const std::optional<InstrumentScale>& previous,
                                const InstrumentScale& next) {
    PropertyBag bag = current;
    const std::string previousUnit = previous ? previous->unit : std::string();
    switch (kind) {
        case ItemKind::AngularGauge:
            TakeScale(bag, previous, next);
            TakeText(bag, "Units", previousUnit, next.unit);
            TakeDecimals(bag, "Decimals", kGaugeDecimals, kGaugeMostDecimals, previous, next);
            break;
        case ItemKind::Thermometer:
            TakeScale(bag, previous, next);
            TakeText(bag, "Units", previousUnit, next.unit);
            break;
        case ItemKind::AnalogDisplay:
            TakeText(bag, "Suffix", previous ? SuffixOf(*previous) : std::string(), SuffixOf(next));
            TakeDecimals(bag, "Precision", kDisplayPrecision, kDisplayMostPrecision, previous,
                         next);
            break;
        case ItemKind::SevenSegmentAnalog: {
            const std::optional<int> digitsBefore =
                previous ? std::optional<int>(DigitsFor(*previous)) : std::nullopt;
            if (Untouched(IntegerOf(bag, "Digits", kSegmentDigits), kSegmentDigits, digitsBefore)) {
                bag.Set("Digits", PropertyValue::Integer(DigitsFor(next)));
            }
            TakeDecimals(bag, "Decimals", kSegmentDecimals, kSegmentMostDecimals, previous, next);
            break;
        }
        default:
            break;
    }
    return bag;
}

}  // namespace vekaton
