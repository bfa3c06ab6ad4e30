#pragma once

#include <QAbstractTableModel>
#include <functional>
#include <vector>

#include "warnings/WarningMonitor.h"

namespace vekaton {

class DetailsTable;
class ParameterTable;
class ValueStatistics;

// The rows of the value table: every defined position (a digital one with a row per described
// bit), and the undefined positions of the frame, so that a user with no definitions yet still
// sees every byte. A multi-byte value is one row, read at its last byte. The unit column gives
// the unit the details name for a value.
class ValueTableModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    // The unit stands beside the value, where a narrow dock still shows it.
    enum Column { kPosition, kDescription, kRaw, kValue, kUnit, kMin, kMax, kColumnCount };

    struct Row {
        int position = 0;
        int bit = -1;  // a digital position's bit; -1 for a value
        int byteCount = 1;
        bool defined = true;
    };

    ValueTableModel(const ParameterTable& table, const DetailsTable& details,
                    const ValueStatistics& statistics, QObject* parent = nullptr);

    // The rows again, after definitions or the frame length changed.
    void Rebuild(int dataBytes);
    // The value columns changed (new frames).
    void RefreshValues();
    const Row* RowAt(int row) const;
    int RowOf(int position, int bit = -1) const;  // -1 when not listed
    QString CellText(int row, int column) const;

    // Where the rows' warnings come from: the level of a position (bit -1 for its value). Rows
    // of values beyond their limits are red.
    using WarningSource = std::function<WarningLevel(int position, int bit)>;
    void SetWarningSource(WarningSource source) { warnings_ = std::move(source); }
    WarningLevel WarningOf(int row) const;
    // The warnings changed: the rows are coloured again.
    void RefreshWarnings();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    const ParameterTable& table_;
    const DetailsTable& details_;
    const ValueStatistics& statistics_;
    std::vector<Row> rows_;
    WarningSource warnings_;
};

// A value as the table shows it: at most three decimals, no trailing zeros.
QString FormatValue(double value);

}  // namespace vekaton
