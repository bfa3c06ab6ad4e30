// Starts the real program (offscreen) to check the single-instance rule and the orderly close on
// termination signals.
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>

namespace {

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

}  // namespace
