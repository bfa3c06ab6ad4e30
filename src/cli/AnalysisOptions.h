#pragma once

#include <string>
#include <vector>

#include "analysis/AnalysisSetup.h"

namespace vekaton::cli {

// The arguments of `table`, `histogram` and `scatter`.
struct AnalysisOptions {
    std::string dir;
    std::string setName;
    std::string logPath;
    std::string outputPath;  // empty or "-": standard output
    AnalysisSetup setup;
    // The text of each --where, beside setup.conditions, to name a condition in a message.
    std::vector<std::string> whereTexts;
};

// Reads the arguments after the subcommand name; returns what is wrong with them, or "".
// Positions are checked for their form here and against the set later.
std::string ParseAnalysisOptions(AnalysisKind kind, const std::vector<std::string>& args,
                                 AnalysisOptions& options);

}  // namespace vekaton::cli
