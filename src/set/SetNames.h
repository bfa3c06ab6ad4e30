#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vekaton {

inline constexpr std::string_view kProgramVersion = "3.02d ";  // the trailing blank is shown
// The one-line file naming the current set: looked for as the first, created as the second
// (any existing spelling is the file read and replaced).
inline constexpr std::string_view kSetPointerFileName = "Vekaton.Ini";
inline constexpr std::string_view kSetPointerWriteName = "Vekaton.ini";

// The four files of a configuration set, bare names resolved against the set's folder.
struct SetNames {
    std::string setName;
    std::string parameterFileName = "Default.cfg";
    std::string settingsFileName = "Default.Ini";
    std::string layoutFileName = "Default.Dsf";
    std::string gaugeListFileName = "Default.Gau";

    bool operator==(const SetNames&) const = default;
};

// Names formed at start-up from the set pointer: ".cfg", ".ini", ".dsf", ".gau".
SetNames NamesFromPointer(std::string_view setName);
// Names formed when a set is saved or loaded by file choice: ".cfg", ".ini", ".Dsf", ".Gau".
SetNames NamesForChosenSet(std::string_view setName);

// "Vekaton v" + kProgramVersion + " : " + set name.
std::string SetCaption(std::string_view setName);

// The set name of a chosen file: its name without folder, up to the first "." ("my.car.cfg"
// gives "my").
std::string SetNameFromChosenFile(std::string_view chosenPath);

// A set name names files in the set's folder only: not empty, no path separator, no "..", no
// control characters.
bool IsUsableSetName(std::string_view setName);
// Why a set name cannot be used, as a clause: "it holds a control character", "it holds a
// folder separator", ...; nullopt when it can.
std::optional<std::string> SetNameProblem(std::string_view setName);

struct LoadedSetNames {
    SetNames names;
    std::string caption;
    bool pointerFound = false;
    // Why the set pointer was not used although it exists. The "Default" names stay then.
    std::optional<std::string> warning;
};

class DamagedFileGuard;

// Reads the set pointer in `folder`. Without a usable set name the file names stay as in
// `current` and the caption ends with " : ". A pointer that is not a regular file or is larger
// than a set pointer can be is not read and is noted in `guard`, so that it is kept as it is.
LoadedSetNames LoadSetNames(const std::filesystem::path& folder, const SetNames& current,
                            DamagedFileGuard& guard);
LoadedSetNames LoadSetNames(const std::filesystem::path& folder, const SetNames& current);

// Writes the parameter file's name up to its first "." as the set pointer's single line;
// without a "." nothing is written. Goes through the safe-write helper.
std::optional<std::string> WriteSetPointer(const std::filesystem::path& folder,
                                           std::string_view parameterFileName);

}  // namespace vekaton
