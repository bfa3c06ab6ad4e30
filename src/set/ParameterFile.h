#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "decode/ParameterTable.h"
#include "set/SetFileReader.h"

namespace vekaton {

// What reading a parameter file left besides the table changes.
struct ParameterFileReadResult {
    static constexpr std::size_t kMaxHeaderLines = 99;

    std::vector<std::string> header;  // ";" lines before the first data line, written back
    // Set when reading stopped at a field that is not an integer: "'%s' is not a valid integer
    // value". Lines before it stay in force; the file is kept as name + ".bad" before rewriting.
    std::optional<std::string> error;
    int errorLine = 0;  // 1-based line of the error
    // Lines whose content is not kept and why, each naming its line ("Line 7: ..."): skipped
    // lines, comments between definitions, definitions that a later line replaces. Any of
    // them makes the file be kept as name + ".bad" before it is rewritten.
    std::vector<std::string> warnings;
};

// Fills `table` from parameter file text (CR LF or LF). The table is not reset first: the caller
// resets it at start-up, so positions the file does not mention keep their reset values. A
// formula with a blank is kept as written but not evaluated (SetUnevaluatedFormula).
ParameterFileReadResult ReadParameterText(std::string_view text, ParameterTable& table);

// The whole parameter file for `table`: header lines, an empty line, one line per described
// position or bit, "END"; lines ended by CR LF.
std::string WriteParameterText(const ParameterTable& table, const std::vector<std::string>& header);

// Reading and writing the parameter file of a set, by name in a folder, ignoring letter case.
// Without the file (`found` false) the table stays as reset.
struct ParameterFileRead : SetFileRead {
    ParameterFileReadResult result;
};

// A file whose reading stopped, that could not be read, or that had lines whose content is not
// kept, is noted in `guard` so that it is kept as name + ".bad" before it is first rewritten.
ParameterFileRead ReadParameterFile(const std::filesystem::path& folder, std::string_view fileName,
                                    ParameterTable& table, DamagedFileGuard& guard);

// Writes through the safe-write helper, replacing an existing file of any letter case. A noted
// damaged file is backed up first; when that fails the file is left alone and the error returned.
std::optional<std::string> WriteParameterFile(const std::filesystem::path& folder,
                                              std::string_view fileName,
                                              const ParameterTable& table,
                                              const std::vector<std::string>& header,
                                              DamagedFileGuard& guard);

}  // namespace vekaton
