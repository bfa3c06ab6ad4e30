// Gauge list reader: any text must read without faults, and from the first rewrite on the text
// must be stable: what the writer makes of an entry reads back to the same entry, with nothing
// reported.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "dashboard/GaugeList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const vekaton::GaugeListParse first = vekaton::ParseGaugeList(text);
    const std::string written = vekaton::FormatGaugeList(first.entries);
    const vekaton::GaugeListParse second = vekaton::ParseGaugeList(written);
    if (!second.warnings.empty() || second.entries.size() != first.entries.size()) {
        std::abort();
    }
    if (vekaton::FormatGaugeList(second.entries) != written) {
        std::abort();
    }
    return 0;
}
