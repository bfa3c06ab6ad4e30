#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vekaton {

// The manifest of the recovery copies: which generation of copies is current, the set folder
// and its identity, the set name, and each copy's file name and size.
//
// Texts that come from the user (a folder may hold any byte, line feeds included) are written
// with their length before them, so no byte of a name can start a field of its own; the reader
// takes every field exactly once and in order, and refuses anything else.
struct RecoveryManifest {
    static constexpr std::size_t kMaxFiles = 16;
    static constexpr std::size_t kMaxTextBytes = 4096;

    unsigned generation = 0;
    std::string folder;
    // The folder's device and inode when the copies were made: a manifest is only ever restored
    // into that very folder, not into whatever the path leads to later.
    std::uint64_t folderDevice = 0;
    std::uint64_t folderInode = 0;
    std::string setName;
    std::vector<std::pair<std::string, std::uint64_t>> files;  // file name, size in bytes

    friend bool operator==(const RecoveryManifest&, const RecoveryManifest&) = default;
};

std::string FormatRecoveryManifest(const RecoveryManifest& manifest);
// nullopt for anything that is not a whole manifest as FormatRecoveryManifest writes it (texts
// longer than kMaxTextBytes, more than kMaxFiles files included); `problem` then says why.
std::optional<RecoveryManifest> ParseRecoveryManifest(std::string_view text,
                                                      std::string* problem = nullptr);

}  // namespace vekaton
