// The real program killed with SIGKILL after an edit: the next start restores the edit, and a
// normal close afterwards leaves no recovery copies behind.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include "ProgramRunner.h"

namespace vekaton {
namespace {

using testing::ProgramRun;

// The copies are whole once their manifest is written, which comes after the copied files.
bool WaitForCopies(const QString& folder, int timeoutMs) {
    for (int waited = 0; waited < timeoutMs; waited += 100) {
        if (QFile::exists(QDir(folder).filePath("manifest"))) {
            return true;
        }
        QThread::msleep(100);
    }
    return false;
}

QByteArray GaugeList(const QString& setDir) {
    for (const QString& name : QDir(setDir).entryList(QDir::Files)) {
        if (name.compare("Default.gau", Qt::CaseInsensitive) == 0) {
            QFile file(QDir(setDir).filePath(name));
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }
    }
    return {};
}

TEST(CrashRecoveryProgram, AnEditSurvivesAKillAndTheCopiesGoAfterANormalClose) {
    QTemporaryDir lockDir;
    QTemporaryDir setDir;
    QString recoveryDir;
    {
        ProgramRun run(lockDir.path(), setDir.path(), ProgramRun::Options::WithTestHooks());
        ASSERT_TRUE(run.WaitForWindow()) << run.Errors().toStdString();
        recoveryDir = run.RecoveryDir();
        const std::optional<QString> added = run.Ask("add-label");
        ASSERT_TRUE(added);
        EXPECT_TRUE(added->startsWith("added")) << added->toStdString();
        ASSERT_TRUE(WaitForCopies(recoveryDir, 10000)) << "copies within seconds of the change";
        run.Process().kill();  // SIGKILL: no close, no save
        EXPECT_FALSE(run.Finished()) << "killed, not ended";
    }
    EXPECT_FALSE(GaugeList(setDir.path()).contains("USERLABEL1")) << "the set was not saved";

    ProgramRun again(lockDir.path(), setDir.path());
    ASSERT_TRUE(again.WaitForWindow()) << again.Errors().toStdString();
    EXPECT_TRUE(GaugeList(setDir.path()).contains("USERLABEL1"))
        << "restored before the set was read";
    EXPECT_EQ(again.Terminate(), 0);
    EXPECT_TRUE(again.Errors().contains("restored")) << again.Errors().toStdString();
    EXPECT_TRUE(GaugeList(setDir.path()).contains("USERLABEL1")) << "and saved at the close";
    EXPECT_TRUE(QDir(recoveryDir).entryList(QDir::Files).isEmpty())
        << QDir(recoveryDir).entryList(QDir::Files).join(",").toStdString();
}

// Restoring into a set whose gauge list cannot be written (a FIFO in its place): the copies are
// not lost with the failed restore, and come back at the next start once the set can take them.
TEST(CrashRecoveryProgram, AFailedRestoreKeepsTheCopiesForTheNextStart) {
    QTemporaryDir lockDir;
    QTemporaryDir setDir;
    QString recoveryDir;
    {
        ProgramRun run(lockDir.path(), setDir.path(), ProgramRun::Options::WithTestHooks());
        ASSERT_TRUE(run.WaitForWindow()) << run.Errors().toStdString();
        recoveryDir = run.RecoveryDir();
        ASSERT_TRUE(run.Ask("add-label"));
        ASSERT_TRUE(WaitForCopies(recoveryDir, 10000));
        run.Process().kill();
    }
    const QString fifo = QDir(setDir.path()).filePath("Default.gau");
    QFile::remove(fifo);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    {
        ProgramRun failing(lockDir.path(), setDir.path());
        ASSERT_TRUE(failing.WaitForWindow()) << failing.Errors().toStdString();
        failing.Terminate();
        const QString errors = failing.Errors();
        EXPECT_TRUE(errors.contains("could not all be restored")) << errors.toStdString();
        EXPECT_TRUE(errors.contains("kept for the next start")) << errors.toStdString();
    }
    const QString held = QDir(recoveryDir).filePath("held");
    EXPECT_TRUE(QFile::exists(QDir(held).filePath("manifest")))
        << "kept: " << QDir(recoveryDir).entryList().join(",").toStdString();

    ASSERT_TRUE(QFile::remove(fifo));
    ProgramRun again(lockDir.path(), setDir.path());
    ASSERT_TRUE(again.WaitForWindow()) << again.Errors().toStdString();
    EXPECT_TRUE(GaugeList(setDir.path()).contains("USERLABEL1")) << again.Errors().toStdString();
    EXPECT_EQ(again.Terminate(), 0) << again.Errors().toStdString();
    EXPECT_TRUE(again.Errors().contains("restored into")) << again.Errors().toStdString();
    EXPECT_FALSE(QFile::exists(QDir(held).filePath("manifest"))) << "gone once restored";
}

}  // namespace
}  // namespace vekaton
