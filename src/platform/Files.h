#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <system_error>

#include "platform/FileHandle.h"
#include "platform/FileKind.h"

// The file system calls of the core, one implementation per operating system. These are the
// plain calls; the rules built on them (only regular files, safe replacing) live in files/.
namespace vekaton::platform {

// What `path` names, following symbolic links, without opening anything that is not a file or a
// folder (some devices act on being opened). Other, with `error` set, when the path could not be
// examined at all.
FileKind KindOfPath(const std::filesystem::path& path, std::error_code& error);
// Whether `path` itself is a symbolic link, whatever it leads to.
bool IsSymbolicLink(const std::filesystem::path& path);

// Which file or folder a path leads to, the same by whatever name or link it is reached: the
// device (volume) and the file's number on it.
struct PathIdentity {
    std::uint64_t device = 0;
    std::uint64_t file = 0;
    FileKind kind = FileKind::Other;
    bool operator==(const PathIdentity& other) const {
        return device == other.device && file == other.file;
    }
};
// Follows links; nothing when the path cannot be examined.
std::optional<PathIdentity> IdentityOfPath(const std::filesystem::path& path);

enum class Access {
    Read,    // an existing file
    Write,   // created when missing, from the start, never truncated here
    Append,  // created when missing, every write at the end
};
// Opens without waiting on anything: a FIFO nobody writes to or a device is never waited on. A
// FIFO nobody reads refuses writing with std::errc::no_such_device_or_address. What was opened
// must then be checked with Examine.
FileHandle OpenWithoutWaiting(const std::filesystem::path& path, Access access,
                              std::error_code& error);
// Makes a new file for writing; std::errc::file_exists when the name is taken.
FileHandle CreateNew(const std::filesystem::path& path, std::error_code& error);

// What an open handle is, and its size then: the handle settles it, as the path may have
// changed since it was looked at.
struct HandleFacts {
    FileKind kind = FileKind::Other;
    std::uint64_t size = 0;
};
std::error_code Examine(const FileHandle& handle, HandleFacts& facts);
// Back to ordinary waiting reads and writes, once the handle is known to be a regular file.
void UseWaitingCalls(const FileHandle& handle);

// Reads up to out.size() bytes from the handle's position; 0 at the end of the file.
std::size_t Read(const FileHandle& handle, std::span<std::byte> out, std::error_code& error);
// Reads up to out.size() bytes from `offset`; 0 at or past the end of the file.
std::size_t ReadAt(const FileHandle& handle, std::uint64_t offset, std::span<std::byte> out,
                   std::error_code& error);
std::error_code WriteAll(const FileHandle& handle, std::string_view bytes);
std::error_code Truncate(const FileHandle& handle);
// Waits until what was written is on the disk.
std::error_code SyncToDisk(const FileHandle& handle);
// Gives the handle the access rights of the file at `path`, where the system keeps them.
void CopyAccessRights(const std::filesystem::path& path, const FileHandle& handle);

// Puts `from` in the place of `to` in one step: a reader sees the old file or the new one.
std::error_code RenameOver(const std::filesystem::path& from, const std::filesystem::path& to);
// Makes the last replace in `folder` durable, where the system can; never fails.
void SyncFolder(const std::filesystem::path& folder);

// A C stream over the handle, which it owns from then on; nullptr (with errno set, and the
// handle still owned by `handle`) when the system refuses.
std::FILE* OpenStream(FileHandle& handle, const char* mode);

}  // namespace vekaton::platform
