// `vekaton-cli layout`: prints a layout file or a single component stream.
#include <filesystem>
#include <ostream>
#include <system_error>

#include "cli/CliArguments.h"
#include "cli/CliCommands.h"
#include "cli/LayoutPrint.h"
#include "dashboard/LayoutFile.h"
#include "files/SafeFile.h"

namespace vekaton::cli {
namespace {

struct LayoutOptions {
    bool json = false;
    std::string path;
};

std::string ParseLayoutOptions(const std::vector<std::string>& args, LayoutOptions& options) {
    ArgumentReader reader(args);
    bool optionsEnded = false;
    while (reader.Next()) {
        const std::string& name = reader.Name();
        if (!optionsEnded && name == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && name == "--json") {
            reader.NoValue();
            options.json = true;
        } else if ((optionsEnded || reader.IsOperand()) && options.path.empty()) {
            options.path = name;
        } else {
            reader.FailUnknown();
        }
    }
    if (reader.Ok() && options.path.empty()) {
        return "layout needs a file";
    }
    return reader.Error();
}

}  // namespace

int RunLayout(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    LayoutOptions options;
    if (const std::string error = ParseLayoutOptions(args, options); !error.empty()) {
        return UsageError(err, *FindSubcommand("layout"), error);
    }
    std::error_code ec;
    const auto size = std::filesystem::file_size(options.path, ec);
    if (!ec && size > kMaxLayoutFileSize) {
        err << "vekaton-cli layout: \"" << options.path << "\" is larger than "
            << kMaxLayoutFileSize / (1024 * 1024) << " MB; it is not a layout file\n";
        return 1;
    }
    std::string reason;
    const auto data = ReadWholeFile(options.path, &reason);
    if (!data) {
        err << "vekaton-cli layout: could not read \"" << options.path << "\": " << reason << "\n";
        return 1;
    }
    const LayoutParse layout = ParseLayout(*data);
    if (options.json) {
        PrintLayoutJson(layout, out);
    } else {
        PrintLayoutText(layout, out);
    }
    out.flush();
    int status = 0;
    if (!layout.cut.empty()) {
        err << "vekaton-cli layout: \"" << options.path << "\" holds values longer than "
            << kMaxStreamContentBytes / 1024 << " KB; only their beginning was printed:\n";
        for (const std::string& cut : layout.cut) {
            err << "  " << cut << "\n";
        }
        status = 1;
    }
    if (layout.error) {
        err << "vekaton-cli layout: \"" << options.path << "\" is damaged at byte "
            << layout.error->offset << ": " << layout.error->message << "\n";
        status = 1;
    }
    return status;
}

}  // namespace vekaton::cli
