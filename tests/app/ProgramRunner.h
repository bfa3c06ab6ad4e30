#pragma once

#include <sys/resource.h>

#include <QDir>
#include <QProcess>
#include <QString>
#include <csignal>
#include <memory>
#include <optional>

#include "app/InstanceChannel.h"

namespace vekaton::testing {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kProgramAddressSpaceCanBeLimited = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kProgramAddressSpaceCanBeLimited = false;
#else
inline constexpr bool kProgramAddressSpaceCanBeLimited = true;
#endif
#else
inline constexpr bool kProgramAddressSpaceCanBeLimited = true;
#endif

// The real `vekaton`, offscreen, on a set folder, with its lock in a folder of the test's own.
class ProgramRun {
  public:
    struct Options {
        QStringList extraArguments;
        bool testHooks = false;
        // When not 0, the program's address space is limited to this many bytes, so that a
        // regression that reads a huge file whole fails at once instead of eating the machine.
        rlim_t addressSpace = 0;

        static Options WithTestHooks() {
            Options options;
            options.testHooks = true;
            return options;
        }
        static Options WithAddressSpace(rlim_t bytes) {
            Options options;
            options.addressSpace = bytes;
            return options;
        }
    };

    ProgramRun(const QString& lockDir, const QString& setDir)
        : ProgramRun(lockDir, setDir, Options()) {}
    ProgramRun(const QString& lockDir, const QString& setDir, const Options& options)
        : lockDir_(lockDir) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("VEKATON_LOCK_DIR", lockDir);
        // Recovery copies and the demo set go to a folder of the test's own, never the user's.
        env.insert("XDG_DATA_HOME", DataHome(lockDir));
        if (options.testHooks) {
            env.insert("VEKATON_TEST_HOOKS", "1");
        }
        process_.setProcessEnvironment(env);
        if (options.addressSpace != 0 && kProgramAddressSpaceCanBeLimited) {
            const rlim_t bytes = options.addressSpace;
            process_.setChildProcessModifier([bytes] {
                const rlimit limit{bytes, bytes};
                ::setrlimit(RLIMIT_AS, &limit);
            });
        }
        QStringList arguments{"--dir", setDir};
        arguments += options.extraArguments;
        process_.start(QStringLiteral(VEKATON_BINARY_DIR "/src/vekaton"), arguments);
        process_.waitForStarted(10000);
    }
    ~ProgramRun() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(10000);
        }
    }
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    static QString DataHome(const QString& lockDir) { return QDir(lockDir).filePath("data"); }
    // Where the program keeps its recovery copies in this run.
    QString RecoveryDir() const {
        return QDir(DataHome(lockDir_)).filePath("Vekaton/Vekaton/recovery");
    }
    QProcess& Process() { return process_; }
    QString ServerName() const { return QDir(lockDir_).filePath("Vekaton.socket"); }

    // The window's state once it answers on its socket; nullopt when it never does (it hangs,
    // it ended, or it never listened).
    std::optional<QString> WaitForWindow(int timeoutMs = 20000) { return Ask("state", timeoutMs); }
    std::optional<QString> Ask(const QByteArray& request, int timeoutMs = 10000) {
        if (process_.state() == QProcess::NotRunning) {
            return std::nullopt;
        }
        return AskRunningInstance(ServerName(), request, timeoutMs);
    }

    // Ends the program as the desktop would (SIGTERM): the window closes and saves the set.
    // Returns the exit code, or nullopt when it did not end normally.
    std::optional<int> Terminate() {
        if (process_.state() == QProcess::NotRunning) {
            return Finished();
        }
        ::kill(static_cast<pid_t>(process_.processId()), SIGTERM);
        return Finished();
    }
    std::optional<int> Finished(int timeoutMs = 20000) {
        if (process_.state() != QProcess::NotRunning && !process_.waitForFinished(timeoutMs)) {
            return std::nullopt;
        }
        errors_ += QString::fromUtf8(process_.readAllStandardError());
        if (process_.exitStatus() != QProcess::NormalExit) {
            return std::nullopt;
        }
        return process_.exitCode();
    }
    QString Errors() {
        errors_ += QString::fromUtf8(process_.readAllStandardError());
        return errors_;
    }

  private:
    QString lockDir_;
    QProcess process_;
    QString errors_;
};

}  // namespace vekaton::testing
