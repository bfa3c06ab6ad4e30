#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "dashboard/DashboardModel.h"
#include "dashboard/ParameterEdit.h"
#include "decode/FormulaFrontEnd.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QSpinBox;
class QStackedWidget;

namespace vekaton {

class ParameterDetailsPanel;

// Edits the definitions of the 500 frame positions: the list on the left picks the position,
// the form edits its description, byte count or digital flag with the eight bit descriptions,
// its formula, which is tried as it is typed against the position's current bytes, and its
// details (unit, range, limits, ...). Opened from an item, the item is bound to the position
// chosen here (a digital LED to a bit).
//
// Edits are made by the apply function (one undoable command each) when Apply or OK is
// pressed, and when another position is picked; what cannot be kept is said in the dialog.
// Closing with edits not applied asks whether to apply or discard them.
class ParameterEditor : public QDialog {
    Q_OBJECT

  public:
    // Makes an edit; returns why it could not be made, empty when it was.
    using ApplyFunction = std::function<QString(const ParameterEdit&)>;

    // Runs the question a close with unapplied edits asks; returns the button pressed.
    using QuestionRunner = std::function<int(QDialog&)>;

    ParameterEditor(const ParameterTable& table, const DetailsTable& details,
                    const DashboardModel& model, int position, int itemId, ApplyFunction apply,
                    QWidget* parent = nullptr);
    ~ParameterEditor() override;

    void SetQuestionRunner(QuestionRunner runner) { questionRunner_ = std::move(runner); }
    ParameterDetailsPanel& Details() { return *details_; }

    // The inputs, for tests and for anyone who would rather not click.
    void SelectPosition(int position);
    int Position() const { return position_; }
    void SetDigital(bool digital);
    void SetDescription(const QString& text);
    void SetByteCount(int count);
    void SetFormula(const QString& text);
    void SetBitDescription(int bit, const QString& text);
    void SetLedBit(int bit);
    // Makes the pending edit; true when it was made or there was nothing to make.
    bool Apply();
    // What stands in the way of the pending edit ("" when nothing), and what the formula gives.
    QString ProblemText() const;
    QString ResultText() const;
    ParameterEdit PendingEdit() const;
    bool Dirty() const;

    void accept() override;
    // Close, Escape and the window's close button: edits not applied are asked about.
    void reject() override;

  private:
    bool Apply(bool withItem);
    bool Dirty(bool withItem) const;
    void BuildForm();
    void LoadPosition(int position);
    void RefreshListRow(int position);
    void UpdateCheck();
    QString ProblemFor(const ParameterEdit& edit, QString* result);

    const ParameterTable& table_;
    const DetailsTable& detailsTable_;
    const DashboardModel& model_;
    const int itemId_;
    ApplyFunction apply_;
    QuestionRunner questionRunner_;
    FormulaFrontEnd formulas_;  // its own: trying formulas leaves the decoder's reports alone
    int position_ = 1;
    bool loading_ = false;

    QListWidget* list_ = nullptr;
    QSpinBox* positionSpin_ = nullptr;
    QCheckBox* digital_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    QLineEdit* description_ = nullptr;
    QSpinBox* bytes_ = nullptr;
    QLineEdit* formula_ = nullptr;
    QLabel* result_ = nullptr;
    std::array<QLineEdit*, 8> bits_{};
    QSpinBox* ledBit_ = nullptr;
    ParameterDetailsPanel* details_ = nullptr;
    QLabel* problem_ = nullptr;
    QString problemText_;
};

}  // namespace vekaton
