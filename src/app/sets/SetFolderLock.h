#pragma once

#include <QString>
#include <memory>
#include <optional>

namespace vekaton {

class InstanceLock;

// A lock in the set's own folder, beside its files, so that two windows never work on one set
// whatever their single-instance lock folders are (each would overwrite the other's changes at
// its close). It follows the same stale-lock rules as the single-instance lock; a folder where
// no lock can be made (read-only) is used without one.
class SetFolderLock {
  public:
    static constexpr char kName[] = ".Vekaton-set";

    SetFolderLock();
    ~SetFolderLock();
    SetFolderLock(const SetFolderLock&) = delete;
    SetFolderLock& operator=(const SetFolderLock&) = delete;

    // Takes the lock of `folder` and lets go of the one held before. When another running
    // Vekaton holds it, nothing changes and the message for the user is returned.
    std::optional<QString> Take(const QString& folder);
    // The folder whose lock is held; empty when none is.
    QString Folder() const { return folder_; }

  private:
    std::unique_ptr<InstanceLock> lock_;
    QString folder_;
};

}  // namespace vekaton
