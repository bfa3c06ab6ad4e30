#pragma once

#include <filesystem>
#include <optional>
#include <set>
#include <string>

namespace vekaton {

// Files whose reading stopped at an error hold lines the program never took in; rewriting them
// from memory would silently lose those lines. The guard remembers such files and copies each to
// its name + ".bad" before it is first rewritten, so the user can still recover them.
class DamagedFileGuard {
  public:
    static std::filesystem::path BackupPath(const std::filesystem::path& file);

    // Notes that reading `file` stopped; returns the sentence telling the user about the backup,
    // to be added to the error message.
    std::string NoteDamaged(const std::filesystem::path& file);
    bool IsDamaged(const std::filesystem::path& file) const;

    // Call before rewriting `file`. For a noted file, copies it to its backup and forgets it.
    // An error means no backup exists: the caller must not rewrite the file.
    std::optional<std::string> BeforeRewrite(const std::filesystem::path& file);

  private:
    static std::filesystem::path Key(const std::filesystem::path& file);
    std::set<std::filesystem::path> damaged_;
};

}  // namespace vekaton
