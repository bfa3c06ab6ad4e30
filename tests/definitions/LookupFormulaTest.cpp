// Lookup tables written as clamped straight segments: exact at the table's points where every
// segment fits, otherwise the fewest segments of the smallest error, and that error reported
// as the formula really makes it.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "DecodeSupport.h"
#include "decode/ExpressionBuilder.h"
#include "definitions/FormulaChecker.h"
#include "definitions/LookupFit.h"
#include "definitions/LookupFormula.h"

namespace vekaton {
namespace {

std::shared_ptr<LookupPoints> Table(std::vector<double> x, std::vector<double> y) {
    auto points = std::make_shared<LookupPoints>();
    points->x = std::move(x);
    points->y = std::move(y);
    return points;
}

// The largest distance between the formula, decoded by the real decoder for every byte, and
// the table.
double WorstDecodedError(const std::string& formula, const LookupPoints& table) {
    double worst = 0.0;
    for (int byte = 0; byte < 256; ++byte) {
        const double decoded = testing::DecodeOneByte(formula, static_cast<std::uint8_t>(byte));
        worst = std::max(worst, std::abs(decoded - table.At(byte)));
    }
    return worst;
}

TEST(LookupFitTest, CollinearPointsNeedOneSegment) {
    const auto table = Table({0, 10, 20, 30}, {5, 10, 15, 20});
    LookupFitter fitter(*table);
    EXPECT_EQ(fitter.Error(1), 0.0);
    EXPECT_EQ(fitter.Breakpoints(3), (std::vector<std::size_t>{0, 3}));
}

TEST(LookupFitTest, ErrorNeverGrowsWithMoreSegments) {
    std::vector<double> x;
    std::vector<double> y;
    for (int i = 0; i < 60; ++i) {
        x.push_back(i * 4);
        y.push_back(std::sin(i / 5.0) * 50 + ((i * 37) % 11));
    }
    const auto table = Table(x, y);
    LookupFitter fitter(*table);
    double previous = fitter.Error(1);
    for (int k = 2; k <= fitter.TableSegments(); ++k) {
        EXPECT_LE(fitter.Error(k), previous);
        previous = fitter.Error(k);
    }
    EXPECT_EQ(previous, 0.0);
}

TEST(LookupFormulaTest, AThermistorTableIsExactAtEveryPoint) {
    // 39 points over the byte's range, as the common GM coolant tables have.
    std::vector<double> x;
    std::vector<double> y;
    for (int i = 0; i < 39; ++i) {
        const double in = i * 255.0 / 38.0;
        x.push_back(std::round(in));
        y.push_back(std::round((150.0 - 190.0 / (1.0 + std::exp((in - 128.0) / 40.0))) * 10) / 10);
    }
    const auto table = Table(x, y);
    FormulaChecker checker;
    std::string problem;
    const auto expansion = ExpandLookups(MakeLookup(MakeVariable('A'), table), checker, problem);
    ASSERT_TRUE(expansion) << problem;
    EXPECT_EQ(expansion->tableSegments, 38);
    EXPECT_EQ(expansion->tableError, 0.0);
    const std::string text = FormulaText(*expansion->formula);
    EXPECT_LT(WorstDecodedError(text, *table), 1e-9) << text;
}

TEST(LookupFormulaTest, ATableBeyondTheLimitsKeepsTheSmallestErrorWithTheFewestSegments) {
    std::vector<double> x;
    std::vector<double> y;
    for (int i = 0; i < 256; ++i) {
        x.push_back(i);
        y.push_back(std::round(std::sin(i / 9.0) * 400.0 + i) / 8.0);
    }
    const auto table = Table(x, y);
    FormulaChecker checker;
    std::string problem;
    const auto start = std::chrono::steady_clock::now();
    const auto expansion = ExpandLookups(MakeLookup(MakeVariable('A'), table), checker, problem);
    const auto took = std::chrono::steady_clock::now() - start;
    ASSERT_TRUE(expansion) << problem;
    std::cout << "segments " << expansion->segments << " error " << expansion->tableError
              << " took " << std::chrono::duration<double>(took).count() << " s\n";
    EXPECT_LT(expansion->segments, expansion->tableSegments);
    EXPECT_GT(expansion->tableError, 0.0);
    const std::string text = FormulaText(*expansion->formula);
    EXPECT_LE(text.size(), kMaxExpressionLength);
    // The reported error is the true one: the table's inputs are the bytes themselves.
    EXPECT_NEAR(WorstDecodedError(text, *table), expansion->tableError, 1e-9);
    // And no fewer segments reach it.
    LookupFitter fitter(*table);
    EXPECT_GT(fitter.Error(expansion->segments - 1), expansion->tableError);
}

}  // namespace
}  // namespace vekaton
