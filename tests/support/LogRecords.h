#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "log/DataLogFile.h"

namespace vekaton::testing {

// Every whole record of a data log, in order; empty when the log cannot be opened or read.
inline std::vector<std::vector<std::uint8_t>> LogRecords(const std::filesystem::path& path,
                                                         std::size_t recordSize) {
    DataLogFile log;
    if (log.Open(path, recordSize)) {
        return {};
    }
    std::vector<std::vector<std::uint8_t>> records;
    std::vector<std::uint8_t> record;
    std::string error;
    for (std::int64_t i = 0; i < log.RecordCount(); ++i) {
        if (!log.ReadRecord(i, record, error)) {
            return {};
        }
        records.push_back(record);
    }
    return records;
}

}  // namespace vekaton::testing
