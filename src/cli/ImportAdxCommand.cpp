// `vekaton-cli import-adx`: a configuration set made from an ADX definition file.
#include <filesystem>
#include <ostream>

#include "cli/CliArguments.h"
#include "cli/CliCommands.h"
#include "common/MessageText.h"
#include "definitions/AdxImport.h"
#include "definitions/ImportedSet.h"

namespace vekaton::cli {

std::string ParseImportAdxOptions(const std::vector<std::string>& args, ImportAdxOptions& options) {
    ArgumentReader reader(args);
    bool endOfOptions = false;
    while (reader.Next()) {
        const std::string& name = reader.Name();
        if (!endOfOptions && name == "--") {
            endOfOptions = true;
        } else if (!endOfOptions && name == "--dir") {
            options.dir = reader.Value().value_or("");
            if (reader.Ok() && options.dir.empty()) {
                reader.Fail("--dir needs a folder");
            }
        } else if (!endOfOptions && name == "--set") {
            options.setName = reader.Value().value_or("");
            if (!reader.Ok()) {
                continue;
            }
            if (const auto problem = ImportSetNameProblem(options.setName)) {
                reader.Fail("--set \"" + QuoteText(options.setName) +
                            "\" cannot name a set: " + *problem);
            }
        } else if ((endOfOptions || reader.IsOperand()) && options.file.empty()) {
            options.file = name;
        } else {
            reader.FailUnknown();
        }
    }
    if (reader.Ok() && options.file.empty()) {
        return "import-adx needs the ADX file to import";
    }
    if (reader.Ok() && options.dir.empty()) {
        return "import-adx needs --dir DIR, the folder to write the set into";
    }
    return reader.Error();
}

int RunImportAdx(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    ImportAdxOptions options;
    if (const std::string error = ParseImportAdxOptions(args, options); !error.empty()) {
        return UsageError(err, *FindSubcommand("import-adx"), error);
    }
    const std::filesystem::path source(options.file);
    const AdxImportResult result = ImportAdxFile(source);
    if (!result.import) {
        // A file that cannot be opened gets the reason as a clause after its name.
        err << "vekaton-cli: \"" << QuotePath(source) << "\" "
            << (result.fileUnreadable ? "" : "cannot be read as ADX: ") << QuoteText(result.error)
            << ". Nothing was written.\n";
        return kExitFailed;
    }
    const std::filesystem::path folder(options.dir);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error || !std::filesystem::is_directory(folder, error)) {
        err << "vekaton-cli: the folder \"" << QuotePath(folder)
            << "\" cannot be made or is not a folder"
            << (error ? ": " + error.message() : std::string()) << ". Nothing was written.\n";
        return kExitFailed;
    }
    const std::string setName =
        options.setName.empty() ? DefaultImportSetName(source) : options.setName;
    std::vector<std::filesystem::path> written;
    if (const auto failure = WriteImportedSet(folder, setName, *result.import,
                                              source.filename().string(), &written)) {
        err << "vekaton-cli: " << *failure << '\n';
        return kExitFailed;
    }
    for (const std::string& line : result.import->report) {
        out << line << '\n';
    }
    out.flush();
    const auto count = [](int n, const char* one, const char* many) {
        return std::to_string(n) + " " + (n == 1 ? one : many);
    };
    err << "vekaton-cli: wrote the set \"" << QuoteText(setName) << "\" in \"" << QuotePath(folder)
        << "\": " << count(result.import->mappedValues, "value", "values") << " and "
        << count(result.import->mappedBits, "bit", "bits") << ", "
        << count(result.import->skipped, "object", "objects") << " skipped (see "
        << ImportReportFileName(setName) << ").\n";
    return 0;
}

}  // namespace vekaton::cli
