// Names found in a set's folder, read to tell a killed save's temporary file from anything else:
// any name reads without harm, and one that is taken for a temporary file is exactly "." + its
// target + ".tmp" + the process ID's digits + 8 lower-case hex digits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "set/LeftoverFiles.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view name(reinterpret_cast<const char*>(data), size);
    const auto parsed = vekaton::ParseTemporaryName(name);
    if (!parsed) {
        return 0;
    }
    Check(!parsed->target.empty());
    Check(parsed->pid >= 0);
    const std::string prefix = "." + parsed->target + ".tmp";
    Check(name.substr(0, prefix.size()) == prefix);
    const std::string_view rest = name.substr(prefix.size());
    Check(rest.size() > 8 && rest.size() <= 18);
    // The process ID is what the digits say (leading zeros aside).
    Check(std::to_string(parsed->pid) ==
          std::to_string(std::stoll(std::string(rest.substr(0, rest.size() - 8)))));
    return 0;
}
