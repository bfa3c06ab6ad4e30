#pragma once

#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <optional>

namespace vekaton {

class ConfigurationSet;
class Engine;
class LinkCommands;
class StatusPanel;

// "PIC Flash Update": runs the firmware loader set in Setup (no shell: a program and its
// arguments) with the serial port closed for it to use, keeps the window disabled until the
// loader ends, then opens the port again. Says plainly when the loader cannot be found or run.
class FirmwareLoader : public QObject {
    Q_OBJECT

  public:
    struct Command {
        QString program;
        QStringList arguments;
    };

    // The loader runs in the set's folder with the port the link hands over; the window is
    // disabled while it runs.
    struct Parts {
        Engine& engine;
        const ConfigurationSet& set;
        StatusPanel& status;
        LinkCommands& link;
        QWidget& window;
    };

    FirmwareLoader(const Parts& parts, std::function<void(const QString&)> post);

    // The program the settings' "Loader=" names, or the default: "Loader.exe" (Windows) or
    // "Loader" in programFolder, else found on the PATH. A relative path is taken from the
    // set's folder. nullopt with `error` (for the user) when there is no such program.
    static std::optional<Command> Resolve(const QString& setting, const QString& setFolder,
                                          const QString& programFolder, QString* error);
    static QString DefaultName();

    void Run();
    bool Running() const { return process_ != nullptr; }

  signals:
    void finished();

  private:
    void Finished(int exitCode, QProcess::ExitStatus status);
    void Failed(QProcess::ProcessError error);
    void Restore();

    Parts parts_;
    std::function<void(const QString&)> post_;
    QProcess* process_ = nullptr;
    QString program_;
};

}  // namespace vekaton
