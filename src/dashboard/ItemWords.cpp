#include "dashboard/ItemWords.h"

#include <array>

#include "dashboard/DashboardModel.h"

namespace vekaton {

namespace {

constexpr std::array kKinds{ItemKind::Label,         ItemKind::AngularGauge,
                            ItemKind::Thermometer,   ItemKind::SevenSegmentAnalog,
                            ItemKind::AnalogDisplay, ItemKind::LedRound,
                            ItemKind::Panel,         ItemKind::ResetButton,
                            ItemKind::Odometer};

// Longer captions are cut, so that a menu entry stays a line.
constexpr std::size_t kLongestCaption = 32;

}  // namespace

std::string_view ItemKindLabel(ItemKind kind) {
    switch (kind) {
        case ItemKind::Label:
            return "Label";
        case ItemKind::AngularGauge:
            return "Analog Meter";
        case ItemKind::Thermometer:
            return "Thermometer";
        case ItemKind::SevenSegmentAnalog:
            return "LED Display";
        case ItemKind::AnalogDisplay:
            return "Numerical Display";
        case ItemKind::LedRound:
            return "Digital LED";
        case ItemKind::Panel:
            return "Digital LED caption";
        case ItemKind::ResetButton:
            return "Reset Min/Max Button";
        case ItemKind::Odometer:
            return "Odometer";
    }
    return {};
}

std::string_view ClassLabel(std::string_view className) {
    for (const ItemKind kind : kKinds) {
        if (ItemClassName(kind) == className) {
            return ItemKindLabel(kind);
        }
    }
    return {};
}

std::string ItemDisplayName(const DashboardItem& item) {
    const bool captioned = item.kind == ItemKind::Label || item.kind == ItemKind::ResetButton ||
                           item.kind == ItemKind::Panel;
    std::string caption;
    if (captioned) {
        if (const PropertyValue* value = item.properties.Find("Caption")) {
            caption = value->AsText();
        } else {
            caption = item.caption;
        }
    }
    // A caption that is only the internal name (a new label's) says nothing more.
    const auto first = caption.find_first_not_of(' ');
    if (first != std::string::npos && caption != item.name) {
        caption = caption.substr(first);
        if (caption.size() > kLongestCaption) {
            std::size_t cut = kLongestCaption;
            while (cut > 0 && (static_cast<unsigned char>(caption[cut]) & 0xC0U) == 0x80U) {
                --cut;  // never inside a UTF-8 character
            }
            caption = caption.substr(0, cut) + "...";
        }
        return std::string(ItemKindLabel(item.kind)) + " \"" + caption + "\"";
    }
    std::string name(ItemKindLabel(item.kind));
    if (const auto parsed = ParseItemName(item.name); parsed && parsed->number > 0) {
        name += " " + std::to_string(parsed->number);
    }
    return name;
}

}  // namespace vekaton
