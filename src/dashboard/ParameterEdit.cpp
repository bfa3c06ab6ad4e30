#include "dashboard/ParameterEdit.h"

#include "dashboard/BindingSlots.h"
#include "decode/Decoder.h"

namespace vekaton {
namespace {

// Live items whose binding entry names the position.
std::vector<int> ItemsShowing(const DashboardModel& model, int position) {
    std::vector<int> ids;
    for (const int id : model.LiveIds()) {
        if (model.Binding(id).position == position) {
            ids.push_back(id);
        }
    }
    return ids;
}

int EffectiveByteCount(const ParameterDefinition& definition) {
    return definition.isDigital ? 1 : definition.byteCount;
}

}  // namespace

ParameterDefinition DefinitionOf(const ParameterRecord& record) {
    ParameterDefinition definition;
    definition.descriptions = record.Descriptions;
    definition.formula = record.Formula();
    definition.byteCount = record.ByteCount;
    definition.isDigital = record.IsDigital;
    return definition;
}

EditCheck CheckParameterEdit(const ParameterTable& table, const DashboardModel& model,
                             const ParameterEdit& edit) {
    EditCheck check;
    const ParameterDefinition& d = edit.definition;
    if (!ParameterTable::IsValidPosition(edit.position)) {
        check.problem = EditProblem::PositionOutside;
        return check;
    }
    const int count = EffectiveByteCount(d);
    check.lastPosition = LastBytePosition(edit.position, count);
    if (count < 1 || check.lastPosition == 0) {
        check.problem = EditProblem::ByteCountOutside;
        return check;
    }
    if (!d.isDigital) {
        if (d.descriptions[0].find(',') != std::string::npos) {
            check.problem = EditProblem::CommaInDescription;
            return check;
        }
        if (d.descriptions[0].empty() && (!d.formula.empty() || d.byteCount > 1)) {
            check.problem = EditProblem::DescriptionMissing;
            return check;
        }
    }
    if (edit.itemId != 0) {
        const DashboardItem* item = model.Find(edit.itemId);
        if (item != nullptr && item->kind == ItemKind::LedRound && d.isDigital &&
            (edit.bit < 0 || edit.bit > 7)) {
            check.problem = EditProblem::BitOutside;
            return check;
        }
    }
    std::vector<int> moving = ItemsShowing(model, edit.position);
    if (edit.itemId != 0) {
        moving.push_back(edit.itemId);
    }
    if (!BindingsFit(table, moving, edit.position, count)) {
        check.problem = EditProblem::SlotsFull;
    }
    return check;
}

void ApplyParameterEdit(ParameterTable& table, Decoder& decoder, DashboardModel& model,
                        const ParameterEdit& edit, DetailsTable* details) {
    ParameterRecord* record = table.Find(edit.position);
    if (record == nullptr) {
        return;
    }
    if (details != nullptr && edit.details) {
        ApplyDetailsEdit(*details, edit.position, edit.definition.isDigital, *edit.details);
    }
    if (edit.itemId != 0) {
        decoder.UnbindItem(edit.itemId, model.Binding(edit.itemId).position);
    }
    ParameterDefinition definition = edit.definition;
    definition.byteCount = EffectiveByteCount(definition);
    const std::vector<int> moving = definition.byteCount != record->ByteCount
                                        ? ItemsShowing(model, edit.position)
                                        : std::vector<int>{};
    // Unbound under the old byte count, bound again under the new one.
    for (const int id : moving) {
        decoder.UnbindItem(id, edit.position);
    }
    record->Descriptions = definition.descriptions;
    if (record->Formula() != definition.formula) {
        record->SetFormula(definition.formula);
    }
    record->ByteCount = definition.byteCount;
    record->IsDigital = definition.isDigital;
    for (const int id : moving) {
        decoder.BindItem(id, edit.position);
    }
    if (edit.itemId != 0) {
        decoder.BindItem(edit.itemId, edit.position);
        BindingEntry entry = model.Binding(edit.itemId);
        const DashboardItem* item = model.Find(edit.itemId);
        if (item != nullptr && item->kind == ItemKind::LedRound) {
            entry.bit = definition.isDigital ? edit.bit : BindingEntry::kNoBit;
        }
        model.SetBinding(edit.itemId, entry);
    }
}

BindingSnapshot BindingSnapshot::Take(const ParameterTable& table, const DashboardModel& model,
                                      std::vector<int> positions, const DetailsTable* details) {
    BindingSnapshot snapshot;
    for (const int position : positions) {
        if (const ParameterRecord* record = table.Find(position)) {
            snapshot.definitions_.emplace_back(position, DefinitionOf(*record));
        }
        if (details != nullptr) {
            HeldDetails held;
            held.position = position;
            if (const PositionDetails* own = details->Find(position)) {
                held.own = *own;
            }
            for (int bit = 0; bit < 8; ++bit) {
                if (const BitDetails* found = details->FindBit(position, bit)) {
                    held.bits[static_cast<std::size_t>(bit)] = *found;
                }
            }
            snapshot.details_.push_back(std::move(held));
        }
    }
    for (int p = ParameterTable::kFirstPosition; p <= ParameterTable::kLastPosition; ++p) {
        snapshot.bound_.push_back(table.At(p).BoundItems);
    }
    for (std::size_t i = 0; i < model.Items().size(); ++i) {
        snapshot.bindings_.push_back(model.Binding(static_cast<int>(i) + DashboardModel::kFirstId));
    }
    return snapshot;
}

void BindingSnapshot::Restore(ParameterTable& table, DashboardModel& model,
                              DetailsTable* details) const {
    for (const HeldDetails& held : details_) {
        if (details == nullptr) {
            break;
        }
        if (held.own) {
            details->At(held.position) = *held.own;
        } else {
            details->Erase(held.position);
        }
        for (int bit = 0; bit < 8; ++bit) {
            if (const auto& kept = held.bits[static_cast<std::size_t>(bit)]) {
                details->AtBit(held.position, bit) = *kept;
            } else {
                details->EraseBit(held.position, bit);
            }
        }
    }
    for (const auto& [position, definition] : definitions_) {
        ParameterRecord& record = table.At(position);
        record.Descriptions = definition.descriptions;
        if (record.Formula() != definition.formula) {
            record.SetFormula(definition.formula);
        }
        record.ByteCount = definition.byteCount;
        record.IsDigital = definition.isDigital;
    }
    for (std::size_t i = 0; i < bound_.size(); ++i) {
        table.At(static_cast<int>(i) + ParameterTable::kFirstPosition).BoundItems = bound_[i];
    }
    for (std::size_t i = 0; i < bindings_.size(); ++i) {
        model.SetBinding(static_cast<int>(i) + DashboardModel::kFirstId, bindings_[i]);
    }
}

}  // namespace vekaton
