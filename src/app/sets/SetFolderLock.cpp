#include "app/sets/SetFolderLock.h"

#include <QDir>
#include <cstdio>

#include "io/InstanceLock.h"

namespace vekaton {

SetFolderLock::SetFolderLock() = default;
SetFolderLock::~SetFolderLock() = default;

std::optional<QString> SetFolderLock::Take(const QString& folder) {
    const QString absolute = QDir(folder).absolutePath();
    if (lock_ && lock_->IsHeld() && QDir(absolute) == QDir(folder_)) {
        return std::nullopt;
    }
    auto lock = std::make_unique<InstanceLock>(QString::fromLatin1(kName), absolute);
    if (!lock->TryAcquire()) {
        if (lock->HeldByAnother()) {
            const QString process = lock->HolderPid() > 0
                                        ? QObject::tr("process %1").arg(lock->HolderPid())
                                        : QObject::tr("another process");
            return QObject::tr(
                       "The configuration set folder %1 is already in use by another Vekaton "
                       "(%2). Two windows on one set would each overwrite the other's changes "
                       "when they close.\n\nClose the other window first, or use another folder. "
                       "If no other Vekaton runs, delete %3.")
                .arg(QDir::toNativeSeparators(absolute), process,
                     QDir::toNativeSeparators(lock->FilePath()));
        }
        // A read-only folder and the like: the set is still used, as it always could be.
        std::fprintf(stderr, "vekaton: %s; the set folder is used without its lock\n",
                     qPrintable(lock->ErrorString()));
    }
    lock_ = std::move(lock);  // the lock held before goes
    folder_ = absolute;
    return std::nullopt;
}

}  // namespace vekaton
