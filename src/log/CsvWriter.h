#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "common/FloatText.h"

namespace vekaton {

class Decoder;
class DetailsTable;
class ParameterTable;

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
// bit), each named by its description, followed by " [unit]" when `details` gives the position
// a unit ("Coolant temperature [°C]").
std::vector<CsvColumn> FrameColumns(const ParameterTable& table,
                                    const DetailsTable* details = nullptr);

// A number's text, kept beside the number's bits.
struct NumberText {
    std::uint64_t bits = 0;
    std::array<char, 23> text{};
    std::uint8_t length = 0;  // 0: empty (no number's text is empty)

    bool Holds(std::uint64_t valueBits) const { return length != 0 && bits == valueBits; }
};

// Appends a number's table text (FormatTableNumber) in the chosen precision, keeping the texts it
// made. Formatting a double costs several times more than decoding the byte it came
// from, and the values repeat: a one-byte position has at most 256 of them, and most positions
// change slowly from frame to frame. The texts sit in a fixed direct-mapped table keyed by the
// value's bits, so memory does not grow with the output.
class NumberTexts {
  public:
    explicit NumberTexts(NumberPrecision precision);
    // Asks the processor to fetch the value's table entry, so that the cache misses of one row's
    // values overlap instead of coming one after another.
    void Prefetch(double value) const;
    // `last` is the column's previous text: reused when the value has not changed, else replaced.
    void Append(std::string& line, double value, NumberText& last);

  private:
    static constexpr int kIndexBits = 14;
    static std::size_t IndexOf(std::uint64_t bits) {
        // Fibonacci hashing spreads neighbouring values over the table.
        return static_cast<std::size_t>((bits * 0x9E3779B97F4A7C15ULL) >> (64 - kIndexBits));
    }
    NumberPrecision precision_;
    std::vector<NumberText> entries_;
};

// Writes decoded frames as CSV, one row per frame, records ended by CR LF: "Frame", "Time", the
// value columns, and "Checksum" (OK or BAD) when asked for. An analog column holds what the strip
// chart would plot for the position (the value at the last byte of a multi-byte value), or
// nothing when its formula faulted for the frame's bytes; a bit column 0 or 1. Numbers, the time
// included, are written in the chosen precision.
class CsvWriter {
  public:
    CsvWriter(std::ostream& out, const ParameterTable& table, bool checksumColumn,
              NumberPrecision precision = NumberPrecision::Significant,
              const DetailsTable* details = nullptr);

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
    NumberPrecision precision_;
    std::string line_;                           // reused row by row
    std::vector<std::optional<double>> values_;  // the row's analog values, reused
    std::vector<NumberText> lastTexts_;          // each analog column's text in the previous row
    NumberTexts numbers_;
};

}  // namespace vekaton
