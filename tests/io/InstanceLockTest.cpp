#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QTemporaryDir>

#include "io/InstanceLock.h"

namespace vekaton {
namespace {

// Runs a child process that takes the lock in `folder`, tells the parent through a pipe, and
// then either dies at once without releasing it or waits to be killed.
pid_t StartHolder(const QString& folder, bool dieAtOnce) {
    int ready[2];
    if (pipe(ready) != 0) {
        return -1;
    }
    const pid_t pid = fork();
    if (pid == 0) {
        close(ready[0]);
        InstanceLock lock("Vekaton", folder);
        const char answer = lock.TryAcquire() ? 'y' : 'n';
        [[maybe_unused]] const auto written = write(ready[1], &answer, 1);
        if (!dieAtOnce) {
            pause();
        }
        _exit(0);  // no destructors: the lock is never released
    }
    close(ready[1]);
    char answer = 0;
    const bool took = read(ready[0], &answer, 1) == 1 && answer == 'y';
    close(ready[0]);
    if (!took && pid > 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        return -1;
    }
    return pid;
}

TEST(InstanceLockTest, SecondLockInTheSameFolderFails) {
    QTemporaryDir dir;
    InstanceLock first("Vekaton", dir.path());
    ASSERT_TRUE(first.TryAcquire());
    EXPECT_TRUE(first.IsHeld());
    EXPECT_TRUE(first.TryAcquire());  // holding it already

    InstanceLock second("Vekaton", dir.path());
    EXPECT_FALSE(second.TryAcquire());
    EXPECT_FALSE(second.IsHeld());
    EXPECT_FALSE(second.ErrorString().isEmpty());

    first.Release();
    EXPECT_TRUE(second.TryAcquire());
}

TEST(InstanceLockTest, LocksInOtherFoldersOrOfOtherNamesAreIndependent) {
    QTemporaryDir a;
    QTemporaryDir b;
    InstanceLock first("Vekaton", a.path());
    InstanceLock other("Vekaton", b.path());
    InstanceLock otherName("Other", a.path());
    EXPECT_TRUE(first.TryAcquire());
    EXPECT_TRUE(other.TryAcquire());
    EXPECT_TRUE(otherName.TryAcquire());
}

TEST(InstanceLockTest, FolderComesFromTheEnvironment) {
    QTemporaryDir dir;
    const QString folder = QDir(dir.path()).filePath("made/on/demand");
    qputenv("VEKATON_LOCK_DIR", folder.toUtf8());
    InstanceLock lock;
    qunsetenv("VEKATON_LOCK_DIR");
    EXPECT_EQ(lock.FilePath(), QDir(folder).filePath("Vekaton.lock"));
    EXPECT_TRUE(lock.TryAcquire());
    EXPECT_TRUE(QFileInfo::exists(lock.FilePath()));

    // Without the variable: a per-user folder, never the one above.
    EXPECT_FALSE(InstanceLock::DefaultFolder().isEmpty());
    EXPECT_NE(InstanceLock::DefaultFolder(), folder);
}

TEST(InstanceLockTest, LockOfARunningProcessHoldsUntilItDies) {
    QTemporaryDir dir;
    const pid_t holder = StartHolder(dir.path(), false);
    ASSERT_GT(holder, 0);
    InstanceLock lock("Vekaton", dir.path());
    EXPECT_FALSE(lock.TryAcquire());

    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    EXPECT_TRUE(lock.TryAcquire());
}

TEST(InstanceLockTest, LockLeftByAProcessThatExitedIsTakenOver) {
    QTemporaryDir dir;
    const pid_t holder = StartHolder(dir.path(), true);
    ASSERT_GT(holder, 0);
    waitpid(holder, nullptr, 0);
    InstanceLock lock("Vekaton", dir.path());
    ASSERT_TRUE(QFileInfo::exists(lock.FilePath()));  // the dead holder's file is still there
    EXPECT_TRUE(lock.TryAcquire());
}

}  // namespace
}  // namespace vekaton
