#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
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
// Appended to the system's reason when a log cannot be created.
inline constexpr std::string_view kRecordingNotStarted = ". Recording did not start.";
// Why a log was closed before its stop: completes "Recording stopped: ...".
inline constexpr std::string_view kPortLostReason = "the port was lost";
inline constexpr std::string_view kProgramEndsReason = "the program is ending";
inline constexpr std::string_view kRunEndedReason = "the run ended";
inline constexpr std::string_view kLayoutChangedReason =
    "the frame layout changed, so the records would no longer have one length";
inline constexpr std::string_view kPlaybackStartedReason = "playback of a data log began";

// "... Recording stopped; \"x.Dat\" keeps its 12 whole frames."
std::string RecordingStoppedText(int frames);
// "Recording stopped: <why>. \"x.Dat\" keeps its 12 whole frames; the 5 bytes of the frame in
// progress were left out."
std::string RecordingClosedText(std::string_view why, const std::string& path, int frames,
                                std::size_t leftOverBytes);
// "The data log ends with 5 bytes after its last whole record (a record is 67 bytes here); they
// were not played."
std::string PartialRecordText(std::uint64_t trailingBytes, std::size_t recordSize);

}  // namespace vekaton
