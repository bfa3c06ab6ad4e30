#pragma once

#include <QObject>
#include <QPointer>
#include <array>
#include <vector>

#include "dashboard/DashboardModel.h"

class QWidget;

namespace vekaton {

class DashboardPage;
class InstrumentWidget;

// The widgets of the dashboard items, kept in step with the model: an item that appears gets
// its widget on its page (a digital LED inside its panel's), a removed one is hidden and
// disabled, changed properties are imported, and live readings are shown as they change. The
// model is the truth; nothing here is written back except what a widget makes of a property
// (a label's size follows its caption).
class DashboardView : public QObject {
    Q_OBJECT

  public:
    DashboardView(DashboardModel& model, std::vector<DashboardPage*> pages,
                  QObject* parent = nullptr);
    ~DashboardView() override;

    InstrumentWidget* WidgetOf(int id) const;
    // The item a widget belongs to (itself or an ancestor on the page); 0 for none.
    int ItemAt(const QWidget* widget) const;
    // The item that moves when this one is dragged: a digital LED moves with its panel.
    int MovableItem(int id) const;
    DashboardPage* Page(int index) const;
    int PageCount() const { return static_cast<int>(pages_.size()); }
    // Greys out the instruments that show a position, while the link brings no data.
    void SetNoData(bool noData);
    bool NoData() const { return noData_; }
    // While the chart shows, readings go on into the model but the instruments are not
    // repainted; they catch up with the model when shown again.
    void SetLiveShown(bool shown);
    bool LiveShown() const { return liveShown_; }
    // Page captions from the model (the page's own name where none was given).
    void RefreshPageCaptions();

  signals:
    void resetClicked(int id);
    void pageCaptionChanged(int page, const QString& caption);
    // Every new item widget, so that design mode can watch its mouse.
    void widgetCreated(QWidget* widget);

  private:
    void ItemChanged(int id);
    void LiveChanged(int id);
    InstrumentWidget* Create(const DashboardItem& item);
    void ShowLive(const DashboardItem& item, InstrumentWidget& widget);

    DashboardModel& model_;
    std::vector<DashboardPage*> pages_;
    // By ID. Guarded: a panel takes its LED's widget with it when it goes.
    std::array<QPointer<InstrumentWidget>, DashboardModel::kLastId + 1> widgets_{};
    bool noData_ = false;
    bool normalising_ = false;
    bool liveShown_ = true;
    std::vector<int> behind_;  // items whose readings changed while not shown
};

}  // namespace vekaton
