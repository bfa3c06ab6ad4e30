#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "dashboard/PropertyBag.h"
#include "dashboard/StreamValue.h"

namespace vekaton {

// How a property value is written: integers and colours without a name in the smallest integer
// type, floats as Extended, named colours and identifiers as Ident, text as String/LString in
// Windows-1252 or as WString, sets as Set. Nothing for an identifier or set member that the
// format cannot hold (empty member, more than 255 bytes).
std::optional<StreamValue> ToStreamValue(const PropertyValue& value);

// The property value a stream value stands for, in its own kind: integers, floats (Extended,
// Single, Double, Date, Currency), booleans, text (as UTF-8), identifiers, sets. Nothing for
// Null, Nil, List, Binary and Collection, which no item property takes.
std::optional<PropertyValue> FromStreamValue(const StreamValue& value);

// The same, converted to a property's type as a reader has to: a float property may arrive as
// an integer, a colour as clRed or as a number, a boolean as the identifier True.
std::optional<PropertyValue> FromStreamValue(const StreamValue& value, PropertyType type);

// What a component record gives a widget.
struct LoadedProperties {
    PropertyBag values;                // the known properties, converted to their types
    std::vector<std::string> refused;  // known names whose value did not fit their type
    std::vector<std::string> unknown;  // names without a descriptor
};
LoadedProperties LoadProperties(const std::vector<StreamProperty>& stored,
                                std::span<const PropertyDescriptor> descriptors);

// The property list to write for a component whose current values are `current`, given the
// properties its record held when it was read (empty for a new item):
//  - properties without a descriptor, and known ones whose stored value could not be read, stay
//    where they were, byte for byte (the latter until the user sets the property);
//  - a known property that still differs from its default keeps its place, and its stored bytes
//    when its value did not change;
//  - the other properties that differ from their defaults follow in descriptor order.
std::vector<StreamProperty> PropertiesToWrite(const PropertyBag& current,
                                              std::span<const PropertyDescriptor> descriptors,
                                              const std::vector<StreamProperty>& stored = {});

}  // namespace vekaton
