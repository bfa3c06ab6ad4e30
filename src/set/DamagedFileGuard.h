#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace vekaton {

// Files whose reading stopped at an error hold lines the program never took in; rewriting them
// from memory would silently lose those lines. The guard remembers such files and copies each to
// its name + ".bad" before it is first rewritten, so the user can still recover them.
// Files that were not read at all on purpose (far too large, or not a regular file) are kept as
// they are: neither copied nor rewritten.
class DamagedFileGuard {
  public:
    static std::filesystem::path BackupPath(const std::filesystem::path& file);

    // Notes that reading `file` stopped; returns the sentence telling the user about the backup,
    // to be added to the error message.
    std::string NoteDamaged(const std::filesystem::path& file);
    bool IsDamaged(const std::filesystem::path& file) const;

    // Notes that `file` was left unread on purpose; `reason` says what it is, as a clause that
    // follows its name ("is a FIFO (named pipe), not a file"). Returns the sentences telling the
    // user that the file stays as it is and how to go on (`howToGoOn`).
    std::string NoteKept(const std::filesystem::path& file, std::string reason,
                         std::string_view howToGoOn);
    bool IsKept(const std::filesystem::path& file) const;

    // Call before rewriting `file`. For a noted file, copies it to its backup and forgets it.
    // An error means no backup exists, or the file is kept: the caller must not rewrite it.
    std::optional<std::string> BeforeRewrite(const std::filesystem::path& file);

  private:
    static std::filesystem::path Key(const std::filesystem::path& file);
    std::set<std::filesystem::path> damaged_;
    std::map<std::filesystem::path, std::string> kept_;  // file and why it was not read
};

}  // namespace vekaton
