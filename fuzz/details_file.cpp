// Details file reader: any text must read without a crash, every warning must be a short line
// of its own, and what the writer makes of the result must read back to the same text from the
// second round on (the first may drop what the reader reports).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "set/DetailsFile.h"

namespace {

std::string RoundTrip(std::string_view text) {
    const vekaton::DetailsParse parse = vekaton::ParseDetails(text);
    for (const std::string& warning : parse.warnings) {
        if (warning.size() > 400) {
            std::abort();
        }
        for (const char c : warning) {
            if (c == '\r' || c == '\n' || c == '\0') {
                std::abort();
            }
        }
    }
    return vekaton::FormatDetails(parse.table, parse.header);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string first = RoundTrip(text);
    const std::string second = RoundTrip(first);
    if (RoundTrip(second) != second || !vekaton::ParseDetails(second).warnings.empty()) {
        std::abort();
    }
    return 0;
}
