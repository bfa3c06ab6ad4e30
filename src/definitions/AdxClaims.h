#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "decode/PositionDetails.h"
#include "definitions/AdxDocument.h"
#include "definitions/AdxLink.h"
#include "definitions/AdxValues.h"
#include "definitions/FormulaChecker.h"

namespace vekaton {

// What one ADX value or bit mask would put into the parameter table, before it is known
// whether its place is free.
struct PositionClaim {
    std::size_t object = 0;
    BytePlacement where;
    bool digital = false;
    int bit = 0;  // digital only
    bool activeWhenClear = false;
    std::string description;
    std::string formula;  // analog only
    PositionDetails details;
    std::string line;                 // the report's words once it is placed: "position 8: ..."
    std::vector<std::size_t> links;   // values whose bytes it reads through links
    std::vector<std::size_t> tables;  // lookup tables it uses
    // A field of several bits: its mask, so that masks of the same bits can add value names.
    std::optional<std::uint32_t> fieldMask;
};

// The claim of a value, or why it cannot be mapped.
std::variant<PositionClaim, std::string> ClaimValue(const AdxDocument& document, std::size_t index,
                                                    const ResolvedValue& resolved,
                                                    FormulaChecker& checker);

// The claim of a bit mask, or why it cannot be mapped.
std::variant<PositionClaim, std::string> ClaimBitMask(const AdxDocument& document,
                                                      std::size_t index, const AdxLinkChoice& link);

// The description a parameter line can hold: one line, no comma (the file's separator).
std::string ParameterDescription(const std::string& name);

}  // namespace vekaton
