#pragma once

#include <optional>
#include <vector>

#include "definitions/FormulaExpr.h"

namespace vekaton {

// The operands the builder enters on each level of a whole formula (level 0 unused), as
// LevelEntries counts them; a formula builds only while every level holds at most 50 and
// nothing lies below level 20.
using LevelLoads = std::vector<int>;

// Adds the operands of `subtree`'s descendants, with the subtree's root at `level`; false
// when a level then holds too many or the subtree reaches too deep.
bool AddLoads(LevelLoads& loads, const Expr& subtree, int level);

// Sums `leaves` in a tree whose root stands at `rootLevel` of a formula that already has
// `outside` operands per level, so that the whole stays within the builder's limits. Every "+"
// puts its operands a level deeper, so a plain sum of many terms runs out of levels and a
// balanced one piles its terms onto one level: the sum is a chain whose links each carry a
// balanced group, as large as the room left on its levels allows. Nothing when no such tree
// is found.
std::optional<ExprPtr> PackSum(const std::vector<ExprPtr>& leaves, int rootLevel,
                               const LevelLoads& outside);

}  // namespace vekaton
