#pragma once

#include <filesystem>
#include <string_view>

namespace vekaton {

// Set files are named without regard to letter case ("Vekaton.Ini" and "Vekaton.ini", ".dsf" and
// ".Dsf" are one file). Returns the existing file in `folder` whose name equals `name` ignoring
// ASCII case (an exact match wins), or folder / name when there is none, so that a new file is
// created with the spelling given.
std::filesystem::path ResolveSetFile(const std::filesystem::path& folder, std::string_view name);

}  // namespace vekaton
