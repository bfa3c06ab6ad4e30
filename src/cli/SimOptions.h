#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sim/EngineSimulator.h"

namespace vekaton::cli {

// What `vekaton-sim` was asked to do.
struct SimOptions {
    SimulatorConfig config;
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

// The --help text.
std::string SimUsage();

// "listen", "talk" and "aldl160" (or 1, 2, 3, as in the settings file).
bool ParseSimMode(std::string_view text, SyncMode& mode);

}  // namespace vekaton::cli
