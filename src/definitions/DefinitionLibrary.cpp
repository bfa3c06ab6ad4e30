#include "definitions/DefinitionLibrary.h"

#include <algorithm>
#include <system_error>

#include "common/MessageText.h"
#include "files/FileLookup.h"
#include "files/SafeFile.h"
#include "set/DetailsFile.h"
#include "set/ParameterFile.h"
#include "set/SetNames.h"
#include "set/SettingsFile.h"

namespace vekaton {
namespace {

constexpr std::uint64_t kMostSetFile = 64 * 1024 * 1024;  // the largest a layout may be

std::vector<std::string> FileNames(const std::string& setName) {
    const SetNames names = NamesFromPointer(setName);
    return {names.settingsFileName, names.parameterFileName,
            DetailsFileNameFor(names.parameterFileName), names.gaugeListFileName,
            names.layoutFileName};
}

std::string Upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

bool Exists(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

}  // namespace

std::vector<std::pair<std::string, std::string>> DefinitionFiles(const BuiltDefinition& built,
                                                                 const std::string& setName) {
    const std::vector<std::string> names = FileNames(setName);
    return {{names[0], FormatSettings(built.settings)},
            {names[1], WriteParameterText(*built.table, built.parameterHeader)},
            {names[2], FormatDetails(built.details, built.detailsHeader)},
            {names[3], built.dashboard.GaugeListText()},
            {names[4], built.dashboard.LayoutBytes().value_or(std::string())}};
}

std::vector<LibraryEntry> ListLibrary(const std::filesystem::path& library) {
    std::vector<LibraryEntry> entries;
    std::error_code ec;
    for (const auto& item : std::filesystem::directory_iterator(library, ec)) {
        const std::string id = item.path().filename().string();
        const std::vector<std::string> names = FileNames(id);
        if (!item.is_directory(ec) || !Exists(item.path() / names[1])) {
            continue;
        }
        LibraryEntry entry;
        entry.id = id;
        entry.folder = item.path();
        if (const auto text = ReadWholeFile(item.path() / names[2], 4 * 1024 * 1024, nullptr)) {
            const DetailsParse details = ParseDetails(*text);
            if (const DetailsSection* section = details.table.FindSection(kDefinitionSection)) {
                if (const std::string* title = section->Find("title")) {
                    entry.description = *title;
                }
                const std::string* start = section->Find(kStartStringKey);
                entry.needsStartString = start != nullptr && *start == kStartStringNeeded;
            }
        }
        entries.push_back(std::move(entry));
    }
    std::sort(entries.begin(), entries.end(),
              [](const LibraryEntry& a, const LibraryEntry& b) { return a.id < b.id; });
    return entries;
}

NewSetResult CreateSetFromLibrary(const std::filesystem::path& library,
                                  const NewSetRequest& request) {
    NewSetResult result;
    const std::vector<LibraryEntry> entries = ListLibrary(library);
    const auto entry = std::find_if(entries.begin(), entries.end(), [&](const LibraryEntry& e) {
        return Upper(e.id) == Upper(request.id);
    });
    if (entry == entries.end()) {
        result.usageError = true;
        result.error = "there is no definition '" + QuoteText(request.id) +
                       "' in the library; 'vekaton-cli new-set --list' lists them";
        return result;
    }
    result.setName = request.setName.empty() ? entry->id : request.setName;
    if (const auto problem = SetNameProblem(result.setName)) {
        result.usageError = true;
        result.error = "'" + QuoteText(result.setName) + "' cannot name a set: " + *problem;
        return result;
    }
    std::error_code ec;
    std::filesystem::create_directories(request.dir, ec);
    if (ec || !std::filesystem::is_directory(request.dir, ec)) {
        result.error = "cannot use the folder '" + QuotePath(request.dir) + "'";
        return result;
    }
    const std::vector<std::string> from = FileNames(entry->id);
    const std::vector<std::string> to = FileNames(result.setName);
    for (const std::string& name : to) {
        const std::filesystem::path existing = ResolveSetFile(request.dir, name);
        if (Exists(existing)) {
            result.error = "a set named '" + QuoteText(result.setName) + "' is already in '" +
                           QuotePath(request.dir) + "' (" + QuotePath(existing.filename()) +
                           "); it is left as it is. Choose another name with --set";
            return result;
        }
    }
    std::vector<std::string> contents;
    for (const std::string& name : from) {
        std::string why;
        std::optional<std::string> text = ReadWholeFile(entry->folder / name, kMostSetFile, &why);
        if (!text) {
            result.error = "the library's file '" + QuotePath(entry->folder / name) +
                           "' cannot be read: it " + why;
            return result;
        }
        contents.push_back(std::move(*text));
    }
    SettingsReadResult settings = ParseSettings(contents[0], LinkSettings{});
    if (settings.error || !settings.warnings.empty()) {
        result.error =
            "the library's settings file '" + QuotePath(entry->folder / from[0]) + "' is damaged";
        return result;
    }
    LinkSettings& link = settings.settings;
    if (!request.port.empty()) {
        link.portName = request.port;
        link.comPort = ComPortNumberOfDevice(request.port);
    }
    if (entry->needsStartString) {
        if (request.startString.empty()) {
            result.notes.push_back(
                entry->id +
                " is a 160-baud stream without a request: it is read through an ALDL "
                "160 interface that turns the pulses into packets (link mode 3). Enter the start "
                "string that begins each of the interface's packets as the request string in "
                "Setup, and the interface's line speed as the baud rate.");
        } else {
            link.requestString = request.startString;
        }
    }
    contents[0] = FormatSettings(link);
    if (request.page) {
        // The dashboard made again for the page given, from the set's own definitions.
        ParameterTable table;
        table.Reset();
        ReadParameterText(contents[1], table);
        const GeneratedDashboard dashboard =
            GenerateDashboard(table, ParseDetails(contents[2]).table, *request.page);
        contents[3] = dashboard.GaugeListText();
        contents[4] = dashboard.LayoutBytes().value_or(contents[4]);
    }

    for (std::size_t i = 0; i < to.size(); ++i) {
        const std::filesystem::path path = ResolveSetFile(request.dir, to[i]);
        if (auto error = WriteFileAtomically(path, contents[i])) {
            for (const std::filesystem::path& written : result.written) {
                std::filesystem::remove(written, ec);
            }
            result.written.clear();
            result.error = *error;
            return result;
        }
        result.written.push_back(path);
    }
    if (auto error = WriteSetPointer(request.dir, to[1])) {
        result.error = *error + " The set's files are written; load it with Load Config Files.";
        return result;
    }
    result.written.push_back(ResolveSetFile(request.dir, kSetPointerWriteName));
    return result;
}

}  // namespace vekaton
