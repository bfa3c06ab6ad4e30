#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "set/SetNames.h"

namespace vekaton {
struct DecoderMessage;
}

namespace vekaton::cli {

// A formula fault of the decoder on standard error: its text as the window shows it, then what
// went wrong and the details (position, description, formula, cause), indented.
void PrintDecoderMessage(std::ostream& err, const DecoderMessage& message);

// Why the outputs of a run on the set in `setFolder` may not be written: one would overwrite a
// file of the set, its "_bak", ".bad" or temporary copies, the set pointer, the window's
// recovery copies, one of `inputs`, or another output (by path, or the same file by device and
// inode). Every command that writes files asks here first and ends with kExitUsage on a
// problem. Nothing when all may be written ("" and "-" are standard output).
std::optional<std::string> SetOutputProblem(const std::filesystem::path& setFolder,
                                            const SetNames& names,
                                            const std::vector<std::string>& outputs,
                                            const std::vector<std::filesystem::path>& inputs);

}  // namespace vekaton::cli
