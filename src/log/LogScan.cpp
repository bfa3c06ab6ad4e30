#include "log/LogScan.h"

#include <algorithm>

#include "decode/Decoder.h"
#include "log/DataLogFile.h"
#include "log/LogReplay.h"

namespace vekaton {

LogScan::LogScan(DataLogFile& log, LogReplay& replay, const RecordLayout& layout, Decoder& decoder)
    : log_(log),
      replay_(replay),
      layout_(layout),
      decoder_(decoder),
      intervalMs_(log.IntervalMs()) {
    decoder_.RestoreState(Decoder::State{});
}

void LogScan::SetDefaultInterval(int sampleRate) {
    if (intervalMs_ <= 0) {
        intervalMs_ = std::max(sampleRate, 1);
    }
}

std::int64_t LogScan::Total() const {
    return log_.RecordCount();
}

double LogScan::TimeOf(std::int64_t frame) const {
    return static_cast<double>(frame) * intervalMs_ / 1000.0;
}

bool LogScan::Step(std::int64_t records, const AddSample& addSample) {
    if (Finished()) {
        return false;
    }
    std::string error;
    const auto read = log_.Read(done_, std::max<std::int64_t>(records, 1), buffer_, error);
    if (!read || *read == 0) {
        error_ = read ? "the log ended early" : error;
        return false;
    }
    const std::size_t size = log_.RecordSize();
    for (std::int64_t i = 0; i < *read; ++i) {
        const std::span<const std::uint8_t> record(
            buffer_.data() + static_cast<std::size_t>(i) * size, size);
        replay_.NoteFrameStart(done_, decoder_);
        const std::int64_t sample = addSample ? addSample(TimeOf(done_)) : 0;
        if (!FeedRecord(decoder_, record, layout_, sample).checksumGood) {
            ++badChecksums_;
        }
        ++done_;
    }
    return !Finished();
}

std::optional<std::string> LogFitWarning(std::uint64_t trailingBytes, std::size_t recordSize,
                                         std::int64_t frames, std::int64_t badChecksums,
                                         bool useCheckSum) {
    std::string text;
    if (trailingBytes > 0) {
        text = "The log is not a whole number of " + std::to_string(recordSize) +
               "-byte records: " + std::to_string(trailingBytes) +
               (trailingBytes == 1 ? " byte is" : " bytes are") +
               " left over after its last whole record and not shown. Either the recording was "
               "cut off in the middle of a frame (the program or the computer stopped), or the "
               "log was recorded with other header, data or checksum settings than this "
               "configuration set's.";
    }
    if (useCheckSum && frames > 0 && badChecksums * 2 > frames) {
        if (!text.empty()) {
            text += "\n\n";
        }
        text += std::to_string(badChecksums) + " of its " + std::to_string(frames) +
                " frames fail the checksum. The log was most likely recorded with another frame "
                "layout (response bytes, data bytes, checksum) or link mode than this "
                "configuration set's, so its values are not to be trusted.";
    }
    if (text.empty()) {
        return std::nullopt;
    }
    return text;
}

}  // namespace vekaton
