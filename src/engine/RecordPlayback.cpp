#include "engine/RecordPlayback.h"

#include <algorithm>

#include "decode/Decoder.h"

namespace vekaton {

RecordLayout RecordLayout::From(const LinkSettings& settings) {
    return RecordLayout{std::clamp(settings.responseBytes, 0, kMaxDataBytes),
                        std::clamp(settings.dataBytes, 0, kMaxDataBytes), settings.useCheckSum};
}

std::size_t RecordLayout::Size() const {
    return static_cast<std::size_t>(std::max(responseBytes, 0)) +
           static_cast<std::size_t>(std::max(dataBytes, 0)) + (useCheckSum ? 1u : 0u);
}

RecordOutcome FeedRecord(Decoder& decoder, std::span<const std::uint8_t> record,
                         const RecordLayout& layout, int sampleIndex) {
    decoder.StartFrame();
    unsigned sum = 0;
    int position = -layout.responseBytes;
    for (const std::uint8_t b : record) {
        ++position;
        decoder.DecodeByte(position, b);
        sum += b;
    }
    decoder.EndOfFrame(sampleIndex);
    RecordOutcome outcome;
    outcome.hasChecksum = layout.useCheckSum;
    if (layout.useCheckSum) {
        // Header, data and checksum add up to 0 modulo 256 in a good frame.
        outcome.checksumGood = record.size() == layout.Size() && (sum & 0xFFu) == 0;
    }
    return outcome;
}

}  // namespace vekaton
