#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "sim/EngineSimulator.h"

namespace vekaton {

// The running engine of EngineModel.
std::unique_ptr<FrameSource> MakeModelSource(std::uint32_t seed);

// Records of a data log, looping at its end: each record's first headerSize bytes become the
// header, the following ones the data (a checksum byte at the end is left out). Fails on a log
// without a whole record.
std::unique_ptr<FrameSource> MakeLogReplaySource(const std::filesystem::path& path,
                                                 std::size_t headerSize, std::size_t recordSize,
                                                 std::string* error);

}  // namespace vekaton
