#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/FileHandle.h"
#include "platform/FileKind.h"

namespace vekaton {

// What a path names, following symbolic links. Other, with *error set, when the path could not be
// examined at all (a folder on the way that may not be searched).
FileKind KindOfPath(const std::filesystem::path& path, std::error_code* error = nullptr);
// What follows "it is": "a regular file", "a folder", "a FIFO (named pipe)", "missing", ...
std::string_view DescribeKind(FileKind kind);

// An open file, closed with the object.
using FileDescriptor = platform::FileHandle;

// A regular file opened for reading or writing, or why it was not. Set files, data logs and the
// trace are only ever opened through here: a FIFO, a device, a folder or a socket is refused
// without waiting on it (opened without waiting, then checked on the open handle), so the program
// cannot hang in open() and never writes into a device. Symbolic links are followed to a regular
// file.
struct OpenedFile {
    FileDescriptor fd;
    std::uint64_t size = 0;  // at the moment of opening
    FileKind kind = FileKind::Missing;
    int error = 0;  // the system's error number when a call failed
    // Why the file was not opened, to follow its quoted name: "is a FIFO (named pipe), not a
    // file" or "could not be opened: Permission denied". Empty when it is open.
    std::string reason;

    bool IsOpen() const { return fd.IsOpen(); }
};

// Opens an existing regular file for reading.
OpenedFile OpenRegularForReading(const std::filesystem::path& path);

enum class WriteStart { Truncate, Append };
// Opens a regular file for writing, creating it when missing. An existing file is truncated only
// after it is known to be a regular file.
OpenedFile OpenRegularForWriting(const std::filesystem::path& path, WriteStart start);

// Reads the rest of an open file into `contents`, but never more than maxBytes: a file that
// grows past that while it is read counts as too large. On Failed, `reason` says why.
enum class ReadOutcome { Done, TooLarge, Failed };
ReadOutcome ReadRest(const FileDescriptor& fd, std::uint64_t maxBytes, std::string* contents,
                     std::string* reason);

// "1.0 GB", "64 KB", "812 bytes": sizes in messages.
std::string DescribeSize(std::uint64_t bytes);

}  // namespace vekaton
