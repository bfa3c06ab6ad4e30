#pragma once

#include <QObject>
#include <QPoint>
#include <functional>
#include <optional>

#include "app/dashboard/ItemCommands.h"

class QDialog;
class QUndoStack;
class QWidget;

namespace vekaton {

class DesignMode;

// How the dashboard asks and tells: dialogs run modally unless a test runs them, messages go
// to the window's message queue.
struct DashboardPrompts {
    std::function<int(QDialog&)> runDialog;
    std::function<void(const QString&)> showMessage;
};

// What the user does to items, each edit one undoable command: adding (from the page menu,
// from the value table, by pasting), removing, hold modes, captions, appearance, reset-button
// lists, page names, and parameter edits.
class ItemActions : public QObject {
    Q_OBJECT

  public:
    ItemActions(DashboardParts& parts, QUndoStack& undo, DesignMode& design,
                DashboardPrompts& prompts, QWidget* dialogParent);

    // A new item at a point of a page, rounded down to the design grid.
    std::optional<int> AddItem(ItemKind kind, int page, QPoint at);
    // A new item showing a position (a digital LED: one of its bits), placed in the first free
    // spot of the page.
    std::optional<int> AddBoundItem(ItemKind kind, int page, int position, int bit);
    void Copy(int id);
    bool CanPaste() const { return clipboard_.has_value(); }
    std::optional<int> Paste(int page, QPoint at);
    void Remove(int id);
    void SetHoldMode(int id, int mode);
    void ResetMinMax(int id);
    bool EditCaption(int id);
    bool EditAppearance(int id);
    bool EditResetList(int id);
    bool RenamePage(int page);
    bool ChooseGridStep();
    // Opens the parameter editor at a position, for an item or (0) for the definitions alone.
    void EditParameters(int position, int itemId);
    // What the editor calls: makes a checked edit as one command; the reason when it cannot.
    QString ApplyEdit(const ParameterEdit& edit);

  signals:
    void definitionsChanged();

  private:
    struct Clipboard {
        ItemKind kind = ItemKind::Label;
        PropertyBag properties;
        PropertyBag panelProperties;
        BindingEntry binding;
        ResetButtonEntry reset;
    };

    std::optional<int> Create(ItemKind kind, int page);
    // The place of an item of this size on a page where it covers no other item.
    QPoint FreeSpot(int page, QSize size) const;
    void Place(int id, QPoint at);
    bool Bind(int id, int position, int bit);
    QString NameOf(int id) const;
    int Run(QDialog& dialog);
    void Tell(const QString& message);

    DashboardParts& parts_;
    QUndoStack& undo_;
    DesignMode& design_;
    DashboardPrompts& prompts_;
    QWidget* dialogParent_;
    std::optional<Clipboard> clipboard_;
};

}  // namespace vekaton
