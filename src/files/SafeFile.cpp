#include "files/SafeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <system_error>

namespace vekaton {

namespace {

std::string Reason(int error) {
    return std::generic_category().message(error);
}

std::string WriteFailure(const std::filesystem::path& path, int error) {
    return "Could not save \"" + path.string() + "\": " + Reason(error);
}

std::filesystem::path FolderOf(const std::filesystem::path& path) {
    const auto folder = path.parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

// A fresh name beside the target; O_EXCL on open settles the rare collision.
std::filesystem::path TempNameFor(const std::filesystem::path& target) {
    std::random_device random;
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(random()));
    return FolderOf(target) /
           ("." + target.filename().string() + ".tmp" + std::to_string(::getpid()) + suffix);
}

bool WriteAll(int fd, std::string_view contents, int* error) {
    std::size_t done = 0;
    while (done < contents.size()) {
        const ssize_t n = ::write(fd, contents.data() + done, contents.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            *error = errno;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Makes the rename itself durable. Some file systems cannot sync a folder; that is no reason
// to report a save that did happen as failed.
void SyncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

std::optional<std::string> WriteFileAtomically(const std::filesystem::path& path,
                                               std::string_view contents) {
    // Writing through a symbolic link replaces the file it points to, not the link.
    std::filesystem::path target = path;
    std::error_code ec;
    if (std::filesystem::is_symlink(path, ec)) {
        const auto resolved = std::filesystem::weakly_canonical(path, ec);
        if (!ec) {
            target = resolved;
        }
    }

    std::filesystem::path temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = TempNameFor(target);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            return WriteFailure(path, errno);
        }
    }
    if (fd < 0) {
        return WriteFailure(path, EEXIST);
    }

    int error = 0;
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) {
        ::fchmod(fd, old.st_mode & 07777);  // a replaced file keeps its permissions
    }
    bool ok = WriteAll(fd, contents, &error);
    if (ok && ::fsync(fd) != 0) {
        error = errno;
        ok = false;
    }
    if (::close(fd) != 0 && ok) {
        error = errno;
        ok = false;
    }
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
        error = errno;
        ok = false;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return WriteFailure(path, error);
    }
    SyncFolder(FolderOf(target));
    return std::nullopt;
}

std::optional<std::string> CopyToBackup(const std::filesystem::path& from,
                                        const std::filesystem::path& backup) {
    std::string error;
    const auto contents = ReadWholeFile(from, &error);
    if (!contents) {
        return "Could not back up \"" + from.string() + "\": " + error;
    }
    if (auto failure = WriteFileAtomically(backup, *contents)) {
        return "Could not back up \"" + from.string() + "\". " + *failure;
    }
    return std::nullopt;
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, std::string* error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (error != nullptr) {
            *error = Reason(errno);
        }
        return std::nullopt;
    }
    std::string contents;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            if (error != nullptr) {
                *error = Reason(errno);
            }
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) {
            break;
        }
        contents.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return contents;
}

}  // namespace vekaton
