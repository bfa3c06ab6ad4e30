#include <algorithm>
#include <array>
#include <iostream>

#include "cli/CliCommands.h"
#include "cli/CliHelpTexts.h"
#include "common/AsciiCase.h"

namespace vekaton::cli {
namespace {

int Eval(const CliContext& context, const std::vector<std::string>& args) {
    return RunEval(args, context.out, context.err);
}

int Live(const CliContext& context, const std::vector<std::string>& args) {
    return RunLive(context.argc, context.argv, args, context.out, context.err);
}

int Decode(const CliContext& context, const std::vector<std::string>& args) {
    return RunDecode(args, context.out, context.err);
}

int Table(const CliContext& context, const std::vector<std::string>& args) {
    return RunTable(args, context.out, context.err);
}

int Histogram(const CliContext& context, const std::vector<std::string>& args) {
    return RunHistogram(args, context.out, context.err);
}

int Scatter(const CliContext& context, const std::vector<std::string>& args) {
    return RunScatter(args, context.out, context.err);
}

int Layout(const CliContext& context, const std::vector<std::string>& args) {
    return RunLayout(args, context.out, context.err);
}

int NewSet(const CliContext& context, const std::vector<std::string>& args) {
    return RunNewSet(args, context.out, context.err);
}

int ImportAdx(const CliContext& context, const std::vector<std::string>& args) {
    return RunImportAdx(args, context.out, context.err);
}

constexpr std::array kSubcommands = {
    Subcommand{"eval", help::kEvalUsage, help::kEvalHelp, Eval},
    Subcommand{"live", help::kLiveUsage, help::kLiveHelp, Live},
    Subcommand{"decode", help::kDecodeUsage, help::kDecodeHelp, Decode},
    Subcommand{"table", help::kTableUsage, help::kTableHelp, Table},
    Subcommand{"histogram", help::kHistogramUsage, help::kHistogramHelp, Histogram},
    Subcommand{"scatter", help::kScatterUsage, help::kScatterHelp, Scatter},
    Subcommand{"layout", help::kLayoutUsage, help::kLayoutHelp, Layout},
    Subcommand{"new-set", help::kNewSetUsage, help::kNewSetHelp, NewSet},
    Subcommand{"import-adx", help::kImportAdxUsage, help::kImportAdxHelp, ImportAdx},
};

bool IsHelpWord(std::string_view arg) {
    return arg == "--help" || arg == "-h" || arg == "help";
}

// Whether a subcommand's arguments ask for its help: "--help" or "-h" before a "--" that ends
// the options, or "help" as eval's formula (no formula is called that).
bool AsksForHelp(const Subcommand& command, const std::vector<std::string>& args) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            return false;
        }
        if (arg == "--help" || arg == "-h") {
            return true;
        }
        if (command.name == "eval" && i == 0 && arg.size() == 4) {
            return EqualsNoCase(arg, "help");
        }
    }
    return false;
}

}  // namespace

std::span<const Subcommand> Subcommands() {
    return kSubcommands;
}

const Subcommand* FindSubcommand(std::string_view name) {
    for (const Subcommand& command : kSubcommands) {
        if (command.name == name) {
            return &command;
        }
    }
    return nullptr;
}

std::string SubcommandHelp(const Subcommand& command) {
    std::string text = "usage: ";
    text += command.usage;
    text += command.help;
    return text;
}

std::string FullHelp() {
    std::string text(help::kProgram);
    text +=
        "\nusage: vekaton-cli SUBCOMMAND [options]\n"
        "       vekaton-cli SUBCOMMAND --help   (one subcommand)\n"
        "       vekaton-cli --help              (this text)\n";
    for (const Subcommand& command : kSubcommands) {
        text += '\n';
        text += command.usage;
        text += command.help;
    }
    text += '\n';
    text += help::kExitCodes;
    return text;
}

std::string ShortUsage() {
    std::string text = "usage:\n";
    for (const Subcommand& command : kSubcommands) {
        text += "  ";
        // Continuation lines of a synopsis keep their place under the first.
        for (std::size_t i = 0; i < command.usage.size(); ++i) {
            text += command.usage[i];
            if (command.usage[i] == '\n' && i + 1 < command.usage.size()) {
                text += "  ";
            }
        }
    }
    text += "Run 'vekaton-cli --help' for the options, their defaults and examples.\n";
    return text;
}

int UsageError(std::ostream& err, const Subcommand& command, const std::string& problem) {
    if (!problem.empty()) {
        err << "vekaton-cli " << command.name << ": " << problem << '\n';
    }
    err << "usage: " << command.usage << "Run 'vekaton-cli " << command.name
        << " --help' for the options, their defaults and examples.\n";
    return kExitUsage;
}

int RunCli(int argc, char** argv, const std::vector<std::string>& args) {
    const CliContext context{argc, argv, std::cout, std::cerr};
    if (args.empty()) {
        std::cerr << "vekaton-cli: no subcommand given\n" << ShortUsage();
        return kExitUsage;
    }
    if (IsHelpWord(args[0])) {
        if (args.size() >= 2) {
            if (const Subcommand* command = FindSubcommand(args[1])) {
                std::cout << SubcommandHelp(*command);
                return 0;
            }
        }
        std::cout << FullHelp();
        return 0;
    }
    const Subcommand* command = FindSubcommand(args[0]);
    if (command == nullptr) {
        std::cerr << "vekaton-cli: unknown subcommand '" << args[0] << "'\n" << ShortUsage();
        return kExitUsage;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (AsksForHelp(*command, rest)) {
        std::cout << SubcommandHelp(*command);
        return 0;
    }
    return command->run(context, rest);
}

}  // namespace vekaton::cli
