#include "app/dashboard/ParameterEditor.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "app/AppTexts.h"
#include "app/dashboard/DashboardTexts.h"
#include "app/dashboard/ParameterChecks.h"
#include "app/dashboard/ParameterDetailsPanel.h"

namespace vekaton {
namespace {

constexpr const char* kDefaultFormula = "A*1";
constexpr int kRefreshMs = 500;

}  // namespace

ParameterEditor::ParameterEditor(const ParameterTable& table, const DetailsTable& details,
                                 const DashboardModel& model, int position, int itemId,
                                 ApplyFunction apply, QWidget* parent)
    : QDialog(parent),
      table_(table),
      detailsTable_(details),
      model_(model),
      itemId_(model.Find(itemId) != nullptr ? itemId : 0),
      apply_(std::move(apply)) {
    setObjectName("ParameterEditor");
    setWindowTitle(dashtexts::kEditorTitle);
    BuildForm();
    position_ = std::clamp(position, ParameterTable::kFirstPosition, ParameterTable::kLastPosition);
    LoadPosition(position_);
}

ParameterEditor::~ParameterEditor() = default;

void ParameterEditor::BuildForm() {
    auto* layout = new QHBoxLayout(this);
    list_ = new QListWidget;
    list_->setObjectName("PositionList");
    list_->setMinimumWidth(230);
    list_->setUniformItemSizes(true);
    for (int p = ParameterTable::kFirstPosition; p <= ParameterTable::kLastPosition; ++p) {
        list_->addItem(PositionListText(table_, p));
    }
    layout->addWidget(list_, 2);

    auto* right = new QVBoxLayout;
    layout->addLayout(right, 3);
    if (itemId_ != 0) {
        const DashboardItem& item = *model_.Find(itemId_);
        auto* itemLabel = new QLabel(
            QString(dashtexts::kEditorItem).arg(QString::fromStdString(item.name)).arg(itemId_));
        itemLabel->setWordWrap(true);
        right->addWidget(itemLabel);
    }
    auto* top = new QFormLayout;
    positionSpin_ = new QSpinBox;
    positionSpin_->setRange(ParameterTable::kFirstPosition, ParameterTable::kLastPosition);
    top->addRow(dashtexts::kEditorPosition, positionSpin_);
    digital_ = new QCheckBox(dashtexts::kEditorDigital);
    top->addRow(QString(), digital_);
    right->addLayout(top);

    pages_ = new QStackedWidget;
    auto* analog = new QWidget;
    auto* analogForm = new QFormLayout(analog);
    analogForm->setContentsMargins(0, 0, 0, 0);
    description_ = new QLineEdit;
    description_->setObjectName("Description");
    bytes_ = new QSpinBox;
    bytes_->setRange(1, ParameterTable::kLastPosition);
    formula_ = new QLineEdit;
    formula_->setObjectName("Formula");
    formula_->setToolTip(texts::kFormulaHint);
    result_ = new QLabel;
    result_->setWordWrap(true);
    result_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    analogForm->addRow(dashtexts::kEditorDescription, description_);
    analogForm->addRow(dashtexts::kEditorBytes, bytes_);
    analogForm->addRow(dashtexts::kEditorFormula, formula_);
    analogForm->addRow(QString(), result_);
    details_ = new ParameterDetailsPanel;
    auto* detailsTitle = new QLabel(QString("<b>%1</b>").arg(dashtexts::kDetailsGroup));
    analogForm->addRow(detailsTitle);
    analogForm->addRow(details_);
    pages_->addWidget(analog);

    auto* digital = new QWidget;
    auto* digitalForm = new QFormLayout(digital);
    digitalForm->setContentsMargins(0, 0, 0, 0);
    for (int bit = 0; bit < 8; ++bit) {
        auto* row = new QHBoxLayout;
        bits_[static_cast<std::size_t>(bit)] = new QLineEdit;
        row->addWidget(bits_[static_cast<std::size_t>(bit)], 1);
        row->addWidget(details_->BitFlags(bit));
        digitalForm->addRow(QString(dashtexts::kEditorBit).arg(bit), row);
    }
    const DashboardItem* item = model_.Find(itemId_);
    if (item != nullptr && item->kind == ItemKind::LedRound) {
        ledBit_ = new QSpinBox;
        ledBit_->setRange(0, 7);
        digitalForm->addRow(dashtexts::kEditorLedBit, ledBit_);
    }
    pages_->addWidget(digital);
    right->addWidget(pages_);

    problem_ = new QLabel;
    problem_->setObjectName("Problem");
    problem_->setWordWrap(true);
    problem_->setStyleSheet("QLabel { color: #b00000; }");
    right->addWidget(problem_);
    right->addStretch(1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Apply |
                                         QDialogButtonBox::Close);
    right->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &ParameterEditor::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ParameterEditor::reject);
    connect(buttons->button(QDialogButtonBox::Apply), &QPushButton::clicked, this,
            [this] { Apply(); });

