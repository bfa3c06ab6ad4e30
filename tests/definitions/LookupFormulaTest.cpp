#include "definitions/LookupFormula.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "decode/FormulaFrontEnd.h"

namespace vekaton {
namespace {

// The common GM thermistor table: raw A/D counts to degrees C.
const std::vector<LookupPoint> kThermistor = {
    {255, -40}, {251, -30}, {250, -25}, {247, -20}, {245, -15}, {241, -10}, {237, -5}, {231, 0},
    {225, 5},   {218, 10},  {209, 15},  {199, 20},  {189, 25},  {177, 30},  {165, 35}, {152, 40},
    {139, 45},  {126, 50},  {114, 55},  {102, 60},  {92, 65},   {81, 70},   {72, 75},  {64, 80},
    {56, 85},   {50, 90},   {44, 95},   {39, 100},  {34, 105},  {30, 110},  {26, 115}, {23, 120},
    {21, 125},  {18, 130},  {16, 135},  {14, 140},  {13, 145},  {12, 150},  {0, 200}};

double Evaluate(const std::string& formula, int a) {
    FormulaFrontEnd formulas;
    const FormulaOutcome outcome = formulas.EvaluateFormula(formula, {a, 0, 0, 0, 0}, 0);
    EXPECT_EQ(outcome.status, FormulaStatus::Ok) << formula;
    return outcome.value;
}

TEST(LookupFormula, IsExactAtThePointsOfASmallTableAndStraightBetween) {
    const auto lookup = BuildLookupFormula({{200, 0}, {0, 100}, {100, 20}});
    ASSERT_TRUE(lookup);
    EXPECT_EQ(lookup->segments, 2);
    EXPECT_NEAR(lookup->maxError, 0.0, 1e-9);
    EXPECT_NEAR(Evaluate(lookup->formula, 0), 100.0, 1e-9);
    EXPECT_NEAR(Evaluate(lookup->formula, 50), 60.0, 1e-9);
    EXPECT_NEAR(Evaluate(lookup->formula, 100), 20.0, 1e-9);
    EXPECT_NEAR(Evaluate(lookup->formula, 150), 10.0, 1e-9);
    EXPECT_NEAR(Evaluate(lookup->formula, 255), 0.0, 1e-9) << "held beyond the last point";
}

TEST(LookupFormula, TheThermistorTableFitsWhole) {
    const auto lookup = BuildLookupFormula(kThermistor);
    ASSERT_TRUE(lookup);
    EXPECT_LT(lookup->maxError, 1e-6);
    for (const LookupPoint& point : kThermistor) {
        EXPECT_NEAR(Evaluate(lookup->formula, static_cast<int>(point.x)), point.y, 1e-6) << point.x;
    }
    EXPECT_NEAR(Evaluate(lookup->formula, 253), -35.0, 1e-6);  // half way from 251 to 255
}

TEST(LookupFormula, ATableTooLargeForTheLanguageKeepsTheLargestErrorSmall) {
    std::vector<LookupPoint> curve;
    for (int x = 0; x <= 240; x += 2) {
        curve.push_back({static_cast<double>(x), 1000.0 / (x + 10)});
    }
    const auto lookup = BuildLookupFormula(curve);
    ASSERT_TRUE(lookup);
    EXPECT_LT(lookup->segments, 120);
    EXPECT_GT(lookup->segments, 20);
    EXPECT_GT(lookup->maxError, 0.0);
    EXPECT_LT(lookup->maxError, 0.5);
    // The error it reports is the error there is, over every raw value of the table.
    double worst = 0.0;
    for (int x = 0; x <= 240; ++x) {
        const double low = 1000.0 / ((x / 2) * 2 + 10);
        const double high = 1000.0 / (((x + 1) / 2) * 2 + 10);
        const double table = x % 2 == 0 ? low : (low + high) / 2;
        worst = std::max(worst, std::abs(Evaluate(lookup->formula, x) - table));
    }
    EXPECT_NEAR(worst, lookup->maxError, 1e-6);
}

TEST(LookupFormula, RefusesWhatIsNoTable) {
    EXPECT_FALSE(BuildLookupFormula({}));
    EXPECT_FALSE(BuildLookupFormula({{3, 1}, {3, 2}}));
    EXPECT_FALSE(BuildLookupFormula({{0, 1}, {1, std::nan("")}}));
    const auto flat = BuildLookupFormula({{0, 5}, {255, 5}});
    ASSERT_TRUE(flat);
    EXPECT_EQ(Evaluate(flat->formula, 77), 5.0);
}

}  // namespace
}  // namespace vekaton
