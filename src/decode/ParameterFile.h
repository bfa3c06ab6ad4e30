#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "decode/ParameterTable.h"

namespace vekaton {

// What reading a parameter file left besides the table changes.
struct ParameterFileReadResult {
    static constexpr std::size_t kMaxHeaderLines = 99;

    std::vector<std::string> header;  // ";" lines before the first data line, written back
    // Set when reading stopped at a field that is not an integer: "'%s' is not a valid integer
    // value". Lines before it stay in force; the file is kept as name + ".bad" before rewriting.
    std::optional<std::string> error;
    int errorLine = 0;  // 1-based line of the error
    // Lines that were skipped and why, each naming its line ("Line 7: ...").
    std::vector<std::string> warnings;
};

// Fills `table` from parameter file text (CR LF or LF). The table is not reset first: the caller
// resets it at start-up, so positions the file does not mention keep their reset values.
ParameterFileReadResult ReadParameterText(std::string_view text, ParameterTable& table);

// The whole parameter file for `table`: header lines, an empty line, one line per described
// position or bit, "END"; lines ended by CR LF.
std::string WriteParameterText(const ParameterTable& table, const std::vector<std::string>& header);

}  // namespace vekaton
