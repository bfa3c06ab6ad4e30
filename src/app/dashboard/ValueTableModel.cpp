#include "app/dashboard/ValueTableModel.h"

#include <QBrush>
#include <QColor>
#include <cmath>

#include "app/dashboard/DashboardTexts.h"
#include "dashboard/BindingSlots.h"
#include "dashboard/ValueStatistics.h"
#include "decode/ParameterTable.h"

namespace vekaton {
namespace {

QString Hex(int byte) {
    return "$" + QString("%1").arg(byte, 2, 16, QChar('0')).toUpper();
}

QString OnOff(bool on) {
    return on ? dashtexts::kOn : dashtexts::kOff;
}

}  // namespace

QString FormatValue(double value) {
    if (!std::isfinite(value)) {
        return QString::number(value);
    }
    if (std::abs(value) >= 1e9) {
        return QString::number(value, 'g', 10);
    }
    QString text = QString::number(value, 'f', 3);
    while (text.endsWith('0')) {
        text.chop(1);
    }
    if (text.endsWith('.')) {
        text.chop(1);
    }
    return text == "-0" ? QString("0") : text;
}

ValueTableModel::ValueTableModel(const ParameterTable& table, const ValueStatistics& statistics,
                                 QObject* parent)
    : QAbstractTableModel(parent), table_(table), statistics_(statistics) {}

void ValueTableModel::Rebuild(int dataBytes) {
    beginResetModel();
    rows_.clear();
    int coveredUntil = 0;
    for (int p = ParameterTable::kFirstPosition; p <= ParameterTable::kLastPosition; ++p) {
        const ParameterRecord& record = table_.At(p);
        if (record.IsDigital) {
            bool any = false;
            for (int bit = 0; bit < 8; ++bit) {
                if (!record.Descriptions[static_cast<std::size_t>(bit)].empty()) {
                    rows_.push_back(Row{p, bit, 1, true});
                    any = true;
                }
            }
            if (!any && p <= dataBytes && p > coveredUntil) {
                rows_.push_back(Row{p, -1, 1, false});
            }
            continue;
        }
        const bool defined = !record.Descriptions[0].empty() || !record.Formula().empty();
        if (defined) {
            const int last = LastBytePosition(p, record.ByteCount);
            rows_.push_back(Row{p, -1, last == 0 ? 1 : last - p + 1, true});
            coveredUntil = std::max(coveredUntil, last);
        } else if (p <= dataBytes && p > coveredUntil) {
            rows_.push_back(Row{p, -1, 1, false});
        }
    }
    endResetModel();
}

void ValueTableModel::RefreshValues() {
    if (!rows_.empty()) {
        emit dataChanged(index(0, kRaw), index(static_cast<int>(rows_.size()) - 1, kMax),
                         {Qt::DisplayRole});
    }
}

const ValueTableModel::Row* ValueTableModel::RowAt(int row) const {
    return row >= 0 && static_cast<std::size_t>(row) < rows_.size()
               ? &rows_[static_cast<std::size_t>(row)]
               : nullptr;
}

int ValueTableModel::RowOf(int position, int bit) const {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].position == position && rows_[i].bit == bit) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

QString ValueTableModel::CellText(int row, int column) const {
    const Row* r = RowAt(row);
    if (r == nullptr) {
        return {};
    }
    const ParameterRecord& record = table_.At(r->position);
    const int last = r->position + r->byteCount - 1;
    switch (column) {
        case kPosition:
            return r->bit >= 0 ? QString("%1.%2").arg(r->position).arg(r->bit)
                               : QString::number(r->position);
        case kDescription:
            if (!r->defined) {
                return dashtexts::kEditorNotDefined;
            }
            return QString::fromStdString(
                record.Descriptions[static_cast<std::size_t>(std::max(r->bit, 0))]);
        case kRaw: {
            QStringList bytes;
            for (int p = r->position; p <= last; ++p) {
                bytes.append(Hex(table_.At(p).RawByte));
            }
            return bytes.join(' ');
        }
        case kValue:
            if (r->bit >= 0) {
                return OnOff(record.Bits[static_cast<std::size_t>(r->bit)]);
            }
            // A faulted formula gives no value; the raw column still shows the bytes.
            return table_.At(last).HasValue ? FormatValue(table_.At(last).Value)
                                            : QString::fromUtf8("\u2014");
        case kMin:
        case kMax: {
            if (r->bit >= 0) {
                const int mask = 1 << r->bit;
                const bool seenSet = (statistics_.BitsSeenSet(r->position) & mask) != 0;
                const bool seenClear = (statistics_.BitsSeenClear(r->position) & mask) != 0;
                if (!seenSet && !seenClear) {
                    return {};
                }
                return OnOff(column == kMin ? !seenClear : seenSet);
            }
            const auto range = statistics_.Of(last);
            if (!range) {
                return {};
            }
            return FormatValue(column == kMin ? range->minimum : range->maximum);
        }
        default:
            return {};
    }
}

int ValueTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ValueTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant ValueTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return CellText(index.row(), index.column());
    }
    if (role == Qt::TextAlignmentRole && index.column() != kDescription) {
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    }
    const Row* row = RowAt(index.row());
    if (role == Qt::ForegroundRole && row != nullptr && !row->defined) {
        return QBrush(QColor(128, 128, 128));
    }
    return {};
}

QVariant ValueTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    switch (section) {
        case kPosition:
            return dashtexts::kColumnPosition;
        case kDescription:
            return dashtexts::kColumnDescription;
        case kRaw:
            return dashtexts::kColumnRaw;
        case kValue:
            return dashtexts::kColumnValue;
        case kMin:
            return dashtexts::kColumnMin;
        case kMax:
            return dashtexts::kColumnMax;
        default:
            return {};
    }
}

}  // namespace vekaton
