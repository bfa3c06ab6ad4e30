#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace vekaton::testing {

// The library as committed in the source tree.
inline std::filesystem::path LibraryFolder() {
    return std::filesystem::path(VEKATON_SOURCE_DIR) / "definitions";
}

inline std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace vekaton::testing
