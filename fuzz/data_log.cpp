// Reads arbitrary bytes as a data log: the first byte picks the record size, the rest is the
// file. Every record returned must be whole and the byte count must add up.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "files/DataLog.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    const std::size_t recordSize = data[0];  // 0 must be refused, not divided by
    std::istringstream in(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
    vekaton::DataLogReader reader(in, recordSize);
    if (reader.Error()) {
        return 0;
    }
    std::size_t total = 0;
    for (auto record = reader.Next(); !record.empty(); record = reader.Next()) {
        if (record.size() != recordSize) {
            std::abort();
        }
        total += record.size();
    }
    if (total + reader.TrailingBytes() + vekaton::kDataLogHeaderSize != size - 1 ||
        reader.TrailingBytes() >= recordSize) {
        std::abort();
    }
    return 0;
}
