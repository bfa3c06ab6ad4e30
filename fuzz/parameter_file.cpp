// Parameter file reader: any text must read without touching memory outside the table, and what
// the writer makes of the result must read back to the same text from the second round on (the
// first round may drop what the reader rejects, such as formulas with blanks). Messages quote the
// file's text shortly and never carry a NUL or a control character.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "decode/ParameterTable.h"
#include "set/ParameterFile.h"

namespace {

void CheckMessage(const std::string& message) {
    if (message.size() >= 400) {
        std::abort();
    }
    for (const char c : message) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) {
            std::abort();
        }
    }
}

std::string RoundTrip(std::string_view text) {
    vekaton::ParameterTable table;
    const vekaton::ParameterFileReadResult result = vekaton::ReadParameterText(text, table);
    if (result.header.size() > vekaton::ParameterFileReadResult::kMaxHeaderLines) {
        std::abort();
    }
    if (result.error) {
        CheckMessage(*result.error);
    }
    for (const std::string& warning : result.warnings) {
        CheckMessage(warning);
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
