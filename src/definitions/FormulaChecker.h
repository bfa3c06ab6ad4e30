#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "definitions/FormulaExpr.h"

namespace vekaton {

// Holds formulas made from another program's definitions to what the program itself does with
// them: the real builder must take the text, and the formula front end must give for every raw
// input the value that the tree means.
class FormulaChecker {
  public:
    FormulaChecker();
    ~FormulaChecker();
    FormulaChecker(const FormulaChecker&) = delete;
    FormulaChecker& operator=(const FormulaChecker&) = delete;

    // The builder's message when it refuses the text; nothing when it builds.
    std::optional<std::string> BuildProblem(std::string_view text) const;

    // Evaluates the text through the formula front end for the raw inputs of a value of
    // `bytes` bytes (every one up to two bytes, a spread beyond) and compares each with the tree.
    // Describes the first input where they differ (or where only one faults); nothing when all
    // agree.
    std::optional<std::string> Disagreement(const Expr& expr, const std::string& text, int bytes);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Calls `visit` with A to E for the raw inputs of a value of `bytes` bytes: every combination
// for one or two bytes, for more the corner bytes and a fixed spread of others.
template <typename Visit>
void ForEachRawInput(int bytes, Visit visit);

}  // namespace vekaton

#include "definitions/FormulaCheckerInputs.h"
