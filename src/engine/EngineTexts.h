#pragma once

#include <string_view>

namespace vekaton {

// Captions and messages of the acquisition engine, each defined once.
inline constexpr std::string_view kRunCaption = "Run";
inline constexpr std::string_view kPauseCaption = "Pause";
inline constexpr std::string_view kBadChecksumText = "BAD CHECKSUM";
inline constexpr std::string_view kSavingPrefix = "Saving - ";
inline constexpr std::string_view kNoPortMessage =
    "No serial port is open, so acquisition cannot run. Choose a port in the setup and try again.";
inline constexpr std::string_view kRequestTruncatedMessage =
    "The request is longer than 84 bytes; only the first 84 bytes are sent.";
inline constexpr std::string_view kPartialRecordMessage =
    "The data log ends with a partial record, which was not played.";

}  // namespace vekaton
