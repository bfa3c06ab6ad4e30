#include <iostream>

#include "cli/CliCommands.h"

namespace vekaton::cli {
namespace {

void PrintUsage(std::ostream& err) {
    err << "usage: vekaton-cli eval [--width N] FORMULA [A=v] [B=v] [C=v] [D=v] [E=v]\n"
           "       vekaton-cli live [--dir DIR] [--set NAME] [--port DEVICE] [--frames N]\n"
           "                        [--seconds S] [-o FILE] [--record LOG]\n"
           "       vekaton-cli decode [--dir DIR] [--set NAME] LOG [-o FILE]\n"
           "       "
        << kLayoutSynopsis;
}

}  // namespace

int RunCli(int argc, char** argv, const std::vector<std::string>& args) {
    if (args.empty()) {
        PrintUsage(std::cerr);
        return kExitUsage;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "eval") {
        return RunEval(rest, std::cout, std::cerr);
    }
    if (args[0] == "live") {
        return RunLive(argc, argv, rest, std::cout, std::cerr);
    }
    if (args[0] == "decode") {
        return RunDecode(rest, std::cout, std::cerr);
    }
    if (args[0] == "layout") {
        return RunLayout(rest, std::cout, std::cerr);
    }
    PrintUsage(std::cerr);
    return kExitUsage;
}

}  // namespace vekaton::cli
