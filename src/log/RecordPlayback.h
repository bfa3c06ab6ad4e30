#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "common/LinkSettings.h"

namespace vekaton {

class Decoder;

// How one data log record is laid out, in every link mode: headerBytes header bytes, dataBytes
// data bytes, and the checksum byte when useCheckSum. A record never holds the echoed request.
// The engine's recorder, playback, the log viewer and `vekaton-cli decode` all take the layout
// from From(), so a log is always read with the record length it was written with.
struct RecordLayout {
    int headerBytes = 0;  // ResponseBytes; in the ALDL 160 interface mode the request's length
    int dataBytes = 0;
    bool useCheckSum = false;  // never in the ALDL 160 interface mode: a packet has no checksum

    // Listen-only and talk/listen: ResponseBytes + DataBytes (+ 1 with a checksum). ALDL 160
    // interface: the start string (RequestLength bytes) + DataBytes, data byte i at position i.
    // Each count is held within 0 to 500.
    static RecordLayout From(const LinkSettings& settings);
    std::size_t Size() const;
    // Data bytes start after the header: the frame position of record byte k (from 1).
    int PositionOf(int recordByte) const { return recordByte - headerBytes; }
};

struct RecordOutcome {
    bool hasChecksum = false;
    bool checksumGood = true;  // true when there is no checksum to test
};

// Plays one recorded frame through the decoder as if it had just been received: a new frame,
// every byte in order at position (its index in the record, from 1) - headerBytes, so the
// header bytes change nothing, then the end of the frame at sampleIndex. Shared by the window's
// playback, the log viewer and `vekaton-cli decode`.
RecordOutcome FeedRecord(Decoder& decoder, std::span<const std::uint8_t> record,
                         const RecordLayout& layout, std::int64_t sampleIndex);

// The record's bytes through the decoder as FeedRecord does, without the end of the frame (no
// chart point): what a cursor in a viewed log sets the table's values with.
void FeedRecordBytes(Decoder& decoder, std::span<const std::uint8_t> record,
                     const RecordLayout& layout);

// The checksum test alone: header, data and checksum add up to 0 modulo 256 in a good frame.
// True for a layout without a checksum.
bool RecordChecksumGood(std::span<const std::uint8_t> record, const RecordLayout& layout);

// The checksum a frame needs: the two's complement of the low 8 bits of the sum of its header
// and data bytes.
constexpr std::uint8_t ChecksumFor(int byteSum) {
    return static_cast<std::uint8_t>((256 - (byteSum & 0xFF)) & 0xFF);
}

}  // namespace vekaton
