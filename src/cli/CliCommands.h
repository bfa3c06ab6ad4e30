#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace vekaton::cli {

inline constexpr int kExitUsage = 64;

// Dispatches to the subcommand named by args[0]; argc/argv are passed on for Qt.
int RunCli(int argc, char** argv, const std::vector<std::string>& args);

// `eval [--width N] FORMULA [A=v] ...`: args without the subcommand name.
int RunEval(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vekaton::cli
