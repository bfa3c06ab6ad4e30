#pragma once

namespace vekaton {

// What a path names, following symbolic links.
enum class FileKind {
    Missing,
    Regular,
    Folder,
    Fifo,
    CharacterDevice,
    BlockDevice,
    Socket,
    BrokenLink,  // a symbolic link whose target does not exist
    LinkLoop,    // symbolic links that lead back to themselves: there is nothing to read or copy
    Other,
};

}  // namespace vekaton
