#pragma once

#include <QObject>

#include "app/car/ViewPreferences.h"

class QAction;
class QMainWindow;
class QMenu;
class QSlider;
class QToolBar;

namespace vekaton {

class DashboardController;
class Engine;
class FullScreenView;
class LinkHealthMonitor;
class LogViewer;
class RecordingController;

// The View menu and the toolbar: the value table (F9), full screen (F11), pages fitted to the
// window, night colours (F10) with their tint and brightness, the toolbar itself and starting in
// full screen, each remembered for the user. The toolbar's buttons are large enough for a finger
// on a small touch screen: Run/Pause, Record, the previous and next page, full screen and night.
class ViewCommands : public QObject {
    Q_OBJECT

  public:
    struct Parts {
        QMainWindow& window;
        DashboardController& dashboard;
        FullScreenView& fullScreen;
        QAction& pause;  // "Run"/"Pause", whose caption the toolbar's button follows
        RecordingController& recording;
        const Engine& engine;
        const LogViewer& logViewer;
        LinkHealthMonitor& linkHealth;
    };

    explicit ViewCommands(const Parts& parts);

    QMenu* ViewMenu() const { return menu_; }
    QToolBar* ToolBar() const { return toolBar_; }

    // The window shows for the first time: the user's choices take effect (full screen among
    // them, when "Start in Full Screen" is on).
    void WindowShown();
    // The window is going: its own events no longer reach these commands.
    void StopWatching();
    void SetNightColours(const NightColours& night);
    const NightColours& Night() const { return preferences_.night; }
    const ViewPreferences& Preferences() const { return preferences_; }

    QAction* NightAction() const { return nightAction_; }
    QAction* FitPagesAction() const { return fitPages_; }
    QAction* ToolBarAction() const { return toolBarAction_; }
    QAction* StartFullScreenAction() const { return startFullScreen_; }
    QAction* RedTintAction() const { return redTint_; }
    QAction* RunAction() const { return run_; }
    QAction* RecordAction() const { return record_; }
    QSlider* BrightnessSlider() const { return brightness_; }

    // Captions beside the toolbar's icons while they fit the window, else icons alone (with
    // their tool tips), rather than captions cut short.
    bool ToolBarCaptionsShown() const;
    bool ToolBarCaptionsFit(int windowWidth) const { return windowWidth >= captionsWidth_; }

  signals:
    void nightColoursChanged(const NightColours& night);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildMenu();
    void FitToolBar();
    void BuildToolBar();
    void ApplyNight();
    void StepBrightness(double step);
    void ShowRunState();
    void ShowRecordState();
    void Save();

    Parts parts_;
    ViewPreferences preferences_;
    QMenu* menu_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QAction* nightAction_ = nullptr;
    QAction* fitPages_ = nullptr;
    QAction* toolBarAction_ = nullptr;
    QAction* startFullScreen_ = nullptr;
    QAction* redTint_ = nullptr;
    QAction* brighter_ = nullptr;
    QAction* dimmer_ = nullptr;
    QAction* run_ = nullptr;
    QAction* record_ = nullptr;
    QSlider* brightness_ = nullptr;
    bool shown_ = false;
    int captionsWidth_ = 0;  // what the toolbar needs with its captions
};

}  // namespace vekaton
