#pragma once

#include <QUndoCommand>
#include <functional>

#include "dashboard/DashboardModel.h"
#include "dashboard/ParameterEdit.h"

namespace vekaton {

class Decoder;
class DashboardView;

// What the commands change: the model, and the decoder's binding lists. The view follows the
// model by itself.
struct DashboardParts {
    DashboardModel& model;
    Decoder& decoder;
    ParameterTable& table;
    DashboardView& view;
    DetailsTable& details;  // units, ranges and limits of the positions
};

// An item just created (with its properties and binding) by the caller: undo removes it, redo
// brings it back under the same ID and name.
class AddedItemCommand : public QUndoCommand {
  public:
    AddedItemCommand(DashboardParts& parts, int id, const QString& text);
    void undo() override;
    void redo() override;

  private:
    DashboardParts& parts_;
    int id_;
    BindingEntry binding_;
    bool done_ = true;  // the first redo finds the item made
};

// Removal: detached from its position, disabled, hidden, ID -1; undo puts it back and binds it
// again.
class RemoveItemCommand : public QUndoCommand {
  public:
    RemoveItemCommand(DashboardParts& parts, int id, const QString& text);
    void undo() override;
    void redo() override;

  private:
    DashboardParts& parts_;
    int id_;
    BindingEntry binding_;
};

// New streamed properties for an item: a move, a resize, a caption, an appearance.
class PropertiesCommand : public QUndoCommand {
  public:
    PropertiesCommand(DashboardParts& parts, int id, PropertyBag before, PropertyBag after,
                      const QString& text, QUndoCommand* parent = nullptr);
    void undo() override;
    void redo() override;

  private:
    DashboardParts& parts_;
    int id_;
    PropertyBag before_;
    PropertyBag after_;
};

class HoldModeCommand : public QUndoCommand {
  public:
    HoldModeCommand(DashboardParts& parts, int id, int before, int after, const QString& text);
    void undo() override;
    void redo() override;

  private:
    DashboardParts& parts_;
    int id_;
    int before_;
    int after_;
};

class ResetButtonCommand : public QUndoCommand {
  public:
    ResetButtonCommand(DashboardParts& parts, int id, ResetButtonEntry before,
                       ResetButtonEntry after, const QString& text);
    void undo() override;
    void redo() override;

  private:
    DashboardParts& parts_;
    int id_;
    ResetButtonEntry before_;
    ResetButtonEntry after_;
};

class PageCaptionCommand : public QUndoCommand {
  public:
    PageCaptionCommand(DashboardParts& parts, int page, std::string before, std::string after,
                       const QString& text);
    void undo() override;
    void redo() override;

  private:
    DashboardParts& parts_;
    int page_;
    std::string before_;
    std::string after_;
};

// A parameter edit already made by the caller, between two snapshots of definitions, details
// and bindings. `changed` runs after each undo and redo (the value table lists definitions).
class ParameterCommand : public QUndoCommand {
  public:
    ParameterCommand(DashboardParts& parts, BindingSnapshot before, BindingSnapshot after,
                     std::function<void()> changed, const QString& text);
    void undo() override;
    void redo() override;

  private:
    DashboardParts& parts_;
    BindingSnapshot before_;
    BindingSnapshot after_;
    std::function<void()> changed_;
    bool done_ = true;
};

}  // namespace vekaton
