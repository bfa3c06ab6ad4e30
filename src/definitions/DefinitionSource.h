#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "definitions/LookupFormula.h"

namespace vekaton {

// A definition of a data stream as a reviewed source table, one line per fact, from which the
// library's sets are made. Comment lines start with "#". Header lines are "key: value"
// ("id", "title", "stream", "engines", "years", "ecm", "source", "confidence", "note" (any
// number), "link" (talk-listen, listen-only or aldl160), "baud", "request", "header", "data",
// "checksum", "echo", "sample", "start" and "stop": commands sent on Run and on Pause);
// "table NAME: x=y x=y ..." gives a lookup table. Rows are
// fields separated by "|":
//   value | POS | BYTES | DESCRIPTION | FORMULA | UNIT | MIN | MAX | WARN-LOW | WARN-HIGH |
//           DECIMALS | ROLE | OPTIONS
//   flag  | POS | BIT | DESCRIPTION | OPTIONS
//   names | POS | N=name; N=name ...
// Trailing fields may be left out; an empty field says nothing. FORMULA "table:NAME" follows the
// lookup table NAME. OPTIONS are words: "alarm" (beyond a limit, or while set, is an alarm) and,
// for flags, "clear" (the flag means its description while the bit is clear).
struct SourceValue {
    int line = 0;
    int position = 0;
    int bytes = 1;
    std::string description;
    std::string formula;
    std::string unit;
    std::optional<double> minimum;
    std::optional<double> maximum;
    std::optional<double> warnLow;
    std::optional<double> warnHigh;
    std::optional<int> decimals;
    std::string role;
    bool alarm = false;
};

struct SourceFlag {
    int line = 0;
    int position = 0;
    int bit = 0;
    std::string description;
    bool activeWhenClear = false;
    bool alarm = false;
};

struct SourceNames {
    int line = 0;
    int position = 0;
    std::vector<std::pair<std::int64_t, std::string>> names;
};

struct DefinitionSource {
    std::map<std::string, std::string> header;  // every key but "note"
    std::vector<std::string> notes;
    std::map<std::string, std::vector<LookupPoint>> tables;
    std::vector<SourceValue> values;
    std::vector<SourceFlag> flags;
    std::vector<SourceNames> names;
    // "Line 12: ..." for every line that could not be read.
    std::vector<std::string> errors;

    // A header value, empty when not given.
    std::string Header(std::string_view key) const;
};

DefinitionSource ParseDefinitionSource(std::string_view text);

}  // namespace vekaton
