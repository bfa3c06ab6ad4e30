#include "app/analysis/PositionPicker.h"

#include <QCompleter>
#include <QLineEdit>

#include "analysis/ViewSuggestion.h"
#include "decode/ParameterTable.h"

namespace vekaton {

namespace {

QString RefData(ValueRef ref) {
    return QString::fromStdString(ValueRefText(ref));
}

}  // namespace

QString ValueCaption(const ParameterTable& table, ValueRef ref) {
    return QString("%1 (%2)").arg(QString::fromStdString(ValueRefName(table, ref)), RefData(ref));
}

PositionPicker::PositionPicker(const ParameterTable& table, std::function<int()> dataBytes,
                               bool allowNone, QWidget* parent)
    : QComboBox(parent), table_(table), dataBytes_(std::move(dataBytes)), allowNone_(allowNone) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(20);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(16);
    completer()->setFilterMode(Qt::MatchContains);
    completer()->setCompletionMode(QCompleter::PopupCompletion);
    completer()->setCaseSensitivity(Qt::CaseInsensitive);
    lineEdit()->setPlaceholderText(tr("type to search"));
    connect(this, &QComboBox::activated, this, &PositionPicker::IndexChosen);
    connect(lineEdit(), &QLineEdit::editingFinished, this, &PositionPicker::EditingFinished);
    Refill();
}

void PositionPicker::Refill() {
    filling_ = true;
    clear();
    if (allowNone_) {
        addItem(tr("(none)"), QString());
    }
    bool found = !ref_;
    for (const ValueRef ref : AvailableValueRefs(table_, dataBytes_())) {
        addItem(ValueCaption(table_, ref), RefData(ref));
        found = found || ref == ref_;
    }
    if (!found) {
        // A choice the definitions no longer give stays, named as it is, until another is made.
        addItem(tr("position %1 (no definition)").arg(RefData(*ref_)), RefData(*ref_));
    }
    const int index = ref_ ? findData(RefData(*ref_)) : (allowNone_ ? 0 : -1);
    setCurrentIndex(index);
    if (index < 0) {
        setEditText(QString());
    }
    filling_ = false;
}

void PositionPicker::SetRef(std::optional<ValueRef> ref) {
    if (!allowNone_ && !ref) {
        return;
    }
    const bool changed = ref != ref_;
    ref_ = ref;
    Refill();
    if (changed) {
        emit refChanged();
    }
}

void PositionPicker::showPopup() {
    Refill();
    QComboBox::showPopup();
}

void PositionPicker::IndexChosen(int index) {
    if (filling_ || index < 0) {
        return;
    }
    const QString text = itemData(index).toString();
    const std::optional<ValueRef> ref =
        text.isEmpty() ? std::nullopt : ParseValueRef(text.toStdString());
    if (ref != ref_) {
        ref_ = ref;
        emit refChanged();
    }
}

bool PositionPicker::TakeText(const QString& typed) {
    const QString text = typed.trimmed();
    int index = findText(text, Qt::MatchFixedString);
    if (index < 0) {
        if (const auto ref = ParseValueRef(text.toStdString())) {
            index = findData(RefData(*ref));
        }
    }
    if (index < 0 && !text.isEmpty()) {
        // A part of one caption only: that one.
        int only = -1;
        for (int i = 0; i < count(); ++i) {
            if (itemText(i).contains(text, Qt::CaseInsensitive)) {
                only = only < 0 ? i : -2;
            }
        }
        index = only >= 0 ? only : -1;
    }
    if (index < 0) {
        Refill();  // back to the choice in force
        return false;
    }
    setCurrentIndex(index);
    IndexChosen(index);
    return true;
}

void PositionPicker::EditingFinished() {
    if (!filling_ && currentText() != itemText(currentIndex())) {
        TakeText(currentText());
    }
}

}  // namespace vekaton
