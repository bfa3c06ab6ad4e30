#include "io/DefinitionLibraryPath.h"

#include <system_error>

namespace vekaton {

std::filesystem::path DefinitionLibraryFolder() {
    std::error_code ec;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        const std::filesystem::path installed =
            program.parent_path().parent_path() / "share" / "vekaton" / "definitions";
        if (std::filesystem::is_directory(installed, ec)) {
            return installed;
        }
    }
    return std::filesystem::path(VEKATON_DEFINITIONS_DIR);
}

}  // namespace vekaton
