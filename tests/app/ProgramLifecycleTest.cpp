// Starts the real program (offscreen) to check the single-instance rule and the orderly close on
// termination signals.
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "ProgramRunner.h"
#include "QtApp.h"
#include "files/NonRegularFiles.h"

namespace {

using vekaton::testing::ProgramRun;

QString ProgramPath() {
    return QStringLiteral(VEKATON_BINARY_DIR "/src/vekaton");
}

class ProgramLifecycle : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(lockDir_.isValid());
        ASSERT_TRUE(setDir_.isValid());
    }

    std::unique_ptr<QProcess> Start() {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("VEKATON_LOCK_DIR", lockDir_.path());
        env.insert("XDG_DATA_HOME", ProgramRun::DataHome(lockDir_.path()));
        process->setProcessEnvironment(env);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(ProgramPath(), {"--dir", setDir_.path()});
        return process;
    }

    // The first instance holds its lock once its window is up; wait for the lock file.
    bool WaitForLock() {
        for (int i = 0; i < 200; ++i) {
            if (!QDir(lockDir_.path()).entryList(QDir::Files | QDir::Hidden).isEmpty()) {
                return true;
            }
            QThread::msleep(50);
        }
        return false;
    }

    QTemporaryDir lockDir_;
    QTemporaryDir setDir_;
};

TEST_F(ProgramLifecycle, SecondInstanceExitsAtOnceWithCodeZero) {
    auto first = Start();
    ASSERT_TRUE(first->waitForStarted(10000));
    ASSERT_TRUE(WaitForLock());
    QThread::msleep(500);  // let the window come up
    ASSERT_EQ(first->state(), QProcess::Running);

    auto second = Start();
    ASSERT_TRUE(second->waitForFinished(10000));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_EQ(first->state(), QProcess::Running);

    first->terminate();
    ASSERT_TRUE(first->waitForFinished(15000));
}

TEST_F(ProgramLifecycle, HelpIsAnsweredWhileACopyRunsAndNamesNoBuildFolder) {
    auto first = Start();
    ASSERT_TRUE(first->waitForStarted(10000));
    ASSERT_TRUE(WaitForLock());

    for (const char* option : {"--help", "-h"}) {
        QProcess help;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("VEKATON_LOCK_DIR", lockDir_.path());
        env.remove("DISPLAY");  // no display is needed for it
        env.remove("QT_QPA_PLATFORM");
        help.setProcessEnvironment(env);
        help.start(ProgramPath(), {option});
        ASSERT_TRUE(help.waitForFinished(10000));
        EXPECT_EQ(help.exitCode(), 0) << option;
        const QString out = QString::fromUtf8(help.readAllStandardOutput());
        EXPECT_TRUE(out.startsWith("usage: vekaton [--dir DIR] [--demo]")) << out.toStdString();
        EXPECT_TRUE(out.contains("--demo")) << out.toStdString();
        EXPECT_TRUE(out.contains("Exit codes:")) << out.toStdString();
        EXPECT_FALSE(out.contains(VEKATON_BINARY_DIR)) << out.toStdString();
    }
    QProcess wrong;
    wrong.start(ProgramPath(), {"--colour", "red"});
    ASSERT_TRUE(wrong.waitForFinished(10000));
    EXPECT_EQ(wrong.exitCode(), 64);
    EXPECT_TRUE(QString::fromUtf8(wrong.readAllStandardError()).contains("--help"));
    EXPECT_EQ(first->state(), QProcess::Running);

    first->terminate();
    ASSERT_TRUE(first->waitForFinished(15000));
}

TEST_F(ProgramLifecycle, TerminationSignalClosesInOrderAndSavesTheSet) {
    auto process = Start();
    ASSERT_TRUE(process->waitForStarted(10000));
    ASSERT_TRUE(WaitForLock());
    QThread::msleep(500);
    ASSERT_EQ(process->state(), QProcess::Running);

    ::kill(static_cast<pid_t>(process->processId()), SIGTERM);
    ASSERT_TRUE(process->waitForFinished(15000));
    EXPECT_EQ(process->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process->exitCode(), 0);
    // A normal close writes the settings file and the parameter file of the default set.
    const QStringList files = QDir(setDir_.path()).entryList(QDir::Files);
    EXPECT_TRUE(files.contains("Default.Ini", Qt::CaseInsensitive))
        << files.join(",").toStdString();
    EXPECT_TRUE(files.contains("Default.cfg", Qt::CaseInsensitive))
        << files.join(",").toStdString();

    // The lock was released: a new instance starts and keeps running.
    auto again = Start();
    ASSERT_TRUE(again->waitForStarted(10000));
    EXPECT_FALSE(again->waitForFinished(1500));
    again->terminate();
    ASSERT_TRUE(again->waitForFinished(15000));
}

