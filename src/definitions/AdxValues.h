#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "definitions/AdxDocument.h"
#include "definitions/AdxLink.h"
#include "definitions/FormulaExpr.h"

namespace vekaton {

// Where a value's bytes lie in the frame's data.
struct BytePlacement {
    int offset = 0;  // 0-based data byte
    int bytes = 1;

    bool operator==(const BytePlacement&) const = default;
};

// An ADX value as our language can write it: its bytes, and the formula over them with links
// inlined and lookup tables still as Lookup nodes.
struct ResolvedValue {
    std::optional<BytePlacement> placement;
    ExprPtr formula;
    ExprPtr raw;  // the raw integer the formula reads (for tables read straight from it)
    std::vector<std::size_t> links;   // indexes of the values it reads through links, all depths
    std::vector<std::size_t> tables;  // indexes of the lookup tables it uses
    std::vector<std::string> notes;   // what the report adds to its line
    std::string problem;              // why it cannot be mapped; empty when it can
};

// Resolves the values of a file for one reply of `dataBytes` data bytes, each once, following
// links to other values and lookup tables.
class AdxValueResolver {
  public:
    AdxValueResolver(const AdxDocument& document, const AdxLinkChoice& link);

    // For an object of kind Value.
    const ResolvedValue& Resolve(std::size_t index);

  private:
    ResolvedValue Compute(std::size_t index);
    void ApplyTable(const AdxValue& value, ResolvedValue& resolved);

    const AdxDocument& document_;
    const AdxLinkChoice& link_;
    std::map<std::size_t, ResolvedValue> done_;
    std::vector<std::size_t> open_;  // values being resolved, to catch links in a loop
};

// A placement's bytes for the report: "byte 8" or "bytes 12-13", 1-based positions.
std::string DescribePlacement(const BytePlacement& placement);

}  // namespace vekaton
