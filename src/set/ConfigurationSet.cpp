#include "set/ConfigurationSet.h"

#include <system_error>
#include <utility>

#include "files/FileLookup.h"
#include "set/LeftoverFiles.h"

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

DetailsFileRead ConfigurationSet::ReadDetails(DetailsTable& details) {
    DetailsFileRead read = ReadDetailsFile(folder_, DetailsFileName(), guard_);
    details = read.result.table;
    detailsHeader_ = read.result.header;
    return read;
}

std::optional<std::string> ConfigurationSet::WriteDetails(const DetailsTable& details) {
    std::error_code ec;
    if (details.Empty() && detailsHeader_.empty() &&
        !std::filesystem::exists(ResolveSetFile(folder_, DetailsFileName()), ec)) {
        return std::nullopt;  // a set that never had details stays as it was
    }
    return WriteDetailsFile(folder_, DetailsFileName(), details, detailsHeader_, guard_);
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

GaugeListFileRead ConfigurationSet::ReadGaugeList() {
    return ReadGaugeListFile(folder_, names_.gaugeListFileName, guard_);
}

LayoutFileRead ConfigurationSet::ReadLayout(std::span<const std::string> componentNames,
                                            LayoutReadPrompts& prompts) {
    return ReadLayoutFile(folder_, names_.layoutFileName, componentNames, prompts, guard_);
}

std::optional<std::string> ConfigurationSet::WriteGaugeList(
    const std::vector<GaugeListEntry>& entries) {
    return WriteGaugeListFile(folder_, names_.gaugeListFileName, entries, guard_);
}

std::optional<std::string> ConfigurationSet::WriteLayout(
    const std::vector<StreamComponent>& records, const LayoutTrailer& trailer) {
    return WriteLayoutFile(folder_, names_.layoutFileName, records, trailer, guard_);
}

std::string ConfigurationSet::NoteDropped(std::string_view fileName) {
    return guard_.NoteDamaged(ResolveSetFile(folder_, fileName));
}

}  // namespace vekaton
