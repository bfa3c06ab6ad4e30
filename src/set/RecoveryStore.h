#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vekaton {

// What the set's files would hold if it were saved now: the set folder, the set name and each
// file's name and contents.
struct RecoverySnapshot {
    std::string setFolder;
    std::string setName;
    std::vector<std::pair<std::string, std::string>> files;  // file name, contents

    friend bool operator==(const RecoverySnapshot&, const RecoverySnapshot&) = default;
};

// Copies of unsaved changes, kept in a folder of the user's own and never in the set itself, so
// that a crash or a power cut costs seconds of work while "Exit - No Auto Save" still discards.
//
// Each save writes its files under a new generation number and then the manifest that names
// them; a crash halfway leaves the previous generation readable. Nothing here trusts the folder:
// names are plain file names, sizes are checked and limited, and copies are only ever restored
// into the very folder (by device and inode) they were made for.
class RecoveryStore {
  public:
    static constexpr std::uintmax_t kMaxFileBytes = 64u << 20;

    explicit RecoveryStore(std::filesystem::path folder);

    const std::filesystem::path& Folder() const { return folder_; }

    // Replaces the kept copies by this snapshot. An error names what could not be written.
    std::optional<std::string> Save(const RecoverySnapshot& snapshot);
    // The kept copies; nullopt when there are none, or when they are damaged (`problem` says
    // why, empty when there simply are none).
    std::optional<RecoverySnapshot> Load(std::string* problem = nullptr) const;
    bool HasSnapshot() const;
    // Removes the kept copies (after a save, a normal exit or "Exit - No Auto Save").
    void Discard();
    // Removes the temporary files that writes of copies killed half-way left behind, as a
    // set's own leftovers are removed. Only for the holder of the single-instance lock.
    std::vector<std::filesystem::path> RemoveLeftovers();

  private:
    std::filesystem::path folder_;
    unsigned generation_ = 0;
};

// Writes the files of a snapshot back into its set folder, as a save would; the dashboard files
// keep their "_bak" copies. Returns one message per file that could not be written or does not
// read back as kept.
std::vector<std::string> RestoreSnapshot(const RecoverySnapshot& snapshot);

}  // namespace vekaton
