#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "dashboard/DashboardModel.h"
#include "dashboard/DetailsEdit.h"
#include "decode/ParameterTable.h"

namespace vekaton {

class Decoder;

// The user-editable definition of one frame position.
struct ParameterDefinition {
    std::array<std::string, ParameterRecord::kDescriptionCount> descriptions;  // [0]: analog
    std::string formula;
    int byteCount = 1;
    bool isDigital = false;
    friend bool operator==(const ParameterDefinition&, const ParameterDefinition&) = default;
};

ParameterDefinition DefinitionOf(const ParameterRecord& record);

// One edit made in the parameter editor: a position's new definition and, when the editor was
// opened from an item, that item bound to the position (a digital LED to one of its bits).
struct ParameterEdit {
    int position = 0;
    ParameterDefinition definition;
    int itemId = 0;  // 0: no item
    int bit = BindingEntry::kNoBit;
    // The position's details as they are to be; nothing leaves them as they are.
    std::optional<DetailsEdit> details;
};

enum class EditProblem {
    None,
    PositionOutside,     // not 1..500
    ByteCountOutside,    // the value would run past position 500, or fewer than 1 byte
    CommaInDescription,  // an analog description: the parameter file could not hold it
    DescriptionMissing,  // a formula or byte count without a description would not be saved
    BitOutside,          // a LED's bit not 0..7
    SlotsFull,           // the value's last byte already lists 14 items
};

struct EditCheck {
    EditProblem problem = EditProblem::None;
    int lastPosition = 0;  // where the value is shown (for SlotsFull: the full position)
};

// Whether an edit can be made without losing anything: what the parameter file would drop, and
// items that would be left unbound because their position's 14 slots are full.
EditCheck CheckParameterEdit(const ParameterTable& table, const DashboardModel& model,
                             const ParameterEdit& edit);

// Makes a checked edit: moves the item (if any) to the position, sets the definition, and when
// the byte count changed moves every item bound to the position to its new last byte, all
// through the decoder's UnbindItem and BindItem. A digital position always spans one byte.
// The edit's details, if any, go into `details`.
void ApplyParameterEdit(ParameterTable& table, Decoder& decoder, DashboardModel& model,
                        const ParameterEdit& edit, DetailsTable* details = nullptr);

// Definitions and bindings as they stand, to be put back by undo: the definitions of some
// positions (and their details, when a details table is given), every BoundItems list and every
// item's binding entry.
class BindingSnapshot {
  public:
    static BindingSnapshot Take(const ParameterTable& table, const DashboardModel& model,
                                std::vector<int> positions, const DetailsTable* details = nullptr);
    void Restore(ParameterTable& table, DashboardModel& model,
                 DetailsTable* details = nullptr) const;

  private:
    struct HeldDetails {
        int position = 0;
        std::optional<PositionDetails> own;
        std::array<std::optional<BitDetails>, 8> bits;
    };
    std::vector<std::pair<int, ParameterDefinition>> definitions_;
    std::vector<HeldDetails> details_;
    std::vector<std::array<std::int32_t, ParameterRecord::kBoundSlotCount>> bound_;  // [p - 1]
    std::vector<BindingEntry> bindings_;                                             // [id - 1]
};

}  // namespace vekaton
