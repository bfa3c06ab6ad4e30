#pragma once

#include <filesystem>

namespace vekaton {

// The folder of the bundled definitions: "share/vekaton/definitions" beside the program's own
// folder when the program is installed, else the source tree's "definitions" (a program run
// from its build folder). The one place that knows where the library lives.
std::filesystem::path DefinitionLibraryFolder();

}  // namespace vekaton
