#include "log/RecordPlayback.h"

#include <algorithm>

#include "common/CommandText.h"
#include "decode/Decoder.h"

namespace vekaton {

RecordLayout RecordLayout::From(const LinkSettings& settings) {
    const int dataBytes = std::clamp(settings.dataBytes, 0, kMaxDataBytes);
    if (settings.syncMode == SyncMode::Aldl160) {
        // The packet trigger strips the start string; the recorder writes it back in front of
        // the packet's data bytes, and no checksum follows.
        const int requestLength =
            static_cast<int>(RequestTextToBytes(settings.requestString).size());
        return RecordLayout{requestLength, dataBytes, false};
    }
    return RecordLayout{std::clamp(settings.responseBytes, 0, kMaxDataBytes), dataBytes,
                        settings.useCheckSum};
}

std::size_t RecordLayout::Size() const {
    return static_cast<std::size_t>(std::max(headerBytes, 0)) +
           static_cast<std::size_t>(std::max(dataBytes, 0)) + (useCheckSum ? 1u : 0u);
}

bool RecordChecksumGood(std::span<const std::uint8_t> record, const RecordLayout& layout) {
    if (!layout.useCheckSum) {
        return true;
    }
    unsigned sum = 0;
    for (const std::uint8_t b : record) {
        sum += b;
    }
    return record.size() == layout.Size() && (sum & 0xFFu) == 0;
}

void FeedRecordBytes(Decoder& decoder, std::span<const std::uint8_t> record,
                     const RecordLayout& layout) {
    decoder.StartFrame();
    int position = -layout.headerBytes;
    for (const std::uint8_t b : record) {
        decoder.DecodeByte(++position, b);
    }
}

RecordOutcome FeedRecord(Decoder& decoder, std::span<const std::uint8_t> record,
                         const RecordLayout& layout, std::int64_t sampleIndex) {
    decoder.StartFrame();
    unsigned sum = 0;
    int position = -layout.headerBytes;
    for (const std::uint8_t b : record) {
        ++position;
        decoder.DecodeByte(position, b);
        sum += b;
    }
    decoder.EndOfFrame(sampleIndex);
    RecordOutcome outcome;
    outcome.hasChecksum = layout.useCheckSum;
    if (layout.useCheckSum) {
        outcome.checksumGood = record.size() == layout.Size() && (sum & 0xFFu) == 0;
    }
    return outcome;
}

}  // namespace vekaton
