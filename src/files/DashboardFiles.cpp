#include "files/DashboardFiles.h"

#include <system_error>

#include "files/DamagedFileGuard.h"
#include "files/FileLookup.h"
#include "files/SafeFile.h"

namespace vekaton {
namespace {

std::string Quoted(const std::filesystem::path& path) {
    return "\"" + path.filename().string() + "\"";
}

std::string Megabytes(std::uint64_t bytes) {
    return std::to_string(bytes / (1024 * 1024)) + " MB";
}

// The file's contents, or nothing with the reason in `error` (also when it is too large).
std::optional<std::string> ReadLimited(const std::filesystem::path& path, std::uint64_t limit,
                                       std::string_view what, std::string* error) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > limit) {
        *error = Quoted(path) + " is larger than the " + Megabytes(limit) + " a " +
                 std::string(what) + " may have, so it was not read.";
        return std::nullopt;
    }
    std::string reason;
    auto contents = ReadWholeFile(path, &reason);
    if (!contents) {
        *error = "Could not read " + Quoted(path) + ": " + reason + ".";
        return std::nullopt;
    }
    if (contents->size() > limit) {  // grew meanwhile
        *error = Quoted(path) + " is larger than the " + Megabytes(limit) + " a " +
                 std::string(what) + " may have, so it was not read.";
        return std::nullopt;
    }
    return contents;
}

}  // namespace

std::string DashboardBackupName(std::string_view fileName, std::string_view backupSuffix) {
    return std::string(fileName.substr(0, fileName.find('.'))) + std::string(backupSuffix);
}

std::optional<std::string> SaveWithBackup(const std::filesystem::path& folder,
                                          std::string_view fileName, std::string_view backupSuffix,
                                          std::string_view contents, DamagedFileGuard& guard) {
    const std::filesystem::path path = ResolveSetFile(folder, fileName);
    if (auto error = guard.BeforeRewrite(path)) {
        return error;
    }
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) {
        const std::filesystem::path backup =
            ResolveSetFile(folder, DashboardBackupName(path.filename().string(), backupSuffix));
        if (auto error = CopyToBackup(path, backup)) {
            return *error + " " + Quoted(path) + " was not saved, so that it is not lost.";
        }
    }
    return WriteFileAtomically(path, contents);
}

GaugeListFileRead ReadGaugeListFile(const std::filesystem::path& folder, std::string_view fileName,
                                    DamagedFileGuard& guard) {
    GaugeListFileRead read;
    read.path = ResolveSetFile(folder, fileName);
    std::error_code ec;
    if (!std::filesystem::exists(read.path, ec)) {
        return read;
    }
    read.found = true;
    std::string error;
    const auto text = ReadLimited(read.path, kMaxGaugeListFileSize, "gauge list", &error);
    if (!text) {
        read.errorMessage = error + " " + guard.NoteDamaged(read.path);
        return read;
    }
    read.result = ParseGaugeList(*text);
    if (read.result.Damaged()) {
        read.warningMessage = "Gauge list " + Quoted(read.path) + ":";
        for (const std::string& warning : read.result.warnings) {
            read.warningMessage += "\n" + warning;
        }
        read.warningMessage += "\n" + guard.NoteDamaged(read.path);
    }
    return read;
}

std::optional<std::string> WriteGaugeListFile(const std::filesystem::path& folder,
                                              std::string_view fileName,
                                              const std::vector<GaugeListEntry>& entries,
                                              DamagedFileGuard& guard) {
    return SaveWithBackup(folder, fileName, kGaugeListBackupSuffix, FormatGaugeList(entries),
                          guard);
}

LayoutFileRead ReadLayoutFile(const std::filesystem::path& folder, std::string_view fileName,
                              std::span<const std::string> componentNames,
                              LayoutReadPrompts& prompts, DamagedFileGuard& guard) {
    LayoutFileRead read;
    read.path = ResolveSetFile(folder, fileName);
    std::error_code ec;
    if (!std::filesystem::exists(read.path, ec)) {
        return read;
    }
    read.found = true;
    std::string error;
    const auto bytes = ReadLimited(read.path, kMaxLayoutFileSize, "layout file", &error);
    if (!bytes) {
        read.errorMessage = error + " " + guard.NoteDamaged(read.path);
        read.result.records.resize(componentNames.size());
        return read;
    }
    read.result = ReadLayout(*bytes, componentNames, prompts);
    if (read.result.damaged) {
        read.warningMessage = "Layout file " + Quoted(read.path) + ":";
        for (const std::string& note : read.result.notes) {
            read.warningMessage += "\n" + note;
        }
        read.warningMessage += "\n" + guard.NoteDamaged(read.path);
    }
    return read;
}

std::optional<std::string> WriteLayoutFile(const std::filesystem::path& folder,
                                           std::string_view fileName,
                                           const std::vector<StreamComponent>& records,
                                           const LayoutTrailer& trailer, DamagedFileGuard& guard) {
    std::string bytes;
    if (auto error = WriteLayoutBytes(records, trailer, bytes)) {
        return error;
    }
    return SaveWithBackup(folder, fileName, kLayoutBackupSuffix, bytes, guard);
}

}  // namespace vekaton