    connect(list_, &QListWidget::currentRowChanged, this,
            [this](int row) { SelectPosition(row + ParameterTable::kFirstPosition); });
    connect(positionSpin_, &QSpinBox::valueChanged, this, &ParameterEditor::SelectPosition);
    connect(digital_, &QCheckBox::toggled, this, [this](bool on) {
        pages_->setCurrentIndex(on ? 1 : 0);
        UpdateCheck();
    });
    for (QLineEdit* edit : {description_, formula_}) {
        connect(edit, &QLineEdit::textChanged, this, &ParameterEditor::UpdateCheck);
    }
    for (QLineEdit* edit : bits_) {
        connect(edit, &QLineEdit::textChanged, this, &ParameterEditor::UpdateCheck);
    }
    connect(bytes_, &QSpinBox::valueChanged, this, &ParameterEditor::UpdateCheck);
    connect(details_, &ParameterDetailsPanel::changed, this, &ParameterEditor::UpdateCheck);
    if (ledBit_ != nullptr) {
        connect(ledBit_, &QSpinBox::valueChanged, this, &ParameterEditor::UpdateCheck);
    }
    // The bytes go on arriving while the editor is open: the trial follows them.
    auto* refresh = new QTimer(this);
    connect(refresh, &QTimer::timeout, this, &ParameterEditor::UpdateCheck);
    refresh->start(kRefreshMs);
    resize(820, 620);
}

void ParameterEditor::LoadPosition(int position) {
    loading_ = true;
    position_ = position;
    const ParameterRecord& record = table_.At(position);
    positionSpin_->setValue(position);
    list_->setCurrentRow(position - ParameterTable::kFirstPosition);
    digital_->setChecked(record.IsDigital);
    pages_->setCurrentIndex(record.IsDigital ? 1 : 0);
    description_->setText(record.IsDigital ? QString()
                                           : QString::fromStdString(record.Descriptions[0]));
    bytes_->setValue(std::max(1, record.ByteCount));
    const bool undefined = record.Formula().empty() && record.Descriptions[0].empty();
    formula_->setText(undefined ? QString(kDefaultFormula)
                                : QString::fromStdString(record.Formula()));
    for (int bit = 0; bit < 8; ++bit) {
        bits_[static_cast<std::size_t>(bit)]->setText(
            record.IsDigital
                ? QString::fromStdString(record.Descriptions[static_cast<std::size_t>(bit)])
                : QString());
    }
    if (ledBit_ != nullptr) {
        const BindingEntry binding = model_.Binding(itemId_);
        ledBit_->setValue(binding.bit >= 0 && binding.bit <= 7 ? binding.bit : 0);
    }
    details_->Load(DetailsEditOf(detailsTable_, position));
    loading_ = false;
    UpdateCheck();
}

ParameterEdit ParameterEditor::PendingEdit() const {
    ParameterEdit edit;
    edit.position = position_;
    edit.itemId = itemId_;
    ParameterDefinition& d = edit.definition;
    d.isDigital = digital_->isChecked();
    if (d.isDigital) {
        for (int bit = 0; bit < 8; ++bit) {
            d.descriptions[static_cast<std::size_t>(bit)] =
                bits_[static_cast<std::size_t>(bit)]->text().toStdString();
        }
        d.byteCount = 1;
    } else {
        d.descriptions[0] = description_->text().trimmed().toStdString();
        d.byteCount = bytes_->value();
        d.formula = formula_->text().trimmed().toStdString();
        // The offered default on an undescribed one-byte position is the raw byte itself.
        if (d.descriptions[0].empty() && d.byteCount == 1 && d.formula == kDefaultFormula) {
            d.formula.clear();
        }
    }
    edit.bit = ledBit_ != nullptr ? ledBit_->value() : BindingEntry::kNoBit;
    edit.details = details_->Pending(DetailsEditOf(detailsTable_, position_));
    return edit;
}

bool ParameterEditor::Dirty() const {
    return Dirty(true);
}

bool ParameterEditor::Dirty(bool withItem) const {
    const ParameterEdit edit = PendingEdit();
    ParameterDefinition current = DefinitionOf(table_.At(position_));
    if (current.isDigital) {
        current.byteCount = 1;
        current.formula = edit.definition.formula;  // digital positions ignore their formula
    }
    if (!(edit.definition == current) ||
        DetailsEditChanges(DetailsEditOf(detailsTable_, position_), *edit.details,
                           edit.definition.isDigital)) {
        return true;
    }
    if (itemId_ == 0 || !withItem) {
        return false;
    }
    const BindingEntry binding = model_.Binding(itemId_);
    return binding.position != position_ ||
           (ledBit_ != nullptr && edit.definition.isDigital && binding.bit != edit.bit);
}

