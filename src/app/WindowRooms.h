#pragma once

#include "session/Session.h"

class QAction;
class QTabWidget;

namespace vekaton {

class DashboardController;
class DebugPage;
class FirmwareLoader;
class GraphsPage;
class LinkCommands;
class LinkHealthMonitor;
class LogViewer;
class MessageQueue;
class PlaybackController;
class PortController;
class QtClock;
class RecordingController;
class RecoveryCopies;
class SetCommands;
class StatusPanel;
class WindowCaption;
class WindowLifecycle;
class WindowQuestions;

// The rooms of the main window, each made once by the window and handed what it needs. Tests
// look at them through MainWindow::Rooms(); no room reaches another through the window.
struct WindowRooms {
    Session& session;
    QTabWidget& pages;
    DashboardController& dashboard;
    GraphsPage& graphs;
    DebugPage& debug;
    StatusPanel& status;
    QAction& pauseAction;
    MessageQueue& messages;
    PortController& port;
    WindowCaption& caption;
    RecoveryCopies& recovery;
    RecordingController& recording;
    LogViewer& logView;
    PlaybackController& playback;
    LinkCommands& link;
    FirmwareLoader& loader;
    LinkHealthMonitor& linkHealth;
    WindowLifecycle& lifecycle;
    SetCommands& setCommands;
};

}  // namespace vekaton
