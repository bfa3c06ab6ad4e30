#include "dashboard/PropertyChanges.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "common/FloatText.h"
#include "common/MessageText.h"
#include "dashboard/StreamProperties.h"

namespace vekaton {
namespace {

std::string FloatText(double value) {
    if (std::isnan(value)) {
        return "NaN";
    }
    if (std::isinf(value)) {
        return value > 0 ? "Inf" : "-Inf";
    }
    return ShortestFloatText(value);
}

// What a stored value says, also when it fits no property type ('wide' for a width).
std::string DescribeStored(const StreamValue& value) {
    if (const auto natural = FromStreamValue(value)) {
        return DescribeValue(*natural);
    }
    return "a value of a kind no item property takes";
}

}  // namespace

std::string DescribeValue(const PropertyValue& value) {
    switch (value.Type()) {
        case PropertyType::Integer:
            return std::to_string(value.AsInteger());
        case PropertyType::Float:
            return FloatText(value.AsFloat());
        case PropertyType::Boolean:
            return value.AsBoolean() ? "True" : "False";
        case PropertyType::String:
            return "'" + QuoteText(value.AsText()) + "'";
        case PropertyType::Identifier:
            return QuoteText(value.AsText());
        case PropertyType::Colour:
            if (const auto name = ColourIdentifier(value.AsColour())) {
                return *name;
            }
            return std::to_string(value.AsColour());
        case PropertyType::Set: {
            std::string text = "[";
            for (const std::string& member : value.AsSet()) {
                text += (text.size() > 1 ? ", " : "") + QuoteText(member);
            }
            return text + "]";
        }
    }
    return {};
}

PropertyChanges ChangesOnLoad(const std::vector<StreamProperty>& stored,
                              std::span<const PropertyDescriptor> descriptors,
                              const PropertyBag& shown, std::span<const std::string_view> derived) {
    PropertyChanges changes;
    std::set<std::string> seen;
    for (const StreamProperty& property : stored) {
        const PropertyDescriptor* descriptor = FindDescriptor(descriptors, property.name);
        if (descriptor == nullptr || !seen.insert(property.name).second) {
            continue;  // unknown properties are written back byte for byte
        }
        const PropertyValue* now = shown.Find(property.name);
        const PropertyValue& saved = now != nullptr ? *now : descriptor->defaultValue;
        const auto read = FromStreamValue(property.value, descriptor->Type());
        const std::string old = property.name + " " + DescribeStored(property.value);
        if (!read) {
            if (now == nullptr) {
                changes.keptAsRead.push_back(property.name);
            } else {
                changes.changed.push_back(old + " becomes " + DescribeValue(saved));
            }
            continue;
        }
        const bool isDerived =
            std::find(derived.begin(), derived.end(), property.name) != derived.end();
        if (!isDerived && !(*read == saved)) {
            changes.changed.push_back(old + " becomes " + DescribeValue(saved));
        }
    }
    return changes;
}

}  // namespace vekaton
