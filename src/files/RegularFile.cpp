#include "files/RegularFile.h"

#include <cstddef>
#include <cstdio>

#include "platform/Files.h"

namespace vekaton {

namespace {

std::string SystemReason(const std::error_code& error) {
    return error.message();
}

std::string NotAFile(FileKind kind) {
    if (kind == FileKind::BrokenLink) {
        return "is a symbolic link to a file that does not exist";
    }
    if (kind == FileKind::Missing) {
        return "does not exist";
    }
    return "is " + std::string(DescribeKind(kind)) + ", not a file";
}

OpenedFile Refused(FileKind kind) {
    OpenedFile file;
    file.kind = kind;
    file.reason = NotAFile(kind);
    return file;
}

OpenedFile Failed(const char* what, const std::error_code& error) {
    OpenedFile file;
    file.kind = FileKind::Other;
    file.error = error.value();
    file.reason = std::string("could not be ") + what + ": " + SystemReason(error);
    return file;
}

// The handle's own type settles it: the path may have changed since it was looked at.
OpenedFile Checked(platform::FileHandle handle) {
    platform::HandleFacts facts;
    if (const std::error_code error = platform::Examine(handle, facts)) {
        return Failed("examined", error);
    }
    if (facts.kind != FileKind::Regular) {
        return Refused(facts.kind);
    }
    // Back to ordinary waiting reads and writes, which a regular file never waits on anyway.
    platform::UseWaitingCalls(handle);
    OpenedFile file;
    file.fd = std::move(handle);
    file.kind = FileKind::Regular;
    file.size = facts.size;
    return file;
}

}  // namespace

FileKind KindOfPath(const std::filesystem::path& path, std::error_code* error) {
    std::error_code ignored;
    return platform::KindOfPath(path, error != nullptr ? *error : ignored);
}

std::string_view DescribeKind(FileKind kind) {
    switch (kind) {
        case FileKind::Missing:
            return "missing";
        case FileKind::Regular:
            return "a regular file";
        case FileKind::Folder:
            return "a folder";
        case FileKind::Fifo:
            return "a FIFO (named pipe)";
        case FileKind::CharacterDevice:
            return "a character device";
        case FileKind::BlockDevice:
            return "a block device";
        case FileKind::Socket:
            return "a socket";
        case FileKind::BrokenLink:
            return "a symbolic link to a file that does not exist";
        case FileKind::LinkLoop:
            return "a loop of symbolic links";
        case FileKind::Other:
            break;
    }
    return "something other than a regular file";
}

OpenedFile OpenRegularForReading(const std::filesystem::path& path) {
    std::error_code error;
    const FileKind kind = platform::KindOfPath(path, error);
    if (kind == FileKind::Other && error) {
        return Failed("opened", error);
    }
    if (kind != FileKind::Regular) {
        return Refused(kind);  // devices are never even opened: some act on open
    }
    platform::FileHandle handle = platform::OpenWithoutWaiting(path, platform::Access::Read, error);
    if (!handle.IsOpen()) {
        return Failed("opened", error);
    }
    return Checked(std::move(handle));
}

OpenedFile OpenRegularForWriting(const std::filesystem::path& path, WriteStart start) {
    std::error_code error;
    const FileKind kind = platform::KindOfPath(path, error);
    if (kind == FileKind::Other && error) {
        return Failed("opened", error);
    }
    if (kind != FileKind::Regular && kind != FileKind::Missing) {
        return Refused(kind);
    }
    platform::FileHandle handle = platform::OpenWithoutWaiting(
        path, start == WriteStart::Append ? platform::Access::Append : platform::Access::Write,
        error);
    if (!handle.IsOpen()) {
        // A FIFO made meanwhile, with nobody reading it.
        return error == std::errc::no_such_device_or_address
                   ? Refused(FileKind::Fifo)
                   : Failed(kind == FileKind::Missing ? "created" : "opened", error);
    }
    OpenedFile file = Checked(std::move(handle));
    if (file.IsOpen() && start == WriteStart::Truncate && file.size > 0) {
        if (const std::error_code truncated = platform::Truncate(file.fd)) {
            return Failed("emptied", truncated);
        }
        file.size = 0;
    }
    return file;
}

ReadOutcome ReadRest(const FileDescriptor& fd, std::uint64_t maxBytes, std::string* contents,
                     std::string* reason) {
    char buffer[65536];
    for (;;) {
        std::error_code error;
        const std::size_t n = platform::Read(fd, std::as_writable_bytes(std::span(buffer)), error);
        if (error) {
            *reason = "could not be read: " + SystemReason(error);
            return ReadOutcome::Failed;
        }
        if (n == 0) {
            return ReadOutcome::Done;
        }
        if (contents->size() + static_cast<std::uint64_t>(n) > maxBytes) {
            return ReadOutcome::TooLarge;
        }
        contents->append(buffer, n);
    }
}

std::string DescribeSize(std::uint64_t bytes) {
    constexpr std::uint64_t kKilo = 1024;
    if (bytes < kKilo) {
        return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
    }
    const char* units[] = {"KB", "MB", "GB", "TB", "PB", "EB"};
    std::uint64_t unit = kKilo;
    std::size_t index = 0;
    while (index + 1 < std::size(units) && bytes / unit >= kKilo) {
        unit *= kKilo;
        ++index;
    }
    char text[32];
    if (bytes % unit == 0) {
        std::snprintf(text, sizeof text, "%llu %s", static_cast<unsigned long long>(bytes / unit),
                      units[index]);
    } else {
        std::snprintf(text, sizeof text, "%.1f %s",
                      static_cast<double>(bytes) / static_cast<double>(unit), units[index]);
    }
    return text;
}

}  // namespace vekaton
