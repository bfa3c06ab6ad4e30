#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vekaton {

// A temporary file of the safe-write helper's naming: "." + the target's name + ".tmp" + the
// writing process's ID + 8 hex digits. nullopt for any other name.
struct TemporaryName {
    std::string target;  // the name of the file it was to replace
    long long pid = 0;
};
std::optional<TemporaryName> ParseTemporaryName(std::string_view fileName);

// Removes, from `folder`, the temporary files that a save killed half-way left behind for the
// set whose files are named `setStem` + "." + extension (and their "_bak" and ".bad" copies, and
// the set pointer). Only regular files are removed, and only those of a process that no longer
// runs, so a save in progress elsewhere is never disturbed. The caller must hold the
// single-instance lock. Returns the paths removed.
std::vector<std::filesystem::path> RemoveLeftoverTemporaryFiles(const std::filesystem::path& folder,
                                                                std::string_view setStem);
// The same for the temporary files of any target for which `isOwnTarget` holds.
std::vector<std::filesystem::path> RemoveLeftoverTemporaryFiles(
    const std::filesystem::path& folder,
    const std::function<bool(std::string_view target)>& isOwnTarget);

}  // namespace vekaton
