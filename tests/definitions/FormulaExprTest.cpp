// Formula trees written in the language must read back as the same tree: what the front end
// evaluates from the text equals what the tree means, for every kind of nesting.
#include <gtest/gtest.h>

#include <random>

#include "decode/ExpressionBuilder.h"
#include "definitions/FormulaChecker.h"
#include "definitions/FormulaExpr.h"

namespace vekaton {
namespace {

ExprPtr N(double v) {
    return MakeNumber(v);
}
ExprPtr V(char c) {
    return MakeVariable(c);
}
ExprPtr Op(ExprKind k, ExprPtr a, ExprPtr b) {
    return MakeBinary(k, std::move(a), std::move(b));
}

TEST(FormulaExprTest, WritesTheUsualShapesWithoutNeedlessBrackets) {
    EXPECT_EQ(FormulaText(*Op(ExprKind::Subtract, Op(ExprKind::Multiply, V('A'), N(1.35)), N(40))),
              "A*1.35-40");
    EXPECT_EQ(FormulaText(*RawValueExpr(2, false, false)), "A*256+B");
    EXPECT_EQ(FormulaText(*RawValueExpr(2, true, false)), "B*256+A");
    EXPECT_EQ(FormulaText(*RawValueExpr(4, false, false)), "A*16777216+B*65536+C*256+D");
    EXPECT_EQ(FormulaText(*RawValueExpr(1, false, true)), "A-256*(ADIV128)");
    EXPECT_EQ(FormulaText(*RawValueExpr(2, false, true)), "(A*256+B)-65536*(ADIV128)");
    EXPECT_EQ(FormulaText(*RawValueExpr(2, true, true)), "(B*256+A)-65536*(BDIV128)");
    EXPECT_EQ(FormulaText(*Op(ExprKind::Mod, Op(ExprKind::IntDiv, V('A'), N(4)), N(8))),
              "(ADIV4)MOD8");
    EXPECT_EQ(FormulaText(*Op(ExprKind::Add, V('A'), N(-40))), "A+(-40)");
    EXPECT_EQ(FormulaText(*Op(ExprKind::Multiply, N(-2), V('A'))), "-2*A");
    EXPECT_EQ(FormulaText(*Op(ExprKind::Divide, N(6553.6), V('A'))), "6553.6/A");
    EXPECT_EQ(FormulaText(*N(0.000001)), "0.000001");
}

TEST(FormulaExprTest, CountsOperandsPerLevelAsTheBuilderDoes) {
    // A*256+B: "+" puts A*256 and B on level 1, "*" puts A and 256 on level 2.
    EXPECT_EQ(LevelEntries(*RawValueExpr(2, false, false)), (std::vector<int>{0, 2, 2}));
    EXPECT_EQ(LevelEntries(*V('A')), (std::vector<int>{0}));
}

TEST(FormulaExprTest, EvaluatesFaultsWhereTheEvaluatorDoes) {
    EXPECT_FALSE(EvaluateExpr(*Op(ExprKind::Divide, N(1), V('A')), {0, 0, 0, 0, 0}));
    EXPECT_FALSE(EvaluateExpr(*Op(ExprKind::Mod, V('A'), N(0)), {3, 0, 0, 0, 0}));
    EXPECT_FALSE(EvaluateExpr(*Op(ExprKind::IntDiv, N(3e10), N(2)), {}));
    EXPECT_EQ(*EvaluateExpr(*Op(ExprKind::Mod, N(-7), N(3)), {}), -1.0);
    EXPECT_EQ(*EvaluateExpr(*Op(ExprKind::Max, N(2), N(2)), {}), 2.0);
}

TEST(FormulaExprTest, FindsTheAffineFormOfAValue) {
    const ExprPtr raw = RawValueExpr(2, false, false);
    const auto form = AffineIn(
        *Op(ExprKind::Add, Op(ExprKind::Divide, raw, N(4)), Op(ExprKind::Multiply, N(2), N(5))),
        raw.get());
    ASSERT_TRUE(form);
    EXPECT_DOUBLE_EQ(form->first, 0.25);
    EXPECT_DOUBLE_EQ(form->second, 10.0);
    EXPECT_FALSE(AffineIn(*Op(ExprKind::Multiply, raw, raw), raw.get()));
    EXPECT_FALSE(AffineIn(*Op(ExprKind::Divide, N(1), raw), raw.get()));
    EXPECT_FALSE(AffineIn(*N(3), raw.get()));  // no slope: not a scale of the value
}

// Random trees of every operation, nested every way: the text must build and give the
// tree's own value (or fault where it faults) for every byte.
ExprPtr RandomTree(std::mt19937& random, int depth) {
    std::uniform_int_distribution<int> pick(0, 11);
    const int choice = depth == 0 ? pick(random) % 3 : pick(random);
    switch (choice) {
        case 0:
            return V('A');
        case 1: {
            std::uniform_int_distribution<int> value(-300, 300);
            return N(value(random) / 4.0);
        }
        case 2:
            return N(static_cast<double>(random() % 9 + 1));
        case 3:
            return MakeNegate(RandomTree(random, depth - 1));
        default: {
            constexpr ExprKind kinds[] = {ExprKind::Add,    ExprKind::Subtract, ExprKind::Multiply,
                                          ExprKind::Divide, ExprKind::IntDiv,   ExprKind::Mod,
                                          ExprKind::Min,    ExprKind::Max};
            return Op(kinds[static_cast<std::size_t>(choice - 4)], RandomTree(random, depth - 1),
                      RandomTree(random, depth - 1));
        }
    }
}

TEST(FormulaExprTest, RandomTreesReadBackAsTheSameTree) {
    std::mt19937 random(20240611);
    FormulaChecker checker;
    int checked = 0;
    for (int n = 0; n < 400; ++n) {
        const ExprPtr tree = RandomTree(random, 4);
        const std::string text = FormulaText(*tree);
        if (text.size() > kMaxExpressionLength) {
            continue;
        }
        ASSERT_EQ(checker.BuildProblem(text), std::nullopt) << text;
        const auto problem = checker.Disagreement(*tree, text, 1);
        ASSERT_EQ(problem, std::nullopt) << text << ": " << problem.value_or("");
        ++checked;
    }
    EXPECT_GT(checked, 350);
}

}  // namespace
}  // namespace vekaton
