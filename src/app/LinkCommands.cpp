#include "app/LinkCommands.h"

#include <QAction>
#include <QWidget>
#include <cstdio>
#include <utility>

#include "app/AppTexts.h"
#include "app/DebugPage.h"
#include "app/MessageQueue.h"
#include "app/PortChooser.h"
#include "app/SetupDialog.h"
#include "app/StatusPanel.h"
#include "app/logview/LogViewBar.h"
#include "app/logview/LogViewer.h"
#include "engine/EngineTexts.h"
#include "io/PortController.h"
#include "session/Session.h"
#include "set/SettingsFile.h"

namespace vekaton {

LinkCommands::LinkCommands(const Parts& parts, std::function<void(const QString&)> post)
    : QObject(&parts.window), parts_(parts), post_(std::move(post)) {}

void LinkCommands::PauseClick() {
    resumeAfterRestore_ = false;
    if (parts_.logViewer.IsOpen()) {
        // Run does nothing while a log is viewed; say why rather than seem broken.
        parts_.logViewer.Bar().ShowNote(tr("Close the log (Ctrl+W) to run acquisition"));
    }
    parts_.session.GetEngine().PauseClick();
}

void LinkCommands::SetupClick() {
    Engine& engine = parts_.session.GetEngine();
    if (engine.Running()) {
        PauseClick();
    }
    QList<PortChoice> ports = AvailablePortChoices();
    SetupDialog dialog(engine.Settings(), ports, &parts_.window);
    if (dialog.exec() == QDialog::Accepted) {
        const LinkSettings before = engine.Settings();
        const LinkSettings settings = dialog.Settings();
        parts_.session.ApplyLinkSettings(settings, true);
        const bool portChanged =
            PortController::DeviceFor(before) != PortController::DeviceFor(settings) ||
            before.baudRate != settings.baudRate || !parts_.port.IsOpen();
        if (portChanged) {
            OpenPort(settings, false);
        }
    }
    // A port that would not open has said so already; no second message about it.
    if (dialog.RunAfterClosing() && parts_.port.IsOpen() && !engine.Running()) {
        PauseClick();
    }
}

void LinkCommands::AutoRun1Click() {
    Engine& engine = parts_.session.GetEngine();
    LinkSettings settings = engine.Settings();
    settings.autoRun = parts_.autoRun.isChecked();
    engine.ApplySettings(settings);
}

void LinkCommands::WindowActivated() {
    if (!pendingPortChoice_.isEmpty()) {
        parts_.messages.WhenIdle([this] { OfferPortChoice(); });
        return;
    }
    AutoRunIfSet();
}

void LinkCommands::AutoRunIfSet() {
    const Engine& engine = parts_.session.GetEngine();
    if (engine.Settings().autoRun) {
        parts_.autoRun.setChecked(true);
        if (!engine.Running()) {
            PauseClick();
        }
    }
}

void LinkCommands::SettingsApplied(const LinkSettings& settings, bool receivePathChanged) {
    parts_.port.SettingsChanged(settings);
    parts_.status.SetSampleRate(settings.sampleRate);
    parts_.autoRun.setChecked(settings.autoRun);
    if (receivePathChanged) {
        ShowModeLabel(settings.syncMode);
        parts_.status.SetByteCountPanelVisible(settings.syncMode == SyncMode::Aldl160);
    }
}

void LinkCommands::ShowModeLabel(SyncMode mode) {
    switch (mode) {
        case SyncMode::ListenOnly:
            parts_.status.SetModeLabel(texts::kLabelListenOnly);
            break;
        case SyncMode::TalkListen:
            parts_.status.SetModeLabel(texts::kLabelTalkListen);
            break;
        case SyncMode::Aldl160:
            parts_.status.SetModeLabel(texts::kLabelAldl160);
            break;
    }
}

void LinkCommands::OpenPort(const LinkSettings& settings, bool offerChoice) {
    const std::optional<QString> error = parts_.port.Open(settings);
    if (!error) {
        parts_.status.SetPortState(parts_.port.DeviceName(), false);
        return;
    }
    parts_.status.SetPortState(tr("No port open"), true);
    if (!offerChoice) {
        post_(*error);
        return;
    }
    // Asked once the window shows and its messages are read, before Auto Run, so the cause
    // and the choice come in one box and the consequence never stands in front of them.
    pendingPortChoice_ = *error;
}

void LinkCommands::OfferPortChoice() {
    const QString message = std::exchange(pendingPortChoice_, QString());
    LinkSettings chosen = parts_.session.GetEngine().Settings();
    const bool picked = portPrompt_ ? portPrompt_(message, chosen) : AskPortChoice(message, chosen);
    if (picked) {
        parts_.session.ApplyLinkSettings(chosen, true);
        OpenPort(chosen, false);
    }
    AutoRunIfSet();
}

bool LinkCommands::AskPortChoice(const QString& message, LinkSettings& settings) {
    const std::optional<QString> device =
        ChoosePort(&parts_.window, PortController::DeviceFor(settings), message);
    if (!device) {
        return false;
    }
    settings.portName = device->toStdString();
    settings.comPort = ComPortNumberOfDevice(settings.portName);
    return true;
}

void LinkCommands::ReopenPort() {
    OpenPort(parts_.session.GetEngine().Settings(), false);
}

void LinkCommands::ClosePort() {
    parts_.port.Close();
}

void LinkCommands::TracingToggled(bool on) {
    if (!on) {
        parts_.port.StopTrace();
        parts_.debug.SetTracing(false, {});
        return;
    }
    const QString folder = QString::fromStdString(parts_.session.Set().Folder().string());
    if (auto error = parts_.port.StartTrace(folder)) {
        parts_.debug.SetTracing(false, {});
        parts_.messages.Post(*error);
        return;
    }
    parts_.debug.SetTracing(true, parts_.port.TraceFilePath());
}

void LinkCommands::PortLost(const QString& message) {
    Engine& engine = parts_.session.GetEngine();
    // The log keeps every completed frame; it is not left open waiting for a port that is gone.
    engine.CloseRecordingNow(kPortLostReason);
    resumeAfterRestore_ = engine.Running();
    if (resumeAfterRestore_) {
        engine.PauseClick();
    }
    parts_.status.ShowPortLost(parts_.port.DeviceName(), message);
    std::fprintf(stderr, "vekaton: %s\n", qPrintable(message));
}

void LinkCommands::PortRestored(const QString& message) {
    Engine& engine = parts_.session.GetEngine();
    parts_.status.ShowPortBack(parts_.port.DeviceName(), message);
    std::fprintf(stderr, "vekaton: %s\n", qPrintable(message));
    if (resumeAfterRestore_ && !engine.Running()) {
        engine.PauseClick();
    }
    resumeAfterRestore_ = false;
}

}  // namespace vekaton
