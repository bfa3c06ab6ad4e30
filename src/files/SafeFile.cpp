#include "files/SafeFile.h"

#include "common/MessageText.h"
#include "files/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <limits>
#include <random>
#include <system_error>

namespace vekaton {

namespace {

std::string Reason(int error) {
    return std::generic_category().message(error);
}

std::string WriteFailure(const std::filesystem::path& path, int error) {
    return "Could not save \"" + QuotePath(path) + "\": " + Reason(error);
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

// Where a save of `path` goes. A symbolic link is written through to its target only when that
// is a regular file: the temporary file is made beside the target and renamed over it, so the
// link stays a link. A FIFO, a device, a socket or a folder is never replaced, nor is a missing
// file made at the end of a dangling link.
std::optional<std::string> SaveTarget(const std::filesystem::path& path,
                                      std::filesystem::path* target) {
    *target = path;
    struct stat link {};
    const bool isLink = ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode);
    int error = 0;
    const FileKind kind = KindOfPath(path, &error);
    if (kind == FileKind::Other && error != 0) {
        return WriteFailure(path, error);
    }
    if (kind == FileKind::LinkLoop) {
        return "Could not save \"" + QuotePath(path) +
               "\": it is a loop of symbolic links, which is left as it is.";
    }
    if (isLink) {
        if (kind != FileKind::Regular) {
            return "Could not save \"" + QuotePath(path) + "\": it is a symbolic link to " +
                   (kind == FileKind::BrokenLink ? std::string("a file that does not exist")
                                                 : std::string(DescribeKind(kind))) +
                   ", which is left as it is.";
        }
        std::error_code ec;
        const auto resolved = std::filesystem::canonical(path, ec);
        if (ec) {
            return WriteFailure(path, ec.value());
        }
        *target = resolved;
        return std::nullopt;
    }
    if (kind != FileKind::Regular && kind != FileKind::Missing) {
        return "Could not save \"" + QuotePath(path) + "\": it is " +
               std::string(DescribeKind(kind)) + ", not a file, and is left as it is.";
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> WriteFileAtomically(const std::filesystem::path& path,
                                               std::string_view contents) {
    std::filesystem::path target;
    if (auto refusal = SaveTarget(path, &target)) {
        return refusal;
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
        return "Could not back up \"" + QuotePath(from) + "\": " + error + ".";
    }
    if (auto failure = WriteFileAtomically(backup, *contents)) {
        return "Could not back up \"" + QuotePath(from) + "\". " + *failure;
    }
    return std::nullopt;
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, std::string* error) {
    return ReadWholeFile(path, std::numeric_limits<std::uint64_t>::max(), error);
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, std::uint64_t maxBytes,
                                         std::string* error) {
    std::string reason;
    std::string contents;
    OpenedFile file = OpenRegularForReading(path);
    if (!file.IsOpen()) {
        reason = "it " + file.reason;
    } else if (file.size > maxBytes) {
        reason = "it is " + DescribeSize(file.size) + ", more than " + DescribeSize(maxBytes);
    } else {
        contents.reserve(static_cast<std::size_t>(file.size));
        switch (ReadRest(file.fd, maxBytes, &contents, &reason)) {
            case ReadOutcome::Done:
                return contents;
            case ReadOutcome::TooLarge:
                reason = "it is more than " + DescribeSize(maxBytes);
                break;
            case ReadOutcome::Failed:
                reason = "it " + reason;
                break;
        }
    }
    if (error != nullptr) {
        *error = std::move(reason);
    }
    return std::nullopt;
}

}  // namespace vekaton
