#include "app/dashboard/DashboardView.h"

#include "app/dashboard/DashboardPage.h"
#include "widgets/InstrumentWidget.h"
#include "widgets/ItemWidgetFactory.h"
#include "widgets/RangeInstrument.h"
#include "widgets/TAnalogDisplay.h"
#include "widgets/TButton.h"
#include "widgets/TLedRound.h"
#include "widgets/TOdometer.h"
#include "widgets/TSevenSegmentAnalog.h"

namespace vekaton {

DashboardView::DashboardView(DashboardModel& model, std::vector<DashboardPage*> pages,
                             QObject* parent)
    : QObject(parent), model_(model), pages_(std::move(pages)) {
    model_.SetChangeObserver([this](int id) { ItemChanged(id); });
    model_.SetObserver([this](int id) { LiveChanged(id); });
    for (const DashboardItem& item : model_.Items()) {
        if (!item.removed) {
            ItemChanged(item.id);
        }
    }
}

DashboardView::~DashboardView() {
    model_.SetChangeObserver({});
    model_.SetObserver({});
}

InstrumentWidget* DashboardView::WidgetOf(int id) const {
    return DashboardModel::IsValidId(id) ? widgets_[static_cast<std::size_t>(id)] : nullptr;
}

int DashboardView::ItemAt(const QWidget* widget) const {
    for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        const QVariant tag = w->property("Tag");
        if (tag.isValid() && model_.Find(tag.toInt()) != nullptr) {
            return tag.toInt();
        }
    }
    return 0;
}

int DashboardView::MovableItem(int id) const {
    const DashboardItem* item = model_.Find(id);
    if (item != nullptr && item->parentId != 0 && model_.Find(item->parentId) != nullptr) {
        return item->parentId;
    }
    return item != nullptr ? id : 0;
}

DashboardPage* DashboardView::Page(int index) const {
    if (pages_.empty()) {
        return nullptr;
    }
    // A page beyond the last (only a damaged list can say so) means the last page.
    const auto clamped = static_cast<std::size_t>(std::clamp(index, 0, PageCount() - 1));
    return pages_[clamped];
}

InstrumentWidget* DashboardView::Create(const DashboardItem& item) {
    QWidget* parent = Page(item.page);
    if (item.parentId != 0) {
        if (InstrumentWidget* panel = WidgetOf(item.parentId)) {
            parent = panel;
        }
    }
    std::unique_ptr<InstrumentWidget> created =
        CreateItemWidget(std::string(ItemClassName(item.kind)), parent);
    if (created == nullptr) {
        return nullptr;
    }
    InstrumentWidget* widget = created.release();  // owned by its parent from here
    widget->setObjectName(QString::fromStdString(item.name));
    widget->setProperty("Tag", item.id);
    if (auto* button = qobject_cast<TButton*>(widget)) {
        const int id = item.id;
        connect(button, &TButton::clicked, this, [this, id] { emit resetClicked(id); });
    }
    widgets_[static_cast<std::size_t>(item.id)] = widget;
    emit widgetCreated(widget);
    return widget;
}

void DashboardView::ItemChanged(int id) {
    if (!DashboardModel::IsValidId(id)) {
        return;
    }
    QPointer<InstrumentWidget>& slot = widgets_[static_cast<std::size_t>(id)];
    const DashboardItem* item = model_.Slot(id);
    if (item == nullptr) {
        delete slot.data();  // the model was cleared
        slot = nullptr;
        return;
    }
    if (item->removed) {
        if (slot != nullptr) {
            slot->hide();
            slot->setEnabled(false);
        }
        return;
    }
    InstrumentWidget* widget = slot != nullptr ? slot.data() : Create(*item);
    if (widget == nullptr) {
        return;
    }
    widget->ImportStreamed(item->properties);
    widget->setEnabled(true);
    widget->setProperty("Tag", id);
    widget->SetDimmed(noData_ && model_.Binding(id).position > 0);
    ShowLive(*item, *widget);
    widget->show();
    if (DashboardPage* page = Page(item->page); page != nullptr && item->parentId == 0) {
        page->FitToItems();
    }
    // What the widget made of the properties (clamped values, a label's own size) becomes
    // the model's, so that the model says what is shown.
    if (!normalising_) {
        const PropertyBag shown = widget->ChangedStreamed();
        if (!(shown == item->properties)) {
            normalising_ = true;
            model_.SetProperties(id, shown);
            normalising_ = false;
        }
    }
}

void DashboardView::LiveChanged(int id) {
    InstrumentWidget* widget = WidgetOf(id);
    const DashboardItem* item = model_.Find(id);
    if (widget != nullptr && item != nullptr) {
        ShowLive(*item, *widget);
    }
}

void DashboardView::ShowLive(const DashboardItem& item, InstrumentWidget& widget) {
    switch (item.kind) {
        case ItemKind::AngularGauge:
        case ItemKind::Thermometer: {
            auto& range = static_cast<RangeInstrument&>(widget);
            range.SetPosition(item.position);
            range.SetCurrentMinimum(item.minMarker);
            range.SetCurrentMaximum(item.maxMarker);
            break;
        }
        case ItemKind::SevenSegmentAnalog: {
            auto& display = static_cast<TSevenSegmentAnalog&>(widget);
            display.SetValue(item.value);
            display.SetNoValue(item.noValue);
            break;
        }
        case ItemKind::AnalogDisplay: {
            auto& display = static_cast<TAnalogDisplay&>(widget);
            display.SetValue(item.value);
            display.SetNoValue(item.noValue);
            break;
        }
        case ItemKind::Odometer:
            static_cast<TOdometer&>(widget).SetValue(item.value);
            break;
        case ItemKind::LedRound:
            static_cast<TLedRound&>(widget).SetActive(item.active);
            break;
        case ItemKind::Label:
        case ItemKind::Panel:
        case ItemKind::ResetButton:
            break;
    }
}

void DashboardView::SetNoData(bool noData) {
    noData_ = noData;
    for (const int id : model_.LiveIds()) {
        if (InstrumentWidget* widget = WidgetOf(id)) {
            widget->SetDimmed(noData && model_.Binding(id).position > 0);
        }
    }
}

void DashboardView::RefreshPageCaptions() {
    for (int page = 0; page < PageCount(); ++page) {
        const std::string caption = model_.PageCaption(page);
        emit pageCaptionChanged(
            page, caption.empty() ? tr("Page %1").arg(page + 1) : QString::fromStdString(caption));
    }
}

}  // namespace vekaton
