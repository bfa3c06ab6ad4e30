#include "files/ConfigurationSet.h"

#include <utility>

#include "files/FileLookup.h"
#include "files/LeftoverFiles.h"

namespace vekaton {

ConfigurationSet::ConfigurationSet(std::filesystem::path folder) : folder_(std::move(folder)) {}

LoadedSetNames ConfigurationSet::LoadNames() {
    LoadedSetNames loaded = LoadSetNames(folder_, names_, guard_);
    names_ = loaded.names;
    return loaded;
}

void ConfigurationSet::UseChosenSet(std::string_view setName) {
    names_ = NamesForChosenSet(setName);
}

void ConfigurationSet::UsePointerSet(std::string_view setName) {
    names_ = NamesFromPointer(setName);
}

std::vector<std::filesystem::path> ConfigurationSet::RemoveLeftovers() {
    const std::string& parameters = names_.parameterFileName;
    return RemoveLeftoverTemporaryFiles(folder_, parameters.substr(0, parameters.find('.')));
}

ParameterFileRead ConfigurationSet::ReadParameters(ParameterTable& table) {
    ParameterFileRead read = ReadParameterFile(folder_, names_.parameterFileName, table, guard_);
    parameterHeader_ = read.result.header;
    return read;
}

SettingsFileRead ConfigurationSet::ReadSettings(const LinkSettings& previous) {
    return ReadSettingsFile(folder_, names_.settingsFileName, previous, guard_);
}

std::optional<std::string> ConfigurationSet::WriteParameters(const ParameterTable& table) {
    return WriteParameterFile(folder_, names_.parameterFileName, table, parameterHeader_, guard_);
}

std::optional<std::string> ConfigurationSet::WriteSettings(const LinkSettings& settings) {
    return WriteSettingsFile(folder_, names_.settingsFileName, settings, guard_);
}

std::optional<std::string> ConfigurationSet::WritePointer() {
    if (auto kept = guard_.BeforeRewrite(ResolveSetFile(folder_, kSetPointerWriteName))) {
        return kept;
    }
    return WriteSetPointer(folder_, names_.parameterFileName);
}

}  // namespace vekaton
