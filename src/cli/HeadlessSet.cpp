#include "cli/HeadlessSet.h"

#include <system_error>

#include "common/MessageText.h"
#include "files/ConfigurationSet.h"
#include "files/RegularFile.h"

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
    const FileKind kind = ec ? FileKind::Other : KindOfPath(folder);
    if (kind != FileKind::Folder) {
        Report(err, "cannot use the folder '" + QuotePath(dir.empty() ? std::string(".") : dir) +
                        "': it is " + std::string(DescribeKind(kind)));
        return std::nullopt;
    }

    ConfigurationSet files(folder);
    if (!setName.empty()) {
        if (const auto problem = SetNameProblem(setName)) {
            Report(err, "'" + QuoteText(setName) + "' cannot name a set: " + *problem);
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
        Report(err, "no parameter file " + QuotePath(set.names.parameterFileName) + " in " +
                        QuotePath(folder) + ": only Frame and Time are written");
    }
    Report(err, parameters.errorMessage);
    Report(err, parameters.warningMessage);

    const SettingsFileRead settings = files.ReadSettings(set.settings);
    if (!settings.found) {
        Report(err, "no settings file " + QuotePath(set.names.settingsFileName) + " in " +
                        QuotePath(folder) + ": the set's link and frame settings are needed");
        return std::nullopt;
    }
    Report(err, settings.errorMessage);
    Report(err, settings.warningMessage);
    set.settings = settings.result.settings;
    return set;
}

}  // namespace vekaton::cli
