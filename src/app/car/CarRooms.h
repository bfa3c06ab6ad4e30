#pragma once

#include <QObject>
#include <memory>

class QAction;
class QDockWidget;
class QMainWindow;
class QTabWidget;

namespace vekaton {

class AcquisitionScreenGuard;
class DashboardController;
class FullScreenView;
class LinkHealthMonitor;
class LogViewer;
class RecordingController;
class ScreenSaverInterface;
class Session;
class StatusPanel;
class ViewCommands;
class WarningsRoom;

// The window in the car: warnings and the alarm, full screen, the View menu with night colours
// and the toolbar, and the screen kept awake while acquiring. The main window makes one, hands
// it what it needs, and tells it of frames and of acquisition starting and stopping.
class CarRooms : public QObject {
    Q_OBJECT

  public:
    struct Parts {
        QMainWindow& window;
        Session& session;
        QTabWidget& pages;
        DashboardController& dashboard;
        StatusPanel& status;
        QDockWidget& statusStrip;
        QAction& pause;
        RecordingController& recording;
        LogViewer& logViewer;
        LinkHealthMonitor& linkHealth;
    };

    explicit CarRooms(const Parts& parts);
    ~CarRooms() override;

    void FrameCompleted();
    void RunStateChanged(bool running);
    // The window shows for the first time.
    void WindowShown();
    // Before the window's destruction starts: the rooms stop filtering its events, which would
    // otherwise reach them from a window that is no longer whole.
    void WindowGoing();

    WarningsRoom& Warnings() const { return *warnings_; }
    FullScreenView& FullScreen() const { return *fullScreen_; }
    ViewCommands& View() const { return *view_; }
    // Made at the first run; none before.
    const AcquisitionScreenGuard* ScreenGuard() const { return screenGuard_.get(); }
    // Tests put their own screen saver in the desktop's place.
    void SetScreenSaver(std::unique_ptr<ScreenSaverInterface> screenSaver);

  private:
    Parts parts_;
    WarningsRoom* warnings_ = nullptr;
    FullScreenView* fullScreen_ = nullptr;
    ViewCommands* view_ = nullptr;
    std::unique_ptr<AcquisitionScreenGuard> screenGuard_;
    bool running_ = false;
};

}  // namespace vekaton
