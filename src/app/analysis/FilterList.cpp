#include "app/analysis/FilterList.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "analysis/AnalysisNumbers.h"
#include "app/analysis/PositionPicker.h"
#include "common/FloatText.h"

namespace vekaton {

namespace {

constexpr CompareOp kOps[] = {CompareOp::Less,         CompareOp::LessEqual, CompareOp::Greater,
                              CompareOp::GreaterEqual, CompareOp::Equal,     CompareOp::NotEqual};

}  // namespace

FilterList::FilterList(const ParameterTable& table, std::function<int()> dataBytes, QWidget* parent)
    : QWidget(parent), table_(table), dataBytes_(std::move(dataBytes)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    rowsLayout_ = new QVBoxLayout;
    rowsLayout_->setSpacing(2);
    layout->addLayout(rowsLayout_);
    auto* add = new QPushButton(tr("Add Filter"));
    add->setObjectName("AddFilter");
    add->setToolTip(tr("Add a condition that every frame counted must meet"));
    connect(add, &QPushButton::clicked, this, [this] { AddRow(); });
    layout->addWidget(add, 0, Qt::AlignLeft);
}

void FilterList::AddRow(const Condition* condition) {
    Row row;
    row.widget = new QWidget;
    auto* line = new QHBoxLayout(row.widget);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(3);
    row.picker = new PositionPicker(table_, dataBytes_, false);
    row.picker->setMinimumContentsLength(10);
    row.op = new QComboBox;
    row.number = new QLineEdit;
    row.number->setMaximumWidth(70);
    row.number->setPlaceholderText(tr("number"));
    auto* remove = new QToolButton;
    remove->setText(QString::fromUtf8("\u2715"));
    remove->setToolTip(tr("Remove this filter"));
    line->addWidget(row.picker, 1);
    line->addWidget(row.op);
    line->addWidget(row.number);
    line->addWidget(remove);
    rowsLayout_->addWidget(row.widget);
    if (condition != nullptr) {
        row.picker->SetRef(condition->ref);
        // A bit is 0 or 1: a condition that holds for exactly one of them is "on" or "off";
        // any other ("18.0>=0", always true) keeps its comparison, so that nothing changes
        // meaning by being shown.
        const bool onHolds = condition->Holds(1.0);
        row.numeric = condition->ref.IsBit() && onHolds == condition->Holds(0.0);
    }
    rows_.push_back(row);
    FitRowToRef(rows_.back());
    if (condition != nullptr) {
        Row& added = rows_.back();
        if (condition->ref.IsBit() && !added.numeric) {
            added.op->setCurrentIndex(condition->Holds(1.0) ? 0 : 1);
        } else {
            added.op->setCurrentIndex(static_cast<int>(condition->op));
            added.number->setText(QString::fromStdString(ShortestFloatText(condition->number)));
        }
    }
    QWidget* widget = row.widget;
    connect(row.picker, &PositionPicker::refChanged, this, [this, widget] {
        for (Row& each : rows_) {
            if (each.widget == widget) {
                each.numeric = false;
                FitRowToRef(each);
            }
        }
        emit edited();
    });
    connect(row.op, &QComboBox::currentIndexChanged, this, &FilterList::edited);
    connect(row.number, &QLineEdit::textEdited, this, &FilterList::edited);
    connect(remove, &QToolButton::clicked, this, [this, widget] {
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            if (rows_[i].widget == widget) {
                RemoveRow(static_cast<int>(i));
                return;
            }
        }
    });
    emit edited();
}

void FilterList::RemoveRow(int row) {
    if (row < 0 || row >= RowCount()) {
        return;
    }
    const auto at = rows_.begin() + row;
    at->widget->hide();
    at->widget->deleteLater();
    rows_.erase(at);
    emit edited();
}

// A flag bit is on or off; a value is compared with a number.
void FilterList::FitRowToRef(Row& row) {
    const bool bit = row.picker->Ref() && row.picker->Ref()->IsBit() && !row.numeric;
    const bool wasBit = row.op->count() == 2;
    if (row.op->count() > 0 && bit == wasBit) {
        return;
    }
    row.op->blockSignals(true);
    row.op->clear();
    if (bit) {
        row.op->addItems({tr("is on"), tr("is off")});
    } else {
        for (const CompareOp op : kOps) {
            row.op->addItem(QString::fromStdString(std::string(CompareOpText(op))));
        }
        row.op->setCurrentIndex(static_cast<int>(CompareOp::GreaterEqual));
    }
    row.op->blockSignals(false);
    row.number->setVisible(!bit);
}

std::vector<Condition> FilterList::Conditions(QString* error) const {
    std::vector<Condition> conditions;
    QStringList problems;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const Row& row = rows_[i];
        const auto ref = row.picker->Ref();
        if (!ref) {
            problems << tr("filter %1 has no value chosen").arg(i + 1);
            continue;
        }
        Condition condition;
        condition.ref = *ref;
        if (ref->IsBit() && !row.numeric) {
            condition.op = CompareOp::Equal;
            condition.number = row.op->currentIndex() == 0 ? 1.0 : 0.0;
        } else {
            const auto number = ParseFiniteNumber(row.number->text().toStdString());
            if (!number) {
                problems
                    << tr("filter %1: '%2' is not a number").arg(i + 1).arg(row.number->text());
                continue;
            }
            condition.op = kOps[std::clamp(row.op->currentIndex(), 0, 5)];
            condition.number = *number;
        }
        conditions.push_back(condition);
    }
    if (error != nullptr) {
        *error = problems.join("; ");
    }
    return conditions;
}

void FilterList::SetConditions(const std::vector<Condition>& conditions) {
    while (!rows_.empty()) {
        RemoveRow(RowCount() - 1);
    }
    for (const Condition& condition : conditions) {
        AddRow(&condition);
    }
}

}  // namespace vekaton
