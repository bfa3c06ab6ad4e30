#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "engine/LinkSettings.h"

namespace vekaton {

class Decoder;

// How one data log record is laid out: ResponseBytes header bytes, DataBytes data bytes, and the
// checksum byte when UseCheckSum. A record never holds the echoed request.
struct RecordLayout {
    int responseBytes = 0;
    int dataBytes = 0;
    bool useCheckSum = false;

    // From the settings, each count held within 0 to 500.
    static RecordLayout From(const LinkSettings& settings);
    std::size_t Size() const;
};

struct RecordOutcome {
    bool hasChecksum = false;
    bool checksumGood = true;  // true when there is no checksum to test
};

// Plays one recorded frame through the decoder as if it had just been received: a new frame,
// every byte in order at position (its index in the record, from 1) - responseBytes, so the
// header bytes change nothing, then the end of the frame at sampleIndex. Shared by the window's
// playback and `vekaton-cli decode`.
RecordOutcome FeedRecord(Decoder& decoder, std::span<const std::uint8_t> record,
                         const RecordLayout& layout, int sampleIndex);

// The checksum a frame needs: the two's complement of the low 8 bits of the sum of its header
// and data bytes.
constexpr std::uint8_t ChecksumFor(int byteSum) {
    return static_cast<std::uint8_t>((256 - (byteSum & 0xFF)) & 0xFF);
}

}  // namespace vekaton
