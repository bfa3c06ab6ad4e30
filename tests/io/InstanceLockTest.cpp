#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>
#include <chrono>
#include <fstream>

#include "files/NonRegularFiles.h"
#include "files/TimeLimit.h"
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
    EXPECT_EQ(lock.GetState(), InstanceLock::State::HeldByRunning);
    EXPECT_EQ(lock.HolderPid(), holder);

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

std::string HostName() {
    char name[256] = {};
    gethostname(name, sizeof name - 1);
    return name;
}

std::string ReadFile(const QString& path) {
    std::ifstream in(QFile::encodeName(path).constData(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const QString& path, const std::string& text) {
    std::ofstream(QFile::encodeName(path).constData(), std::ios::binary) << text;
}

pid_t DeadPid() {
    const pid_t pid = fork();
    if (pid == 0) {
        _exit(0);
    }
    waitpid(pid, nullptr, 0);
    return pid;
}

std::string OwnLockText() {
    return std::to_string(getpid()) + "\nvekaton\n" + HostName() + "\n";
}

// Lock files whose holder cannot be shown to be alive: each is taken over, with the reason.
TEST(InstanceLockTest, StaleLockFilesOfEveryShapeAreTakenOver) {
    const struct {
        std::string contents;
        const char* reason;
    } shapes[] = {
        {"", "it was empty"},
        {"garbage\n\x01\x02", "it named no process"},
        {"0\nvekaton\n" + HostName() + "\n", "it named no process"},
        {"99999999999999\n", "it named no process"},
        {std::to_string(getppid()) + "\nvekaton\nsome-other-host\n",
         "it was made on another host (some-other-host)"},
        {std::to_string(DeadPid()) + "\nvekaton\n" + HostName() + "\n", "no longer runs"},
        {std::to_string(DeadPid()) + "\n\n\n", "no longer runs"},  // an older version's lock
    };
    for (const auto& shape : shapes) {
        QTemporaryDir dir;
        InstanceLock lock("Vekaton", dir.path());
        WriteFile(lock.FilePath(), shape.contents);
        ASSERT_TRUE(lock.TryAcquire())
            << shape.contents << ": " << lock.ErrorString().toStdString();
        EXPECT_TRUE(lock.IsHeld());
        EXPECT_NE(lock.TakeOverReason().toStdString().find(shape.reason), std::string::npos)
            << lock.TakeOverReason().toStdString();
        EXPECT_TRUE(lock.Warnings().isEmpty());
        EXPECT_EQ(ReadFile(lock.FilePath()), OwnLockText());

        // Now it is a lock of a running process: another start gives way.
        InstanceLock second("Vekaton", dir.path());
        EXPECT_FALSE(second.TryAcquire());
        EXPECT_EQ(second.GetState(), InstanceLock::State::HeldByRunning);
        EXPECT_EQ(second.HolderPid(), getpid());
        lock.Release();
        EXPECT_FALSE(QFileInfo::exists(lock.FilePath()));
    }
}

// Whatever is not a lock file at the lock's path is moved aside, never opened, and the user
// is told where it went.
TEST(InstanceLockTest, NonFilesAtTheLockPathAreMovedAsideWithAWarning) {
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath("Vekaton.lock");
    const std::filesystem::path native(QFile::encodeName(path).constData());
    const auto makers = std::vector<std::pair<const char*, std::function<bool()>>>{
        {"a folder", [&] { return QDir().mkpath(path + "/inside"); }},
        {"a FIFO (named pipe)", [&] { return testing::MakeFifo(native); }},
        {"a socket", [&] { return testing::MakeSocketFile(native); }},
        {"a symbolic link", [&] { return QFile::link("elsewhere", path); }},
        {"a character device", [&] { return testing::MakeNullDevice(native); }},
    };
    for (const auto& [what, make] : makers) {
        if (!make()) {
            continue;  // a device needs root
        }
        InstanceLock lock("Vekaton", dir.path());
        bool took = false;
        const bool inTime = testing::FinishesWithin(std::chrono::seconds(10), native.parent_path(),
                                                    [&] { took = lock.TryAcquire(); });
        ASSERT_TRUE(inTime) << what << " was waited on";
        ASSERT_TRUE(took) << what << ": " << lock.ErrorString().toStdString();
        ASSERT_EQ(lock.Warnings().size(), 1) << what;
        const std::string warning = lock.Warnings().front().toStdString();
        EXPECT_NE(warning.find(std::string("was ") + what + ", not a lock file"), std::string::npos)
            << warning;
        const std::size_t to = warning.find("moved aside to ");
        ASSERT_NE(to, std::string::npos) << warning;
        const std::string aside = warning.substr(to + 15, warning.size() - to - 16);
        EXPECT_TRUE(std::filesystem::exists(std::filesystem::symlink_status(aside))) << aside;
        EXPECT_EQ(ReadFile(lock.FilePath()), OwnLockText());
        lock.Release();
        std::filesystem::remove_all(aside);
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

// A lock naming a process that runs on this host is never taken over, even without the flock
// that a running copy of the program holds: the start is left to ask that process.
TEST(InstanceLockTest, LockOfALiveProcessOnThisHostIsNeverTakenOver) {
    QTemporaryDir dir;
    InstanceLock lock("Vekaton", dir.path());
    const std::string text = std::to_string(getppid()) + "\nvekaton\n" + HostName() + "\n";
    WriteFile(lock.FilePath(), text);
    EXPECT_FALSE(lock.TryAcquire());
    EXPECT_EQ(lock.GetState(), InstanceLock::State::HeldByLivePid);
    EXPECT_TRUE(lock.HeldByAnother());
    EXPECT_EQ(lock.HolderPid(), getppid());
    EXPECT_EQ(ReadFile(lock.FilePath()), text);
    // Without a host line the lock is taken to be this host's, as QLockFile wrote it.
    WriteFile(lock.FilePath(), std::to_string(getppid()) + "\n");
    EXPECT_FALSE(lock.TryAcquire());
    EXPECT_EQ(lock.GetState(), InstanceLock::State::HeldByLivePid);
}

TEST(InstanceLockTest, LockOfAnOlderVersionStillRunningIsRespected) {
    QTemporaryDir dir;
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t holder = fork();
    if (holder == 0) {
        QLockFile old(QDir(dir.path()).filePath("Vekaton.lock"));
        const char answer = old.tryLock(0) ? 'y' : 'n';
        [[maybe_unused]] const auto written = write(ready[1], &answer, 1);
        pause();
        _exit(0);
    }
    char answer = 0;
    ASSERT_EQ(read(ready[0], &answer, 1), 1);
    ASSERT_EQ(answer, 'y');
    InstanceLock lock("Vekaton", dir.path());
    EXPECT_FALSE(lock.TryAcquire());
    EXPECT_EQ(lock.GetState(), InstanceLock::State::HeldByRunning);
    EXPECT_EQ(lock.HolderPid(), holder);
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    EXPECT_TRUE(lock.TryAcquire());
    close(ready[0]);
    close(ready[1]);
}

TEST(InstanceLockTest, OfManyStartsAtOnceExactlyOneHoldsTheLock) {
    QTemporaryDir dir;
    WriteFile(QDir(dir.path()).filePath("Vekaton.lock"), "");  // stale, to make it harder
    constexpr int kStarts = 8;
    int results[2];
    ASSERT_EQ(pipe(results), 0);
    std::vector<pid_t> children;
    for (int i = 0; i < kStarts; ++i) {
        const pid_t pid = fork();
        if (pid == 0) {
            InstanceLock lock("Vekaton", dir.path());
            const char answer = lock.TryAcquire() ? 'y' : 'n';
            [[maybe_unused]] const auto written = write(results[1], &answer, 1);
            usleep(300000);  // hold it while the others try
            _exit(0);
        }
        children.push_back(pid);
    }
    int held = 0;
    for (int i = 0; i < kStarts; ++i) {
        char answer = 0;
        ASSERT_EQ(read(results[0], &answer, 1), 1);
        held += answer == 'y' ? 1 : 0;
    }
    for (const pid_t pid : children) {
        waitpid(pid, nullptr, 0);
    }
    EXPECT_EQ(held, 1);
    close(results[0]);
    close(results[1]);
}

}  // namespace
}  // namespace vekaton
