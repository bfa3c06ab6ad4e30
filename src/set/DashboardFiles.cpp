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
    const SetFileText file = ReadSetFile(read.path, kGaugeListType, guard);
    if (!file.Found()) {
        return read;
    }
    read.found = true;
    if (!file.Read()) {
        read.errorMessage = file.message;
        return read;
    }
    read.result = ParseGaugeList(file.text);
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
    const SetFileText file = ReadSetFile(read.path, kLayoutFileType, guard);
    if (!file.Found()) {
        return read;
    }
    read.found = true;
    if (!file.Read()) {
        read.errorMessage = file.message;
        read.result.records.resize(componentNames.size());
        return read;
    }
    read.result = ReadLayout(file.text, componentNames, prompts);
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
