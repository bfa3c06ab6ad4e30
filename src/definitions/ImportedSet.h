#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "definitions/AdxImport.h"

namespace vekaton {

// The file a set keeps its import report in, beside its other files.
std::string ImportReportFileName(std::string_view setName);

// The set name an imported file gives by default: its base name without its extension, with
// any further "." made "_" (the set pointer names a set up to its first ".").
std::string DefaultImportSetName(const std::filesystem::path& source);

// Why a set may not be made under this name, as a clause; nothing when it may.
std::optional<std::string> ImportSetNameProblem(std::string_view setName);

// The first file of a set of this name that exists in the folder; nothing when there is none.
std::optional<std::filesystem::path> ExistingSetFile(const std::filesystem::path& folder,
                                                     std::string_view setName);

// Writes an imported set into `folder` (which must exist) as `setName`: the settings file, the
// parameter file, the import report, and last the set pointer, so that the set becomes the
// current one only once it is whole. Refuses when a set of that name exists. When a write
// fails, the files written so far are removed again and the error is returned. `written`
// receives the files in the order written.
std::optional<std::string> WriteImportedSet(const std::filesystem::path& folder,
                                            std::string_view setName, const AdxImport& import,
                                            std::string_view sourceName,
                                            std::vector<std::filesystem::path>* written);

}  // namespace vekaton
