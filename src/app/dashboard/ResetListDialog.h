#pragma once

#include <QDialog>
#include <optional>

#include "dashboard/DashboardModel.h"

class QCheckBox;
class QListWidget;
class QSpinBox;

namespace vekaton {

class ParameterTable;

// What a reset button resets: the items, picked from a list of the dashboard's gauges and
// displays by name and what they show, and the values their markers go back to ("the current
// value", or a number).
class ResetListDialog : public QDialog {
    Q_OBJECT

  public:
    ResetListDialog(const DashboardModel& model, const ParameterTable& table, int buttonId,
                    QWidget* parent = nullptr);

    ResetButtonEntry Entry() const;
    // For tests: tick an item, set a preset (nothing: the current value).
    bool SetChecked(int id, bool checked);
    void SetMinPreset(std::optional<int> value);
    void SetMaxPreset(std::optional<int> value);

  private:
    const DashboardModel& model_;
    QListWidget* list_ = nullptr;
    QCheckBox* minCurrent_ = nullptr;
    QSpinBox* minValue_ = nullptr;
    QCheckBox* maxCurrent_ = nullptr;
    QSpinBox* maxValue_ = nullptr;
};

// Whether a reset button can do anything to an item of this kind.
bool IsResettable(ItemKind kind);

// "USERANGULARGAUGE1 - Engine speed rpm", for lists that name items to a user.
QString DescribeItem(const DashboardModel& model, const ParameterTable& table, int id);

}  // namespace vekaton
