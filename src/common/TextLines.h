#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vekaton {

// Splits text that people may have edited into lines ended by CR LF, LF or a lone CR (as old
// Mac editors and some serial tools write); a last line without an ending counts too.
std::vector<std::string> SplitLines(std::string_view text);
// Splits the program's own files, which may hold a CR as data (a folder name), into lines ended
// by CR LF or LF only.
std::vector<std::string> SplitLinesAtLf(std::string_view text);
// Joins lines, each ended by CR LF, as every text file of the program is written.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);
// The text with every CR and LF made a blank: a value written on a line of its own must not
// split that line and shift every line after it.
std::string OneLine(std::string_view text);

}  // namespace vekaton
