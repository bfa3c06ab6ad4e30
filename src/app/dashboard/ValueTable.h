#pragma once

#include <QWidget>
#include <functional>

#include "dashboard/ItemKinds.h"
#include "dashboard/ValueStatistics.h"
#include "engine/LinkCounters.h"

class QLabel;
class QMenu;
class QTableView;
class QTimer;

namespace vekaton {

class DetailsTable;
class ParameterTable;
class ValueTableModel;

// Every position's current value as a number: position, description, raw bytes in hex, value,
// the lowest and highest value since the last reset, and the unit, with the link's counters
// above. It
// shows what the decoder holds, refreshed at most ten times a second and only when frames came.
// A double-click edits the position's definition; the menu adds an instrument showing it.
class ValueTable : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kRefreshMs = 100;

    // What the table reads besides the parameter table: the frame's data bytes and the
    // link counters.
    struct Sources {
        std::function<int()> dataBytes;
        std::function<LinkCounters()> counters;
    };

    ValueTable(const ParameterTable& table, const DetailsTable& details, Sources sources,
               QWidget* parent = nullptr);
    ~ValueTable() override;

    // A frame was decoded (received or played back): its values count for min and max.
    void FrameCompleted();
    // Definitions changed: the rows again.
    void DefinitionsChanged();
    void ResetMinMax();
    // Another set was loaded: its table holds no readings until the next frame.
    void ForgetFrames();
    // Brings the shown values up to date now (the timer does it on its own).
    void Refresh();

    ValueTableModel& Model() { return *model_; }
    QTableView& View() { return *view_; }
    QString SummaryText() const;
    // The row's menu, built but not shown.
    QMenu* BuildMenu(int row, QWidget* parent);

  signals:
    void editRequested(int position);
    void addRequested(ItemKind kind, int position, int bit);

  private:
    void Tick();
    void ShowMenu(const QPoint& point);

    const ParameterTable& table_;
    Sources sources_;
    ValueStatistics statistics_;
    ValueTableModel* model_ = nullptr;
    QTableView* view_ = nullptr;
    QLabel* summary_ = nullptr;
    QTimer* timer_ = nullptr;
    int rowsForBytes_ = -1;
    bool dirty_ = true;
    bool sawFrame_ = false;
};

}  // namespace vekaton
