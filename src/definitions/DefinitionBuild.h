#pragma once

#include <memory>
#include <string>
#include <vector>

#include "common/LinkSettings.h"
#include "decode/ParameterTable.h"
#include "decode/PositionDetails.h"
#include "definitions/DashboardGenerator.h"
#include "definitions/DefinitionSource.h"

namespace vekaton {

// Keys of the "[definition]" section of the details file, which says what a set is a
// definition of. "start-string" is "needed" for a stream read through an ALDL 160 interface,
// whose packets begin with a start string of the interface's own.
inline constexpr std::string_view kDefinitionSection = "definition";
inline constexpr std::string_view kStartStringKey = "start-string";
inline constexpr std::string_view kStartStringNeeded = "needed";

// A configuration set made from a definition source.
struct BuiltDefinition {
    std::string id;
    std::string title;
    LinkSettings settings;
    std::unique_ptr<ParameterTable> table;
    std::vector<std::string> parameterHeader;  // the parameter file's ";" lines
    DetailsTable details;
    std::vector<std::string> detailsHeader;
    GeneratedDashboard dashboard;
    // What is wrong with the source, each naming its line; the set is not to be written then.
    std::vector<std::string> errors;
    // For the reviewer: each lookup table's formula, its segments and largest error.
    std::vector<std::string> lookupNotes;
};

// Checks the source (every position inside the frame, no byte claimed twice, every formula
// buildable, descriptions that the parameter file can hold, a request whose checksum is right)
// and makes the set. `sourceName` names the source in the files' header comments.
BuiltDefinition BuildDefinition(const DefinitionSource& source, const std::string& sourceName,
                                const DashboardOptions& options = {});

}  // namespace vekaton
