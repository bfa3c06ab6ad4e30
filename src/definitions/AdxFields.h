#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "definitions/XmlReader.h"
#include "definitions/XmlText.h"

namespace vekaton {

// Reading the fields of ADX objects: numbers as these files write them, and texts made fit for
// one report line.

// The text of a child element, else of an attribute of the same name, without outer blanks.
std::optional<std::string> AdxField(const XmlElement& element, std::string_view name);

// "0x07", "0X7" or "07": hexadecimal, with or without its prefix, at most 32 bits.
std::optional<std::uint32_t> ParseAdxHex(std::string_view text);
// A whole decimal number ("66", "-3"), or hexadecimal with "0x".
std::optional<std::int64_t> ParseAdxInteger(std::string_view text);
// A finite real number ("-40.000000", "1e3").
std::optional<double> ParseAdxReal(std::string_view text);
// "1"/"0", "true"/"false", "yes"/"no".
std::optional<bool> ParseAdxFlag(std::string_view text);

// A number for a report: at most `digits` significant digits, no trailing zeros.
std::string ReportNumber(double value, int digits = 6);
// "0x0000001F"
std::string HexWord(std::uint32_t value);
// "$F4 $57 $01": bytes as the request text of the settings writes them.
std::string RequestText(const std::vector<std::uint8_t>& bytes);

}  // namespace vekaton
