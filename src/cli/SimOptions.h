#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/EngineSimulator.h"

namespace vekaton::cli {

// Which of the link's settings were given on the command line; a set named by --dir gives the
// others.
struct SimExplicitOptions {
    bool mode = false;
    bool request = false;
    bool header = false;
    bool dataBytes = false;
    bool checksum = false;
    bool echo = false;
    bool interval = false;
    bool baud = false;
};

// What `vekaton-sim` was asked to do.
struct SimOptions {
    SimulatorConfig config;
    std::string setDir;   // --dir: take the link from the configuration set in this folder
    std::string setName;  // --set: that set (default: the one the set pointer names)
    SimExplicitOptions given;
    std::string linkPath;     // --link: a symbolic link to the device, removed on exit
    std::string replayPath;   // --replay: frames come from this data log
    std::string sentLogPath;  // --sent-log: every frame made, as meant, as a data log
    // --baud: bytes leave at this line speed (10 bits a byte); 0 sends them at once.
    int baudRate = 8192;
    bool help = false;
};

struct SimOptionsParse {
    SimOptions options;
    std::string error;  // empty when the arguments were understood
};

// Parses the arguments after the program name. Both "--name value" and "--name=value" work.
SimOptionsParse ParseSimOptions(const std::vector<std::string>& args);

// Takes the link of a set's settings (mode, request, header size, data bytes, checksum, echo,
// frame interval, speed) for every one of them not given on the command line, so the module
// answers exactly as the set expects.
void ApplySetLink(SimOptions& options, const LinkSettings& settings);

// Reads the settings of the set named by options.setName (or by the set pointer) in
// options.setDir. Returns why it cannot be used: no such folder or file, a file that was not
// read whole or holds values out of range.
std::optional<std::string> LoadSimSet(const SimOptions& options, LinkSettings& settings);

// The --help text.
std::string SimUsage();

// "listen", "talk" and "aldl160" (or 1, 2, 3, as in the settings file).
bool ParseSimMode(std::string_view text, SyncMode& mode);

}  // namespace vekaton::cli
