// Parameter file reader: any text must read without touching memory outside the table, and what
// the writer makes of the result must read back to the same text from the second round on (the
// first round may drop what the reader rejects, such as formulas with blanks).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "decode/ParameterFile.h"
#include "decode/ParameterTable.h"

namespace {

std::string RoundTrip(std::string_view text) {
    vekaton::ParameterTable table;
    const vekaton::ParameterFileReadResult result = vekaton::ReadParameterText(text, table);
    if (result.header.size() > vekaton::ParameterFileReadResult::kMaxHeaderLines) {
        std::abort();
    }
    return vekaton::WriteParameterText(table, result.header);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string first = RoundTrip(text);
    const std::string second = RoundTrip(first);
    if (RoundTrip(second) != second) {
        std::abort();
    }
    return 0;
}
