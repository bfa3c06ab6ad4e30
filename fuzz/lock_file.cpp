// The single-instance lock file as another process, an older version or a damaged disk left it:
// any bytes read without harm, a process ID only when it is one, and what the program writes
// reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "files/LockFileText.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto holder = vekaton::ParseLockHolder(text);
    if (!holder) {
        return 0;
    }
    Check(holder->pid > 0 && holder->pid <= 0x7FFFFFFF);
    Check(holder->host.find('\n') == std::string::npos);
    const auto again =
        vekaton::ParseLockHolder(vekaton::FormatLockHolder(holder->pid, "vekaton", holder->host));
    Check(again && again->pid == holder->pid && again->host == holder->host);
    return 0;
}
