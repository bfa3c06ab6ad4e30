#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <vector>

#include "widgets/NightColours.h"

class QAction;
class QDockWidget;
class QMainWindow;
class QTabWidget;
class QToolBar;
class QWidget;

namespace vekaton {

class DashboardController;
class Engine;
class IdleCursor;
class LinkHealthMonitor;
class LinkIndicator;
class PageIndicator;
class WarningsRoom;

// The dashboard alone on the whole screen, for a car: no menus, tabs, toolbar or status strip,
// the page drawn scaled to fill the screen, a small link indicator (and the warnings, when there
// are any) in the bottom right corner. Esc or F11 leaves. Pages switch with Page Up/Page Down,
// the keys 1 to 9, a swipe (a drag across the screen, or a finger's) or a click near the left or
// right edge; the page's name shows for two seconds after each switch. The cursor hides after
// three seconds without moving. Outside full screen, pages may be fitted to the window too.
class FullScreenView : public QObject {
    Q_OBJECT

  public:
    struct Parts {
        QMainWindow& window;
        QTabWidget& pages;
        DashboardController& dashboard;
        QDockWidget& statusStrip;
        LinkHealthMonitor& linkHealth;
        const Engine& engine;
        WarningsRoom& warnings;
    };

    explicit FullScreenView(const Parts& parts);
    ~FullScreenView() override;
    // The window is going: no event of its half-destroyed widgets reaches this view.
    void StopWatching();

    void SetFullScreen(bool on);
    bool FullScreen() const { return fullScreen_; }
    // Pages drawn to fill the normal window too ("Fit Pages to Window").
    void SetFitPages(bool on);
    bool FitPages() const { return fitPages_; }
    void SetNightColours(const NightColours& night);

    // The dashboard page `steps` pages on (negative: back) among those holding items.
    void StepPage(int steps);
    // A dashboard page by its index; pages that do not exist are left alone.
    void ShowDashboardPage(int page);

    // F11 (checked in full screen), Page Up and Page Down: for the View menu and the toolbar.
    QAction* FullScreenAction() const { return fullScreenAction_; }
    QAction* PreviousPageAction() const { return previousPage_; }
    QAction* NextPageAction() const { return nextPage_; }

    // What tests look at.
    PageIndicator& Indicator() const { return *pageIndicator_; }
    LinkIndicator& Link() const { return *linkIndicator_; }
    IdleCursor& Cursor() const { return *idleCursor_; }
    QWidget& Corner() const { return *corner_; }
    // The width of the zones at the left and right edges where a click switches pages.
    int EdgeZone() const;

  signals:
    void fullScreenChanged(bool on);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildActions();
    void HideChrome();
    void CoverScreenWithoutWindowManager();
    void RestoreChrome();
    void ApplyScaling();
    void PageShown(int tab);
    void PlaceOverlays();
    void ShowLinkHealth();
    bool MouseEvent(QObject* watched, QEvent* event);
    bool InThisWindow(QObject* object) const;

    Parts parts_;
    bool fullScreen_ = false;
    bool fitPages_ = false;
    bool wasMaximized_ = false;
    QRect windowedGeometry_;
    bool coveredByHand_ = false;  // no window manager made it full screen: undone by hand too
    bool documentMode_ = false;
    std::vector<QPointer<QWidget>> hidden_;  // what full screen hid, shown again on leaving
    QAction* fullScreenAction_ = nullptr;
    QAction* previousPage_ = nullptr;
    QAction* nextPage_ = nullptr;
    std::vector<QAction*> fullScreenKeys_;  // Esc and 1 to 9: only while in full screen
    PageIndicator* pageIndicator_ = nullptr;
    LinkIndicator* linkIndicator_ = nullptr;
    QWidget* corner_ = nullptr;
    IdleCursor* idleCursor_ = nullptr;
    bool pressed_ = false;
    QPoint pressAt_;  // global
};

}  // namespace vekaton
