#include "app/FirmwareLoader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "app/AppTexts.h"
#include "app/LinkCommands.h"
#include "app/StatusPanel.h"
#include "engine/Engine.h"
#include "engine/EngineTexts.h"
#include "set/ConfigurationSet.h"

namespace vekaton {
namespace {

bool IsProgram(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

}  // namespace

FirmwareLoader::FirmwareLoader(const Parts& parts, std::function<void(const QString&)> post)
    : QObject(&parts.window), parts_(parts), post_(std::move(post)) {}

QString FirmwareLoader::DefaultName() {
#if defined(Q_OS_WIN)
    return QStringLiteral("Loader.exe");
#else
    return QStringLiteral("Loader");
#endif
}

std::optional<FirmwareLoader::Command> FirmwareLoader::Resolve(const QString& setting,
                                                               const QString& setFolder,
                                                               const QString& programFolder,
                                                               QString* error) {
    const QString text = setting.trimmed();
    if (text.isEmpty()) {
        const QString beside = QDir(programFolder).filePath(DefaultName());
        if (IsProgram(beside)) {
            return Command{beside, {}};
        }
        const QString onPath = QStandardPaths::findExecutable(DefaultName());
        if (!onPath.isEmpty()) {
            return Command{onPath, {}};
        }
        *error = QObject::tr(
                     "The firmware loader \"%1\" is not there: it is neither next to the "
                     "program (in %2) nor on the PATH. Install it there, or set the "
                     "loader's location in Setup (Firmware loader).")
                     .arg(DefaultName(), QDir::toNativeSeparators(programFolder));
        return std::nullopt;
    }
    // A whole setting that names a file is the program, blanks and all; otherwise it is a
    // program followed by arguments, split as a command line is (quotes group words).
    const QString whole = QDir(setFolder).absoluteFilePath(text);
    if (IsProgram(whole)) {
        return Command{whole, {}};
    }
    QStringList words = QProcess::splitCommand(text);
    if (words.isEmpty()) {
        *error = QObject::tr("The firmware loader setting \"%1\" names no program.").arg(text);
        return std::nullopt;
    }
    const QString name = words.takeFirst();
    QString program;
    if (name.contains('/') || name.contains('\\')) {
        program = QDir(setFolder).absoluteFilePath(name);
        if (!IsProgram(program)) {
            program.clear();
        }
    } else {
        program = QStandardPaths::findExecutable(name);
        if (program.isEmpty() && IsProgram(QDir(programFolder).filePath(name))) {
            program = QDir(programFolder).filePath(name);
        }
    }
    if (program.isEmpty()) {
        *error = QObject::tr(
                     "The firmware loader \"%1\" is not there, or is not a program that "
                     "may be run. Check the loader's location in Setup (Firmware "
                     "loader).")
                     .arg(name);
        return std::nullopt;
    }
    return Command{program, words};
}

void FirmwareLoader::Run() {
    if (Running()) {
        return;
    }
    Engine& engine = parts_.engine;
    QString error;
    const auto command = Resolve(QString::fromStdString(engine.Settings().loader),
                                 QString::fromStdString(parts_.set.Folder().string()),
                                 QCoreApplication::applicationDirPath(), &error);
    if (!command) {
        post_(error);
        return;
    }
    // The loader talks to the module through the same adapter: the port is handed over.
    engine.StopPlayback();
    if (engine.Running()) {
        parts_.link.PauseClick();
    }
    engine.CloseRecordingNow(tr("the firmware loader needs the port").toStdString());
    parts_.link.ClosePort();

    program_ = command->program;
    process_ = new QProcess(this);
    process_->setProgram(command->program);
    process_->setArguments(command->arguments);
    process_->setWorkingDirectory(QString::fromStdString(parts_.set.Folder().string()));
    process_->setProcessChannelMode(QProcess::ForwardedChannels);
    connect(process_, &QProcess::finished, this, &FirmwareLoader::Finished);
    connect(process_, &QProcess::errorOccurred, this, &FirmwareLoader::Failed);
    parts_.window.setEnabled(false);
    parts_.status.SetPortState(
        tr("%1 is running with the port").arg(QFileInfo(program_).fileName()), false);
    process_->start();
}

void FirmwareLoader::Finished(int exitCode, QProcess::ExitStatus status) {
    if (status == QProcess::CrashExit) {
        post_(tr("The firmware loader %1 stopped abnormally. The module may not have been "
                 "updated.")
                  .arg(QFileInfo(program_).fileName()));
    } else if (exitCode != 0) {
        post_(tr("The firmware loader %1 ended with exit code %2. The module may not have been "
                 "updated.")
                  .arg(QFileInfo(program_).fileName())
                  .arg(exitCode));
    }
    Restore();
}

void FirmwareLoader::Failed(QProcess::ProcessError error) {
    if (error != QProcess::FailedToStart || process_ == nullptr) {
        return;  // the end of a loader that ran is reported by Finished
    }
    post_(tr("The firmware loader %1 could not be started: %2")
              .arg(QDir::toNativeSeparators(program_), process_->errorString()));
    Restore();
}

void FirmwareLoader::Restore() {
    if (process_ == nullptr) {
        return;
    }
    process_->deleteLater();
    process_ = nullptr;
    parts_.window.setEnabled(true);
    parts_.link.ReopenPort();
    emit finished();
}

}  // namespace vekaton
