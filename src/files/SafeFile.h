#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vekaton {

// Every whole-file write goes through here: the bytes go to a temporary file in the same folder,
// which is flushed, fsynced and renamed over the target (then the folder is fsynced). A failure
// returns a message naming the file and the system's reason, and leaves the old file whole.
std::optional<std::string> WriteFileAtomically(const std::filesystem::path& path,
                                               std::string_view contents);

// Copies a file to a backup beside it, replacing an older backup; the original stays in place.
std::optional<std::string> CopyToBackup(const std::filesystem::path& from,
                                        const std::filesystem::path& backup);

// Reads a whole file. nullopt when it does not exist or cannot be read (error says why).
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path,
                                         std::string* error = nullptr);

}  // namespace vekaton
