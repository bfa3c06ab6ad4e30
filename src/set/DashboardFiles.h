#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "dashboard/GaugeList.h"
#include "dashboard/LayoutFile.h"
#include "set/SetFileReader.h"

namespace vekaton {

inline constexpr std::string_view kGaugeListBackupSuffix = "_bak.gau";
inline constexpr std::string_view kLayoutBackupSuffix = "_bak.dsf";

// The backup of a dashboard file: its name up to the first "." followed by the suffix
// ("Demo.dsf" gives "Demo_bak.dsf", "my.car.gau" gives "my_bak.gau").
std::string DashboardBackupName(std::string_view fileName, std::string_view backupSuffix);

// Rewrites a dashboard file so that nothing is lost on the way: a file noted as damaged is first
// copied to its ".bad" name, the current file is copied (never moved) to its backup, and only
// then are the new contents written through the safe-write helper. When any step fails the
// error is returned and the current file and its backup are left whole.
std::optional<std::string> SaveWithBackup(const std::filesystem::path& folder,
                                          std::string_view fileName, std::string_view backupSuffix,
                                          std::string_view contents, DamagedFileGuard& guard);

// Reading the gauge list of a set (any letter case). A file that could not be read, is too
// large, or had lines that were not taken in is noted in `guard`, so it is kept as name + ".bad"
// before it is first rewritten.
struct GaugeListFileRead : SetFileRead {
    GaugeListParse result;
};
GaugeListFileRead ReadGaugeListFile(const std::filesystem::path& folder, std::string_view fileName,
                                    DamagedFileGuard& guard);
std::optional<std::string> WriteGaugeListFile(const std::filesystem::path& folder,
                                              std::string_view fileName,
                                              const std::vector<GaugeListEntry>& entries,
                                              DamagedFileGuard& guard);

// Reading the layout file of a set with ReadLayout's questions (see LayoutFile.h).
// Without the file (`found` false) the dashboard keeps its design.
struct LayoutFileRead : SetFileRead {
    LayoutRead result;
};
LayoutFileRead ReadLayoutFile(const std::filesystem::path& folder, std::string_view fileName,
                              std::span<const std::string> componentNames,
                              LayoutReadPrompts& prompts, DamagedFileGuard& guard);
std::optional<std::string> WriteLayoutFile(const std::filesystem::path& folder,
                                           std::string_view fileName,
                                           const std::vector<StreamComponent>& records,
                                           const LayoutTrailer& trailer, DamagedFileGuard& guard);

}  // namespace vekaton
