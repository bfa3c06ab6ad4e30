#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "set/SetNames.h"

namespace vekaton {

// What the outputs of one run (a CSV, a recorded log) must never overwrite.
struct ProtectedFiles {
    std::filesystem::path setFolder;
    SetNames names;  // the set's own files, and through their stem the "_bak" copies
    // Other files the run reads: the data log, the port's device.
    std::vector<std::filesystem::path> inputs;
    // Folders no output may go into at all: where recovery copies are kept.
    std::vector<std::filesystem::path> folders;
};

// Whether `fileName` in the set's folder belongs to the set named by `names`: a file of the set
// or the set pointer (any letter case), the "_bak" copy of one, the ".bad" copy of any of these,
// or a temporary file of a save of one.
bool IsSetFileName(const SetNames& names, std::string_view fileName);

// Why the outputs may not be written: an output is a file of the set, of its copies or of the
// recovery copies (by name in the set's folder, or the same file by device and inode whatever
// path leads to it), is one of the inputs, or two outputs are the same file. nullopt when all
// may be written; "" and "-" (standard output) are never refused.
std::optional<std::string> OutputTargetProblem(const ProtectedFiles& protectedFiles,
                                               const std::vector<std::string>& outputs);

}  // namespace vekaton
