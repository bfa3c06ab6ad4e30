#include "set/DashboardFiles.h"

#include <system_error>

#include "common/MessageText.h"
#include "files/FileLookup.h"
#include "files/SafeFile.h"
#include "set/DamagedFileGuard.h"
#include "set/SetFileReader.h"

namespace vekaton {
namespace {

std::string Quoted(const std::filesystem::path& path) {
    return "\"" + QuotePath(path.filename()) + "\"";
}

static_assert(kGaugeListType.maxBytes == kMaxGaugeListFileSize);
static_assert(kLayoutFileType.maxBytes == kMaxLayoutFileSize);

}  // namespace

std::string DashboardBackupName(std::string_view fileName, std::string_view backupSuffix) {
    return std::string(fileName.substr(0, fileName.find('.'))) + std::string(backupSuffix);
}

std::optional<std::string> SaveWithBackup(const std::filesystem::path& folder,
                                          std::string_view fileName, std::string_view backupSuffix,
                                          std::string_view contents, DamagedFileGuard& guard) {
    const std::filesystem::path path = ResolveSetFile(folder, fileName);
    if (auto error = SaveSizeProblem(path, contents.size())) {
        return error;
    }
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
    if (const auto text = OpenSetFile(folder, fileName, kGaugeListType, guard, read)) {
        read.result = ParseGaugeList(*text);
        if (read.result.Damaged()) {
            NoteWarnings(read, kGaugeListType, read.result.warnings, true, guard);
        }
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
    const auto bytes = OpenSetFile(folder, fileName, kLayoutFileType, guard, read);
    if (!bytes) {
        if (read.found) {
            read.result.records.resize(componentNames.size());
        }
        return read;
    }
    read.result = ReadLayout(*bytes, componentNames, prompts);
    if (read.result.damaged) {
        NoteWarnings(read, kLayoutFileType, read.result.notes, true, guard);
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
