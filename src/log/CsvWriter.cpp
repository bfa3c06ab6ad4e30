#include "log/CsvWriter.h"

#include <bit>
#include <cstring>

#include "decode/Decoder.h"
#include "decode/ParameterTable.h"
#include "decode/PositionDetails.h"

namespace vekaton {

void AppendCsvField(std::string& line, std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        line.append(text);
        return;
    }
    line.push_back('"');
    for (const char c : text) {
        if (c == '"') {
            line.push_back('"');
        }
        line.push_back(c);
    }
    line.push_back('"');
}

NumberTexts::NumberTexts(NumberPrecision precision)
    : precision_(precision), entries_(std::size_t{1} << kIndexBits) {}

void NumberTexts::Prefetch(double value) const {
#if defined(__GNUC__)
    __builtin_prefetch(&entries_[IndexOf(std::bit_cast<std::uint64_t>(value))]);
#else
    (void)value;
#endif
}

void NumberTexts::Append(std::string& line, double value, NumberText& last) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    if (!last.Holds(bits)) {
        NumberText& entry = entries_[IndexOf(bits)];
        if (!entry.Holds(bits)) {
            NumberBuffer buffer{};
            const std::size_t length = FormatTableNumber(value, precision_, buffer);
            if (length == 0 || length > entry.text.size()) {
                last.length = 0;
                line.append(buffer.data(), length);
                return;
            }
            entry.bits = bits;
            entry.length = static_cast<std::uint8_t>(length);
            std::memcpy(entry.text.data(), buffer.data(), length);
        }
        last = entry;
    }
    line.append(last.text.data(), last.length);
}

std::vector<CsvColumn> FrameColumns(const ParameterTable& table, const DetailsTable* details) {
    std::vector<CsvColumn> columns;
    for (int p = ParameterTable::kFirstPosition; p <= ParameterTable::kLastPosition; ++p) {
        const ParameterRecord& record = table.At(p);
        if (!record.IsDigital && !record.Descriptions[0].empty()) {
            std::string name = record.Descriptions[0];
            const PositionDetails* info = details != nullptr ? details->Find(p) : nullptr;
            if (info != nullptr && !info->unit.empty()) {
                name += " [" + info->unit + "]";
            }
            columns.push_back(CsvColumn{p, -1, std::move(name)});
        }
    }
    for (int p = ParameterTable::kFirstPosition; p <= ParameterTable::kLastPosition; ++p) {
        const ParameterRecord& record = table.At(p);
        if (!record.IsDigital) {
            continue;
        }
        for (int bit = 0; bit < ParameterRecord::kDescriptionCount; ++bit) {
            const std::string& name = record.Descriptions[static_cast<std::size_t>(bit)];
            if (!name.empty()) {
                columns.push_back(CsvColumn{p, bit, name});
            }
        }
    }
    return columns;
}

CsvWriter::CsvWriter(std::ostream& out, const ParameterTable& table, bool checksumColumn,
                     NumberPrecision precision, const DetailsTable* details)
    : out_(out),
      columns_(FrameColumns(table, details)),
      checksumColumn_(checksumColumn),
      precision_(precision),
      numbers_(precision) {
    for (const CsvColumn& column : columns_) {
        if (column.bit < 0) {
            lastTexts_.emplace_back();
        }
    }
}

void CsvWriter::WriteHeader() {
    line_.assign("Frame,Time");
    for (const CsvColumn& column : columns_) {
        line_.push_back(',');
        AppendCsvField(line_, column.name);
    }
    if (checksumColumn_) {
        line_.append(",Checksum");
    }
    line_.append("\r\n");
    out_.write(line_.data(), static_cast<std::streamsize>(line_.size()));
}

void CsvWriter::WriteFrame(long long frame, double seconds, const Decoder& decoder,
                           std::optional<bool> checksumGood) {
    line_.assign(std::to_string(frame));
    line_.push_back(',');
    NumberBuffer time{};
    line_.append(time.data(), FormatTableNumber(seconds, precision_, time));
    const ParameterTable& table = decoder.Table();
    values_.clear();
    for (const CsvColumn& column : columns_) {
        if (column.bit < 0) {
            if (!decoder.HasPlotValue(column.position)) {
                values_.push_back(std::nullopt);
                continue;
            }
            const double value = decoder.PlotValue(column.position, 0);
            if (!lastTexts_[values_.size()].Holds(std::bit_cast<std::uint64_t>(value))) {
                numbers_.Prefetch(value);
            }
            values_.push_back(value);
        }
    }
    std::size_t analog = 0;
    for (const CsvColumn& column : columns_) {
        line_.push_back(',');
        if (column.bit < 0) {
            // A value whose formula faulted has no cell text at all.
            if (values_[analog]) {
                numbers_.Append(line_, *values_[analog], lastTexts_[analog]);
            }
            ++analog;
        } else {
            const ParameterRecord& record = table.At(column.position);
            line_.push_back(record.Bits[static_cast<std::size_t>(column.bit)] ? '1' : '0');
        }
    }
    if (checksumColumn_) {
        line_.append(checksumGood.value_or(true) ? ",OK" : ",BAD");
    }
    line_.append("\r\n");
    out_.write(line_.data(), static_cast<std::streamsize>(line_.size()));
}

}  // namespace vekaton
