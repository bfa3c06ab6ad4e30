#include "io/InstanceLock.h"

#include <QDir>
#include <QStandardPaths>

namespace vekaton {

InstanceLock::InstanceLock(const QString& name) : InstanceLock(name, DefaultFolder()) {}

InstanceLock::InstanceLock(const QString& name, const QString& folder)
    : filePath_(QDir(folder).filePath(name + QStringLiteral(".lock"))),
      lock_(std::make_unique<QLockFile>(filePath_)) {
    // Only a dead holder makes the lock stale, never its age: the program may run for weeks.
    lock_->setStaleLockTime(0);
}

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

bool InstanceLock::TryAcquire() {
    if (held_) {
        return true;
    }
    const QString folder = QFileInfo(filePath_).absolutePath();
    if (!QDir().mkpath(folder)) {
        error_ = QStringLiteral("Cannot create the lock folder %1").arg(folder);
        return false;
    }
    // tryLock also removes a lock file left by a process that no longer runs.
    if (lock_->tryLock(0)) {
        held_ = true;
        error_.clear();
        return true;
    }
    switch (lock_->error()) {
        case QLockFile::LockFailedError:
            heldByAnother_ = true;
            error_ = QStringLiteral("Another instance holds %1").arg(filePath_);
            break;
        case QLockFile::PermissionError:
            error_ = QStringLiteral("No permission to create %1").arg(filePath_);
            break;
        default:
            error_ = QStringLiteral("Cannot create %1").arg(filePath_);
            break;
    }
    return false;
}

void InstanceLock::Release() {
    if (held_) {
        lock_->unlock();
        held_ = false;
    }
}

}  // namespace vekaton
