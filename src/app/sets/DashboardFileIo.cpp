#include "app/sets/DashboardFileIo.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QTabWidget>
#include <algorithm>

#include "app/GraphsPage.h"
#include "app/dashboard/DashboardController.h"
#include "app/dashboard/DashboardPage.h"
#include "app/sets/WindowBounds.h"
#include "common/MessageText.h"
#include "dashboard/ChartRecord.h"
#include "dashboard/DashboardGaugeList.h"
#include "dashboard/DashboardModel.h"
#include "dashboard/PropertyChanges.h"
#include "dashboard/StreamProperties.h"
#include "decode/Decoder.h"
#include "io/QtText.h"
#include "set/ConfigurationSet.h"
#include "widgets/ItemWidgetFactory.h"

namespace vekaton {

namespace {

constexpr const char* kLabelClass = "TLabel";
constexpr const char* kPageClass = "TTabSheet";
constexpr const char* kCaption = "Caption";
// An item's place and size follow what it shows (a label's own size), never the file alone.
constexpr std::string_view kGeometry[] = {"Left", "Top", "Width", "Height"};
// Beyond this many items a message names only how many more there are.
constexpr std::size_t kItemsNamed = 20;

// A page's own property: its caption, the page's default caption when empty.
std::vector<PropertyDescriptor> PageDescriptors() {
    return {PropertyDescriptor(kCaption, PropertyValue::String(""))};
}

}  // namespace

DashboardFileIo::DashboardFileIo(DashboardController& dashboard, Decoder& decoder,
                                 GraphsPage& graphs, QMainWindow& window, QTabWidget& tabs)
    : dashboard_(dashboard), decoder_(decoder), graphs_(graphs), window_(window), tabs_(tabs) {}

int DashboardFileIo::FixedCount() const {
    // The two labels, the dashboard pages, the "Graphs" page and the strip chart.
    return kUnnamedLabels + dashboard_.PageCount() + 2;
}

std::vector<std::string> DashboardFileIo::ComponentNames() const {
    std::vector<std::string> names(kUnnamedLabels);
    for (int page = 0; page < dashboard_.PageCount(); ++page) {
        names.push_back(dashboard_.Page(page)->objectName().toStdString());
    }
    names.push_back(graphs_.objectName().toStdString());
    names.emplace_back(kChartComponentName);
    const DashboardModel& model = dashboard_.Model();
    const ItemNumbering numbering = model.NumberForSave();
    for (const int id : numbering.Ids()) {
        names.push_back(model.Find(id)->name);
    }
    return names;
}

StreamComponent DashboardFileIo::FixedRecord(int index) const {
    const std::optional<StreamComponent>& read = index < static_cast<int>(fixedRead_.size())
                                                     ? fixedRead_[static_cast<std::size_t>(index)]
                                                     : std::nullopt;
    StreamComponent record;
    if (read) {
        record = *read;  // what this program does not know stays as it was
    }
    const int pages = dashboard_.PageCount();
    if (index < kUnnamedLabels) {
        if (!read) {
            record.className = kLabelClass;
        }
        return record;
    }
    if (index < kUnnamedLabels + pages) {
        const int page = index - kUnnamedLabels;
        record.className = kPageClass;
        record.name = dashboard_.Page(page)->objectName().toStdString();
        PropertyBag current;
        const std::string caption = dashboard_.Model().PageCaption(page);
        if (!caption.empty()) {
            current.Set(kCaption, PropertyValue::String(caption));
        }
        const auto descriptors = PageDescriptors();
        record.properties = PropertiesToWrite(current, descriptors, record.properties);
        return record;
    }
    if (index == kUnnamedLabels + pages) {
        record.className = kPageClass;
        record.name = graphs_.objectName().toStdString();
        return record;
    }
    record.className = kChartClassName;
    record.name = kChartComponentName;
    PutChartChannels(graphs_.ChannelSettings(), record);
    return record;
}

std::vector<StreamComponent> DashboardFileIo::LayoutRecords() const {
    std::vector<StreamComponent> records;
    for (int index = 0; index < FixedCount(); ++index) {
        records.push_back(FixedRecord(index));
    }
    const DashboardModel& model = dashboard_.Model();
    const ItemNumbering numbering = model.NumberForSave();
    for (const int id : numbering.Ids()) {
        const DashboardItem& item = *model.Find(id);
        StreamComponent record;
        record.className = std::string(ItemClassName(item.kind));
        record.name = item.name;
        const auto descriptors = StreamedDescriptorsOf(record.className);
        const auto read = itemRead_.find(id);
        record.properties = PropertiesToWrite(
            item.properties, descriptors,
            read != itemRead_.end() ? read->second : std::vector<StreamProperty>{});
        records.push_back(std::move(record));
    }
    return records;
}

LayoutTrailer DashboardFileIo::Trailer() const {
    const QRect bounds = window_.geometry();
    LayoutTrailer trailer;
    trailer.left = bounds.x();
    trailer.top = bounds.y();
    trailer.right = bounds.x() + bounds.width();
    trailer.bottom = bounds.y() + bounds.height();
    trailer.colour = colourRead_.value_or(kColourBtnFace);
    trailer.page = tabs_.currentIndex();
    return trailer;
}

std::string DashboardFileIo::LayoutBytes() const {
    std::string bytes;
    // Records this program built or read back always write; an error here is a fault of ours.
    if (WriteLayoutBytes(LayoutRecords(), Trailer(), bytes)) {
        bytes.clear();
    }
    return bytes;
}

std::string DashboardFileIo::GaugeListText() const {
    const DashboardModel& model = dashboard_.Model();
    return FormatGaugeList(GaugeListOf(model, model.NumberForSave()));
}

void DashboardFileIo::Forget() {
    fixedRead_.clear();
    itemRead_.clear();
    colourRead_.reset();
}

QStringList DashboardFileIo::Load(ConfigurationSet& set, LayoutReadPrompts& prompts) {
    QStringList messages;
    DashboardModel& model = dashboard_.Model();

    const GaugeListFileRead gauges = set.ReadGaugeList();
    for (const std::string* text : {&gauges.errorMessage, &gauges.warningMessage}) {
        if (!text->empty()) {
            messages.append(FromStd(*text));
        }
    }
    if (gauges.found) {
        const GaugeListApplied applied =
            ApplyGaugeList(gauges.result.entries, model, dashboard_.PageCount(),
                           [this](int id, int position) { decoder_.BindItem(id, position); });
        if (!applied.notes.empty()) {
            QString text = FromStd(gauges.path.filename().string()) + ":";  // the name on disk
            for (const std::string& note : applied.notes) {
                text += "\n" + FromStd(note);
            }
            if (applied.dropped) {
                text += "\n" + FromStd(set.NoteDropped(set.Names().gaugeListFileName));
            }
            messages.append(text);
        }
    }

    const std::vector<std::string> names = ComponentNames();
    const LayoutFileRead layout = set.ReadLayout(names, prompts);
    for (const std::string* text : {&layout.errorMessage, &layout.warningMessage}) {
        if (!text->empty()) {
            messages.append(FromStd(*text));
        }
    }
    if (layout.found) {
        std::vector<std::string> changed;
        const std::vector<int> ids = model.NumberForSave().Ids();
        const auto& records = layout.result.records;
        for (std::size_t index = 0; index < records.size() && index < names.size(); ++index) {
            if (!records[index]) {
                continue;
            }
            const int fixed = FixedCount();
            if (static_cast<int>(index) < fixed) {
                ApplyFixedRecord(static_cast<int>(index), *records[index], messages);
            } else if (index - static_cast<std::size_t>(fixed) < ids.size()) {
                ApplyItemRecord(ids[index - static_cast<std::size_t>(fixed)], *records[index],
                                messages, changed);
            }
        }
        if (!changed.empty()) {
            // A save writes what the items show, so the file as read is kept aside first.
            QString text = QObject::tr(
                               "Layout file \"%1\" holds values the items cannot take as "
                               "written; they use and save these instead:")
                               .arg(FromStd(QuotePath(layout.path.filename())));
            for (std::size_t i = 0; i < changed.size() && i < kItemsNamed; ++i) {
                text += "\n" + FromStd(changed[i]);
            }
            if (changed.size() > kItemsNamed) {
                text += QObject::tr("\n... and %1 more items.").arg(changed.size() - kItemsNamed);
            }
            text += "\n" + FromStd(set.NoteDropped(set.Names().layoutFileName));
            messages.append(text);
        }
        if (layout.result.trailer) {
            ApplyTrailer(*layout.result.trailer);
        }
    }
    dashboard_.AfterLoad();
    return messages;
}

void DashboardFileIo::ApplyFixedRecord(int index, const StreamComponent& record,
                                       QStringList& messages) {
    if (fixedRead_.size() < static_cast<std::size_t>(FixedCount())) {
        fixedRead_.resize(static_cast<std::size_t>(FixedCount()));
    }
    fixedRead_[static_cast<std::size_t>(index)] = record;
    const int pages = dashboard_.PageCount();
    if (index >= kUnnamedLabels && index < kUnnamedLabels + pages) {
        const auto descriptors = PageDescriptors();
        const LoadedProperties loaded = LoadProperties(record.properties, descriptors);
        if (const PropertyValue* caption = loaded.values.Find(kCaption)) {
            dashboard_.Model().SetPageCaption(index - kUnnamedLabels, caption->AsText());
        }
    } else if (index == kUnnamedLabels + pages + 1) {
        std::vector<std::string> notes;
        if (const auto channels = ChartChannelsOf(record, &notes)) {
            graphs_.SetChannelSettings(*channels);
        }
        for (const std::string& note : notes) {
            messages.append(FromStd(note));
        }
    }
}

void DashboardFileIo::ApplyItemRecord(int id, const StreamComponent& record, QStringList& messages,
                                      std::vector<std::string>& changed) {
    DashboardModel& model = dashboard_.Model();
    const DashboardItem* item = model.Find(id);
    if (item == nullptr) {
        return;
    }
    const std::string className(ItemClassName(item->kind));
    const auto descriptors = StreamedDescriptorsOf(className);
    const LoadedProperties loaded = LoadProperties(record.properties, descriptors);
    itemRead_[id] = record.properties;
    const std::string name = item->name;
    model.SetProperties(id, loaded.values);  // the item's widget takes them in
    const DashboardItem* shown = model.Find(id);
    if (shown == nullptr) {
        return;
    }
    const PropertyChanges changes =
        ChangesOnLoad(record.properties, descriptors, shown->properties, kGeometry);
    if (!changes.keptAsRead.empty()) {
        QString names;
        for (const std::string& kept : changes.keptAsRead) {
            names += (names.isEmpty() ? "" : ", ") + FromStd(kept);
        }
        messages.append(QObject::tr("%1: values of %2 that it cannot show were kept as read.")
                            .arg(FromStd(name), names));
    }
    if (!changes.changed.empty()) {
        std::string line = name + ": ";
        for (std::size_t i = 0; i < changes.changed.size(); ++i) {
            line += (i > 0 ? ", " : "") + changes.changed[i];
        }
        changed.push_back(line + ".");
    }
}

void DashboardFileIo::ApplyTrailer(const LayoutTrailer& trailer) {
    colourRead_ = trailer.colour;
    const QRect saved(trailer.left, trailer.top, trailer.right - trailer.left,
                      trailer.bottom - trailer.top);
    if (saved.width() > 0 && saved.height() > 0) {
        std::vector<QRect> screens;
        for (const QScreen* screen : QGuiApplication::screens()) {
            screens.push_back(screen->availableGeometry());
        }
        window_.setGeometry(OnScreen(saved, screens));
    }
    if (trailer.page >= 0 && trailer.page < tabs_.count()) {
        tabs_.setCurrentIndex(trailer.page);
    }
}

QStringList DashboardFileIo::Save(ConfigurationSet& set) {
    QStringList errors;
    if (auto error = set.WriteLayout(LayoutRecords(), Trailer())) {
        errors.append(FromStd(*error));
    }
    const DashboardModel& model = dashboard_.Model();
    if (auto error = set.WriteGaugeList(GaugeListOf(model, model.NumberForSave()))) {
        errors.append(FromStd(*error));
    }
    return errors;
}

}  // namespace vekaton
