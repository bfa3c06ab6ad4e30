#include "dashboard/StreamProperties.h"

#include <set>

#include "common/TextEncoding.h"

namespace vekaton {
namespace {

// Identifiers are ASCII in practice; anything else is stored in the stream's code page when it
// can be, else as the UTF-8 bytes.
std::string IdentifierBytes(const std::string& utf8) {
    if (auto bytes = Utf8ToCp1252(utf8)) {
        return *bytes;
    }
    return utf8;
}

}  // namespace

std::optional<StreamValue> ToStreamValue(const PropertyValue& value) {
    switch (value.Type()) {
        case PropertyType::Integer:
            return StreamValue::Integer(value.AsInteger());
        case PropertyType::Float:
            return StreamValue::Float(value.AsFloat());
        case PropertyType::Boolean:
            return StreamValue::Boolean(value.AsBoolean());
        case PropertyType::String:
            return StreamValue::Text(value.AsText());
        case PropertyType::Identifier:
            return StreamValue::Identifier(IdentifierBytes(value.AsText()));
        case PropertyType::Colour:
            if (const auto name = ColourIdentifier(value.AsColour())) {
                return StreamValue::Identifier(*name);
            }
            return StreamValue::Integer(value.AsColour());
        case PropertyType::Set: {
            std::vector<std::string> members;
            for (const std::string& member : value.AsSet()) {
                members.push_back(IdentifierBytes(member));
            }
            return StreamValue::Set(std::move(members));
        }
    }
    return std::nullopt;
}

std::optional<PropertyValue> FromStreamValue(const StreamValue& value) {
    switch (value.Type()) {
        case StreamType::Int8:
        case StreamType::Int16:
        case StreamType::Int32:
        case StreamType::Int64:
            return PropertyValue::Integer(value.AsInteger());
        case StreamType::Extended:
        case StreamType::Single:
        case StreamType::Double:
        case StreamType::Date:
        case StreamType::Currency:
            return PropertyValue::Float(*value.AsNumber());
        case StreamType::False:
        case StreamType::True:
            return PropertyValue::Boolean(value.Type() == StreamType::True);
        case StreamType::String:
        case StreamType::LString:
        case StreamType::WString:
        case StreamType::Utf8String:
            return PropertyValue::String(value.Utf8());
        case StreamType::Ident:
            return PropertyValue::Identifier(value.Utf8());
        case StreamType::Set: {
            std::vector<std::string> members;
            for (const std::string& member : value.Members()) {
                members.push_back(Cp1252ToUtf8(member));
            }
            return PropertyValue::Set(std::move(members));
        }
        case StreamType::Null:
        case StreamType::List:
        case StreamType::Binary:
        case StreamType::Nil:
        case StreamType::Collection:
            return std::nullopt;
    }
    return std::nullopt;
}

std::optional<PropertyValue> FromStreamValue(const StreamValue& value, PropertyType type) {
    const auto natural = FromStreamValue(value);
    if (!natural) {
        return std::nullopt;
    }
    return natural->ConvertedTo(type);
}

LoadedProperties LoadProperties(const std::vector<StreamProperty>& stored,
                                std::span<const PropertyDescriptor> descriptors) {
    LoadedProperties loaded;
    for (const StreamProperty& property : stored) {
        const PropertyDescriptor* descriptor = FindDescriptor(descriptors, property.name);
        if (descriptor == nullptr) {
            loaded.unknown.push_back(property.name);
            continue;
        }
        if (auto value = FromStreamValue(property.value, descriptor->Type())) {
            loaded.values.Set(property.name, std::move(*value));
        } else {
            loaded.refused.push_back(property.name);
        }
    }
    return loaded;
}

std::vector<StreamProperty> PropertiesToWrite(const PropertyBag& current,
                                              std::span<const PropertyDescriptor> descriptors,
                                              const std::vector<StreamProperty>& stored) {
    const PropertyBag changed = ChangedProperties(current, descriptors);
    std::vector<StreamProperty> out;
    std::set<std::string> placed;
    for (const StreamProperty& property : stored) {
        const PropertyDescriptor* descriptor = FindDescriptor(descriptors, property.name);
        if (descriptor == nullptr) {
            out.push_back(property);
            continue;
        }
        if (placed.contains(property.name)) {
            continue;  // a repeated property: the first place holds the value
        }
        const PropertyValue* now = changed.Find(property.name);
        const auto storedValue = FromStreamValue(property.value, descriptor->Type());
        if (now == nullptr) {
            if (!storedValue) {
                // The widget could not take it and the user did not set it: keep it as it was.
                out.push_back(property);
                placed.insert(property.name);
            }
            continue;
        }
        placed.insert(property.name);
        if (storedValue && *storedValue == *now) {
            out.push_back(property);
        } else if (auto value = ToStreamValue(*now)) {
            out.push_back({property.name, std::move(*value)});
        }
    }
    for (const PropertyBag::Entry& entry : changed) {
        if (placed.contains(entry.name)) {
            continue;
        }
        if (auto value = ToStreamValue(entry.value)) {
            out.push_back({entry.name, std::move(*value)});
        }
    }
    return out;
}

}  // namespace vekaton
