#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vekaton {

// Every whole-file write goes through here: the bytes go to a temporary file in the same folder,
// which is flushed, fsynced and renamed over the target (then the folder is fsynced). A failure
// returns a message naming the file and the system's reason, and leaves the old file whole.
// A symbolic link is written through to its target, beside which the temporary file is made,
// only when the target is a regular file; a FIFO, device, socket or folder is never replaced.
// Temporary files are named "." + the target's name + ".tmp" + process ID + 8 hex digits.
std::optional<std::string> WriteFileAtomically(const std::filesystem::path& path,
                                               std::string_view contents);

// Copies a file to a backup beside it, replacing an older backup; the original stays in place.
std::optional<std::string> CopyToBackup(const std::filesystem::path& from,
                                        const std::filesystem::path& backup);

// Reads a whole regular file (never waiting on a FIFO or reading a device). nullopt when it
// does not exist or cannot be read; error then says why, as a clause about the file ("it is a
// folder, not a file"). Set files are read through ReadSetFile, which also limits their size.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path,
                                         std::string* error = nullptr);
// As above, refusing a file of more than maxBytes before reading any of it.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, std::uint64_t maxBytes,
                                         std::string* error);

}  // namespace vekaton
