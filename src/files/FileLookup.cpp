#include "files/FileLookup.h"

#include <optional>
#include <string>

#include "common/AsciiCase.h"

namespace vekaton {

std::filesystem::path ResolveSetFile(const std::filesystem::path& folder, std::string_view name) {
    const std::filesystem::path wanted = folder / std::filesystem::path(name);
    // Only bare names are looked up; anything with a folder part is taken as given.
    if (name.empty() || name.find('/') != std::string_view::npos) {
        return wanted;
    }
    // The folder's own listing decides, not whether the name opens: on a file system that ignores
    // letter case (Windows, a FAT stick) every spelling opens, and the file's own is wanted.
    const std::filesystem::path searched = folder.empty() ? std::filesystem::path(".") : folder;
    std::optional<std::string> best;
    std::error_code ec;
    std::filesystem::directory_iterator it(searched, ec);
    const std::filesystem::directory_iterator end;
    while (!ec && it != end) {
        std::string candidate = it->path().filename().string();
        if (candidate == name) {
            return wanted;
        }
        // Of several spellings the smallest wins, so the choice never depends on folder order.
        if (EqualsNoCase(candidate, name) && (!best || candidate < *best)) {
            best = std::move(candidate);
        }
        it.increment(ec);
    }
    return best ? folder / *best : wanted;
}

}  // namespace vekaton
