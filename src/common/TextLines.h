#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vekaton {

// Splits text that people may have edited into lines ended by CR LF, LF or a lone CR (as old
// Mac editors and some serial tools write); a last line without an ending counts too.
std::vector<std::string> SplitLines(std::string_view text);

// The lines of SplitLines one at a time, without copies: a file of megabytes of short lines
// would otherwise cost a string per line, many times the file's size.
class LineCursor {
  public:
    explicit LineCursor(std::string_view text) : text_(text) {}

    bool AtEnd() const { return pos_ >= text_.size(); }
    // The next line, without moving on; empty at the end.
    std::string_view Peek() const;
    // The next line; empty at the end.
    std::string_view Next();
    // How many lines Next has given: the 1-based number of the last one.
    std::size_t LinesTaken() const { return taken_; }

  private:
    // Where the line at `pos_` ends and where the one after it begins.
    std::pair<std::size_t, std::size_t> Bounds() const;

    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t taken_ = 0;
};
// Splits the program's own files, which may hold a CR as data (a folder name), into lines ended
// by CR LF or LF only.
std::vector<std::string> SplitLinesAtLf(std::string_view text);
// Joins lines, each ended by CR LF, as every text file of the program is written.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);
// The text with every CR and LF made a blank: a value written on a line of its own must not
// split that line and shift every line after it.
std::string OneLine(std::string_view text);

}  // namespace vekaton
