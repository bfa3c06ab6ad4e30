#include "dashboard/ItemKinds.h"

#include <array>
#include <charconv>
#include <utility>

#include "common/AsciiCase.h"

namespace vekaton {

namespace {

// No prefix begins another, so the first one that matches a name is the only one.
constexpr std::array<std::pair<ItemKind, std::string_view>, kNamedKindCount> kPrefixes{{
    {ItemKind::Label, "USERLABEL"},
    {ItemKind::AngularGauge, "USERANGULARGAUGE"},
    {ItemKind::Thermometer, "USERTHERMOMETER"},
    {ItemKind::SevenSegmentAnalog, "USERSEVENSEGMENTANALOG"},
    {ItemKind::AnalogDisplay, "USERANALOGDISPLAY"},
    {ItemKind::LedRound, "USERLEDROUND"},
    {ItemKind::Panel, "USERPANEL"},
    {ItemKind::ResetButton, "USERRESETBUTTON"},
}};

}  // namespace

std::string_view ItemNamePrefix(ItemKind kind) {
    for (const auto& [prefixKind, prefix] : kPrefixes) {
        if (prefixKind == kind) {
            return prefix;
        }
    }
    return {};
}

std::optional<int> CounterIndex(ItemKind kind) {
    for (std::size_t i = 0; i < kPrefixes.size(); ++i) {
        if (kPrefixes[i].first == kind) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

std::optional<ParsedItemName> ParseItemName(std::string_view name) {
    for (const auto& [kind, prefix] : kPrefixes) {
        if (!StartsWithNoCase(name, prefix)) {
            continue;
        }
        const std::string_view digits = name.substr(prefix.size());
        if (digits.empty()) {
            return ParsedItemName{kind, 0};
        }
        int number = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), number);
        if (error != std::errc{} || end != digits.data() + digits.size() || number < 0) {
            return std::nullopt;
        }
        return ParsedItemName{kind, number};
    }
    return std::nullopt;
}

std::string_view ItemClassName(ItemKind kind) {
    switch (kind) {
        case ItemKind::Label:
            return "TLabel";
        case ItemKind::AngularGauge:
            return "TAngularGauge";
        case ItemKind::Thermometer:
            return "TThermometer";
        case ItemKind::SevenSegmentAnalog:
            return "TSevenSegmentAnalog";
        case ItemKind::AnalogDisplay:
            return "TAnalogDisplay";
        case ItemKind::LedRound:
            return "TLedRound";
        case ItemKind::Panel:
            return "TPanel";
        case ItemKind::ResetButton:
            return "TButton";
        case ItemKind::Odometer:
            return "TOdometer";
    }
    return {};
}

bool ShowsPosition(ItemKind kind) {
    return kind == ItemKind::AngularGauge || kind == ItemKind::Thermometer;
}

bool ShowsValue(ItemKind kind) {
    return kind == ItemKind::Odometer || HasHoldMode(kind);
}

bool HasHoldMode(ItemKind kind) {
    return kind == ItemKind::SevenSegmentAnalog || kind == ItemKind::AnalogDisplay;
}

}  // namespace vekaton
