// Lookup tables written as clamped straight segments: exact at the table's points where every
// segment fits, otherwise the fewest segments of the smallest error, and that error reported
// as the formula really makes it.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

#include "DecodeSupport.h"
#include "decode/ExpressionBuilder.h"
#include "definitions/FormulaChecker.h"
#include "definitions/LookupFit.h"
#include "definitions/LookupExpansion.h"

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

// The error of straight segments through the table's points at `breaks`, measured at every
// point of the table.
double ErrorOf(const LookupPoints& table, const std::vector<std::size_t>& breaks) {
    LookupPoints chosen;
    for (const std::size_t b : breaks) {
        chosen.x.push_back(table.x[b]);
        chosen.y.push_back(table.y[b]);
    }
    double worst = 0.0;
    for (std::size_t i = 0; i < table.Size(); ++i) {
        worst = std::max(worst, std::abs(chosen.At(table.x[i]) - table.y[i]));
    }
    return worst;
}

TEST(LookupFitTest, NoChoiceOfBreakpointsDoesBetter) {
    // Every subset of the inner points of a bumpy 11-point table, against the fitter's best.
    std::vector<double> x;
    std::vector<double> y;
    for (int i = 0; i < 11; ++i) {
        x.push_back(i * 3 + (i % 3));
        y.push_back(((i * 7) % 5) * 2.5 + i);
    }
    const auto table = Table(x, y);
    LookupFitter fitter(*table);
    for (int segments = 1; segments <= 10; ++segments) {
        double best = std::numeric_limits<double>::infinity();
        for (unsigned mask = 0; mask < (1U << 9); ++mask) {
            if (std::popcount(mask) + 1 > segments) {
                continue;
            }
            std::vector<std::size_t> breaks{0};
            for (std::size_t i = 1; i <= 9; ++i) {
                if ((mask >> (i - 1)) & 1U) {
                    breaks.push_back(i);
                }
            }
            breaks.push_back(10);
            best = std::min(best, ErrorOf(*table, breaks));
        }
        EXPECT_NEAR(fitter.Error(segments), best, 1e-12) << segments;
        const auto breaks = fitter.Breakpoints(segments);
        EXPECT_LE(breaks.size(), static_cast<std::size_t>(segments) + 1);
        EXPECT_NEAR(ErrorOf(*table, breaks), fitter.Error(segments), 1e-12) << segments;
    }
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
    const auto expansion = ExpandLookups(MakeLookup(MakeVariable('A'), table), checker, problem);
    ASSERT_TRUE(expansion) << problem;
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
