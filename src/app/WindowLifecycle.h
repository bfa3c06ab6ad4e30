#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace vekaton {

class DashboardController;
class FirmwareLoader;
class LinkCommands;
class MessageQueue;
class RecoveryCopies;
class Session;
class WindowQuestions;

// The window's start and end: start-up (FormCreate), the first showing (FormActivate) with the
// messages start-up kept for it, the closing sequence with its exit code, and the two ways out
// ("Exit", and "Exit - No Auto Save", which writes nothing).
class WindowLifecycle : public QObject {
    Q_OBJECT

  public:
    struct Parts {
        Session& session;
        MessageQueue& messages;
        LinkCommands& link;
        FirmwareLoader& loader;
        RecoveryCopies& recovery;
        DashboardController& dashboard;
        WindowQuestions& questions;
        QWidget& window;
    };

    explicit WindowLifecycle(const Parts& parts);

    // Start-up: the session opens the set (bindings emptied, engine defaults, files read).
    void FormCreate();
    // Window first shown: start-up messages, then the port question or AutoRun.
    void FormActivate();
    // From the window's show event.
    void WindowShown();
    // Another set replaces this one (Load Config Files): `open` runs start-up again, whose
    // messages are shown as at the first showing.
    void Reopen(const std::function<void()>& open);

    // A message for the user: at once when the window is up, else once it shows; on the way
    // out, to the terminal.
    void ShowMessage(const QString& text);
    // What start-up says, shown when the window is shown.
    void AddStartupMessage(const QString& text) { startupMessages_.append(text); }

    // The close-time save: acquisition stopped, the port flushed and closed, then the set's
    // files. Returns the errors.
    QStringList FormClose();
    // From the window's close event: false keeps the window open (the firmware loader runs).
    bool CloseRequested();
    void ExitNoAutoSave1Click();
    // The window is going: whatever is said now goes to the terminal.
    void WindowGoing() { closing_ = true; }
    // 1 when a file of the closing sequence could not be written, else 0.
    int ExitCode() const { return saveFailedAtClose_ ? 1 : 0; }

  private:
    Parts parts_;
    bool activated_ = false;
    bool skipSave_ = false;
    bool closing_ = false;
    bool saveFailedAtClose_ = false;
    QStringList startupMessages_;
};

}  // namespace vekaton
