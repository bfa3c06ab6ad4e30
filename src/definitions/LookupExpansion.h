#pragma once

#include <optional>
#include <string>

#include "definitions/FormulaChecker.h"
#include "definitions/FormulaExpr.h"

namespace vekaton {

struct LookupExpansion {
    ExprPtr formula;          // no Lookup node left
    int segments = 0;         // straight segments written for the table (the first, if several)
    int tableSegments = 0;    // segments of that table: one less than its points
    double tableError = 0.0;  // largest distance from the tables, in their output's unit
};

// Writes every lookup table of `expr` as straight segments between its points, each clamped by
// MIN and MAX, summed with a constant: c + s1*MIN(MAX(u,x0),x1) + ... With as many segments as
// the builder's limits (levels, operands per level, length) allow, all of them where they fit;
// otherwise the fewest segments that keep the largest error as small as the limits let it be.
// Nothing, with `problem` set, when not even one segment fits.
std::optional<LookupExpansion> ExpandLookups(const ExprPtr& expr, const FormulaChecker& checker,
                                             std::string& problem);

}  // namespace vekaton
