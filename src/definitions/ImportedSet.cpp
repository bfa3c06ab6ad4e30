#include "definitions/ImportedSet.h"

#include <memory>
#include <system_error>

#include "common/MessageText.h"
#include "definitions/AdxFields.h"
#include "definitions/DashboardGenerator.h"
#include "files/FileLookup.h"
#include "files/SafeFile.h"
#include "set/DamagedFileGuard.h"
#include "set/DetailsFile.h"
#include "set/ParameterFile.h"
#include "set/SetNames.h"
#include "set/SettingsFile.h"

namespace vekaton {
namespace {

std::string ReportText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

// The files written so far go again, so a failed import leaves no half set behind.
void RemoveAll(const std::vector<std::filesystem::path>& files) {
    for (const auto& file : files) {
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
    }
}

}  // namespace

std::string ImportReportFileName(std::string_view setName) {
    return std::string(setName) + "-import.txt";
}

std::string DefaultImportSetName(const std::filesystem::path& source) {
    std::string name = source.stem().string();
    for (char& c : name) {
        if (c == '.') {
            c = '_';
        }
    }
    return ImportSetNameProblem(name) ? std::string("Imported") : name;
}

std::optional<std::string> ImportSetNameProblem(std::string_view setName) {
    if (auto problem = SetNameProblem(setName)) {
        return problem;
    }
    if (setName.find('.') != std::string_view::npos) {
        return "it holds a \".\", and the set pointer names a set only up to its first \".\"";
    }
    return std::nullopt;
}

std::optional<std::filesystem::path> ExistingSetFile(const std::filesystem::path& folder,
                                                     std::string_view setName) {
    const SetNames names = NamesFromPointer(setName);
    for (const std::string& name :
         {names.settingsFileName, names.parameterFileName,
          DetailsFileNameFor(names.parameterFileName), names.gaugeListFileName,
          names.layoutFileName, ImportReportFileName(setName)}) {
        const std::filesystem::path path = ResolveSetFile(folder, name);
        std::error_code error;
        if (std::filesystem::symlink_status(path, error).type() !=
            std::filesystem::file_type::not_found) {
            return path;
        }
    }
    return std::nullopt;
}

std::vector<ImportedSetStep> ImportedSetSteps(const std::filesystem::path& folder,
                                              std::string_view setName, const AdxImport& import,
                                              std::string_view sourceName) {
    const SetNames names = NamesFromPointer(setName);
    auto guard = std::make_shared<DamagedFileGuard>();
    const std::string report = ImportReportFileName(setName);
    std::vector<ImportedSetStep> steps;
    steps.push_back({folder / names.settingsFileName, [=, &import] {
                         return WriteSettingsFile(folder, names.settingsFileName, import.settings,
                                                  *guard);
                     }});
    const std::vector<std::string> header = {
        "; Made from the ADX definition " + ReportLine(sourceName) + ".",
        "; What became of each of its objects: " + report + ".",
    };
    steps.push_back({folder / names.parameterFileName, [=, &import] {
                         return WriteParameterFile(folder, names.parameterFileName, *import.table,
                                                   header, *guard);
                     }});
    steps.push_back({folder / report, [=, &import] {
                         return WriteFileAtomically(folder / report, ReportText(import.report));
                     }});
    const std::string detailsName = DetailsFileNameFor(names.parameterFileName);
    steps.push_back({folder / detailsName, [=, &import] {
                         return WriteDetailsFile(folder, detailsName, import.details, {}, *guard);
                     }});
    // The dashboard is made from the definitions and details just mapped, as for the library.
    auto dashboard =
        std::make_shared<GeneratedDashboard>(GenerateDashboard(*import.table, import.details));
    steps.push_back({folder / names.gaugeListFileName, [=] {
                         return WriteFileAtomically(folder / names.gaugeListFileName,
                                                    dashboard->GaugeListText());
                     }});
    steps.push_back({folder / names.layoutFileName, [=]() -> std::optional<std::string> {
                         const std::optional<std::string> bytes = dashboard->LayoutBytes();
                         if (!bytes) {
                             return "the generated dashboard could not be written as a layout";
                         }
                         return WriteFileAtomically(folder / names.layoutFileName, *bytes);
                     }});
    steps.push_back({ResolveSetFile(folder, kSetPointerFileName),
                     [=] { return WriteSetPointer(folder, names.parameterFileName); }});
    return steps;
}

std::optional<std::string> WriteImportedSet(const std::filesystem::path& folder,
                                            std::string_view setName, const AdxImport& import,
                                            std::string_view sourceName,
                                            std::vector<std::filesystem::path>* written) {
    if (const auto existing = ExistingSetFile(folder, setName)) {
        return "A set named \"" + QuoteText(setName) + "\" exists already (\"" +
               QuotePath(existing->filename()) +
               "\"); nothing was written. Name the new set with --set, or remove the old one.";
    }
    std::vector<std::filesystem::path> files;
    for (const ImportedSetStep& step : ImportedSetSteps(folder, setName, import, sourceName)) {
        if (auto error = step.write()) {
            RemoveAll(files);
            return error;
        }
        files.push_back(step.path);
    }
    if (written != nullptr) {
        *written = std::move(files);
    }
    return std::nullopt;
}

}  // namespace vekaton
