#include "dashboard/PropertyBag.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "common/AsciiCase.h"

namespace vekaton {
namespace {

struct NamedColour {
    std::string_view name;
    std::uint32_t value;
};

// The colour identifiers of the component stream format: the fixed colours, then the system
// colours (0x80000000 + the platform's colour index).
constexpr std::array<NamedColour, 47> kNamedColours{{
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clNone", 0x1FFFFFFF},
    {"clDefault", 0x20000000},
    {"clScrollBar", 0x80000000},
    {"clBackground", 0x80000001},
    {"clActiveCaption", 0x80000002},
    {"clInactiveCaption", 0x80000003},
    {"clMenu", 0x80000004},
    {"clWindow", 0x80000005},
    {"clWindowFrame", 0x80000006},
    {"clMenuText", 0x80000007},
    {"clWindowText", 0x80000008},
    {"clCaptionText", 0x80000009},
    {"clActiveBorder", 0x8000000A},
    {"clInactiveBorder", 0x8000000B},
    {"clAppWorkSpace", 0x8000000C},
    {"clHighlight", 0x8000000D},
    {"clHighlightText", 0x8000000E},
    {"clBtnFace", 0x8000000F},
    {"clBtnShadow", 0x80000010},
    {"clGrayText", 0x80000011},
    {"clBtnText", 0x80000012},
    {"clInactiveCaptionText", 0x80000013},
    {"clBtnHighlight", 0x80000014},
    {"cl3DDkShadow", 0x80000015},
    {"cl3DLight", 0x80000016},
    {"clInfoText", 0x80000017},
    {"clInfoBk", 0x80000018},
}};

const std::string& EmptyText() {
    static const std::string empty;
    return empty;
}

const std::vector<std::string>& EmptySet() {
    static const std::vector<std::string> empty;
    return empty;
}

}  // namespace

std::optional<ColourValue> ColourFromIdentifier(std::string_view name) {
    for (const NamedColour& colour : kNamedColours) {
        if (EqualsNoCase(colour.name, name)) {
            return static_cast<ColourValue>(colour.value);
        }
    }
    return std::nullopt;
}

std::optional<std::string> ColourIdentifier(ColourValue colour) {
    for (const NamedColour& named : kNamedColours) {
        if (static_cast<ColourValue>(named.value) == colour) {
            return std::string(named.name);
        }
    }
    return std::nullopt;
}

PropertyValue PropertyValue::Integer(std::int64_t value) {
    PropertyValue result;
    result.type_ = PropertyType::Integer;
    result.data_ = value;
    return result;
}

PropertyValue PropertyValue::Float(double value) {
    PropertyValue result;
    result.type_ = PropertyType::Float;
    result.data_ = value;
    return result;
}

PropertyValue PropertyValue::Boolean(bool value) {
    PropertyValue result;
    result.type_ = PropertyType::Boolean;
    result.data_ = value;
    return result;
}

PropertyValue PropertyValue::String(std::string value) {
    PropertyValue result;
    result.type_ = PropertyType::String;
    result.data_ = std::move(value);
    return result;
}

PropertyValue PropertyValue::Identifier(std::string value) {
    PropertyValue result;
    result.type_ = PropertyType::Identifier;
    result.data_ = std::move(value);
    return result;
}

PropertyValue PropertyValue::Colour(ColourValue value) {
    PropertyValue result;
    result.type_ = PropertyType::Colour;
    result.data_ = std::int64_t{value};
    return result;
}

PropertyValue PropertyValue::Set(std::vector<std::string> members) {
    std::sort(members.begin(), members.end());
    members.erase(std::unique(members.begin(), members.end()), members.end());
    PropertyValue result;
    result.type_ = PropertyType::Set;
    result.data_ = std::move(members);
    return result;
}

std::int64_t PropertyValue::AsInteger() const {
    if (type_ == PropertyType::Integer || type_ == PropertyType::Colour) {
        return std::get<std::int64_t>(data_);
    }
    return 0;
}

double PropertyValue::AsFloat() const {
    if (type_ == PropertyType::Float) {
        return std::get<double>(data_);
    }
    if (type_ == PropertyType::Integer) {
        return static_cast<double>(std::get<std::int64_t>(data_));
    }
    return 0.0;
}

bool PropertyValue::AsBoolean() const {
    return type_ == PropertyType::Boolean && std::get<bool>(data_);
}

const std::string& PropertyValue::AsText() const {
    if (type_ == PropertyType::String || type_ == PropertyType::Identifier) {
        return std::get<std::string>(data_);
    }
    return EmptyText();
}

ColourValue PropertyValue::AsColour() const {
    return type_ == PropertyType::Colour ? static_cast<ColourValue>(std::get<std::int64_t>(data_))
                                         : 0;
}

const std::vector<std::string>& PropertyValue::AsSet() const {
    return type_ == PropertyType::Set ? std::get<std::vector<std::string>>(data_) : EmptySet();
}

bool PropertyValue::HasMember(std::string_view member) const {
    // Identifiers of the stream format ignore letter case: fsBOld is fsBold.
    const auto& members = AsSet();
    return std::any_of(members.begin(), members.end(),
                       [member](const std::string& m) { return EqualsNoCase(m, member); });
}

std::optional<PropertyValue> PropertyValue::ConvertedTo(PropertyType type) const {
    if (type == type_) {
        return *this;
    }
    switch (type) {
        case PropertyType::Integer:
            if (type_ == PropertyType::Float) {
                const double value = std::get<double>(data_);
                // Only whole numbers convert; 2^62 keeps the cast well inside int64.
                if (std::isfinite(value) && value == std::trunc(value) &&
                    std::fabs(value) < 4.6e18) {
                    return Integer(static_cast<std::int64_t>(value));
                }
            }
            return std::nullopt;
        case PropertyType::Float:
            if (type_ == PropertyType::Integer) {
                return Float(static_cast<double>(std::get<std::int64_t>(data_)));
            }
            return std::nullopt;
        case PropertyType::Boolean:
            if (type_ == PropertyType::Identifier) {
                const std::string& text = std::get<std::string>(data_);
                if (EqualsNoCase(text, "True")) {
                    return Boolean(true);
                }
                if (EqualsNoCase(text, "False")) {
                    return Boolean(false);
                }
            }
            return std::nullopt;
        case PropertyType::String:
            if (type_ == PropertyType::Identifier) {
                return String(std::get<std::string>(data_));
            }
            return std::nullopt;
        case PropertyType::Identifier:
            if (type_ == PropertyType::String) {
                return Identifier(std::get<std::string>(data_));
            }
            return std::nullopt;
        case PropertyType::Colour:
            if (type_ == PropertyType::Integer) {
                // Streams hold colours as signed 32-bit integers; accept the unsigned spelling.
                const std::int64_t value = std::get<std::int64_t>(data_);
                if (value >= std::numeric_limits<std::int32_t>::min() && value <= 0xFFFFFFFFLL) {
                    return Colour(static_cast<ColourValue>(static_cast<std::uint32_t>(value)));
                }
                return std::nullopt;
            }
            if (type_ == PropertyType::Identifier || type_ == PropertyType::String) {
                if (const auto colour = ColourFromIdentifier(std::get<std::string>(data_))) {
                    return Colour(*colour);
                }
            }
            return std::nullopt;
        case PropertyType::Set:
            return std::nullopt;
    }
    return std::nullopt;
}

const PropertyDescriptor* FindDescriptor(std::span<const PropertyDescriptor> descriptors,
                                         std::string_view name) {
    for (const PropertyDescriptor& descriptor : descriptors) {
        if (descriptor.name == name) {
            return &descriptor;
        }
    }
    return nullptr;
}

void PropertyBag::Set(std::string_view name, PropertyValue value) {
    for (Entry& entry : entries_) {
        if (entry.name == name) {
            entry.value = std::move(value);
            return;
        }
    }
    entries_.push_back(Entry{std::string(name), std::move(value)});
}

const PropertyValue* PropertyBag::Find(std::string_view name) const {
    for (const Entry& entry : entries_) {
        if (entry.name == name) {
            return &entry.value;
        }
    }
    return nullptr;
}

bool PropertyBag::Remove(std::string_view name) {
    const auto found = std::find_if(entries_.begin(), entries_.end(),
                                    [name](const Entry& entry) { return entry.name == name; });
    if (found == entries_.end()) {
        return false;
    }
    entries_.erase(found);
    return true;
}

PropertyBag DefaultProperties(std::span<const PropertyDescriptor> descriptors) {
    PropertyBag bag;
    for (const PropertyDescriptor& descriptor : descriptors) {
        bag.Set(descriptor.name, descriptor.defaultValue);
    }
    return bag;
}

PropertyBag ChangedProperties(const PropertyBag& values,
                              std::span<const PropertyDescriptor> descriptors) {
    PropertyBag changed;
    for (const PropertyDescriptor& descriptor : descriptors) {
        const PropertyValue* value = values.Find(descriptor.name);
        if (value == nullptr) {
            continue;
        }
        const auto converted = value->ConvertedTo(descriptor.Type());
        if (converted && *converted != descriptor.defaultValue) {
            changed.Set(descriptor.name, *converted);
        }
    }
    return changed;
}

}  // namespace vekaton
