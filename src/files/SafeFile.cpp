#include "files/SafeFile.h"

#include "common/MessageText.h"
#include "files/RegularFile.h"

#include <cstdio>
#include <limits>
#include <random>
#include <system_error>

#include "platform/Files.h"
#include "platform/Process.h"

namespace vekaton {

namespace {

std::string WriteFailure(const std::filesystem::path& path, const std::error_code& error) {
    return "Could not save \"" + QuotePath(path) + "\": " + error.message();
}

std::filesystem::path FolderOf(const std::filesystem::path& path) {
    const auto folder = path.parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

// A fresh name beside the target; creating it only when new settles the rare collision.
std::filesystem::path TempNameFor(const std::filesystem::path& target) {
    std::random_device random;
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(random()));
    return FolderOf(target) / ("." + target.filename().string() + ".tmp" +
                               std::to_string(platform::CurrentProcessId()) + suffix);
}

// Where a save of `path` goes. A symbolic link is written through to its target only when that
// is a regular file: the temporary file is made beside the target and renamed over it, so the
// link stays a link. A FIFO, a device, a socket or a folder is never replaced, nor is a missing
// file made at the end of a dangling link.
std::optional<std::string> SaveTarget(const std::filesystem::path& path,
                                      std::filesystem::path* target) {
    *target = path;
    const bool isLink = platform::IsSymbolicLink(path);
    std::error_code error;
    const FileKind kind = KindOfPath(path, &error);
    if (kind == FileKind::Other && error) {
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
            return WriteFailure(path, ec);
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
    platform::FileHandle file;
    std::error_code error;
    for (int attempt = 0; attempt < 100 && !file.IsOpen(); ++attempt) {
        temp = TempNameFor(target);
        file = platform::CreateNew(temp, error);
        if (!file.IsOpen() && error != std::errc::file_exists) {
            return WriteFailure(path, error);
        }
    }
    if (!file.IsOpen()) {
        return WriteFailure(path, std::make_error_code(std::errc::file_exists));
    }

    platform::CopyAccessRights(target, file);  // a replaced file keeps its permissions
    error = platform::WriteAll(file, contents);
    if (!error) {
        error = platform::SyncToDisk(file);
    }
    if (const std::error_code closed = file.Close(); closed && !error) {
        error = closed;
    }
    if (!error) {
        error = platform::RenameOver(temp, target);
    }
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        return WriteFailure(path, error);
    }
    platform::SyncFolder(FolderOf(target));
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
