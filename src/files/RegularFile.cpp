#include "files/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <system_error>

namespace vekaton {

namespace {

std::string SystemReason(int error) {
    return std::generic_category().message(error);
}

FileKind KindOfMode(mode_t mode) {
    if (S_ISREG(mode)) {
        return FileKind::Regular;
    }
    if (S_ISDIR(mode)) {
        return FileKind::Folder;
    }
    if (S_ISFIFO(mode)) {
        return FileKind::Fifo;
    }
    if (S_ISCHR(mode)) {
        return FileKind::CharacterDevice;
    }
    if (S_ISBLK(mode)) {
        return FileKind::BlockDevice;
    }
    if (S_ISSOCK(mode)) {
        return FileKind::Socket;
    }
    return FileKind::Other;
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

OpenedFile Failed(const char* what, int error) {
    OpenedFile file;
    file.kind = FileKind::Other;
    file.error = error;
    file.reason = std::string("could not be ") + what + ": " + SystemReason(error);
    return file;
}

// What stat() finds, telling a link to nothing from nothing at all.
FileKind StatKind(const std::filesystem::path& path, int* error) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        *error = 0;
        return KindOfMode(info.st_mode);
    }
    *error = errno;
    if (errno == ELOOP) {
        return FileKind::LinkLoop;
    }
    if (errno == ENOENT) {
        struct stat link {};
        if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
            return FileKind::BrokenLink;
        }
        return FileKind::Missing;
    }
    return FileKind::Other;
}

// The descriptor's own type settles it: the path may have changed since it was looked at.
OpenedFile Checked(int fd) {
    FileDescriptor owned(fd);
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return Failed("examined", errno);
    }
    const FileKind kind = KindOfMode(info.st_mode);
    if (kind != FileKind::Regular) {
        return Refused(kind);
    }
    // Back to ordinary blocking reads and writes, which a regular file never waits on anyway.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) {
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    }
    OpenedFile file;
    file.fd = std::move(owned);
    file.kind = FileKind::Regular;
    file.size = static_cast<std::uint64_t>(info.st_size);
    return file;
}

}  // namespace

FileKind KindOfPath(const std::filesystem::path& path, int* error) {
    int ignored = 0;
    return StatKind(path, error != nullptr ? error : &ignored);
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

FileDescriptor::~FileDescriptor() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = other.Release();
    }
    return *this;
}

int FileDescriptor::Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

OpenedFile OpenRegularForReading(const std::filesystem::path& path) {
    int error = 0;
    const FileKind kind = StatKind(path, &error);
    if (kind == FileKind::Other && error != 0) {
        return Failed("opened", error);
    }
    if (kind != FileKind::Regular) {
        return Refused(kind);  // devices are never even opened: some act on open
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return Failed("opened", errno);
    }
    return Checked(fd);
}

OpenedFile OpenRegularForWriting(const std::filesystem::path& path, WriteStart start) {
    int error = 0;
    const FileKind kind = StatKind(path, &error);
    if (kind == FileKind::Other && error != 0) {
        return Failed("opened", error);
    }
    if (kind != FileKind::Regular && kind != FileKind::Missing) {
        return Refused(kind);
    }
    int flags = O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    if (start == WriteStart::Append) {
        flags |= O_APPEND;
    }
    const int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0) {
        // A FIFO made meanwhile, with nobody reading it.
        return errno == ENXIO ? Refused(FileKind::Fifo)
                              : Failed(kind == FileKind::Missing ? "created" : "opened", errno);
    }
    OpenedFile file = Checked(fd);
    if (file.IsOpen() && start == WriteStart::Truncate && file.size > 0) {
        if (::ftruncate(file.fd.Get(), 0) != 0) {
            return Failed("emptied", errno);
        }
        file.size = 0;
    }
    return file;
}

ReadOutcome ReadRest(const FileDescriptor& fd, std::uint64_t maxBytes, std::string* contents,
                     std::string* reason) {
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            *reason = "could not be read: " + SystemReason(errno);
            return ReadOutcome::Failed;
        }
        if (n == 0) {
            return ReadOutcome::Done;
        }
        if (contents->size() + static_cast<std::uint64_t>(n) > maxBytes) {
            return ReadOutcome::TooLarge;
        }
        contents->append(buffer, static_cast<std::size_t>(n));
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