QString ParameterEditor::ProblemFor(const ParameterEdit& edit, QString* result) {
    QString problem = EditProblemText(CheckParameterEdit(table_, model_, edit), edit.position);
    if (!edit.definition.isDigital) {
        const QString formulaProblem = TryFormula(formulas_, table_, edit, result);
        for (const QString& next : {formulaProblem, details_->Problem()}) {
            if (problem.isEmpty()) {
                problem = next;
            }
        }
    }
    return problem;
}

void ParameterEditor::UpdateCheck() {
    if (loading_) {
        return;
    }
    const ParameterEdit edit = PendingEdit();
    details_->ProposeFor(edit.definition.formula, edit.definition.byteCount);
    QString result;
    problemText_ = ProblemFor(edit, &result);
    result_->setText(result);
    QString shown = problemText_;
    const DashboardItem* item = model_.Find(itemId_);
    if (shown.isEmpty() && item != nullptr && item->kind == ItemKind::LedRound &&
        !edit.definition.isDigital) {
        shown = dashtexts::kEditorNoItemOnAnalog;
    }
    problem_->setText(shown);
}

QString ParameterEditor::ProblemText() const {
    return problemText_;
}

QString ParameterEditor::ResultText() const {
    return result_->text();
}

bool ParameterEditor::Apply() {
    return Apply(true);
}

bool ParameterEditor::Apply(bool withItem) {
    UpdateCheck();
    if (!Dirty(withItem)) {
        return true;
    }
    ParameterEdit edit = PendingEdit();
    if (!withItem) {
        edit.itemId = 0;
        QString unused;
        problemText_ = ProblemFor(edit, &unused);
    }
    if (!problemText_.isEmpty()) {
        problem_->setText(problemText_);
        return false;
    }
    const QString refused = apply_ ? apply_(edit) : QString();
    if (!refused.isEmpty()) {
        problemText_ = refused;
        problem_->setText(refused);
        return false;
    }
    RefreshListRow(position_);
    LoadPosition(position_);
    return true;
}

void ParameterEditor::RefreshListRow(int position) {
    if (QListWidgetItem* row = list_->item(position - ParameterTable::kFirstPosition)) {
        row->setText(PositionListText(table_, position));
    }
}

void ParameterEditor::SelectPosition(int position) {
    if (loading_ || position == position_ || !ParameterTable::IsValidPosition(position)) {
        return;
    }
    // The definition left behind is kept first (the item is bound only where the user presses
    // Apply or OK); if it cannot be kept, the editor stays on it.
    if (!Apply(false)) {
        loading_ = true;
        list_->setCurrentRow(position_ - ParameterTable::kFirstPosition);
        positionSpin_->setValue(position_);
        loading_ = false;
        return;
    }
    LoadPosition(position);
}

void ParameterEditor::SetDigital(bool digital) {
    digital_->setChecked(digital);
}

void ParameterEditor::SetDescription(const QString& text) {
    description_->setText(text);
}

void ParameterEditor::SetByteCount(int count) {
    bytes_->setValue(count);
}

void ParameterEditor::SetFormula(const QString& text) {
    formula_->setText(text);
}

void ParameterEditor::SetBitDescription(int bit, const QString& text) {
    if (bit >= 0 && bit < 8) {
        bits_[static_cast<std::size_t>(bit)]->setText(text);
    }
}

void ParameterEditor::SetLedBit(int bit) {
    if (ledBit_ != nullptr) {
        ledBit_->setValue(bit);
    }
}

void ParameterEditor::accept() {
    if (Apply()) {
        QDialog::accept();
    }
}

void ParameterEditor::reject() {
    // Only what was typed counts: an item opened here and not yet bound is no edit to lose.
    const BindingEntry binding = model_.Binding(itemId_);
    const bool bitChanged = ledBit_ != nullptr && digital_->isChecked() &&
                            binding.position == position_ && binding.bit != ledBit_->value();
    if (!Dirty(false) && !bitChanged) {
        QDialog::reject();
        return;
    }
    QMessageBox box(QMessageBox::Question, dashtexts::kEditorApplyTitle,
                    QString(dashtexts::kEditorApplyQuestion).arg(position_),
                    QMessageBox::Apply | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setObjectName("ApplyChangesQuestion");
    box.setDefaultButton(QMessageBox::Apply);
    const int answer = questionRunner_ ? questionRunner_(box) : box.exec();
    if (answer == QMessageBox::Discard) {
        QDialog::reject();
    } else if (answer == QMessageBox::Apply && Apply()) {
        QDialog::accept();
    }
    // Cancel, or edits that cannot be applied: the editor stays, saying why.
}

}  // namespace vekaton
