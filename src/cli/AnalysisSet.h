#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "decode/ParameterTable.h"
#include "decode/PositionDetails.h"
#include "log/RecordPlayback.h"
#include "set/SetNames.h"

namespace vekaton::cli {

// What the analysis commands need of a configuration set, read as `decode` reads it.
struct AnalysisSet {
    std::unique_ptr<ParameterTable> table;
    // The units and display ranges of the set's details file (empty without one): automatic
    // edges span a display range.
    std::unique_ptr<DetailsTable> details;
    RecordLayout layout;
    std::vector<std::filesystem::path> files;  // read by the run: never an output
    // Where the set is and its files' names: no output goes onto one of them.
    std::filesystem::path folder;
    SetNames names;
};

// Reads the set in `dir` (setName, else the one the set pointer names), saying on `err` why
// it cannot be used; nullopt then.
std::optional<AnalysisSet> LoadAnalysisSet(const std::string& dir, const std::string& setName,
                                           std::ostream& err);

}  // namespace vekaton::cli
