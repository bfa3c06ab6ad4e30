#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "common/LinkSettings.h"

class QAction;
class QWidget;

namespace vekaton {

class DebugPage;
class LogViewer;
class MessageQueue;
class PortController;
class Session;
class StatusPanel;

// The link in the window: Run/Pause, Setup, Auto Run at Startup, the port opened with the
// settings in force (and the port list offered once when it will not open), a lost and restored
// port, and tracing the traffic to "Comm.Log".
class LinkCommands : public QObject {
    Q_OBJECT

  public:
    struct Parts {
        Session& session;
        PortController& port;
        StatusPanel& status;
        DebugPage& debug;
        LogViewer& logViewer;
        MessageQueue& messages;
        QAction& autoRun;  // "Auto Run at Startup", whose check mark is AutoRun
        QWidget& window;
    };
    // The port would not open: show the message with the port list, once; true with the
    // chosen device in settings.portName. Replaceable so that tests can answer.
    using PortPrompt = std::function<bool(const QString& message, LinkSettings& settings)>;

    // `post` shows a message as the window does (after start-up, or kept until then).
    LinkCommands(const Parts& parts, std::function<void(const QString&)> post);

    void SetPortPrompt(PortPrompt prompt) { portPrompt_ = std::move(prompt); }

    void PauseClick();
    void SetupClick();
    void AutoRun1Click();
    // The window was shown: the port question start-up left, then AutoRun.
    void WindowActivated();
    void AutoRunIfSet();

    // Opens the port the settings name. When it will not open the user is told why; with
    // `offerChoice` (start-up) the port list is offered once the window shows.
    void OpenPort(const LinkSettings& settings, bool offerChoice);
    // The port of the settings in force again (after the firmware loader had it).
    void ReopenPort();
    void ClosePort();
    // Link settings reached the engine: the labels and the port follow them.
    void SettingsApplied(const LinkSettings& settings, bool receivePathChanged);

    void TracingToggled(bool on);
    void PortLost(const QString& message);
    void PortRestored(const QString& message);

  private:
    void OfferPortChoice();
    bool AskPortChoice(const QString& message, LinkSettings& settings);
    void ShowModeLabel(SyncMode mode);

    Parts parts_;
    std::function<void(const QString&)> post_;
    PortPrompt portPrompt_;
    QString pendingPortChoice_;  // why the set's port did not open at start-up
    bool resumeAfterRestore_ = false;
};

}  // namespace vekaton
