#include "definitions/SumPacker.h"

#include <algorithm>
#include <array>

#include "decode/ExpressionBuilder.h"

namespace vekaton {
namespace {

constexpr std::array<std::size_t, 7> kGroupLimits = {64, 32, 16, 8, 4, 2, 1};

bool AddEntry(LevelLoads& loads, int level) {
    if (level > kMaxNestingLevel) {
        return false;
    }
    if (static_cast<int>(loads.size()) <= level) {
        loads.resize(static_cast<std::size_t>(level) + 1, 0);
    }
    return ++loads[static_cast<std::size_t>(level)] <= kMaxLevelEntries;
}

ExprPtr Balanced(const std::vector<ExprPtr>& leaves, std::size_t begin, std::size_t end) {
    if (end - begin == 1) {
        return leaves[begin];
    }
    const std::size_t middle = begin + (end - begin) / 2;
    return MakeBinary(ExprKind::Add, Balanced(leaves, begin, middle),
                      Balanced(leaves, middle, end));
}

// Places a subtree as an operand at `level`: its own entry and its descendants'.
bool Place(LevelLoads& loads, const Expr& subtree, int level) {
    return AddEntry(loads, level) && AddLoads(loads, subtree, level);
}

std::optional<ExprPtr> Chain(const std::vector<ExprPtr>& leaves, int rootLevel,
                             const LevelLoads& outside, std::size_t groupLimit) {
    LevelLoads loads = outside;
    std::vector<ExprPtr> groups;
    std::size_t next = 0;
    int level = rootLevel;  // of the chain link whose operands are placed next
    for (;;) {
        const std::size_t left = leaves.size() - next;
        // Ends the chain here with the rest in two groups, if they fit.
        {
            LevelLoads trial = loads;
            const std::size_t half = next + left / 2;
            const ExprPtr first = Balanced(leaves, next, half);
            const ExprPtr second = Balanced(leaves, half, leaves.size());
            if (Place(trial, *first, level + 1) && Place(trial, *second, level + 1)) {
                ExprPtr sum = MakeBinary(ExprKind::Add, first, second);
                for (auto group = groups.rbegin(); group != groups.rend(); ++group) {
                    sum = MakeBinary(ExprKind::Add, *group, sum);
                }
                return sum;
            }
        }
        // Otherwise one group as large as fits beside the next link of the chain.
        bool placed = false;
        for (std::size_t size = std::min(groupLimit, left - 2); size >= 1 && !placed; --size) {
            LevelLoads trial = loads;
            const ExprPtr group = Balanced(leaves, next, next + size);
            if (Place(trial, *group, level + 1) && AddEntry(trial, level + 1)) {
                loads = std::move(trial);
                groups.push_back(group);
                next += size;
                ++level;
                placed = true;
            }
        }
        if (!placed || leaves.size() - next < 2) {
            return std::nullopt;
        }
    }
}

}  // namespace

bool AddLoads(LevelLoads& loads, const Expr& subtree, int level) {
    const std::vector<int> entries = LevelEntries(subtree);
    for (std::size_t below = 1; below < entries.size(); ++below) {
        const int at = level + static_cast<int>(below);
        for (int n = 0; n < entries[below]; ++n) {
            if (!AddEntry(loads, at)) {
                return false;
            }
        }
    }
    return true;
}

std::optional<ExprPtr> PackSum(const std::vector<ExprPtr>& leaves, int rootLevel,
                               const LevelLoads& outside) {
    if (leaves.empty()) {
        return MakeNumber(0.0);
    }
    if (leaves.size() == 1) {
        LevelLoads trial = outside;
        return AddLoads(trial, *leaves[0], rootLevel) ? std::optional<ExprPtr>(leaves[0])
                                                      : std::nullopt;
    }
    for (const std::size_t limit : kGroupLimits) {
        if (auto sum = Chain(leaves, rootLevel, outside, limit)) {
            return sum;
        }
    }
    return std::nullopt;
}

}  // namespace vekaton
