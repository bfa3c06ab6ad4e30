#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "analysis/Condition.h"

class QComboBox;
class QLineEdit;
class QVBoxLayout;

namespace vekaton {

class ParameterTable;
class PositionPicker;

// The filters of a view: a list of conditions that must all hold, each a value of the set, a
// comparison and a number (<, <=, >, >=, =, != for a value; "is on" or "is off" for a flag
// bit), with a button to add one and one per row to remove it.
class FilterList : public QWidget {
    Q_OBJECT

  public:
    FilterList(const ParameterTable& table, std::function<int()> dataBytes,
               QWidget* parent = nullptr);

    // The conditions as typed; empty `error` when every row reads, else what is wrong (the
    // rows that do read are returned all the same).
    std::vector<Condition> Conditions(QString* error) const;
    void SetConditions(const std::vector<Condition>& conditions);
    int RowCount() const { return static_cast<int>(rows_.size()); }
    // Adds a row, of the condition given or an empty one.
    void AddRow(const Condition* condition = nullptr);
    void RemoveRow(int row);

  signals:
    void edited();

  private:
    struct Row {
        QWidget* widget = nullptr;
        PositionPicker* picker = nullptr;
        QComboBox* op = nullptr;
        QLineEdit* number = nullptr;
        bool numeric = false;  // a bit compared with a number, not "is on" / "is off"
    };
    void FitRowToRef(Row& row);

    const ParameterTable& table_;
    std::function<int()> dataBytes_;
    QVBoxLayout* rowsLayout_ = nullptr;
    std::vector<Row> rows_;
};

}  // namespace vekaton
