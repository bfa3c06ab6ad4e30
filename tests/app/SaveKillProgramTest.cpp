// The real program killed at each rename of the save it makes at its close (strace injects the
// kill): the next start finds the set whole, byte for byte as it was before that save or as the
// save meant it, never half of each, and says when it put the old files back.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <csignal>
#include <map>

#include "ProgramRunner.h"
#include "app/InstanceChannel.h"

namespace vekaton {
namespace {

using testing::ProgramRun;
using SetBytes = std::map<QString, QByteArray>;

// Every file of the set (names in lower case), leaving out the backups a save makes on its way.
SetBytes ReadSet(const QString& folder) {
    SetBytes files;
    for (const QString& name : QDir(folder).entryList(QDir::Files)) {
        const QString lower = name.toLower();
        if (lower.contains("_bak") || lower.startsWith('.')) {
            continue;
        }
        QFile file(QDir(folder).filePath(name));
        if (file.open(QIODevice::ReadOnly)) {
            files[lower] = file.readAll();
        }
    }
    return files;
}

qint64 HolderOf(const QString& setFolder) {
    QFile lock(QDir(setFolder).filePath(".Vekaton-set.lock"));
    if (!lock.open(QIODevice::ReadOnly)) {
        return 0;
    }
    return lock.readLine().trimmed().toLongLong();
}

// One run that adds a label and is told to close at once (its close keeps the recovery copies
// first, then saves); strace kills it at its `killAt`-th rename (0: never). True when it was
// killed.
bool RunAndClose(const QString& setFolder, const QString& lockFolder, int killAt) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("VEKATON_LOCK_DIR", lockFolder);
    env.insert("XDG_DATA_HOME", ProgramRun::DataHome(lockFolder));
    env.insert("VEKATON_TEST_HOOKS", "1");
    // The leak checker of a sanitizer build cannot run under a tracer and would fail the exit.
    const QString asan = env.value("ASAN_OPTIONS");
    env.insert("ASAN_OPTIONS", asan.isEmpty() ? "detect_leaks=0" : asan + ":detect_leaks=0");
    QProcess process;
    process.setProcessEnvironment(env);
    QStringList arguments{"-f", "-qq", "-o", "/dev/null"};
    if (killAt > 0) {
        arguments +=
            {"-e", "inject=rename,renameat,renameat2:signal=KILL:when=" + QString::number(killAt)};
    }
    arguments += {QStringLiteral(VEKATON_BINARY_DIR "/src/vekaton"), "--dir", setFolder};
    process.start("strace", arguments);
    process.waitForStarted(10000);
    const QString server = QDir(lockFolder).filePath("Vekaton.socket");
    if (!AskRunningInstance(server, "state", 20000)) {
        process.kill();
        process.waitForFinished(10000);
        return true;  // killed before its window was up
    }
    const qint64 pid = HolderOf(setFolder);
    const auto added = AskRunningInstance(server, "add-label", 10000);
    if (pid > 0 && added) {
        ::kill(static_cast<pid_t>(pid), SIGTERM);
    }
    process.waitForFinished(30000);
    // strace passes on how its program ended: killed, as the injection does, shows as 128 + 9.
    return process.exitStatus() != QProcess::NormalExit || process.exitCode() == 128 + SIGKILL ||
           process.exitCode() == 128 + SIGTERM;
}

TEST(SaveKillProgram, AKillAtAnyRenameOfASaveLeavesTheWholeOldOrTheWholeNewSet) {
    if (QStandardPaths::findExecutable("strace").isEmpty()) {
        GTEST_SKIP() << "strace is not installed";
    }
    // A container may forbid tracing; then strace cannot stand in for a kill at all.
    if (QProcess::execute("strace", {"-qq", "-o", "/dev/null", "true"}) != 0) {
        GTEST_SKIP() << "strace may not trace here";
    }
    QTemporaryDir base;
    const QString setFolder = QDir(base.path()).filePath("set");
    QDir().mkpath(setFolder);
    {
        ProgramRun first(QDir(base.path()).filePath("lock0"), setFolder,
                         ProgramRun::Options::WithTestHooks());
        ASSERT_TRUE(first.WaitForWindow()) << first.Errors().toStdString();
        ASSERT_TRUE(first.Ask("add-label"));
        ASSERT_EQ(first.Terminate(), 0) << first.Errors().toStdString();
    }
    const SetBytes old = ReadSet(setFolder);
    QTemporaryDir pristine;
    const auto restoreOld = [&] {
        for (const QString& name : QDir(setFolder).entryList(QDir::Files | QDir::Hidden)) {
            QFile::remove(QDir(setFolder).filePath(name));
        }
        QDir(QDir(setFolder).filePath(".Vekaton-save")).removeRecursively();
        for (const auto& [name, bytes] : old) {
            QFile file(QDir(setFolder).filePath(name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
    };

    restoreOld();
    ASSERT_FALSE(RunAndClose(setFolder, QDir(base.path()).filePath("ref"), 0));
    const SetBytes saved = ReadSet(setFolder);
    ASSERT_NE(saved, old) << "the save changes the set";

    int killed = 0;
    for (int killAt = 1; killAt <= 40; ++killAt) {
        restoreOld();
        const QString lock = QDir(base.path()).filePath("kill" + QString::number(killAt));
        if (!RunAndClose(setFolder, lock, killAt)) {
            break;  // past the last rename: it closed normally
        }
        ++killed;
        // A start with no recovery copies of its own sees what the kill left.
        ProgramRun next(QDir(base.path()).filePath("next" + QString::number(killAt)), setFolder);
        ASSERT_TRUE(next.WaitForWindow()) << next.Errors().toStdString();
        const SetBytes found = ReadSet(setFolder);
        const QString errors = next.Errors();
        EXPECT_TRUE(found == old || found == saved)
            << "killed at rename " << killAt << ": a mixed set. " << errors.toStdString();
        if (found == old && QFile::exists(QDir(setFolder).filePath(".Vekaton-save/saving"))) {
            ADD_FAILURE() << "the journal stays after the start at rename " << killAt;
        }
        next.Process().kill();
        next.Finished();
    }
    EXPECT_GE(killed, 12) << "the save's renames were reached";
}

}  // namespace
}  // namespace vekaton
