#include "app/dashboard/ItemCommands.h"

#include "app/dashboard/DashboardView.h"
#include "decode/Decoder.h"

namespace vekaton {
namespace {

void Rebind(DashboardParts& parts, int id, const BindingEntry& binding) {
    parts.model.SetBinding(id, binding);
    if (binding.position > 0) {
        parts.decoder.BindItem(id, binding.position);
    }
}

}  // namespace

AddedItemCommand::AddedItemCommand(DashboardParts& parts, int id, const QString& text)
    : QUndoCommand(text), parts_(parts), id_(id) {}

void AddedItemCommand::undo() {
    binding_ = parts_.model.Binding(id_);
    parts_.decoder.DetachItem(id_);
    parts_.model.Remove(id_);
    done_ = false;
}

void AddedItemCommand::redo() {
    if (done_) {
        return;
    }
    parts_.model.Restore(id_);
    Rebind(parts_, id_, binding_);
    done_ = true;
}

RemoveItemCommand::RemoveItemCommand(DashboardParts& parts, int id, const QString& text)
    : QUndoCommand(text), parts_(parts), id_(id) {}

void RemoveItemCommand::redo() {
    binding_ = parts_.model.Binding(id_);
    parts_.decoder.DetachItem(id_);
    parts_.model.Remove(id_);
}

void RemoveItemCommand::undo() {
    parts_.model.Restore(id_);
    Rebind(parts_, id_, binding_);
}

PropertiesCommand::PropertiesCommand(DashboardParts& parts, int id, PropertyBag before,
                                     PropertyBag after, const QString& text, QUndoCommand* parent)
    : QUndoCommand(text, parent),
      parts_(parts),
      id_(id),
      before_(std::move(before)),
      after_(std::move(after)) {}

void PropertiesCommand::undo() {
    parts_.model.SetProperties(id_, before_);
}

void PropertiesCommand::redo() {
    parts_.model.SetProperties(id_, after_);
}

HoldModeCommand::HoldModeCommand(DashboardParts& parts, int id, int before, int after,
                                 const QString& text)
    : QUndoCommand(text), parts_(parts), id_(id), before_(before), after_(after) {}

void HoldModeCommand::undo() {
    parts_.model.SetHoldMode(id_, before_);
}

void HoldModeCommand::redo() {
    parts_.model.SetHoldMode(id_, after_);
}

ResetButtonCommand::ResetButtonCommand(DashboardParts& parts, int id, ResetButtonEntry before,
                                       ResetButtonEntry after, const QString& text)
    : QUndoCommand(text),
      parts_(parts),
      id_(id),
      before_(std::move(before)),
      after_(std::move(after)) {}

void ResetButtonCommand::undo() {
    parts_.model.SetResetButton(id_, before_);
}

void ResetButtonCommand::redo() {
    parts_.model.SetResetButton(id_, after_);
}

PageCaptionCommand::PageCaptionCommand(DashboardParts& parts, int page, std::string before,
                                       std::string after, const QString& text)
    : QUndoCommand(text),
      parts_(parts),
      page_(page),
      before_(std::move(before)),
      after_(std::move(after)) {}

void PageCaptionCommand::undo() {
    parts_.model.SetPageCaption(page_, before_);
    parts_.view.RefreshPageCaptions();
}

void PageCaptionCommand::redo() {
    parts_.model.SetPageCaption(page_, after_);
    parts_.view.RefreshPageCaptions();
}

ParameterCommand::ParameterCommand(DashboardParts& parts, BindingSnapshot before,
                                   BindingSnapshot after, std::function<void()> changed,
                                   const QString& text)
    : QUndoCommand(text),
      parts_(parts),
      before_(std::move(before)),
      after_(std::move(after)),
      changed_(std::move(changed)) {}

void ParameterCommand::undo() {
    before_.Restore(parts_.table, parts_.model, &parts_.details);
    done_ = false;
    if (changed_) {
        changed_();
    }
}

void ParameterCommand::redo() {
    if (done_) {
        return;
    }
    after_.Restore(parts_.table, parts_.model, &parts_.details);
    done_ = true;
    if (changed_) {
        changed_();
    }
}

}  // namespace vekaton
