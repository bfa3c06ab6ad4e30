#include "io/InstanceLock.h"

// The lock is held with flock() and examined through POSIX descriptors.
#ifdef _WIN32
#error "InstanceLock is POSIX-only: Windows needs a version that holds the lock with LockFileEx"
#endif

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <optional>
#include <string>

#include "common/MessageText.h"
#include "files/LockFileText.h"
#include "files/RegularFile.h"
#include "platform/Process.h"

namespace vekaton {

namespace {

constexpr int kAttempts = 10;

// What the lock file says of its holder; `empty` tells an empty file from a damaged one.
std::optional<LockHolder> ReadHolder(int fd, bool* empty) {
    char buffer[1024];
    const ssize_t n = ::pread(fd, buffer, sizeof buffer, 0);
    *empty = n == 0;
    if (n <= 0) {
        return std::nullopt;
    }
    return ParseLockHolder(std::string_view(buffer, static_cast<std::size_t>(n)));
}

bool SameFile(int fd, const QString& path) {
    struct stat open {};
    struct stat named {};
    return ::fstat(fd, &open) == 0 && ::lstat(QFile::encodeName(path).constData(), &named) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

}  // namespace

InstanceLock::InstanceLock(const QString& name) : InstanceLock(name, DefaultFolder()) {}

InstanceLock::InstanceLock(const QString& name, const QString& folder)
    : filePath_(QDir(folder).filePath(name + QStringLiteral(".lock"))) {}

InstanceLock::~InstanceLock() {
    Release();
}

QString InstanceLock::DefaultFolder() {
    const QString fromEnvironment = qEnvironmentVariable(kFolderVariable);
    if (!fromEnvironment.isEmpty()) {
        return fromEnvironment;
    }
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

QString InstanceLock::ServerName() const {
    QString name = filePath_;
    name.chop(static_cast<qsizetype>(QStringLiteral(".lock").size()));
    return name + QStringLiteral(".socket");
}

bool InstanceLock::TryAcquire() {
    if (state_ == State::Held) {
        return true;
    }
    warnings_.clear();
    takeOverReason_.clear();
    holderPid_ = 0;
    error_.clear();
    const QString folder = QFileInfo(filePath_).absolutePath();
    if (!QDir().mkpath(folder)) {
        error_ = QStringLiteral("Cannot create the lock folder %1").arg(folder);
        state_ = State::Unusable;
        return false;
    }
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (TryOnce() == Step::Done) {
            if (HeldByAnother()) {
                error_ = QStringLiteral("Another instance (process %1) holds %2")
                             .arg(holderPid_)
                             .arg(filePath_);
            }
            return state_ == State::Held;
        }
    }
    error_ = QStringLiteral("The lock file %1 keeps changing under this program").arg(filePath_);
    state_ = State::Unusable;
    return false;
}

InstanceLock::Step InstanceLock::TryOnce() {
    const QByteArray path = QFile::encodeName(filePath_);
    struct stat info {};
    if (::lstat(path.constData(), &info) != 0) {
        if (errno == ENOENT) {
            return CreateFresh();
        }
        error_ = QStringLiteral("Cannot examine %1: %2").arg(filePath_, qt_error_string(errno));
        state_ = State::Unusable;
        return Step::Done;
    }
    if (S_ISLNK(info.st_mode)) {
        return MoveAside(QStringLiteral("a symbolic link"));
    }
    if (!S_ISREG(info.st_mode)) {
        return MoveAside(QString::fromUtf8(DescribeKind(KindOfPath(path.constData())).data()));
    }
    return Examine();
}

InstanceLock::Step InstanceLock::CreateFresh() {
    const QByteArray path = QFile::encodeName(filePath_);
    const int fd =
        ::open(path.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
        if (errno == EEXIST) {
            return Step::Retry;  // another start was quicker: look at its lock
        }
        error_ = QStringLiteral("Cannot create %1: %2").arg(filePath_, qt_error_string(errno));
        state_ = State::Unusable;
        return Step::Done;
    }
    // Another start may have flocked the new file first, finding it empty; then it holds it.
    // A file system without flock leaves the file's contents to speak for the holder.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        ::close(fd);
        state_ = State::HeldByRunning;
        return Step::Done;
    }
    fd_ = fd;
    if (!WriteOwnInfo()) {
        Release();
        return Step::Done;
    }
    state_ = State::Held;
    return Step::Done;
}

InstanceLock::Step InstanceLock::Examine() {
    const QByteArray path = QFile::encodeName(filePath_);
    const int fd = ::open(path.constData(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == EACCES || errno == EPERM) {
            return MoveAside(QStringLiteral("a lock file this user may not read"));
        }
        if (errno == ENOENT || errno == ELOOP) {
            return Step::Retry;  // gone or replaced meanwhile
        }
        error_ = QStringLiteral("Cannot open %1: %2").arg(filePath_, qt_error_string(errno));
        state_ = State::Unusable;
        return Step::Done;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return Step::Retry;
    }
    bool empty = false;
    const bool locked = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    const int lockError = errno;
    const std::optional<LockHolder> holder = ReadHolder(fd, &empty);
    holderPid_ = holder ? holder->pid : 0;
    if (!locked && lockError == EWOULDBLOCK) {
        ::close(fd);
        state_ = State::HeldByRunning;
        return Step::Done;
    }
    // Without a flock (a file system that has none) the file's contents must decide alone.
    if (locked && !SameFile(fd, filePath_)) {
        ::close(fd);  // released and removed by its holder meanwhile
        return Step::Retry;
    }
    const std::string thisHost = platform::HostName();
    if (empty) {
        takeOverReason_ = QStringLiteral("it was empty");
    } else if (!holder) {
        takeOverReason_ = QStringLiteral("it named no process");
    } else if (!holder->host.empty() && holder->host != thisHost) {
        takeOverReason_ = QStringLiteral("it was made on another host (%1)")
                              .arg(QString::fromStdString(QuoteText(holder->host)));
    } else if (holder->pid == platform::CurrentProcessId()) {
        takeOverReason_ = QStringLiteral("it named this process");
    } else if (!platform::ProcessIsAlive(holder->pid)) {
        takeOverReason_ = QStringLiteral("process %1 that made it no longer runs").arg(holder->pid);
    } else {
        // A running process on this host: perhaps a copy of the program on a file system
        // without flock, perhaps another program that got a reused PID. Never taken over.
        ::close(fd);
        state_ = State::HeldByLivePid;
        return Step::Done;
    }
    fd_ = fd;
    if (!WriteOwnInfo()) {
        Release();
        return Step::Done;
    }
    state_ = State::Held;
    return Step::Done;
}

InstanceLock::Step InstanceLock::MoveAside(const QString& what) {
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    QString aside = filePath_ + QStringLiteral(".moved-aside-") + stamp;
    for (int n = 2; QFileInfo::exists(aside) || QFileInfo(aside).isSymLink(); ++n) {
        aside = filePath_ + QStringLiteral(".moved-aside-") + stamp + QLatin1Char('-') +
                QString::number(n);
    }
    if (::rename(QFile::encodeName(filePath_).constData(), QFile::encodeName(aside).constData()) !=
        0) {
        if (errno == ENOENT) {
            return Step::Retry;
        }
        error_ = QStringLiteral("%1 is %2, not a lock file, and cannot be moved aside: %3")
                     .arg(filePath_, what, qt_error_string(errno));
        state_ = State::Unusable;
        return Step::Done;
    }
    warnings_.append(QStringLiteral("The single-instance lock %1 was %2, not a lock file. It was "
                                    "moved aside to %3.")
                         .arg(filePath_, what, aside));
    return Step::Retry;
}

bool InstanceLock::WriteOwnInfo() {
    const std::string info =
        FormatLockHolder(platform::CurrentProcessId(), "vekaton", platform::HostName());
    if (::ftruncate(fd_, 0) != 0 ||
        ::pwrite(fd_, info.data(), info.size(), 0) != static_cast<ssize_t>(info.size())) {
        error_ = QStringLiteral("Cannot write %1: %2").arg(filePath_, qt_error_string(errno));
        state_ = State::Unusable;
        return false;
    }
    return true;
}

void InstanceLock::Release() {
    if (fd_ < 0) {
        return;
    }
    // Removed only while it is still ours; the flock goes with the descriptor.
    if (state_ == State::Held && SameFile(fd_, filePath_)) {
        ::unlink(QFile::encodeName(filePath_).constData());
    }
    ::close(fd_);
    fd_ = -1;
    if (state_ == State::Held) {
        state_ = State::Free;
    }
}

}  // namespace vekaton
