#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "decode/PositionDetails.h"

namespace vekaton {

// What the parameter editor edits of a position's details: an analog position's own details,
// and for a digital position the details of its eight bits.
struct DetailsEdit {
    PositionDetails position;
    std::array<BitDetails, 8> bits;

    bool operator==(const DetailsEdit&) const = default;
};

// A position's details as the table holds them, defaults where it holds none.
DetailsEdit DetailsEditOf(const DetailsTable& table, int position);

// Puts an edit into the table: an analog position's own details, or a digital position's bits.
// The other half is left alone, so that switching the position back brings it back. Details
// left at their defaults are removed, so the file gains no empty sections.
void ApplyDetailsEdit(DetailsTable& table, int position, bool isDigital, const DetailsEdit& edit);
// Whether applying `after` where `before` stands changes anything: for an analog position its
// own details, for a digital one its bits'.
bool DetailsEditChanges(const DetailsEdit& before, const DetailsEdit& after, bool isDigital);

// What is wrong with an analog position's details, as the editor would keep them.
enum class DetailsProblem {
    None,
    RangeHalf,        // only one end of the display range
    RangeEmpty,       // the maximum is not above the minimum
    WarningsCrossed,  // the low warning limit is not below the high one
    DecimalsOutside,  // not 0 to 15
};
DetailsProblem CheckDetails(const PositionDetails& details);

// The editor's text fields. A number is written as the shortest text that reads back the same;
// reading takes a point as the decimal separator and blanks around the number. An empty field
// is no number; false means the text is not a number at all.
std::string DetailNumberText(double value);
bool ParseOptionalNumber(std::string_view text, std::optional<double>* value);

// Value names, one per line: "0 = Park". Reading skips empty lines; a line that is not a whole
// number, "=" and a name, or a number named twice, is reported by its 1-based number.
std::string ValueNamesText(const std::vector<ValueName>& names);
struct ValueNamesRead {
    std::vector<ValueName> names;
    int badLine = 0;  // 0: all lines read
};
ValueNamesRead ParseValueNames(std::string_view text);

}  // namespace vekaton
