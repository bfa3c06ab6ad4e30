#include "definitions/LookupExpansion.h"

#include <algorithm>
#include <map>
#include <memory>

#include "decode/ExpressionBuilder.h"
#include "definitions/LookupFit.h"
#include "definitions/SumPacker.h"

namespace vekaton {
namespace {

// The first Lookup node (depth first) whose input holds no other, and its level.
const Expr* InnermostLookup(const Expr& e, int level, int& found) {
    if (e.kind == ExprKind::Lookup && !HasLookup(*e.left)) {
        found = level;
        return &e;
    }
    for (const ExprPtr& operand : {e.left, e.right}) {
        if (operand) {
            if (const Expr* lookup = InnermostLookup(*operand, level + 1, found)) {
                return lookup;
            }
        }
    }
    return nullptr;
}

// The tree with every occurrence of `target` replaced.
ExprPtr Replace(const ExprPtr& e, const Expr* target, const ExprPtr& with) {
    if (e.get() == target) {
        return with;
    }
    if (!e->left && !e->right) {
        return e;
    }
    ExprPtr left = e->left ? Replace(e->left, target, with) : nullptr;
    ExprPtr right = e->right ? Replace(e->right, target, with) : nullptr;
    if (left == e->left && right == e->right) {
        return e;
    }
    auto copy = std::make_shared<Expr>(*e);
    copy->left = std::move(left);
    copy->right = std::move(right);
    return copy;
}

// The table's chosen segments as leaves of a sum: the constant, then s * MIN(MAX(u,xi),xj).
std::vector<ExprPtr> SegmentLeaves(const ExprPtr& input, const LookupPoints& points,
                                   const std::vector<std::size_t>& breaks) {
    double constant = points.y[breaks.front()];
    std::vector<ExprPtr> terms;
    for (std::size_t k = 0; k + 1 < breaks.size(); ++k) {
        const std::size_t i = breaks[k];
        const std::size_t j = breaks[k + 1];
        const double slope = (points.y[j] - points.y[i]) / (points.x[j] - points.x[i]);
        if (slope == 0.0) {
            continue;  // a flat segment adds nothing
        }
        constant -= slope * points.x[i];
        const ExprPtr clamped =
            MakeBinary(ExprKind::Min, MakeBinary(ExprKind::Max, input, MakeNumber(points.x[i])),
                       MakeNumber(points.x[j]));
        terms.push_back(MakeBinary(ExprKind::Multiply, MakeNumber(slope), clamped));
    }
    if (terms.empty()) {
        return {MakeNumber(points.y[breaks.front()])};
    }
    std::vector<ExprPtr> leaves;
    if (constant != 0.0) {
        leaves.push_back(MakeNumber(constant));
    }
    leaves.insert(leaves.end(), terms.begin(), terms.end());
    return leaves;
}

class Expander {
  public:
    Expander(const ExprPtr& expr, const FormulaChecker& checker) : expr_(expr), checker_(checker) {
        CollectTables(*expr);
    }

    int MaxSegments() const {
        int most = 0;
        for (const auto& [points, fitter] : fitters_) {
            most = std::max(most, fitter->TableSegments());
        }
        return most;
    }

    double Error(int segments) {
        double worst = 0.0;
        for (auto& [points, fitter] : fitters_) {
            worst = std::max(worst, fitter->Error(segments));
        }
        return worst;
    }

    // The whole formula with every table in at most `segments` segments, if it builds.
    std::optional<ExprPtr> Build(int segments) {
        ExprPtr tree = expr_;
        int level = 0;
        while (const Expr* lookup = InnermostLookup(*tree, 0, level)) {
            LookupFitter& fitter = *fitters_.at(lookup->table.get());
            const auto leaves =
                SegmentLeaves(lookup->left, *lookup->table, fitter.Breakpoints(segments));
            const ExprPtr placeholder = MakeNumber(0.0);
            const LevelLoads outside = LevelEntries(*Replace(tree, lookup, placeholder));
            const auto sum = PackSum(leaves, level, outside);
            if (!sum) {
                return std::nullopt;
            }
            tree = Replace(tree, lookup, *sum);
        }
        const std::string text = FormulaText(*tree);
        if (text.size() > kMaxExpressionLength || checker_.BuildProblem(text)) {
            return std::nullopt;
        }
        return tree;
    }

    int SegmentsUsed(int segments) {
        if (fitters_.empty()) {
            return 0;
        }
        return static_cast<int>(first_->Breakpoints(segments).size()) - 1;
    }
    int TableSegments() const { return first_ ? first_->TableSegments() : 0; }

  private:
    void CollectTables(const Expr& e) {
        if (e.kind == ExprKind::Lookup && !fitters_.count(e.table.get())) {
            auto fitter = std::make_unique<LookupFitter>(*e.table);
            if (!first_) {
                first_ = fitter.get();
            }
            fitters_.emplace(e.table.get(), std::move(fitter));
        }
        for (const ExprPtr& operand : {e.left, e.right}) {
            if (operand) {
                CollectTables(*operand);
            }
        }
    }

    ExprPtr expr_;
    const FormulaChecker& checker_;
    std::map<const LookupPoints*, std::unique_ptr<LookupFitter>> fitters_;
    LookupFitter* first_ = nullptr;
};

}  // namespace

std::optional<LookupExpansion> ExpandLookups(const ExprPtr& expr, const FormulaChecker& checker,
                                             std::string& problem) {
    Expander expander(expr, checker);
    const int most = std::max(1, expander.MaxSegments());
    if (!expander.Build(1)) {
        problem = "even a single straight segment for its table makes the formula too complex";
        return std::nullopt;
    }
    // The largest count that builds; more segments only add to the formula.
    int low = 1;
    int high = most;
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        if (expander.Build(middle)) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    // Then the fewest segments that reach the same error.
    const double error = expander.Error(low);
    int chosen = low;
    for (int k = 1; k < low; ++k) {
        if (expander.Error(k) <= error) {
            chosen = k;
            break;
        }
    }
    LookupExpansion expansion;
    auto formula = expander.Build(chosen);
    if (!formula) {
        formula = expander.Build(low);
        chosen = low;
    }
    expansion.formula = *formula;
    expansion.segments = expander.SegmentsUsed(chosen);
    expansion.tableSegments = expander.TableSegments();
    expansion.tableError = expander.Error(chosen);
    return expansion;
}

}  // namespace vekaton
