#pragma once

#include <QString>
#include <QStringList>

namespace vekaton {

// The lock that keeps a second copy of the program from starting: a lock file, per user, named
// after the lock, that the holder keeps open with an exclusive flock() for as long as it runs.
// The kernel drops the flock when the holder dies, however it dies, so a lock whose holder cannot
// be shown to be alive is taken over: an empty or unreadable file, one naming another host or a
// process that no longer runs. A folder, FIFO, socket, device or link at the lock's path is
// moved aside (never opened, so nothing can hang on it). A lock naming a process that is alive
// on this host is never taken over.
class InstanceLock {
  public:
    static constexpr char kDefaultName[] = "Vekaton";
    // When set, the folder for lock files; tests point it elsewhere to run instances side by side.
    static constexpr char kFolderVariable[] = "VEKATON_LOCK_DIR";

    enum class State {
        Free,           // not tried yet, or released
        Held,           // this object holds the lock
        HeldByRunning,  // a running process holds the lock's flock: certainly alive
        HeldByLivePid,  // no flock, but the file names a process alive on this host
        Unusable,       // the lock could not be made at all (see ErrorString)
    };

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
    bool IsHeld() const { return state_ == State::Held; }
    State GetState() const { return state_; }
    // True when another process holds the lock, for certain or as far as can be told.
    bool HeldByAnother() const {
        return state_ == State::HeldByRunning || state_ == State::HeldByLivePid;
    }
    // The process the lock file names; 0 when it names none.
    qint64 HolderPid() const { return holderPid_; }

    QString FilePath() const { return filePath_; }
    // The local socket the holder listens on, named after the lock.
    QString ServerName() const;
    QString ErrorString() const { return error_; }
    // For the user: what was moved aside to take the lock. Empty when nothing was.
    QStringList Warnings() const { return warnings_; }
    // Why a stale lock was taken over ("it was empty", ...); empty when none was.
    QString TakeOverReason() const { return takeOverReason_; }

    static QString DefaultFolder();

  private:
    enum class Step { Done, Retry };
    Step TryOnce();
    Step CreateFresh();
    Step Examine();
    Step MoveAside(const QString& what);
    bool WriteOwnInfo();

    QString filePath_;
    int fd_ = -1;
    State state_ = State::Free;
    qint64 holderPid_ = 0;
    QString error_;
    QStringList warnings_;
    QString takeOverReason_;
};

}  // namespace vekaton
