#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace vekaton {
class Decoder;
class ParameterTable;
}  // namespace vekaton

namespace vekaton::cli {

// Appends one CSV field (RFC 4180): enclosed in double quotes, with its quotes doubled, when it
// holds a comma, a double quote, CR or LF; as it stands otherwise.
void AppendCsvField(std::string& line, std::string_view text);

// One value column of the frame table.
struct CsvColumn {
    int position = 0;
    int bit = -1;  // the bit of a digital position; -1 for an analog position
    std::string name;
};

// The value columns a parameter table gives: every analog position with a description, in
// ascending position, then every described bit of every digital position (by position, then
// bit), each named by its description.
std::vector<CsvColumn> FrameColumns(const ParameterTable& table);

// Writes decoded frames as CSV, one row per frame, records ended by CR LF: "Frame", "Time", the
// value columns, and "Checksum" (OK or BAD) when asked for. An analog column holds what the strip
// chart would plot for the position (the value at the last byte of a multi-byte value), a bit
// column 0 or 1. Numbers are the shortest text that reads back to the same double.
class CsvWriter {
  public:
    CsvWriter(std::ostream& out, const ParameterTable& table, bool checksumColumn);

    void WriteHeader();
    // checksumGood is written only when the writer has a checksum column.
    void WriteFrame(long long frame, double seconds, const Decoder& decoder,
                    std::optional<bool> checksumGood = std::nullopt);

    const std::vector<CsvColumn>& Columns() const { return columns_; }
    bool HasChecksumColumn() const { return checksumColumn_; }

  private:
    std::ostream& out_;
    std::vector<CsvColumn> columns_;
    bool checksumColumn_;
    std::string line_;  // reused row by row
};

}  // namespace vekaton::cli
