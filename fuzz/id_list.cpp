// Reads arbitrary text as a reset button's ID list, as a gauge list line delivers it. Every ID
// read lies in 1..500, none repeats, and writing the list and reading it again gives it back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string_view>

#include "dashboard/ResetButtons.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<int> ids = vekaton::ParseIdList(text);
    std::set<int> seen;
    for (const int id : ids) {
        if (id < 1 || id > 500 || !seen.insert(id).second) {
            std::abort();
        }
    }
    if (vekaton::ParseIdList(vekaton::FormatIdList(ids)) != ids) {
        std::abort();
    }
    // What is left out is counted, so that nothing goes without a word.
    const vekaton::IdListRead read = vekaton::ReadIdList(text);
    if (read.ids != ids || read.skippedExamples.size() > vekaton::IdListRead::kExamples ||
        read.skippedExamples.size() > read.skippedCount ||
        (read.skippedCount > 0 && read.skippedExamples.empty())) {
        std::abort();
    }
    return 0;
}
