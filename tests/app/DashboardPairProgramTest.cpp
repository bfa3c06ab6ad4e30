// The real program on a set whose gauge list cannot be read (a FIFO, a file far past its limit):
// neither file of the dashboard is written at the close, the message says so, and the edit made
// meanwhile stays in the recovery copies.
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

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WaitForFile(const QString& path, int timeoutMs) {
    for (int waited = 0; waited < timeoutMs; waited += 100) {
        if (QFile::exists(path)) {
            return true;
        }
        QThread::msleep(100);
    }
    return false;
}

enum class Unreadable { Fifo, FarTooLarge };

class DashboardPairProgramTest : public ::testing::TestWithParam<Unreadable> {};

TEST_P(DashboardPairProgramTest, AnUnreadableGaugeListKeepsTheLayoutAsItWas) {
    QTemporaryDir lockDir;
    QTemporaryDir setDir;
    const QDir set(setDir.path());
    {
        ProgramRun first(lockDir.path(), setDir.path(), ProgramRun::Options::WithTestHooks());
        ASSERT_TRUE(first.WaitForWindow()) << first.Errors().toStdString();
        ASSERT_TRUE(first.Ask("add-label"));
        ASSERT_EQ(first.Terminate(), 0) << first.Errors().toStdString();
    }
    QString gauges;
    QString layout;
    for (const QString& name : set.entryList(QDir::Files)) {
        if (name.compare("Default.gau", Qt::CaseInsensitive) == 0) {
            gauges = set.filePath(name);
        } else if (name.compare("Default.dsf", Qt::CaseInsensitive) == 0) {
            layout = set.filePath(name);
        }
    }
    ASSERT_FALSE(gauges.isEmpty());
    ASSERT_FALSE(layout.isEmpty());
    const QByteArray layoutBefore = Read(layout);
    ASSERT_FALSE(layoutBefore.isEmpty());

    ASSERT_TRUE(QFile::remove(gauges));
    if (GetParam() == Unreadable::Fifo) {
        ASSERT_EQ(::mkfifo(QFile::encodeName(gauges).constData(), 0600), 0);
    } else {
        QFile big(gauges);
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        ASSERT_TRUE(big.resize(qint64(1) << 30));  // sparse: 1 GB that costs no disk
    }

    ProgramRun second(lockDir.path(), setDir.path(), ProgramRun::Options::WithTestHooks());
    ASSERT_TRUE(second.WaitForWindow()) << second.Errors().toStdString();
    ASSERT_TRUE(second.Ask("add-label"));
    const QString manifest = QDir(second.RecoveryDir()).filePath("manifest");
    ASSERT_TRUE(WaitForFile(manifest, 10000)) << "the edit is kept for recovery";
    const std::optional<int> code = second.Terminate();
    const QString errors = second.Errors();
    EXPECT_NE(code, 0) << "saving failed, and the exit code says so";
    EXPECT_EQ(Read(layout), layoutBefore) << "the layout is not written without its gauge list";
    EXPECT_TRUE(errors.contains("is not saved either"))
        << "said at start: " << errors.toStdString();
    EXPECT_TRUE(errors.contains("saved together or not at all")) << errors.toStdString();
    EXPECT_TRUE(QFile::exists(manifest)) << "the recovery copies stay";
    if (GetParam() == Unreadable::Fifo) {
        struct stat info {};
        ASSERT_EQ(::lstat(QFile::encodeName(gauges).constData(), &info), 0);
        EXPECT_TRUE(S_ISFIFO(info.st_mode)) << "the FIFO is left as it is";
    } else {
        EXPECT_EQ(QFileInfo(gauges).size(), qint64(1) << 30);
    }
}

INSTANTIATE_TEST_SUITE_P(Unreadable, DashboardPairProgramTest,
                         ::testing::Values(Unreadable::Fifo, Unreadable::FarTooLarge));

}  // namespace
}  // namespace vekaton
