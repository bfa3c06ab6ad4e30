#include "log/LogCsvExport.h"

#include <algorithm>
#include <climits>

#include "log/DataLogFile.h"

namespace vekaton {

LogCsvExport::LogCsvExport(DataLogFile& log, const RecordLayout& layout,
                           const ParameterTable& table, std::ostream& out,
                           NumberPrecision precision, const DetailsTable* details)
    : log_(log),
      layout_(layout),
      table_(std::make_unique<ParameterTable>(table)),
      decoder_(*table_, formulas_),
      out_(out),
      csv_(out, *table_, false, precision, details) {}

void LogCsvExport::SetMessageHandler(Decoder::MessageHandler handler) {
    decoder_.SetMessageHandler(std::move(handler));
}

std::int64_t LogCsvExport::Total() const {
    return log_.RecordCount();
}

bool LogCsvExport::Finished() const {
    return (headerWritten_ && done_ >= Total()) || readError_.has_value() || !out_;
}

bool LogCsvExport::Step(std::int64_t records) {
    if (!headerWritten_) {
        csv_.WriteHeader();
        headerWritten_ = true;
    }
    if (Finished()) {
        return false;
    }
    std::string error;
    const auto read = log_.Read(done_, std::max<std::int64_t>(records, 1), buffer_, error);
    if (!read || *read == 0) {
        readError_ = read ? std::string("the log ended early") : error;
        return false;
    }
    const std::size_t size = log_.RecordSize();
    const std::int64_t intervalMs = log_.IntervalMs();
    for (std::int64_t i = 0; i < *read && out_; ++i) {
        const std::span<const std::uint8_t> record(
            buffer_.data() + static_cast<std::size_t>(i) * size, size);
        const long long frame = ++done_;
        FeedRecord(decoder_, record, layout_,
                   static_cast<int>(std::min<long long>(frame, INT_MAX)));
        // Whole milliseconds divided once: frame 4 at 110 ms reads 0.33, not 0.33000000000000002.
        const double seconds = static_cast<double>((frame - 1) * intervalMs) / 1000.0;
        csv_.WriteFrame(frame, seconds, decoder_);
    }
    return !Finished();
}

}  // namespace vekaton
