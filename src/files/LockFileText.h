#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vekaton {

// The single-instance lock file's text: the holder's process ID, the program and the host, one
// per line (the layout QLockFile writes, so the lock of an older version reads the same).
struct LockHolder {
    std::int64_t pid = 0;  // 1 or more
    std::string host;      // empty when the file names none: then this host is meant
};

// nullopt when the text names no process (empty, damaged, a PID of 0 or out of range).
std::optional<LockHolder> ParseLockHolder(std::string_view text);
std::string FormatLockHolder(std::int64_t pid, std::string_view program, std::string_view host);

}  // namespace vekaton
