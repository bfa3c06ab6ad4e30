#include "definitions/LookupFormula.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "decode/FormulaFrontEnd.h"
#include "definitions/FormulaChecker.h"
#include "definitions/FormulaExpr.h"
#include "definitions/LookupExpansion.h"
#include "definitions/LookupFit.h"

namespace vekaton {

std::optional<LookupFormula> BuildLookupFormula(std::vector<LookupPoint> points) {
    std::stable_sort(points.begin(), points.end(),
                     [](const LookupPoint& a, const LookupPoint& b) { return a.x < b.x; });
    points.erase(std::unique(points.begin(), points.end(),
                             [](const LookupPoint& a, const LookupPoint& b) { return a.x == b.x; }),
                 points.end());
    for (const LookupPoint& point : points) {
        if (!std::isfinite(point.x) || !std::isfinite(point.y)) {
            return std::nullopt;
        }
    }
    if (points.size() < 2 || points.size() > kMaxLookupPoints) {
        return std::nullopt;
    }
    auto table = std::make_shared<LookupPoints>();
    for (const LookupPoint& point : points) {
        table->x.push_back(point.x);
        table->y.push_back(point.y);
    }
    // The same expansion that imported definitions go through, so that a table reads the same
    // whichever way it came into a set.
    const FormulaChecker checker;
    std::string problem;
    const std::optional<LookupExpansion> expansion =
        ExpandLookups(MakeLookup(MakeVariable('A'), table), checker, problem);
    if (!expansion) {
        return std::nullopt;
    }
    LookupFormula lookup;
    lookup.formula = FormulaText(*expansion->formula);
    lookup.segments = expansion->segments;
    // Measured on what the program will compute from the text, at every whole raw value.
    FormulaFrontEnd formulas;
    const CompiledFormula* compiled = formulas.Prepare(lookup.formula);
    const int first = static_cast<int>(std::ceil(points.front().x));
    const int last = static_cast<int>(std::floor(points.back().x));
    for (int x = std::max(first, 0); x <= std::min(last, 255); ++x) {
        const FormulaOutcome outcome = formulas.Evaluate(*compiled, {x, 0, 0, 0, 0}, 0);
        lookup.maxError = std::max(lookup.maxError, std::abs(outcome.value - table->At(x)));
    }
    return lookup;
}

}  // namespace vekaton
