#pragma once

#include <QObject>
#include <QPoint>
#include <memory>
#include <optional>
#include <vector>

#include "app/dashboard/ItemActions.h"
#include "dashboard/ItemKinds.h"

class QAction;
class QDialog;
class QDockWidget;
class QMainWindow;
class QMenu;
class QTabWidget;
class QUndoStack;

namespace vekaton {

class DashboardModel;
class DashboardPage;
class DashboardView;
class Decoder;
class DesignMode;
class DetailsTable;
class Engine;
class ParameterTable;
class ValueTable;

// The dashboard room of the window: its pages in the main page control, the item widgets kept
// in step with the model, the menus, the parameter editor, the value table beside the pages,
// design mode and the undo stack. The main window makes one and hands it the model, the
// decoder and its pages' place; everything the user does to the dashboard starts here.
class DashboardController : public QObject {
    Q_OBJECT

  public:
    DashboardController(DashboardModel& model, Decoder& decoder, ParameterTable& table,
                        DetailsTable& details, QMainWindow& window, QTabWidget& tabs,
                        int pageCount);
    ~DashboardController() override;

    // The engine the value table reads the frame length and the link counters from.
    void SetEngine(const Engine* engine) { engine_ = engine; }
    // Dialogs and messages, replaceable so that tests can answer them.
    void SetDialogRunner(std::function<int(QDialog&)> runner);
    void SetMessageSink(std::function<void(const QString&)> sink);

    // The Edit menu: undo and redo, the parameter list, the value table, the design commands.
    QMenu* EditMenu() const { return editMenu_; }
    QDockWidget* ValueDock() const { return valueDock_; }
    // Shows or hides the value table (F9), for the View menu.
    QAction* ValueTableAction() const;

    DashboardModel& Model() { return model_; }
    DashboardView& View() { return *view_; }
    DesignMode& Design() { return *design_; }
    ItemActions& Actions() { return *actions_; }
    ValueTable& Values() { return *values_; }
    QUndoStack& Undo() { return *undo_; }
    DashboardParts& Parts() { return *parts_; }
    DashboardPage* Page(int index) const;
    int PageCount() const { return static_cast<int>(pages_.size()); }
    // The dashboard page showing, or the one shown last while another page shows.
    int CurrentPage() const { return currentPage_; }

    // The menus as a right-click opens them, built but not shown.
    QMenu* BuildPageMenu(int page, QPoint at, QWidget* parent = nullptr);
    QMenu* BuildItemMenu(int id, QWidget* parent = nullptr);

    // "Parameters…": the definitions of all positions, without an item.
    void OpenParameterList();
    // The window is shown for the first time: the value table gets a third of its width.
    void WindowShown();
    // A frame was decoded.
    void FrameCompleted();
    // The link brings no data: bound instruments grey out until it does.
    void SetNoData(bool noData);
    // The instruments repaint with every frame only while shown (not while the chart is).
    void SetLiveShown(bool shown);
    // Before another configuration set loads: items gone, undo history emptied.
    void Reset();
    // Definitions changed outside the editor (a set loaded).
    void DefinitionsChanged();
    // A dashboard was put into the model by a loader (items, properties, bindings, reset
    // lists, page captions): pages renamed, live readings cleared, no undo across the load.
    void AfterLoad();

  signals:
    // Definitions or their details changed (an edit, a set read): what depends on them follows.
    void definitionsChanged();

  private:
    void BuildPages(int pageCount);
    void BuildEditMenu();
    void BuildValueDock();
    void PageMenuRequested(DashboardPage* page, QWidget* under, QPoint at, QPoint global);
    void TabChanged(int index);

    DashboardModel& model_;
    Decoder& decoder_;
    ParameterTable& table_;
    DetailsTable& details_;
    QMainWindow& window_;
    QTabWidget& tabs_;
    const Engine* engine_ = nullptr;
    DashboardPrompts prompts_;

    std::vector<DashboardPage*> pages_;
    QUndoStack* undo_ = nullptr;
    std::unique_ptr<DashboardView> view_;
    std::unique_ptr<DashboardParts> parts_;
    DesignMode* design_ = nullptr;
    ItemActions* actions_ = nullptr;
    ValueTable* values_ = nullptr;
    QDockWidget* valueDock_ = nullptr;
    QMenu* editMenu_ = nullptr;
    int currentPage_ = 0;
};

}  // namespace vekaton