// A second start brings the running window to the front, then ends with code 0, and says so.
TEST_F(ProgramLifecycle, SecondStartRaisesTheRunningWindow) {
    vekaton::testing::TestApp();  // the local socket wants an application object
    ProgramRun first(lockDir_.path(), setDir_.path(), ProgramRun::Options::WithTestHooks());
    ASSERT_TRUE(first.WaitForWindow());
    const auto minimized = first.Ask("minimize");
    ASSERT_TRUE(minimized);
    EXPECT_TRUE(minimized->contains("minimized")) << minimized->toStdString();

    ProgramRun second(lockDir_.path(), setDir_.path());
    EXPECT_EQ(second.Finished(20000), 0);
    EXPECT_TRUE(second.Errors().contains("already running (process " +
                                         QString::number(first.Process().processId()) +
                                         "); its window is brought to the front"))
        << second.Errors().toStdString();

    // The first window is restored, shown and active again.
    std::optional<QString> state;
    for (int i = 0; i < 100; ++i) {
        state = first.Ask("state");
        if (state && *state == "visible normal active") {
            break;
        }
        QThread::msleep(50);
    }
    ASSERT_TRUE(state);
    EXPECT_EQ(*state, "visible normal active");
    EXPECT_EQ(first.Process().state(), QProcess::Running);
    EXPECT_EQ(first.Terminate(), 0);
    EXPECT_TRUE(first.Errors().contains("another start asked for this window"))
        << first.Errors().toStdString();
}

// Lock files whose holder cannot be shown to be alive never keep the window away: each start
// below gets its window and holds the lock afterwards.
TEST_F(ProgramLifecycle, StaleLocksOfEveryShapeAreTakenOver) {
    vekaton::testing::TestApp();
    const QString lockPath = QDir(lockDir_.path()).filePath("Vekaton.lock");
    const std::filesystem::path native(QFile::encodeName(lockPath).constData());
    const std::vector<std::pair<const char*, std::function<void()>>> shapes = {
        {"empty", [&] { std::ofstream(native) << ""; }},
        {"another host", [&] { std::ofstream(native) << "1\nvekaton\nother-host\n"; }},
        {"garbage",
         [&] {
             std::ofstream(native) << "\x7F"
                                      "ELF garbage";
         }},
        {"dead process",
         [&] {
             QProcess gone;
             gone.start("true");
             gone.waitForFinished();
             std::ofstream(native) << gone.processId() << "\nvekaton\n"
                                   << QSysInfo::machineHostName().toStdString() << "\n";
         }},
        {"folder", [&] { QDir().mkpath(lockPath + "/inside"); }},
        {"FIFO", [&] { vekaton::testing::MakeFifo(native); }},
    };
    for (const auto& [shape, make] : shapes) {
        make();
        ProgramRun run(lockDir_.path(), setDir_.path());
        const auto state = run.WaitForWindow();
        ASSERT_TRUE(state) << shape << ": " << run.Errors().toStdString();
        std::ifstream lock(native);
        long long pid = 0;
        lock >> pid;
        EXPECT_EQ(pid, run.Process().processId()) << shape;
        EXPECT_EQ(run.Terminate(), 0) << shape;
        if (std::string(shape) == "folder" || std::string(shape) == "FIFO") {
            EXPECT_TRUE(run.Errors().contains("not a lock file. It was moved aside to"))
                << run.Errors().toStdString();
        } else {
            EXPECT_TRUE(run.Errors().contains("took over the lock")) << run.Errors().toStdString();
        }
        for (const QString& aside :
             QDir(lockDir_.path())
                 .entryList({"Vekaton.lock.moved-aside-*"}, QDir::AllEntries | QDir::System)) {
            std::filesystem::remove_all(
                QFile::encodeName(lockDir_.path() + "/" + aside).constData());
        }
    }
}

}  // namespace
