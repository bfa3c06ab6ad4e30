#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <optional>
#include <string>

#include "dashboard/DetailsEdit.h"
#include "decode/ProposedRange.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace vekaton {

// The parameter editor's fields for a position's details: unit, display range, warning limits,
// decimals, alarm and value names of an analog position, and for each bit of a digital one
// whether it means something when clear and whether it is an alarm. Where no display range is
// typed, it offers the range the formula gives over its bytes, to be taken with "Use".
class ParameterDetailsPanel : public QWidget {
    Q_OBJECT

  public:
    explicit ParameterDetailsPanel(QWidget* parent = nullptr);

    // The two check boxes of a bit's row, for the editor's digital page.
    QWidget* BitFlags(int bit) const { return bitRows_[static_cast<std::size_t>(bit & 7)]; }

    void Load(const DetailsEdit& details);
    // The details as the fields hold them, on top of `base` (whose other keys are kept).
    DetailsEdit Pending(const DetailsEdit& base) const;
    // Why the analog fields cannot be kept as they are ("" when they can).
    QString Problem() const;

    // The formula being edited: its proposed range is offered while no range is typed.
    void ProposeFor(const std::string& formula, int byteCount);
    std::optional<ScaleRange> Proposal() const { return proposal_; }
    // Takes the proposed range into the range fields; false when there is none.
    bool UseProposal();

    // The inputs, for tests and for anyone who would rather not click.
    void SetUnit(const QString& unit);
    void SetRange(const QString& minimum, const QString& maximum);
    void SetWarnings(const QString& low, const QString& high);
    void SetDecimals(int decimals);  // -1: chosen from the formula
    void SetAlarm(bool alarm);
    void SetValueNames(const QString& text);
    void SetBitActiveWhenClear(int bit, bool on);
    void SetBitAlarm(int bit, bool on);

  signals:
    void changed();

  private:
    void ShowProposal();

    QLineEdit* unit_ = nullptr;
    QLineEdit* minimum_ = nullptr;
    QLineEdit* maximum_ = nullptr;
    QLabel* proposalText_ = nullptr;
    QPushButton* useProposal_ = nullptr;
    QLineEdit* warnLow_ = nullptr;
    QLineEdit* warnHigh_ = nullptr;
    QSpinBox* decimals_ = nullptr;
    QCheckBox* alarm_ = nullptr;
    QPlainTextEdit* valueNames_ = nullptr;
    std::array<QWidget*, 8> bitRows_{};
    std::array<QCheckBox*, 8> whenClear_{};
    std::array<QCheckBox*, 8> bitAlarm_{};

    std::optional<ScaleRange> proposal_;
    std::string proposedFormula_;
    int proposedBytes_ = 0;
    bool proposedOnce_ = false;
};

}  // namespace vekaton
