#pragma once

#include <QComboBox>
#include <functional>
#include <optional>

#include "analysis/ValueRef.h"

namespace vekaton {

class ParameterTable;

// Chooses a value of the set by its description: every described analog position and flag bit
// of the frame, listed as "Engine speed rpm (4)" or "Closed loop (18.0)". Typing filters the
// list by any part of the text ("learn" finds "Block learn (16)"), and a position number
// typed as POS or POS.BIT is taken too. The list is read from the definitions each time it
// opens, so it follows the parameter editor.
class PositionPicker : public QComboBox {
    Q_OBJECT

  public:
    // `dataBytes` gives the frame's data bytes in force; with `allowNone` the first choice
    // is "(none)".
    PositionPicker(const ParameterTable& table, std::function<int()> dataBytes, bool allowNone,
                   QWidget* parent = nullptr);

    std::optional<ValueRef> Ref() const { return ref_; }
    void SetRef(std::optional<ValueRef> ref);
    // The choices again from the definitions, keeping the one chosen.
    void Refill();
    // Takes the typed text: an entry it names, or a position number. False when it names none
    // (the choice stays as it was).
    bool TakeText(const QString& text);

  signals:
    void refChanged();

  protected:
    void showPopup() override;

  private:
    void IndexChosen(int index);
    void EditingFinished();

    const ParameterTable& table_;
    std::function<int()> dataBytes_;
    bool allowNone_;
    std::optional<ValueRef> ref_;
    bool filling_ = false;
};

// The caption of a value in the lists: its description and where it is ("Engine speed rpm (4)").
QString ValueCaption(const ParameterTable& table, ValueRef ref);

}  // namespace vekaton
