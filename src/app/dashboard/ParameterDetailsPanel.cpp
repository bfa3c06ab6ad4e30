#include "app/dashboard/ParameterDetailsPanel.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/dashboard/DashboardTexts.h"
#include "set/DetailsFile.h"

namespace vekaton {
namespace {

QString NumberText(const std::optional<double>& value) {
    return value ? QString::fromStdString(DetailNumberText(*value)) : QString();
}

QLineEdit* NumberEdit(const QString& name) {
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    edit->setPlaceholderText(dashtexts::kDetailsNone);
    edit->setMaximumWidth(110);
    return edit;
}

// Both ends of a pair of fields side by side: "[ 0 ] to [ 8000 ]".
QHBoxLayout* Pair(QLineEdit* first, const QString& between, QLineEdit* second) {
    auto* row = new QHBoxLayout;
    row->addWidget(first);
    row->addWidget(new QLabel(between));
    row->addWidget(second);
    row->addStretch(1);
    return row;
}

}  // namespace

ParameterDetailsPanel::ParameterDetailsPanel(QWidget* parent) : QWidget(parent) {
    setObjectName("DetailsPanel");
    auto* form = new QFormLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    unit_ = new QLineEdit;
    unit_->setObjectName("Unit");
    unit_->setPlaceholderText(dashtexts::kDetailsUnitHint);
    unit_->setMaximumWidth(160);
    form->addRow(dashtexts::kDetailsUnit, unit_);

    minimum_ = NumberEdit("RangeMinimum");
    maximum_ = NumberEdit("RangeMaximum");
    form->addRow(dashtexts::kDetailsRange, Pair(minimum_, dashtexts::kDetailsTo, maximum_));
    auto* proposalRow = new QHBoxLayout;
    proposalText_ = new QLabel;
    proposalText_->setObjectName("Proposal");
    proposalText_->setStyleSheet("QLabel { color: #505050; }");
    useProposal_ = new QPushButton(dashtexts::kDetailsUseProposal);
    useProposal_->setObjectName("UseProposal");
    proposalRow->addWidget(proposalText_);
    proposalRow->addWidget(useProposal_);
    proposalRow->addStretch(1);
    form->addRow(QString(), proposalRow);

    warnLow_ = NumberEdit("WarnLow");
    warnHigh_ = NumberEdit("WarnHigh");
    form->addRow(dashtexts::kDetailsWarnings, Pair(warnLow_, "/", warnHigh_));
    decimals_ = new QSpinBox;
    decimals_->setObjectName("Decimals");
    decimals_->setRange(-1, kMaxDetailsDecimals);
    decimals_->setSpecialValueText(dashtexts::kDetailsDecimalsAuto);
    form->addRow(dashtexts::kDetailsDecimals, decimals_);
    alarm_ = new QCheckBox(dashtexts::kDetailsAlarm);
    alarm_->setObjectName("Alarm");
    form->addRow(QString(), alarm_);
    valueNames_ = new QPlainTextEdit;
    valueNames_->setObjectName("ValueNames");
    valueNames_->setPlaceholderText(dashtexts::kDetailsValueNamesHint);
    valueNames_->setTabChangesFocus(true);
    valueNames_->setFixedHeight(valueNames_->fontMetrics().lineSpacing() * 3 + 12);
    form->addRow(dashtexts::kDetailsValueNames, valueNames_);

    for (int bit = 0; bit < 8; ++bit) {
        const auto b = static_cast<std::size_t>(bit);
        auto* row = new QWidget(this);
        auto* layout = new QHBoxLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        whenClear_[b] = new QCheckBox(dashtexts::kBitWhenClear);
        whenClear_[b]->setToolTip(dashtexts::kBitWhenClearTip);
        bitAlarm_[b] = new QCheckBox(dashtexts::kBitAlarm);
        bitAlarm_[b]->setToolTip(dashtexts::kBitAlarmTip);
        layout->addWidget(whenClear_[b]);
        layout->addWidget(bitAlarm_[b]);
        bitRows_[b] = row;
        for (QCheckBox* box : {whenClear_[b], bitAlarm_[b]}) {
            connect(box, &QCheckBox::toggled, this, &ParameterDetailsPanel::changed);
        }
    }

    for (QLineEdit* edit : {unit_, minimum_, maximum_, warnLow_, warnHigh_}) {
        connect(edit, &QLineEdit::textChanged, this, &ParameterDetailsPanel::changed);
    }
    for (QLineEdit* edit : {minimum_, maximum_}) {
        connect(edit, &QLineEdit::textChanged, this, &ParameterDetailsPanel::ShowProposal);
    }
    connect(decimals_, &QSpinBox::valueChanged, this, &ParameterDetailsPanel::changed);
    connect(alarm_, &QCheckBox::toggled, this, &ParameterDetailsPanel::changed);
    connect(valueNames_, &QPlainTextEdit::textChanged, this, &ParameterDetailsPanel::changed);
    connect(useProposal_, &QPushButton::clicked, this, &ParameterDetailsPanel::UseProposal);
    ShowProposal();
}

void ParameterDetailsPanel::Load(const DetailsEdit& details) {
    const PositionDetails& d = details.position;
    unit_->setText(QString::fromStdString(d.unit));
    minimum_->setText(NumberText(d.displayMin));
    maximum_->setText(NumberText(d.displayMax));
    warnLow_->setText(NumberText(d.warnLow));
    warnHigh_->setText(NumberText(d.warnHigh));
    decimals_->setValue(d.decimals.value_or(-1));
    alarm_->setChecked(d.alarm);
    valueNames_->setPlainText(QString::fromStdString(ValueNamesText(d.valueNames)));
    for (std::size_t b = 0; b < 8; ++b) {
        whenClear_[b]->setChecked(details.bits[b].activeWhenClear);
        bitAlarm_[b]->setChecked(details.bits[b].alarm);
    }
}

DetailsEdit ParameterDetailsPanel::Pending(const DetailsEdit& base) const {
    DetailsEdit edit = base;
    PositionDetails& d = edit.position;
    d.unit = unit_->text().trimmed().toStdString();
    // A field that does not read keeps what was there; Problem() says why.
    ParseOptionalNumber(minimum_->text().toStdString(), &d.displayMin);
    ParseOptionalNumber(maximum_->text().toStdString(), &d.displayMax);
    ParseOptionalNumber(warnLow_->text().toStdString(), &d.warnLow);
    ParseOptionalNumber(warnHigh_->text().toStdString(), &d.warnHigh);
    d.decimals = decimals_->value() < 0 ? std::nullopt : std::optional<int>(decimals_->value());
    d.alarm = alarm_->isChecked();
    const ValueNamesRead names = ParseValueNames(valueNames_->toPlainText().toStdString());
    if (names.badLine == 0) {
        d.valueNames = names.names;
    }
    for (std::size_t b = 0; b < 8; ++b) {
        edit.bits[b].activeWhenClear = whenClear_[b]->isChecked();
        edit.bits[b].alarm = bitAlarm_[b]->isChecked();
    }
    return edit;
}

QString ParameterDetailsPanel::Problem() const {
    const std::pair<QLineEdit*, const char*> numbers[] = {
        {minimum_, dashtexts::kDetailsRange},
        {maximum_, dashtexts::kDetailsRange},
        {warnLow_, dashtexts::kDetailsWarnings},
        {warnHigh_, dashtexts::kDetailsWarnings},
    };
    for (const auto& [edit, name] : numbers) {
        std::optional<double> unused;
        if (!ParseOptionalNumber(edit->text().toStdString(), &unused)) {
            return QString(dashtexts::kProblemNumber).arg(name, edit->text().trimmed());
        }
    }
    const ValueNamesRead names = ParseValueNames(valueNames_->toPlainText().toStdString());
    if (names.badLine != 0) {
        return QString(dashtexts::kProblemValueNames).arg(names.badLine);
    }
    switch (CheckDetails(Pending({}).position)) {
        case DetailsProblem::RangeHalf:
            return dashtexts::kProblemRangeHalf;
        case DetailsProblem::RangeEmpty:
            return dashtexts::kProblemRangeEmpty;
        case DetailsProblem::WarningsCrossed:
            return dashtexts::kProblemWarnings;
        case DetailsProblem::DecimalsOutside:
        case DetailsProblem::None:
            break;
    }
    return {};
}

void ParameterDetailsPanel::ProposeFor(const std::string& formula, int byteCount) {
    if (proposedOnce_ && formula == proposedFormula_ && byteCount == proposedBytes_) {
        return;  // a sweep of two bytes is 65536 evaluations: not again for every keystroke
    }
    proposedOnce_ = true;
    proposedFormula_ = formula;
    proposedBytes_ = byteCount;
    // Without a formula the position shows its raw byte.
    const std::optional<ValueRange> range = formula.empty()
                                                ? std::optional<ValueRange>(ValueRange{0.0, 255.0})
                                                : ProposeRange(formula, byteCount);
    proposal_ = range ? std::optional<ScaleRange>(RoundedScale(*range)) : std::nullopt;
    ShowProposal();
}

void ParameterDetailsPanel::ShowProposal() {
    const bool rangeTyped =
        !minimum_->text().trimmed().isEmpty() || !maximum_->text().trimmed().isEmpty();
    const bool offered = proposal_.has_value() && !rangeTyped;
    if (offered) {
        proposalText_->setText(
            QString(dashtexts::kDetailsProposal)
                .arg(QString::fromStdString(DetailNumberText(proposal_->range.minimum)),
                     QString::fromStdString(DetailNumberText(proposal_->range.maximum))));
    }
    proposalText_->setVisible(offered);
    useProposal_->setVisible(offered);
}

bool ParameterDetailsPanel::UseProposal() {
    if (!proposal_) {
        return false;
    }
    minimum_->setText(QString::fromStdString(DetailNumberText(proposal_->range.minimum)));
    maximum_->setText(QString::fromStdString(DetailNumberText(proposal_->range.maximum)));
    return true;
}

void ParameterDetailsPanel::SetUnit(const QString& unit) {
    unit_->setText(unit);
}

void ParameterDetailsPanel::SetRange(const QString& minimum, const QString& maximum) {
    minimum_->setText(minimum);
    maximum_->setText(maximum);
}

void ParameterDetailsPanel::SetWarnings(const QString& low, const QString& high) {
    warnLow_->setText(low);
    warnHigh_->setText(high);
}

void ParameterDetailsPanel::SetDecimals(int decimals) {
    decimals_->setValue(decimals);
}

void ParameterDetailsPanel::SetAlarm(bool alarm) {
    alarm_->setChecked(alarm);
}

void ParameterDetailsPanel::SetValueNames(const QString& text) {
    valueNames_->setPlainText(text);
}

void ParameterDetailsPanel::SetBitActiveWhenClear(int bit, bool on) {
    whenClear_[static_cast<std::size_t>(bit & 7)]->setChecked(on);
}

void ParameterDetailsPanel::SetBitAlarm(int bit, bool on) {
    bitAlarm_[static_cast<std::size_t>(bit & 7)]->setChecked(on);
}

}  // namespace vekaton
