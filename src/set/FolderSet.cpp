#include "set/FolderSet.h"

#include <string>
#include <system_error>

#include "files/FileLookup.h"
#include "set/DetailsFile.h"
#include "set/SetNames.h"

namespace vekaton {

bool FolderHoldsNoSet(const std::filesystem::path& folder) {
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error) || error) {
        return false;
    }
    const SetNames names;  // the "Default" set start-up reads when no pointer names another
    for (const std::string& name :
         {std::string(kSetPointerFileName), names.settingsFileName, names.parameterFileName,
          DetailsFileNameFor(names.parameterFileName), names.gaugeListFileName,
          names.layoutFileName}) {
        const std::filesystem::path path = ResolveSetFile(folder, name);
        const std::filesystem::file_type type = std::filesystem::symlink_status(path, error).type();
        if (type != std::filesystem::file_type::not_found) {
            return false;
        }
    }
    return true;
}

}  // namespace vekaton
