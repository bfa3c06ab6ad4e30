// Save journal marker: any bytes must read without faults; what reads must write back to the same
// text, and never names a file outside the set's folder.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "set/SaveJournal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto entries = vekaton::ParseSaveJournal(text);
    if (!entries) {
        return 0;
    }
    for (const vekaton::SaveJournalEntry& entry : *entries) {
        if (entry.name.empty() || entry.name.find('/') != std::string::npos || entry.name == ".." ||
            entry.name == ".") {
            std::abort();
        }
    }
    if (vekaton::FormatSaveJournal(*entries) != text) {
        std::abort();
    }
    return 0;
}
