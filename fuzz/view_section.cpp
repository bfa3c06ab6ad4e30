// Views in a details file: any text must read without a crash, every problem must be a short
// line of its own, and a view that reads must be written as a section that reads back as the
// same view without a problem.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "analysis/AnalysisViewText.h"
#include "set/DetailsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const vekaton::DetailsParse details = vekaton::ParseDetails(text);
    for (const vekaton::ViewParse& parse : vekaton::ReadViews(details.table)) {
        for (const std::string& problem : parse.problems) {
            if (problem.size() > 400 || problem.find_first_of("\r\n", 0) != std::string::npos) {
                std::abort();
            }
        }
        if (!parse.view) {
            continue;
        }
        const vekaton::ViewParse again =
            vekaton::ParseViewSection(vekaton::FormatViewSection(*parse.view));
        if (!again.view || !again.problems.empty() || *again.view != *parse.view) {
            std::abort();
        }
    }
    return 0;
}
