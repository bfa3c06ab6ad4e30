#pragma once

#include "dashboard/PropertyBag.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace vekaton {

class InstrumentWidget;

// A property of a widget kind: its descriptor and how to read and write it on a widget. Each
// widget keeps one static table of these, which is the only list of its properties.
struct PropertyAccess {
    PropertyDescriptor descriptor;
    std::function<PropertyValue(const InstrumentWidget&)> get;
    // Receives a value already converted to the descriptor's type.
    std::function<void(InstrumentWidget&, const PropertyValue&)> set;
};
using PropertyTable = std::vector<PropertyAccess>;

// Builders for table entries from a widget's getter and setter. W is the widget class; the
// member functions may belong to one of its bases.

template <class W, class Owner>
PropertyAccess FloatProperty(std::string name, double defaultValue, double minimum, double maximum,
                             double (Owner::*getter)() const, void (Owner::*setter)(double)) {
    PropertyDescriptor descriptor{
        std::move(name), PropertyValue::Float(defaultValue), {}, minimum, maximum};
    return {std::move(descriptor),
            [getter](const InstrumentWidget& w) {
                return PropertyValue::Float((static_cast<const W&>(w).*getter)());
            },
            [setter](InstrumentWidget& w, const PropertyValue& v) {
                (static_cast<W&>(w).*setter)(v.AsFloat());
            }};
}

template <class W, class Owner>
PropertyAccess IntegerProperty(std::string name, int defaultValue, int minimum, int maximum,
                               int (Owner::*getter)() const, void (Owner::*setter)(int)) {
    PropertyDescriptor descriptor{std::move(name),
                                  PropertyValue::Integer(defaultValue),
                                  {},
                                  static_cast<double>(minimum),
                                  static_cast<double>(maximum)};
    return {std::move(descriptor),
            [getter](const InstrumentWidget& w) {
                return PropertyValue::Integer((static_cast<const W&>(w).*getter)());
            },
            [setter, minimum, maximum](InstrumentWidget& w, const PropertyValue& v) {
                const auto value = std::clamp<std::int64_t>(v.AsInteger(), minimum, maximum);
                (static_cast<W&>(w).*setter)(static_cast<int>(value));
            }};
}

template <class W, class Owner>
PropertyAccess BooleanProperty(std::string name, bool defaultValue, bool (Owner::*getter)() const,
                               void (Owner::*setter)(bool)) {
    PropertyDescriptor descriptor{std::move(name), PropertyValue::Boolean(defaultValue), {}};
    return {std::move(descriptor),
            [getter](const InstrumentWidget& w) {
                return PropertyValue::Boolean((static_cast<const W&>(w).*getter)());
            },
            [setter](InstrumentWidget& w, const PropertyValue& v) {
                (static_cast<W&>(w).*setter)(v.AsBoolean());
            }};
}

template <class W, class Owner>
PropertyAccess StringProperty(std::string name, const QString& defaultValue,
                              QString (Owner::*getter)() const,
                              void (Owner::*setter)(const QString&)) {
    PropertyDescriptor descriptor{
        std::move(name), PropertyValue::String(defaultValue.toStdString()), {}};
    return {std::move(descriptor),
            [getter](const InstrumentWidget& w) {
                return PropertyValue::String((static_cast<const W&>(w).*getter)().toStdString());
            },
            [setter](InstrumentWidget& w, const PropertyValue& v) {
                (static_cast<W&>(w).*setter)(QString::fromStdString(v.AsText()));
            }};
}

template <class W, class Owner>
PropertyAccess ColourProperty(std::string name, ColourValue defaultValue,
                              ColourValue (Owner::*getter)() const,
                              void (Owner::*setter)(ColourValue)) {
    PropertyDescriptor descriptor{std::move(name), PropertyValue::Colour(defaultValue), {}};
    return {std::move(descriptor),
            [getter](const InstrumentWidget& w) {
                return PropertyValue::Colour((static_cast<const W&>(w).*getter)());
            },
            [setter](InstrumentWidget& w, const PropertyValue& v) {
                (static_cast<W&>(w).*setter)(v.AsColour());
            }};
}

// An enumeration streamed as an identifier; the widget sees the index into choices. Unknown
// identifiers leave the property as it is.
template <class W, class Owner>
PropertyAccess ChoiceProperty(std::string name, std::vector<std::string> choices, int defaultIndex,
                              int (Owner::*getter)() const, void (Owner::*setter)(int)) {
    PropertyDescriptor descriptor{
        std::move(name), PropertyValue::Identifier(choices.at(static_cast<size_t>(defaultIndex))),
        choices};
    return {std::move(descriptor),
            [getter, choices](const InstrumentWidget& w) {
                const int index = (static_cast<const W&>(w).*getter)();
                const int last = static_cast<int>(choices.size()) - 1;
                return PropertyValue::Identifier(
                    choices[static_cast<size_t>(std::clamp(index, 0, last))]);
            },
            [setter, choices](InstrumentWidget& w, const PropertyValue& v) {
                const auto found = std::find(choices.begin(), choices.end(), v.AsText());
                if (found != choices.end()) {
                    (static_cast<W&>(w).*setter)(static_cast<int>(found - choices.begin()));
                }
            }};
}

}  // namespace vekaton
