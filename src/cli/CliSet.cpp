#include "cli/CliSet.h"

#include <system_error>

#include "common/MessageText.h"
#include "files/FileLookup.h"
#include "files/RegularFile.h"
#include "set/SetNames.h"

namespace vekaton::cli {

namespace {

void Report(std::ostream& err, const std::string& message) {
    if (!message.empty()) {
        err << "vekaton-cli: " << message << '\n';
    }
}

const SetFileReport* ReportOf(const Session& session, const std::string& fileName) {
    for (const SetFileReport& report : session.Reports()) {
        if (report.fileName == fileName) {
            return &report;
        }
    }
    return nullptr;
}

}  // namespace

std::optional<CliSet> OpenCliSet(const std::string& dir, const std::string& setName,
                                 std::ostream& err, bool force) {
    std::error_code ec;
    const std::filesystem::path folder =
        dir.empty() ? std::filesystem::current_path(ec) : std::filesystem::path(dir);
    const FileKind kind = ec ? FileKind::Other : KindOfPath(folder);
    if (kind != FileKind::Folder) {
        Report(err, "cannot use the folder '" + QuotePath(dir.empty() ? std::string(".") : dir) +
                        "': it is " + std::string(DescribeKind(kind)));
        return std::nullopt;
    }
    OpenOptions options;
    options.dashboard = false;
    if (!setName.empty()) {
        if (const auto problem = SetNameProblem(setName)) {
            Report(err, "'" + QuoteText(setName) + "' cannot name a set: " + *problem);
            return std::nullopt;
        }
        options.setName = setName;
    }

    CliSet set;
    set.session = std::make_unique<Session>(folder);
    Session& session = *set.session;
    session.Open(options);
    const SetNames& names = session.Set().Names();
    if (const SetFileReport* pointer = ReportOf(session, std::string(kSetPointerFileName))) {
        for (const std::string& message : pointer->messages) {
            Report(err, message);
        }
    }
    const std::filesystem::path pointer = ResolveSetFile(folder, kSetPointerFileName);
    if (std::filesystem::exists(pointer, ec)) {
        set.files.push_back(pointer);
    }
    if (const SetFileReport* parameters = ReportOf(session, names.parameterFileName)) {
        if (parameters->found) {
            set.files.push_back(parameters->path);
        } else {
            Report(err, "no parameter file " + QuotePath(names.parameterFileName) + " in " +
                            QuotePath(folder) + ": only Frame and Time are written");
        }
        for (const std::string& message : parameters->messages) {
            Report(err, message);
        }
    }
    if (const SetFileReport* details = ReportOf(session, session.Set().DetailsFileName())) {
        if (details->found) {
            set.files.push_back(details->path);
        }
        for (const std::string& message : details->messages) {
            Report(err, message);
        }
    }

    const SettingsFileRead& settings = session.SettingsRead();
    if (!settings.found) {
        Report(err, "no settings file " + QuotePath(names.settingsFileName) + " in " +
                        QuotePath(folder) + ": the set's link and frame settings are needed");
        return std::nullopt;
    }
    set.files.push_back(settings.path);
    Report(err, settings.errorMessage);
    // Nine lines make a whole file of the older kind; fewer are cut short.
    constexpr int kWholeLines = 9;
    const bool cutShort = settings.result.linesInFile < kWholeLines;
    const bool whole = settings.errorMessage.empty() && !settings.result.error && !cutShort;
    const bool inRange = settings.result.outOfRange.empty();
    if ((whole && inRange) || force) {
        Report(err, settings.warningMessage);
        if (!whole || !inRange) {
            Report(err, "warning: going on (--force) with the settings as read");
        }
    } else {
        std::string text = "the settings file " + QuotePath(settings.path.filename());
        if (!whole) {
            text += " was not read whole";
            if (cutShort && settings.errorMessage.empty()) {
                text += ": it has " + std::to_string(settings.result.linesInFile) +
                        " lines, where 9 or more are needed";
            }
        } else {
            text += " holds values out of range:";
            for (const std::string& problem : settings.result.outOfRange) {
                text += "\n  " + problem;
            }
        }
        Report(err, text +
                        "\nFrames cut to a wrong size would give wrong values, so nothing is "
                        "done. Correct the file, or add --force to go on with the values read.");
        return std::nullopt;
    }
    return set;
}

}  // namespace vekaton::cli
