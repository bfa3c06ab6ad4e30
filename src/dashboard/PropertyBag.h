#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace vekaton {

// The value types a dashboard item's properties can have; they match what the component stream
// format can carry (integers, extended floats, booleans, strings, identifiers, sets), with colours
// kept apart so that they can be written by name (clRed, clBtnFace) or as integers.
enum class PropertyType { Integer, Float, Boolean, String, Identifier, Colour, Set };

// A colour of the stream format: 0x00BBGGRR, or a system colour (high byte 0x80, low byte the
// platform's colour index). Kept as the signed 32-bit integer the stream stores.
using ColourValue = std::int32_t;

constexpr ColourValue RgbColour(int red, int green, int blue) {
    return (red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16);
}
constexpr ColourValue SystemColour(int index) {
    return static_cast<ColourValue>(0x80000000u | static_cast<std::uint32_t>(index & 0xFF));
}
constexpr bool IsSystemColour(ColourValue colour) {
    return (static_cast<std::uint32_t>(colour) & 0xFF000000u) == 0x80000000u;
}

// System colour indexes used as defaults by the widgets.
constexpr ColourValue kColourWindow = SystemColour(5);
constexpr ColourValue kColourWindowText = SystemColour(8);
constexpr ColourValue kColourBtnFace = SystemColour(15);
constexpr ColourValue kColourBtnText = SystemColour(18);
// "No colour" and "the control's default colour" of the stream format.
constexpr ColourValue kColourNone = 0x1FFFFFFF;
constexpr ColourValue kColourDefault = 0x20000000;

// The colour named by a stream identifier such as "clRed" or "clBtnFace" (case-insensitive).
std::optional<ColourValue> ColourFromIdentifier(std::string_view name);
// The identifier a colour is written as when it has one ("clYellow" for 65535), else nothing.
std::optional<std::string> ColourIdentifier(ColourValue colour);

class PropertyValue {
  public:
    PropertyValue() = default;  // integer 0

    static PropertyValue Integer(std::int64_t value);
    static PropertyValue Float(double value);
    static PropertyValue Boolean(bool value);
    static PropertyValue String(std::string value);
    static PropertyValue Identifier(std::string value);
    static PropertyValue Colour(ColourValue value);
    // Members are kept sorted and unique so that equal sets compare equal.
    static PropertyValue Set(std::vector<std::string> members);

    PropertyType Type() const { return type_; }

    // Each accessor returns the value when the type matches, otherwise 0, false or empty.
    std::int64_t AsInteger() const;
    double AsFloat() const;
    bool AsBoolean() const;
    const std::string& AsText() const;  // String and Identifier
    ColourValue AsColour() const;
    const std::vector<std::string>& AsSet() const;
    bool HasMember(std::string_view member) const;  // ignoring letter case

    // The value converted to another type the way a stream reader has to: an integer read into
    // a float property, a colour stored as an identifier or an integer, a string into an
    // identifier. Nothing when the value does not fit the type.
    std::optional<PropertyValue> ConvertedTo(PropertyType type) const;

    friend bool operator==(const PropertyValue&, const PropertyValue&) = default;

  private:
    PropertyType type_ = PropertyType::Integer;
    std::variant<std::int64_t, double, bool, std::string, std::vector<std::string>> data_{
        std::int64_t{0}};
};

// One property of a kind of dashboard item: its name as streamed ("Position", "Font.Name"),
// its default (whose type is the property's type) and, for editors and readers, its limits.
struct PropertyDescriptor {
    PropertyDescriptor() = default;
    PropertyDescriptor(std::string name_, PropertyValue defaultValue_,
                       std::vector<std::string> choices_ = {},
                       double minimum_ = std::numeric_limits<double>::lowest(),
                       double maximum_ = std::numeric_limits<double>::max())
        : name(std::move(name_)),
          defaultValue(std::move(defaultValue_)),
          choices(std::move(choices_)),
          minimum(minimum_),
          maximum(maximum_) {}

    std::string name;
    PropertyValue defaultValue;
    std::vector<std::string> choices;  // Identifier: the allowed values; Set: the allowed members
    double minimum = std::numeric_limits<double>::lowest();  // Integer and Float only
    double maximum = std::numeric_limits<double>::max();

    PropertyType Type() const { return defaultValue.Type(); }
};

const PropertyDescriptor* FindDescriptor(std::span<const PropertyDescriptor> descriptors,
                                         std::string_view name);

// Named property values in the order they were first set.
class PropertyBag {
  public:
    struct Entry {
        std::string name;
        PropertyValue value;
        friend bool operator==(const Entry&, const Entry&) = default;
    };

    void Set(std::string_view name, PropertyValue value);
    const PropertyValue* Find(std::string_view name) const;
    bool Contains(std::string_view name) const { return Find(name) != nullptr; }
    bool Remove(std::string_view name);
    void Clear() { entries_.clear(); }

    std::size_t Size() const { return entries_.size(); }
    bool Empty() const { return entries_.empty(); }
    std::vector<Entry>::const_iterator begin() const { return entries_.begin(); }
    std::vector<Entry>::const_iterator end() const { return entries_.end(); }

    friend bool operator==(const PropertyBag&, const PropertyBag&) = default;

  private:
    std::vector<Entry> entries_;
};

// Every property at its default, in descriptor order.
PropertyBag DefaultProperties(std::span<const PropertyDescriptor> descriptors);

// The values that differ from their defaults, in descriptor order, converted to the
// descriptor's type: exactly what a layout file writes for an item. Names without a
// descriptor and values that cannot be converted are left out.
PropertyBag ChangedProperties(const PropertyBag& values,
                              std::span<const PropertyDescriptor> descriptors);

}  // namespace vekaton
