#pragma once

#include <filesystem>

namespace vekaton {

// Whether a folder holds no configuration set: it has no set pointer ("Vekaton.Ini"), and none
// of the files start-up reads without one (the "Default" set's settings, parameter, details,
// gauge list and layout files), in any letter case. Anything in the way of looking (a folder
// that cannot be read) counts as holding a set, so that nothing is offered over a set unseen.
bool FolderHoldsNoSet(const std::filesystem::path& folder);

}  // namespace vekaton
