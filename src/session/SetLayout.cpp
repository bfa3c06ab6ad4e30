#include "session/SetLayout.h"

#include <utility>

#include "common/NoteList.h"
#include "dashboard/ChartRecord.h"
#include "dashboard/DashboardModel.h"
#include "dashboard/ItemKinds.h"
#include "dashboard/PropertyChanges.h"
#include "dashboard/StreamProperties.h"

namespace vekaton {

namespace {

constexpr std::string_view kLabelClass = "TLabel";
constexpr std::string_view kPageClass = "TTabSheet";
constexpr std::string_view kCaption = "Caption";
// An item's place and size follow what it shows (a label's own size), never the file alone.
constexpr std::string_view kGeometry[] = {"Left", "Top", "Width", "Height"};

// A page's own property: its caption, the page's default caption when empty.
std::vector<PropertyDescriptor> PageDescriptors() {
    return {PropertyDescriptor(std::string(kCaption), PropertyValue::String(""))};
}

}  // namespace

std::string DashboardPageName(int index) {
    return "TabSheet" + std::to_string(index + 2);
}

SetLayout::SetLayout(DashboardModel& model, PropertyCatalog catalog, int pageCount)
    : model_(model), catalog_(std::move(catalog)), pageCount_(pageCount) {}

std::vector<std::string> SetLayout::ComponentNames() const {
    std::vector<std::string> names(kUnnamedLabels);
    for (int page = 0; page < pageCount_; ++page) {
        names.push_back(DashboardPageName(page));
    }
    names.emplace_back(kGraphsPageName);
    names.emplace_back(kChartComponentName);
    const ItemNumbering numbering = model_.NumberForSave();
    for (const int id : numbering.Ids()) {
        names.push_back(model_.Find(id)->name);
    }
    return names;
}

StreamComponent SetLayout::FixedRecord(int index, const WindowLayout& window) const {
    const std::optional<StreamComponent>& read = index < static_cast<int>(fixedRead_.size())
                                                     ? fixedRead_[static_cast<std::size_t>(index)]
                                                     : std::nullopt;
    StreamComponent record;
    if (read) {
        record = *read;  // what this program does not know stays as it was
    }
    if (index < kUnnamedLabels) {
        if (!read) {
            record.className = kLabelClass;
        }
        return record;
    }
    if (index < kUnnamedLabels + pageCount_) {
        const int page = index - kUnnamedLabels;
        record.className = kPageClass;
        record.name = DashboardPageName(page);
        PropertyBag current;
        const std::string caption = model_.PageCaption(page);
        if (!caption.empty()) {
            current.Set(std::string(kCaption), PropertyValue::String(caption));
        }
        const auto descriptors = PageDescriptors();
        record.properties = PropertiesToWrite(current, descriptors, record.properties);
        return record;
    }
    if (index == kUnnamedLabels + pageCount_) {
        record.className = kPageClass;
        record.name = kGraphsPageName;
        return record;
    }
    record.className = kChartClassName;
    record.name = kChartComponentName;
    PutChartChannels(window.chartChannels.value_or(ChartChannelList{}), record);
    return record;
}

std::vector<StreamComponent> SetLayout::Records(const WindowLayout& window) const {
    std::vector<StreamComponent> records;
    for (int index = 0; index < FixedCount(); ++index) {
        records.push_back(FixedRecord(index, window));
    }
    const ItemNumbering numbering = model_.NumberForSave();
    for (const int id : numbering.Ids()) {
        const DashboardItem& item = *model_.Find(id);
        StreamComponent record;
        record.className = std::string(ItemClassName(item.kind));
        record.name = item.name;
        const auto descriptors = catalog_(record.className);
        const auto read = itemRead_.find(id);
        record.properties = PropertiesToWrite(
            item.properties, descriptors,
            read != itemRead_.end() ? read->second : std::vector<StreamProperty>{});
        records.push_back(std::move(record));
    }
    return records;
}

LayoutTrailer SetLayout::Trailer(const WindowLayout& window) const {
    const WindowPlacement placement = window.placement.value_or(WindowPlacement{});
    LayoutTrailer trailer;
    trailer.left = placement.left;
    trailer.top = placement.top;
    trailer.right = placement.right;
    trailer.bottom = placement.bottom;
    trailer.colour = window.colour.value_or(colourRead_.value_or(kColourBtnFace));
    trailer.page = placement.page;
    return trailer;
}

std::string SetLayout::Bytes(const WindowLayout& window) const {
    std::string bytes;
    // Records this program built or read back always write; an error here is a fault of ours.
    if (WriteLayoutBytes(Records(window), Trailer(window), bytes)) {
        bytes.clear();
    }
    return bytes;
}

void SetLayout::Forget() {
    fixedRead_.clear();
    itemRead_.clear();
    colourRead_.reset();
}

WindowLayout SetLayout::Apply(const LayoutRead& read, std::vector<std::string>& messages,
                              std::vector<std::string>& changed) {
    WindowLayout window;
    const std::vector<int> ids = model_.NumberForSave().Ids();
    const auto fixed = static_cast<std::size_t>(FixedCount());
    std::vector<std::string> keptAsRead;  // one line per item, told as one message
    for (std::size_t index = 0; index < read.records.size(); ++index) {
        if (!read.records[index]) {
            continue;
        }
        if (index < fixed) {
            ApplyFixedRecord(static_cast<int>(index), *read.records[index], window, changed);
        } else if (index - fixed < ids.size()) {
            ApplyItemRecord(ids[index - fixed], *read.records[index], keptAsRead, changed);
        }
    }
    if (keptAsRead.size() == 1) {
        messages.push_back(keptAsRead.front());
    } else if (!keptAsRead.empty()) {
        NoteList notes;
        for (std::string& line : keptAsRead) {
            notes.Add(std::move(line));
        }
        std::string text = "Items hold values they cannot show; the values were kept as read:";
        for (const std::string& line : notes.Lines("items")) {
            text += "\n" + line;
        }
        messages.push_back(text);
    }
    if (read.trailer) {
        colourRead_ = read.trailer->colour;
        window.colour = read.trailer->colour;
        window.placement =
            WindowPlacement{read.trailer->left, read.trailer->top, read.trailer->right,
                            read.trailer->bottom, read.trailer->page};
    }
    return window;
}

void SetLayout::ApplyFixedRecord(int index, const StreamComponent& record, WindowLayout& window,
                                 std::vector<std::string>& changed) {
    if (fixedRead_.size() < static_cast<std::size_t>(FixedCount())) {
        fixedRead_.resize(static_cast<std::size_t>(FixedCount()));
    }
    fixedRead_[static_cast<std::size_t>(index)] = record;
    if (index >= kUnnamedLabels && index < kUnnamedLabels + pageCount_) {
        const auto descriptors = PageDescriptors();
        const LoadedProperties loaded = LoadProperties(record.properties, descriptors);
        if (const PropertyValue* caption = loaded.values.Find(kCaption)) {
            model_.SetPageCaption(index - kUnnamedLabels, caption->AsText());
        }
    } else if (index == kUnnamedLabels + pageCount_ + 1) {
        // Channels left out are not saved again: the file deserves its ".bad" copy.
        std::vector<std::string> notes;
        if (auto channels = ChartChannelsOf(record, &notes)) {
            window.chartChannels = std::move(*channels);
        }
        changed.insert(changed.end(), notes.begin(), notes.end());
    }
}

void SetLayout::ApplyItemRecord(int id, const StreamComponent& record,
                                std::vector<std::string>& messages,
                                std::vector<std::string>& changed) {
    const DashboardItem* item = model_.Find(id);
    if (item == nullptr) {
        return;
    }
    const auto descriptors = catalog_(ItemClassName(item->kind));
    const LoadedProperties loaded = LoadProperties(record.properties, descriptors);
    itemRead_[id] = record.properties;
    const std::string name = item->name;
    model_.SetProperties(id, loaded.values);  // the item's widget takes them in
    const DashboardItem* shown = model_.Find(id);
    if (shown == nullptr) {
        return;
    }
    const PropertyChanges changes =
        ChangesOnLoad(record.properties, descriptors, shown->properties, kGeometry);
    if (!changes.keptAsRead.empty()) {
        std::string names;
        for (const std::string& kept : changes.keptAsRead) {
            names += (names.empty() ? "" : ", ") + kept;
        }
        messages.push_back(name + ": values of " + names +
                           " that it cannot show were kept as read.");
    }
    if (!changes.changed.empty()) {
        std::string line = name + ": ";
        for (std::size_t i = 0; i < changes.changed.size(); ++i) {
            line += (i > 0 ? ", " : "") + changes.changed[i];
        }
        changed.push_back(line + ".");
    }
}

}  // namespace vekaton
