#pragma once

#include <cstdint>

namespace vekaton {

// How the link is doing, counted in one place by the engine for the status strip, the value
// table and the command-line programs. Received frames only; playback is not counted.
struct LinkCounters {
    std::uint64_t frames = 0;           // frames that reached their expected length (or packets)
    std::uint64_t checksumErrors = 0;   // of those, frames whose checksum failed (UseCheckSum on)
    std::uint64_t syncErrors = 0;       // listen-only bursts of the wrong length
    std::uint64_t polls = 0;            // requests sent by the poll timer (talk/listen)
    std::uint64_t pollsUnanswered = 0;  // polls whose answer was not complete at the next poll
    int badChecksumRun = 0;             // failed checksums in a row, 0 after a good one
    std::int64_t lastFrameMs = -1;      // clock time of the last frame; -1: none since reset
};

}  // namespace vekaton
