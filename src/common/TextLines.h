#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vekaton {

// Splits file text into lines ended by CR LF or LF; a last line without an ending counts too.
std::vector<std::string> SplitLines(std::string_view text);
// Joins lines, each ended by CR LF, as every text file of the program is written.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

}  // namespace vekaton
