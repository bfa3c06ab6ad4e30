// `vekaton-cli new-set`: a configuration set from a bundled definition.
#include <charconv>
#include <ostream>

#include "cli/CliArguments.h"
#include "cli/CliCommands.h"
#include "common/MessageText.h"
#include "definitions/DefinitionLibrary.h"
#include "io/InstalledData.h"

namespace vekaton::cli {

namespace {

// "1560x940", each side 200 to 10000 pixels.
std::optional<std::pair<int, int>> PageSize(const std::string& text) {
    const std::size_t x = text.find('x');
    if (x == std::string::npos) {
        return std::nullopt;
    }
    int width = 0;
    int height = 0;
    const auto [w, we] = std::from_chars(text.data(), text.data() + x, width);
    const auto [h, he] = std::from_chars(text.data() + x + 1, text.data() + text.size(), height);
    if (we != std::errc() || he != std::errc() || w != text.data() + x ||
        h != text.data() + text.size() || width < 200 || height < 120 || width > 10000 ||
        height > 10000) {
        return std::nullopt;
    }
    return std::pair{width, height};
}

}  // namespace

std::string ParseNewSetOptions(const std::vector<std::string>& args, NewSetOptions& options) {
    ArgumentReader reader(args);
    while (reader.Next()) {
        const std::string& name = reader.Name();
        if (name == "--list") {
            reader.NoValue();
            options.list = true;
        } else if (name == "--definition") {
            options.definition = reader.Value().value_or("");
        } else if (name == "--dir") {
            options.dir = reader.Value().value_or("");
        } else if (name == "--set") {
            options.setName = reader.Value().value_or("");
        } else if (name == "--port") {
            options.port = reader.Value().value_or("");
        } else if (name == "--start-string") {
            options.startString = reader.Value().value_or("");
        } else if (name == "--page") {
            const std::string text = reader.Value().value_or("");
            options.page = PageSize(text);
            if (reader.Ok() && !options.page) {
                reader.Fail("--page takes WIDTHxHEIGHT in pixels, such as 1560x940");
            }
        } else {
            reader.FailUnknown();
        }
    }
    if (!reader.Ok()) {
        return reader.Error();
    }
    const bool making = !options.definition.empty() || !options.dir.empty() ||
                        !options.setName.empty() || !options.port.empty() ||
                        !options.startString.empty() || options.page;
    if (options.list && making) {
        return "--list takes no other option";
    }
    if (!options.list && options.definition.empty()) {
        return "give --list, or --definition ID with --dir DIR";
    }
    if (!options.list && options.dir.empty()) {
        return "--definition needs --dir DIR, the folder of the new set";
    }
    return {};
}

int RunNewSet(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              const std::filesystem::path& library) {
    NewSetOptions options;
    const Subcommand& command = *FindSubcommand("new-set");
    if (const std::string error = ParseNewSetOptions(args, options); !error.empty()) {
        return UsageError(err, command, error);
    }
    const std::filesystem::path folder =
        library.empty() ? std::filesystem::path(DefinitionsFolder().toStdString()) : library;
    if (options.list) {
        const std::vector<LibraryEntry> entries = ListLibrary(folder);
        if (entries.empty()) {
            err << "vekaton-cli: no definitions in '" << QuotePath(folder) << "'\n";
            return kExitFailed;
        }
        for (const LibraryEntry& entry : entries) {
            out << entry.id << '\t' << entry.description << '\n';
        }
        return 0;
    }
    NewSetRequest request{options.definition, options.dir,         options.setName,
                          options.port,       options.startString, std::nullopt};
    if (options.page) {
        request.page = DashboardOptions{options.page->first, options.page->second};
    }
    const NewSetResult result = CreateSetFromLibrary(folder, request);
    if (result.error) {
        if (result.usageError) {
            return UsageError(err, command, *result.error);
        }
        err << "vekaton-cli: " << *result.error << '\n';
        return kExitFailed;
    }
    out << "Set " << result.setName << " written in " << QuotePath(options.dir) << ":";
    for (const std::filesystem::path& path : result.written) {
        out << ' ' << path.filename().string();
    }
    out << '\n';
    for (const std::string& note : result.notes) {
        out << note << '\n';
    }
    return 0;
}

}  // namespace vekaton::cli
