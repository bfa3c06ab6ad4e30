#include "dashboard/ChartRecord.h"

#include <algorithm>

#include "common/NoteList.h"
#include "dashboard/StreamProperties.h"

namespace vekaton {

namespace {

constexpr std::size_t kExamplesNamed = 3;

constexpr std::string_view kPosition = "Position";
constexpr std::string_view kBit = "Bit";
constexpr std::string_view kColor = "Color";
constexpr std::string_view kAutoScale = "AutoScale";
constexpr std::string_view kMinimum = "Minimum";
constexpr std::string_view kMaximum = "Maximum";

StreamProperty Property(std::string_view name, StreamValue value) {
    return StreamProperty{std::string(name), std::move(value)};
}

const StreamValue* Find(const CollectionItem& item, std::string_view name) {
    for (const StreamProperty& property : item.properties) {
        if (property.name == name) {
            return &property.value;
        }
    }
    return nullptr;
}

template <class T>
std::optional<T> Read(const CollectionItem& item, std::string_view name, PropertyType type) {
    const StreamValue* value = Find(item, name);
    if (value == nullptr) {
        return std::nullopt;
    }
    const std::optional<PropertyValue> converted = FromStreamValue(*value, type);
    if (!converted) {
        return std::nullopt;
    }
    if constexpr (std::is_same_v<T, bool>) {
        return converted->AsBoolean();
    } else if constexpr (std::is_same_v<T, double>) {
        return converted->AsFloat();
    } else if constexpr (std::is_same_v<T, ColourValue>) {
        return converted->AsColour();
    } else {
        return converted->AsInteger();
    }
}

}  // namespace

void PutChartChannels(const ChartChannelList& channels, StreamComponent& record) {
    std::vector<CollectionItem> items;
    for (const ChartChannelSetting& channel : channels) {
        CollectionItem item;
        item.properties.push_back(Property(kPosition, StreamValue::Integer(channel.position)));
        item.properties.push_back(Property(kBit, StreamValue::Integer(channel.bit)));
        item.properties.push_back(Property(kColor, StreamValue::Integer(channel.colour)));
        if (!channel.autoScale) {
            item.properties.push_back(Property(kAutoScale, StreamValue::Boolean(false)));
            item.properties.push_back(Property(kMinimum, StreamValue::Float(channel.minimum)));
            item.properties.push_back(Property(kMaximum, StreamValue::Float(channel.maximum)));
        }
        items.push_back(std::move(item));
    }
    auto& properties = record.properties;
    const auto old =
        std::find_if(properties.begin(), properties.end(),
                     [](const StreamProperty& p) { return p.name == kChartChannelsProperty; });
    if (items.empty()) {
        if (old != properties.end()) {
            properties.erase(old);
        }
        return;
    }
    StreamProperty channelsProperty =
        Property(kChartChannelsProperty, StreamValue::Collection(std::move(items)));
    if (old != properties.end()) {
        *old = std::move(channelsProperty);
    } else {
        properties.push_back(std::move(channelsProperty));
    }
}

std::optional<ChartChannelList> ChartChannelsOf(const StreamComponent& record,
                                                std::vector<std::string>* notes) {
    const StreamProperty* property = record.Find(kChartChannelsProperty);
    if (property == nullptr || property->value.Type() != StreamType::Collection) {
        return std::nullopt;
    }
    ChartChannelList channels;
    const auto& items = property->value.Items();
    std::size_t badCount = 0;
    std::vector<std::string> badExamples;
    for (std::size_t index = 1; index <= items.size() && channels.size() < kMaxChartChannels;
         ++index) {
        const CollectionItem& item = items[index - 1];
        const auto position = Read<std::int64_t>(item, kPosition, PropertyType::Integer);
        const auto bit = Read<std::int64_t>(item, kBit, PropertyType::Integer).value_or(0);
        if (!position || *position < 1 || *position > 500 || bit < 0 || bit > 7) {
            if (++badCount <= kExamplesNamed) {
                badExamples.push_back(std::to_string(index));
            }
            continue;
        }
        ChartChannelSetting channel;
        channel.position = static_cast<int>(*position);
        channel.bit = static_cast<int>(bit);
        channel.colour = Read<ColourValue>(item, kColor, PropertyType::Colour).value_or(0);
        channel.autoScale = Read<bool>(item, kAutoScale, PropertyType::Boolean).value_or(true);
        channel.minimum = Read<double>(item, kMinimum, PropertyType::Float).value_or(0.0);
        channel.maximum = Read<double>(item, kMaximum, PropertyType::Float).value_or(100.0);
        channels.push_back(channel);
    }
    if (notes != nullptr && badCount > 0) {
        notes->push_back(badCount == 1 ? "Chart channel " + badExamples.front() +
                                             " names no frame position 1 to 500 and bit 0 to 7; "
                                             "it was left out."
                                       : std::to_string(badCount) +
                                             " chart channels name no frame position 1 to 500 "
                                             "and bit 0 to 7 and were left out: channels " +
                                             NamedExamples(badExamples, badCount) + ".");
    }
    const std::size_t read = badCount + channels.size();
    if (notes != nullptr && read < items.size()) {
        notes->push_back("The strip chart keeps at most " + std::to_string(kMaxChartChannels) +
                         " channels; the last " + std::to_string(items.size() - read) +
                         " of the layout file were left out.");
    }
    return channels;
}

}  // namespace vekaton
