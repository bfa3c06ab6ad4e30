#include "cli/HeadlessSet.h"

#include <system_error>

#include "files/ConfigurationSet.h"

namespace vekaton::cli {

namespace {

void Report(std::ostream& err, const std::string& message) {
    if (!message.empty()) {
        err << "vekaton-cli: " << message << '\n';
    }
}

}  // namespace

std::optional<HeadlessSet> LoadHeadlessSet(const std::string& dir, const std::string& setName,
                                           std::ostream& err) {
    std::error_code ec;
    const std::filesystem::path folder =
        dir.empty() ? std::filesystem::current_path(ec) : std::filesystem::path(dir);
    if (ec || !std::filesystem::is_directory(folder, ec)) {
        Report(err, "cannot use the folder '" + (dir.empty() ? std::string(".") : dir) +
                        "': it is not a folder");
        return std::nullopt;
    }

    ConfigurationSet files(folder);
    if (!setName.empty()) {
        if (!IsUsableSetName(setName)) {
            Report(err,
                   "'" + setName + "' cannot name a set: a set name names files in the folder");
            return std::nullopt;
        }
        files.UsePointerSet(setName);
    } else {
        const LoadedSetNames loaded = files.LoadNames();
        if (loaded.warning) {
            Report(err, *loaded.warning);
        }
    }

    HeadlessSet set;
    set.folder = folder;
    set.names = files.Names();
    set.table = std::make_unique<ParameterTable>();
    set.table->Reset();
    const ParameterFileRead parameters = files.ReadParameters(*set.table);
    if (!parameters.found) {
        Report(err, "no parameter file " + set.names.parameterFileName + " in " + folder.string() +
                        ": only Frame and Time are written");
    }
    Report(err, parameters.errorMessage);
    Report(err, parameters.warningMessage);

    const SettingsFileRead settings = files.ReadSettings(set.settings);
    if (!settings.found) {
        Report(err, "no settings file " + set.names.settingsFileName + " in " + folder.string() +
                        ": the set's link and frame settings are needed");
        return std::nullopt;
    }
    Report(err, settings.errorMessage);
    Report(err, settings.warningMessage);
    set.settings = settings.result.settings;
    return set;
}

}  // namespace vekaton::cli
