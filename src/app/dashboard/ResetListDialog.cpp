#include "app/dashboard/ResetListDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/dashboard/DashboardTexts.h"
#include "decode/ParameterTable.h"

namespace vekaton {
namespace {

constexpr int kPresetLimit = 99999;

}  // namespace

bool IsResettable(ItemKind kind) {
    return ShowsPosition(kind) || HasHoldMode(kind);
}

QString DescribeItem(const DashboardModel& model, const ParameterTable& table, int id) {
    const DashboardItem* item = model.Find(id);
    if (item == nullptr) {
        return {};
    }
    QString text = QString::fromStdString(item->name);
    const BindingEntry binding = model.Binding(id);
    if (const ParameterRecord* record = table.Find(binding.position)) {
        std::string description = record->Descriptions[0];
        if (record->IsDigital && binding.bit >= 0 && binding.bit <= 7) {
            description = record->Descriptions[static_cast<std::size_t>(binding.bit)];
        }
        text += QString(" - %1").arg(description.empty()
                                         ? QObject::tr("position %1").arg(binding.position)
                                         : QString::fromStdString(description));
    }
    return text;
}

ResetListDialog::ResetListDialog(const DashboardModel& model, const ParameterTable& table,
                                 int buttonId, QWidget* parent)
    : QDialog(parent), model_(model) {
    setObjectName("ResetListDialog");
    setWindowTitle(dashtexts::kResetDialogTitle);
    const ResetButtonEntry entry = model.ResetButtonFor(buttonId);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(dashtexts::kResetDialogItems));
    list_ = new QListWidget;
    for (const int id : model.LiveIds()) {
        const DashboardItem* item = model.Find(id);
        if (!IsResettable(item->kind)) {
            continue;
        }
        auto* row = new QListWidgetItem(DescribeItem(model, table, id), list_);
        row->setData(Qt::UserRole, id);
        row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
        const bool listed = std::find(entry.ids.begin(), entry.ids.end(), id) != entry.ids.end();
        row->setCheckState(listed ? Qt::Checked : Qt::Unchecked);
    }
    layout->addWidget(list_, 1);

    auto* presets = new QFormLayout;
    const auto addPreset = [&](const char* label, int preset, QCheckBox*& current,
                               QSpinBox*& value) {
        auto* row = new QHBoxLayout;
        current = new QCheckBox(dashtexts::kResetCurrentValue);
        value = new QSpinBox;
        value->setRange(-kPresetLimit, kPresetLimit);
        const bool isCurrent = preset == kPresetCurrentValue;
        current->setChecked(isCurrent);
        value->setValue(isCurrent ? 0 : preset);
        value->setEnabled(!isCurrent);
        connect(current, &QCheckBox::toggled, value, [value](bool on) { value->setEnabled(!on); });
        row->addWidget(current);
        row->addWidget(value);
        presets->addRow(label, row);
    };
    addPreset(dashtexts::kResetMinPreset, entry.minPreset, minCurrent_, minValue_);
    addPreset(dashtexts::kResetMaxPreset, entry.maxPreset, maxCurrent_, maxValue_);
    layout->addLayout(presets);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(460, 420);
}

ResetButtonEntry ResetListDialog::Entry() const {
    ResetButtonEntry entry;
    for (int row = 0; row < list_->count(); ++row) {
        const QListWidgetItem* item = list_->item(row);
        if (item->checkState() == Qt::Checked) {
            entry.ids.push_back(item->data(Qt::UserRole).toInt());
        }
    }
    // A typed 9999 would read back as "the current value" anyway.
    entry.minPreset = minCurrent_->isChecked() ? kPresetCurrentValue : minValue_->value();
    entry.maxPreset = maxCurrent_->isChecked() ? kPresetCurrentValue : maxValue_->value();
    return entry;
}

bool ResetListDialog::SetChecked(int id, bool checked) {
    for (int row = 0; row < list_->count(); ++row) {
        QListWidgetItem* item = list_->item(row);
        if (item->data(Qt::UserRole).toInt() == id) {
            item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
            return true;
        }
    }
    return false;
}

void ResetListDialog::SetMinPreset(std::optional<int> value) {
    minCurrent_->setChecked(!value);
    minValue_->setValue(value.value_or(0));
}

void ResetListDialog::SetMaxPreset(std::optional<int> value) {
    maxCurrent_->setChecked(!value);
    maxValue_->setValue(value.value_or(0));
}

}  // namespace vekaton
