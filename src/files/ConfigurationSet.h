#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "decode/ParameterFile.h"
#include "engine/LinkSettings.h"
#include "files/DamagedFileGuard.h"
#include "files/SetNames.h"
#include "files/SettingsFile.h"

namespace vekaton {

class ParameterTable;

// The files of one configuration set in one folder: the set pointer, the settings file and the
// parameter file (the dashboard files join them later). Owned by the window or by vekaton-cli;
// remembers which files stopped reading so they are backed up before being rewritten.
class ConfigurationSet {
  public:
    explicit ConfigurationSet(std::filesystem::path folder);

    const std::filesystem::path& Folder() const { return folder_; }
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

    std::optional<std::string> WriteParameters(const ParameterTable& table);
    std::optional<std::string> WriteSettings(const LinkSettings& settings);
    std::optional<std::string> WritePointer();

  private:
    std::filesystem::path folder_;
    SetNames names_;
    DamagedFileGuard guard_;
    std::vector<std::string> parameterHeader_;
};

}  // namespace vekaton
