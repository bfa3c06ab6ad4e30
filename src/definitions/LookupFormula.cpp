#include "definitions/LookupFormula.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/FloatText.h"
#include "decode/FormulaFrontEnd.h"

namespace vekaton {
namespace {

// The table read with straight lines between its points, held flat beyond its ends.
double Interpolate(const std::vector<LookupPoint>& points, double x) {
    if (x <= points.front().x) {
        return points.front().y;
    }
    for (std::size_t i = 1; i < points.size(); ++i) {
        if (x <= points[i].x) {
            const LookupPoint& a = points[i - 1];
            const LookupPoint& b = points[i];
            return a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x);
        }
    }
    return points.back().y;
}

// The largest error at the table's points of a line from point i to point j.
double LineError(const std::vector<LookupPoint>& points, std::size_t i, std::size_t j) {
    double worst = 0.0;
    for (std::size_t k = i + 1; k < j; ++k) {
        const double line = points[i].y + (points[j].y - points[i].y) *
                                              (points[k].x - points[i].x) /
                                              (points[j].x - points[i].x);
        worst = std::max(worst, std::abs(line - points[k].y));
    }
    return worst;
}

using ErrorMatrix = std::vector<std::vector<double>>;

ErrorMatrix LineErrors(const std::vector<LookupPoint>& points) {
    ErrorMatrix errors(points.size(), std::vector<double>(points.size(), 0.0));
    for (std::size_t i = 0; i < points.size(); ++i) {
        for (std::size_t j = i + 1; j < points.size(); ++j) {
            errors[i][j] = LineError(points, i, j);
        }
    }
    return errors;
}

// The points to keep, first and last included, for `segments` segments with the smallest
// largest error (the error of two broken lines is largest at one of their points).
std::vector<LookupPoint> Keep(const std::vector<LookupPoint>& points, const ErrorMatrix& errors,
                              std::size_t segments) {
    const std::size_t n = points.size();
    constexpr double kNone = std::numeric_limits<double>::infinity();
    // best[s][j]: the smallest largest error reaching point j with s segments.
    std::vector<std::vector<double>> best(segments + 1, std::vector<double>(n, kNone));
    std::vector<std::vector<std::size_t>> from(segments + 1, std::vector<std::size_t>(n, 0));
    best[0][0] = 0.0;
    for (std::size_t s = 1; s <= segments; ++s) {
        for (std::size_t j = 1; j < n; ++j) {
            for (std::size_t i = 0; i < j; ++i) {
                if (best[s - 1][i] == kNone) {
                    continue;
                }
                const double error = std::max(best[s - 1][i], errors[i][j]);
                if (error < best[s][j]) {
                    best[s][j] = error;
                    from[s][j] = i;
                }
            }
        }
    }
    std::vector<LookupPoint> kept;
    std::size_t j = n - 1;
    for (std::size_t s = segments; s > 0; --s) {
        kept.push_back(points[j]);
        j = from[s][j];
    }
    kept.push_back(points[0]);
    std::reverse(kept.begin(), kept.end());
    return kept;
}

std::string Number(double value) {
    // Enough digits for any sensor, and no binary noise in the text.
    return TableNumberText(value, NumberPrecision::Significant);
}

// y0 + the rise of each segment as far as A has gone along it, the terms grouped in brackets so
// that the sum stays within the builder's levels.
std::string Formula(const std::vector<LookupPoint>& kept) {
    std::vector<std::string> terms;
    for (std::size_t i = 1; i < kept.size(); ++i) {
        const LookupPoint& a = kept[i - 1];
        const LookupPoint& b = kept[i];
        const double slope = (b.y - a.y) / (b.x - a.x);
        if (slope == 0.0) {
            continue;
        }
        const std::string clamp =
            "MIN(MAX(A," + Number(a.x) + ")," + Number(b.x) + ")-" + Number(a.x);
        terms.push_back((slope < 0 ? "-" : "+") + Number(std::abs(slope)) + "*(" + clamp + ")");
    }
    std::string text = Number(kept.front().y);
    const auto group = static_cast<std::size_t>(
        std::max(1.0, std::ceil(std::sqrt(static_cast<double>(terms.size())))));
    for (std::size_t start = 0; start < terms.size(); start += group) {
        std::string inner;
        for (std::size_t t = start; t < std::min(terms.size(), start + group); ++t) {
            inner += terms[t];
        }
        if (inner.front() == '+') {
            inner.erase(0, 1);
        }
        text += "+(" + inner + ")";
    }
    return text;
}

}  // namespace

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
    FormulaFrontEnd formulas;
    const ErrorMatrix errors = LineErrors(points);
    const auto build = [&](std::size_t segments) {
        LookupFormula lookup;
        lookup.formula = Formula(Keep(points, errors, segments));
        lookup.segments = static_cast<int>(segments);
        return lookup;
    };
    const auto builds = [&formulas](const LookupFormula& lookup) {
        return formulas.BuildError(*formulas.Prepare(lookup.formula)).className.empty();
    };
    // The most segments that the builder takes: more segments only ever make a deeper and
    // wider formula, so the answer is found by halving.
    std::size_t fits = 0;
    std::size_t tooMany = points.size();
    while (tooMany - fits > 1) {
        const std::size_t middle = (fits + tooMany) / 2;
        (builds(build(middle)) ? fits : tooMany) = middle;
    }
    if (fits == 0) {
        return std::nullopt;
    }
    LookupFormula lookup = build(fits);
    const CompiledFormula* compiled = formulas.Prepare(lookup.formula);
    const int first = static_cast<int>(std::ceil(points.front().x));
    const int last = static_cast<int>(std::floor(points.back().x));
    for (int x = std::max(first, 0); x <= std::min(last, 255); ++x) {
        const FormulaOutcome outcome = formulas.Evaluate(*compiled, {x, 0, 0, 0, 0}, 0);
        lookup.maxError =
            std::max(lookup.maxError, std::abs(outcome.value - Interpolate(points, x)));
    }
    return lookup;
}

}  // namespace vekaton
