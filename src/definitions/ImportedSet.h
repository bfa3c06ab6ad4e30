#pragma once

#include <filesystem>
#include <functional>
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

// One file of an imported set: where it goes and how it is written.
struct ImportedSetStep {
    std::filesystem::path path;
    std::function<std::optional<std::string>()> write;  // the error, or nothing when written
};

// The files of an imported set in the order they are written: the settings file, the parameter
// file, the import report, and last the set pointer, so that the set becomes the current one
// only once it is whole. A further file of the set is one more step before the pointer.
std::vector<ImportedSetStep> ImportedSetSteps(const std::filesystem::path& folder,
                                              std::string_view setName, const AdxImport& import,
                                              std::string_view sourceName);

// Writes an imported set into `folder` (which must exist) as `setName`, step by step. Refuses
// when a set of that name exists. When a step fails, the files written so far are removed again
// and the error returned. `written` receives the files in the order written.
std::optional<std::string> WriteImportedSet(const std::filesystem::path& folder,
                                            std::string_view setName, const AdxImport& import,
                                            std::string_view sourceName,
                                            std::vector<std::filesystem::path>* written);

}  // namespace vekaton
