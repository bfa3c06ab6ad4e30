#include "definitions/DashboardMaker.h"

#include <algorithm>
#include <cmath>

namespace vekaton {
namespace {

using Properties = std::vector<std::pair<std::string, PropertyValue>>;

// The bands of a dial: normal between the limits, amber (red for an alarm) beyond them.
Properties Sections(const InstrumentScale& scale) {
    Properties sections;
    if (!scale.warnLow && !scale.warnHigh) {
        return sections;
    }
    const ColourValue beyond = scale.alarm ? kAlarmRed : kWarnAmber;
    const double low =
        std::clamp(scale.warnLow.value_or(scale.minimum), scale.minimum, scale.maximum);
    const double high =
        std::clamp(scale.warnHigh.value_or(scale.maximum), scale.minimum, scale.maximum);
    int n = 0;
    const auto add = [&](double start, double end, ColourValue colour) {
        if (end <= start) {
            return;
        }
        const std::string name = "Section" + std::to_string(++n);
        sections.emplace_back(name + "Start", PropertyValue::Float(start));
        sections.emplace_back(name + "End", PropertyValue::Float(end));
        sections.emplace_back(name + "Color", PropertyValue::Colour(colour));
    };
    add(scale.minimum, low, beyond);
    add(low, high, kNormalGreen);
    add(high, scale.maximum, beyond);
    return sections;
}

}  // namespace

std::string FitCaption(const std::string& text, std::size_t most) {
    if (text.size() <= most) {
        return text;
    }
    std::size_t cut = text.rfind(' ', most - 3);
    if (cut == std::string::npos || cut < most / 2) {
        cut = most - 3;
    }
    return text.substr(0, cut) + "...";
}

int DashboardMaker::Scaled(int units) const {
    return static_cast<int>(std::lround(units * scale_));
}

ItemGeometry DashboardMaker::At(int left, int top, int width, int height) const {
    return ItemGeometry{Scaled(left), Scaled(top), Scaled(width), Scaled(height)};
}

int DashboardMaker::Add(ItemKind kind, int page, const ItemGeometry& at, int position,
                        Properties properties, int bit, int holdMode) {
    const int id = *model_.AddItem(kind, page);
    PropertyBag bag = model_.Find(id)->properties;
    PutGeometry(bag, at);
    for (auto& [name, value] : properties) {
        bag.Set(name, std::move(value));
    }
    model_.SetProperties(id, std::move(bag));
    if (position > 0) {
        model_.SetBinding(id, BindingEntry{position, bit, holdMode});
    }
    return id;
}

int DashboardMaker::Dial(int page, const ItemGeometry& at, int position,
                         const InstrumentScale& scale) {
    Properties properties = {
        {"Caption", PropertyValue::String(scale.caption)},
        {"Units", PropertyValue::String(scale.unit)},
        {"Minimum", PropertyValue::Float(scale.minimum)},
        {"Maximum", PropertyValue::Float(scale.maximum)},
        {"MajorTicks", PropertyValue::Integer(scale.majorTicks)},
        {"Decimals", PropertyValue::Integer(std::clamp(scale.decimals, 0, 6))},
        {"Color", PropertyValue::Colour(kDialFace)},
        {"TickColor", PropertyValue::Colour(kDialText)},
        {"NeedleColor", PropertyValue::Colour(RgbColour(255, 110, 20))},
        {"Font.Color", PropertyValue::Colour(kDialText)},
    };
    for (auto& section : Sections(scale)) {
        properties.push_back(std::move(section));
    }
    return Add(ItemKind::AngularGauge, page, at, position, std::move(properties));
}

int DashboardMaker::Thermometer(int page, const ItemGeometry& at, int position,
                                const InstrumentScale& scale) {
    return Add(ItemKind::Thermometer, page, at, position,
               {{"Caption", PropertyValue::String(scale.caption)},
                {"Units", PropertyValue::String(scale.unit)},
                {"Minimum", PropertyValue::Float(scale.minimum)},
                {"Maximum", PropertyValue::Float(scale.maximum)},
                {"MajorTicks", PropertyValue::Integer(scale.majorTicks)},
                {"MercuryColor", PropertyValue::Colour(kAlarmRed)}});
}

int DashboardMaker::Segments(int page, const ItemGeometry& at, int position,
                             const InstrumentScale& scale, int digits, ColourValue on) {
    const std::string caption =
        scale.unit.empty() ? scale.caption : scale.caption + " " + scale.unit;
    Label(page, at.left, at.top - Scaled(22), caption, -13, true);
    return Add(ItemKind::SevenSegmentAnalog, page, at, position,
               {{"Digits", PropertyValue::Integer(digits)},
                {"Decimals", PropertyValue::Integer(std::clamp(scale.decimals, 0, 3))},
                {"OnColor", PropertyValue::Colour(on)}});
}

int DashboardMaker::Display(int page, const ItemGeometry& at, int position,
                            const InstrumentScale& scale, int holdMode) {
    return Add(ItemKind::AnalogDisplay, page, at, position,
               {{"Caption", PropertyValue::String(scale.caption)},
                {"Suffix", PropertyValue::String(scale.unit.empty() ? "" : " " + scale.unit)},
                {"Precision", PropertyValue::Integer(std::clamp(scale.decimals, 0, 6))}},
               BindingEntry::kNoBit, holdMode);
}

int DashboardMaker::Label(int page, int left, int top, const std::string& caption, int fontHeight,
                          bool bold) {
    return Add(ItemKind::Label, page, ItemGeometry{left, top, 0, 0}, 0,
               {{"Caption", PropertyValue::String(caption)},
                {"Font.Height", PropertyValue::Integer(Scaled(fontHeight))},
                {"Font.Style", PropertyValue::Set(bold ? std::vector<std::string>{"fsBold"}
                                                       : std::vector<std::string>{})},
                {"Transparent", PropertyValue::Boolean(true)}});
}

int DashboardMaker::Led(int page, const ItemGeometry& panel, int position, int bit,
                        const std::string& caption, ColourValue lit, bool activeWhenClear) {
    const int size = std::max(9, panel.height - 2);
    const int id = Add(ItemKind::LedRound, page, ItemGeometry{1, 1, size, size}, position,
                       {{"ActiveColor", PropertyValue::Colour(activeWhenClear ? kLedDark : lit)},
                        {"InactiveColor", PropertyValue::Colour(activeWhenClear ? lit : kLedDark)}},
                       bit);
    const int panelId = model_.Find(id)->parentId;
    PropertyBag bag = model_.Find(panelId)->properties;
    PutGeometry(bag, panel);
    bag.Set("Caption", PropertyValue::String("     " + caption));
    bag.Set("Font.Height", PropertyValue::Integer(Scaled(-12)));
    model_.SetProperties(panelId, std::move(bag));
    return id;
}

int DashboardMaker::ResetButton(int page, const ItemGeometry& at, std::vector<int> ids) {
    const int id = Add(ItemKind::ResetButton, page, at, 0,
                       {{"Caption", PropertyValue::String("Reset Min/Max")}});
    model_.SetResetButton(
        id, ResetButtonEntry{std::move(ids), kPresetCurrentValue, kPresetCurrentValue});
    return id;
}

}  // namespace vekaton
