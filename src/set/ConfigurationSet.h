#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/LinkSettings.h"
#include "set/DamagedFileGuard.h"
#include "set/DashboardFiles.h"
#include "set/DetailsFile.h"
#include "set/ParameterFile.h"
#include "set/SetNames.h"
#include "set/SettingsFile.h"

namespace vekaton {

class ParameterTable;

// The files of one configuration set in one folder: the set pointer, the settings file, the
// parameter file, the details file, the gauge list and the layout file. Owned by the window or by
// vekaton-cli; remembers which files lost something when they were read, so that each is kept as
// name + ".bad" before it is first rewritten.
class ConfigurationSet {
  public:
    explicit ConfigurationSet(std::filesystem::path folder);

    const std::filesystem::path& Folder() const { return folder_; }
    // The set's files are read and written in another folder from now on (Save Config Info
    // into another folder). What was read from the files, such as the parameter file's header
    // comments, goes along.
    void MoveToFolder(std::filesystem::path folder) { folder_ = std::move(folder); }
    const SetNames& Names() const { return names_; }

    // Start-up: the set named by the set pointer, or the current names when there is none.
    LoadedSetNames LoadNames();
    // A set chosen by name (Save Config Info, Load Config Files, or the command line).
    void UseChosenSet(std::string_view setName);
    // A set named on the command line: the names the set pointer would give.
    void UsePointerSet(std::string_view setName);

    // Removes what saves of this set that were killed half-way left behind (temporary files of
    // the safe-write helper). Only for the holder of the single-instance lock.
    std::vector<std::filesystem::path> RemoveLeftovers();

    ParameterFileRead ReadParameters(ParameterTable& table);
    SettingsFileRead ReadSettings(const LinkSettings& previous);

    // The dashboard files; their writers keep the old file as a "_bak" copy first.
    GaugeListFileRead ReadGaugeList();
    LayoutFileRead ReadLayout(std::span<const std::string> componentNames,
                              LayoutReadPrompts& prompts);

    // The details file beside the parameter file ("NAME.details"). Reading fills `details`
    // (cleared first); a set without the file has no details. Writing keeps the old file as a
    // "_bak.details" copy first, and its header comments as last read; a set that has neither
    // details nor the file is left without one.
    DetailsFileRead ReadDetails(DetailsTable& details);
    std::optional<std::string> WriteDetails(const DetailsTable& details);
    std::string DetailsFileName() const { return DetailsFileNameFor(names_.parameterFileName); }

    std::optional<std::string> WriteParameters(const ParameterTable& table);
    std::optional<std::string> WriteSettings(const LinkSettings& settings);
    std::optional<std::string> WritePointer();
    std::optional<std::string> WriteGaugeList(const std::vector<GaugeListEntry>& entries);
    std::optional<std::string> WriteLayout(const std::vector<StreamComponent>& records,
                                           const LayoutTrailer& trailer);

    // For what the window could not take in from a file it read (a gauge-list entry of no known
    // kind, a record for a control that no longer exists): the file is kept as name + ".bad"
    // before it is first rewritten. Returns the sentence that tells the user so.
    std::string NoteDropped(std::string_view fileName);

    // The parameter file's header comments as last read, written back ahead of the data lines.
    const std::vector<std::string>& ParameterHeader() const { return parameterHeader_; }
    // The details file's header comments as last read.
    const std::vector<std::string>& DetailsHeader() const { return detailsHeader_; }

  private:
    std::filesystem::path folder_;
    SetNames names_;
    DamagedFileGuard guard_;
    std::vector<std::string> parameterHeader_;
    std::vector<std::string> detailsHeader_;
};

}  // namespace vekaton
