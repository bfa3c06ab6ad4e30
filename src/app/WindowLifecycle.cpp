#include "app/WindowLifecycle.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <cstdio>

#include "app/AppTexts.h"
#include "app/FirmwareLoader.h"
#include "app/LinkCommands.h"
#include "app/MessageQueue.h"
#include "app/WindowQuestions.h"
#include "app/dashboard/DashboardController.h"
#include "app/sets/CrashRecovery.h"
#include "session/Session.h"

namespace vekaton {

WindowLifecycle::WindowLifecycle(const Parts& parts) : QObject(&parts.window), parts_(parts) {}

void WindowLifecycle::FormCreate() {
    parts_.session.Open();
}

void WindowLifecycle::WindowShown() {
    if (!activated_) {
        activated_ = true;
        parts_.dashboard.WindowShown();
        QTimer::singleShot(0, this, &WindowLifecycle::FormActivate);
    }
}

void WindowLifecycle::FormActivate() {
    for (const QString& message : std::as_const(startupMessages_)) {
        parts_.messages.Post(message);
    }
    startupMessages_.clear();
    parts_.link.WindowActivated();
}

void WindowLifecycle::Reopen(const std::function<void()>& open) {
    activated_ = false;
    open();
    activated_ = true;
    FormActivate();
}

void WindowLifecycle::ShowMessage(const QString& text) {
    if (closing_) {
        // A window on its way out shows no box; what closing says goes to the terminal.
        std::fprintf(stderr, "vekaton: %s\n", qPrintable(text));
    } else if (activated_) {
        parts_.messages.Post(text);
    } else {
        startupMessages_.append(text);
    }
}

QStringList WindowLifecycle::FormClose() {
    QStringList errors;
    parts_.recovery.KeepNow();
    for (const std::string& error : parts_.session.Close()) {
        errors.append(QString::fromStdString(error));
    }
    if (errors.isEmpty()) {
        parts_.recovery.SetBaseline();  // the files hold it all now
    }
    return errors;
}

bool WindowLifecycle::CloseRequested() {
    if (closing_) {
        return true;
    }
    if (parts_.loader.Running()) {
        // The loader may be writing the module's memory: the program stays until it ends.
        std::fprintf(stderr, "vekaton: the firmware loader is still running\n");
        return false;
    }
    closing_ = true;
    if (skipSave_) {
        parts_.recovery.Finish();  // "Exit - No Auto Save" discards the changes, copies and all
        return true;
    }
    const QStringList errors = FormClose();
    if (errors.isEmpty()) {
        parts_.recovery.Finish();
        return true;
    }
    saveFailedAtClose_ = true;
    const QString text =
        tr("Some files of the configuration set could not be saved; the files named below are "
           "left as they were, and the next start offers the changes for recovery:\n\n") +
        errors.join("\n") +
        tr("\n\nVekaton ends with exit code %1 to show that saving failed.").arg(ExitCode());
    std::fprintf(stderr, "vekaton: %s\n", qPrintable(text));
    QWidget& window = parts_.window;
    if (window.isVisible() && QGuiApplication::platformName() != "offscreen") {
        QMessageBox::warning(&window, window.windowTitle(), text);
    }
    return true;
}

void WindowLifecycle::ExitNoAutoSave1Click() {
    if (!parts_.questions.YesCancel(texts::kLoseAllChanges)) {
        return;
    }
    parts_.session.StopAcquisition();
    closing_ = true;  // what closing the log says goes to the terminal, not to a box
    parts_.session.CloseLogAndPort();
    closing_ = false;
    skipSave_ = true;
    parts_.window.close();
}

}  // namespace vekaton
