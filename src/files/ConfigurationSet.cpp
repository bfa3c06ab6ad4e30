#include "files/ConfigurationSet.h"

#include <utility>

namespace vekaton {

ConfigurationSet::ConfigurationSet(std::filesystem::path folder) : folder_(std::move(folder)) {}

LoadedSetNames ConfigurationSet::LoadNames() {
    LoadedSetNames loaded = LoadSetNames(folder_, names_);
    names_ = loaded.names;
    return loaded;
}

void ConfigurationSet::UseChosenSet(std::string_view setName) {
    names_ = NamesForChosenSet(setName);
}

void ConfigurationSet::UsePointerSet(std::string_view setName) {
    names_ = NamesFromPointer(setName);
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
    return WriteSetPointer(folder_, names_.parameterFileName);
}

}  // namespace vekaton
