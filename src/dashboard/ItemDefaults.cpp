#include "dashboard/ItemDefaults.h"

#include <string>

namespace vekaton {
namespace {

int IntegerOf(const PropertyBag& properties, std::string_view name) {
    const PropertyValue* value = properties.Find(name);
    if (value == nullptr) {
        return 0;
    }
    const std::optional<PropertyValue> converted = value->ConvertedTo(PropertyType::Integer);
    if (!converted) {
        return 0;
    }
    const std::int64_t number = converted->AsInteger();
    // Geometry from a file is held to what a screen can show.
    constexpr std::int64_t kLimit = 100000;
    return static_cast<int>(number < -kLimit ? -kLimit : number > kLimit ? kLimit : number);
}

void PutSize(PropertyBag& properties, int width, int height) {
    properties.Set("Width", PropertyValue::Integer(width));
    properties.Set("Height", PropertyValue::Integer(height));
}

}  // namespace

ItemGeometry GeometryOf(const PropertyBag& properties) {
    return ItemGeometry{IntegerOf(properties, "Left"), IntegerOf(properties, "Top"),
                        IntegerOf(properties, "Width"), IntegerOf(properties, "Height")};
}

void PutGeometry(PropertyBag& properties, const ItemGeometry& geometry) {
    properties.Set("Left", PropertyValue::Integer(geometry.left));
    properties.Set("Top", PropertyValue::Integer(geometry.top));
    PutSize(properties, geometry.width, geometry.height);
}

PropertyBag NewItemProperties(ItemKind kind, std::string_view caption) {
    PropertyBag properties;
    switch (kind) {
        case ItemKind::Label:
            properties.Set("Caption", PropertyValue::String(std::string(caption)));
            break;
        case ItemKind::AngularGauge:
            PutSize(properties, 180, 180);
            properties.Set("Color", PropertyValue::Colour(65535));
            break;
        case ItemKind::Thermometer:
            PutSize(properties, 80, 220);
            break;
        case ItemKind::SevenSegmentAnalog:
            PutSize(properties, 120, 48);
            break;
        case ItemKind::AnalogDisplay:
            PutSize(properties, 140, 44);
            break;
        case ItemKind::LedRound:
            PutGeometry(properties, ItemGeometry{1, 1, 15, 15});
            properties.Set("InactiveColor", PropertyValue::Colour(0));
            properties.Set("ActiveColor", PropertyValue::Colour(255));
            properties.Set("AutoInactiveColor", PropertyValue::Boolean(false));
            properties.Set("Bevel", PropertyValue::Identifier("bvRaised"));
            break;
        case ItemKind::Panel:
            PutSize(properties, 60, 17);
            properties.Set("Caption", PropertyValue::String(std::string(caption)));
            properties.Set("BevelOuter", PropertyValue::Identifier("bvNone"));
            properties.Set("Alignment", PropertyValue::Identifier("taLeftJustify"));
            break;
        case ItemKind::ResetButton:
            PutSize(properties, 75, 25);
            properties.Set("Caption", PropertyValue::String(std::string(caption)));
            break;
        case ItemKind::Odometer:
            PutSize(properties, 110, 26);
            break;
    }
    return properties;
}

}  // namespace vekaton
