#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace vekaton {

// The lock that keeps a second copy of the program from starting. It is a lock file, per user,
// named after the lock; a holder that died leaves a stale file that the next start takes over.
class InstanceLock {
  public:
    static constexpr char kDefaultName[] = "Vekaton";
    // When set, the folder for lock files; tests point it elsewhere to run instances side by side.
    static constexpr char kFolderVariable[] = "VEKATON_LOCK_DIR";

    // The lock in the folder from VEKATON_LOCK_DIR, else in the user's runtime folder.
    explicit InstanceLock(const QString& name = QString::fromLatin1(kDefaultName));
    // The lock in the given folder.
    InstanceLock(const QString& name, const QString& folder);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True when this object now holds the lock (also when it held it already). False when a
    // running process holds it, or the lock file cannot be made (see ErrorString).
    bool TryAcquire();
    void Release();
    bool IsHeld() const { return held_; }
    QString FilePath() const { return filePath_; }
    QString ErrorString() const { return error_; }
    // False when TryAcquire failed only because the lock could not be made at all.
    bool HeldByAnother() const { return heldByAnother_; }

    static QString DefaultFolder();

  private:
    QString filePath_;
    std::unique_ptr<QLockFile> lock_;
    bool held_ = false;
    bool heldByAnother_ = false;
    QString error_;
};

}  // namespace vekaton
