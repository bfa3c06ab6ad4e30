#include "platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace vekaton::platform {

namespace {

std::error_code LastError() {
    return {errno, std::generic_category()};
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

FileHandle Opened(int fd, std::error_code& error) {
    if (fd < 0) {
        error = LastError();
        return {};
    }
    error.clear();
    return FileHandle(fd);
}

}  // namespace

std::error_code FileHandle::Close() {
    if (handle_ < 0) {
        return {};
    }
    const int fd = Release();
    return ::close(fd) == 0 ? std::error_code() : LastError();
}

// stat() decides, and tells a link to nothing from nothing at all.
FileKind KindOfPath(const std::filesystem::path& path, std::error_code& error) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        error.clear();
        return KindOfMode(info.st_mode);
    }
    error = LastError();
    if (error.value() == ELOOP) {
        return FileKind::LinkLoop;
    }
    if (error.value() == ENOENT) {
        return IsSymbolicLink(path) ? FileKind::BrokenLink : FileKind::Missing;
    }
    return FileKind::Other;
}

bool IsSymbolicLink(const std::filesystem::path& path) {
    struct stat link {};
    return ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode);
}

std::optional<PathIdentity> IdentityOfPath(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return PathIdentity{static_cast<std::uint64_t>(info.st_dev),
                        static_cast<std::uint64_t>(info.st_ino), KindOfMode(info.st_mode)};
}

FileHandle OpenWithoutWaiting(const std::filesystem::path& path, Access access,
                              std::error_code& error) {
    int flags = O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    switch (access) {
        case Access::Read:
            flags |= O_RDONLY;
            break;
        case Access::Write:
            flags |= O_WRONLY | O_CREAT;
            break;
        case Access::Append:
            flags |= O_WRONLY | O_CREAT | O_APPEND;
            break;
    }
    return Opened(::open(path.c_str(), flags, 0666), error);
}

FileHandle CreateNew(const std::filesystem::path& path, std::error_code& error) {
    return Opened(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666), error);
}

std::error_code Examine(const FileHandle& handle, HandleFacts& facts) {
    struct stat info {};
    if (::fstat(handle.Get(), &info) != 0) {
        return LastError();
    }
    facts.kind = KindOfMode(info.st_mode);
    facts.size = static_cast<std::uint64_t>(info.st_size);
    return {};
}

void UseWaitingCalls(const FileHandle& handle) {
    const int flags = ::fcntl(handle.Get(), F_GETFL);
    if (flags >= 0) {
        ::fcntl(handle.Get(), F_SETFL, flags & ~O_NONBLOCK);
    }
}

std::size_t Read(const FileHandle& handle, std::span<std::byte> out, std::error_code& error) {
    for (;;) {
        const ssize_t n = ::read(handle.Get(), out.data(), out.size());
        if (n >= 0) {
            error.clear();
            return static_cast<std::size_t>(n);
        }
        if (errno != EINTR) {
            error = LastError();
            return 0;
        }
    }
}

std::size_t ReadAt(const FileHandle& handle, std::uint64_t offset, std::span<std::byte> out,
                   std::error_code& error) {
    for (;;) {
        const ssize_t n = ::pread(handle.Get(), out.data(), out.size(), static_cast<off_t>(offset));
        if (n >= 0) {
            error.clear();
            return static_cast<std::size_t>(n);
        }
        if (errno != EINTR) {
            error = LastError();
            return 0;
        }
    }
}

std::error_code WriteAll(const FileHandle& handle, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(handle.Get(), bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return LastError();
        }
        done += static_cast<std::size_t>(n);
    }
    return {};
}

std::error_code Truncate(const FileHandle& handle) {
    return ::ftruncate(handle.Get(), 0) == 0 ? std::error_code() : LastError();
}

std::error_code SyncToDisk(const FileHandle& handle) {
    return ::fsync(handle.Get()) == 0 ? std::error_code() : LastError();
}

void CopyAccessRights(const std::filesystem::path& path, const FileHandle& handle) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        ::fchmod(handle.Get(), info.st_mode & 07777);
    }
}

std::error_code RenameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    return ::rename(from.c_str(), to.c_str()) == 0 ? std::error_code() : LastError();
}

// Some file systems cannot sync a folder; that is no reason to report a replace that did happen
// as failed.
void SyncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

std::FILE* OpenStream(FileHandle& handle, const char* mode) {
    std::FILE* stream = ::fdopen(handle.Get(), mode);
    if (stream != nullptr) {
        handle.Release();
    }
    return stream;
}

}  // namespace vekaton::platform
