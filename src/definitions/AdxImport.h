#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/LinkSettings.h"
#include "decode/ParameterTable.h"
#include "decode/PositionDetails.h"

namespace vekaton {

// A configuration set made from one ADX definition file, not yet written.
struct AdxImport {
    LinkSettings settings;
    std::unique_ptr<ParameterTable> table = std::make_unique<ParameterTable>();
    DetailsTable details;
    // One line per object of the file, in its order: "TITLE: what became of it", where a
    // skipped object's line reads "TITLE: skipped: why".
    std::vector<std::string> report;
    int mappedValues = 0;  // analog positions written
    int mappedBits = 0;    // digital bits written
    int skipped = 0;       // objects reported as skipped
};

struct AdxImportResult {
    std::unique_ptr<AdxImport> import;  // set exactly when error is empty
    // Why the file cannot be read as ADX: where the XML breaks (line and column) or what the
    // file lacks. Nothing of a set can be made then.
    std::string error;
    // The file itself could not be read (missing, not a regular file): `error` is then a clause
    // to follow its name, such as "does not exist".
    bool fileUnreadable = false;
};

// Reads ADX text (the whole file) and maps it onto a set.
AdxImportResult ImportAdx(std::string_view bytes);
// The same for a file, read through the XML reader's safe file reading.
AdxImportResult ImportAdxFile(const std::filesystem::path& path);

}  // namespace vekaton
