#pragma once

#include <cstdint>
#include <span>

namespace vekaton {

// The two built-in answers of the loop-back test (the "Debug" page). With the port's transmit
// line tied to its receive line, the poll tick writes the request (when the set-up expects an
// echo) and then one of these answers, and reads both back as if a module had answered.
//
// Answer 1, 67 bytes, a complete frame for: talk/listen, request "$F4 $57 $01 $00 $B4",
// 3 response header bytes (F4 95 01), 63 data bytes, checksum on. Data byte p holds p, so every
// position 1 to 63 shows its own number.
//
// Answer 2, 144 bytes, a complete frame for: talk/listen, 3 response header bytes (F4 E2 01),
// 140 data bytes, checksum on (any request). Data byte p holds 256 - p (255 down to 116).
//
// Both end in a checksum byte that makes the header, data and checksum add up to 0 modulo 256.
inline constexpr int kLoopBackHeaderBytes = 3;
inline constexpr int kLoopBackDataBytes1 = 63;
inline constexpr int kLoopBackDataBytes2 = 140;

// choice 1 or 2; any other value gives answer 1.
std::span<const std::uint8_t> LoopBackAnswer(int choice);

}  // namespace vekaton
