#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>
#include <string>

#include "decode/ExpressionEvaluator.h"
#include "decode/Parser.h"
#include "decode/ParserFunctions.h"

namespace vekaton {
namespace {

double Eval(std::string_view formula, double a = 0, double b = 0) {
    TParser parser;
    parser.A() = a;
    parser.B() = b;
    parser.SetExpression(formula);
    return parser.Value();
}

FaultKind Fault(std::string_view formula, double a = 0) {
    try {
        Eval(formula, a);
    } catch (const ExpressionFault& e) {
        return e.Kind();
    }
    return FaultKind::None;
}

// An x whose x * pi/2 is exactly y, so PH sees an exact half.
double QuarterTurnsFor(double y) {
    const double halfPi = std::numbers::pi / 2.0;
    double x = y / halfPi;
    for (int step = 0; step < 8 && x * halfPi != y; ++step) {
        x = std::nextafter(x, (x * halfPi < y) == (x > 0) ? INFINITY : -INFINITY);
    }
    return x;
}

TEST(ParserFunctionsTest, TablesListEveryFunctionInEntryOrder) {
    std::string names;
    for (const auto& function : StandardUnaryFunctions()) {
        names += std::string(function.name) + " ";
    }
    EXPECT_EQ(names, "TAN SIN COS SINH COSH ARCTAN EXP LN SQRT ABS HEAV SIGN ZERO PH RND ");
    ASSERT_EQ(StandardBinaryFunctions().size(), 2U);
    EXPECT_EQ(StandardBinaryFunctions()[0].name, "MAX");
    EXPECT_EQ(StandardBinaryFunctions()[1].name, "MIN");
}

TEST(ParserFunctionsTest, StepFunctionsAtZero) {
    EXPECT_EQ(Eval("HEAV(0)"), 1);
    EXPECT_EQ(Eval("HEAV(-0.001)"), 0);
    EXPECT_EQ(Eval("HEAV(5)"), 1);
    EXPECT_EQ(Eval("SIGN(0)"), 0);
    EXPECT_EQ(Eval("SIGN(-3)"), -1);
    EXPECT_EQ(Eval("SIGN(0.1)"), 1);
    EXPECT_EQ(Eval("ZERO(0)"), 0);
    EXPECT_EQ(Eval("ZERO(-3)"), 1);
    EXPECT_EQ(Eval("ABS(-2.5)"), 2.5);
}

TEST(ParserFunctionsTest, MaxAndMinOfEqualAndOrderedArguments) {
    EXPECT_EQ(Eval("MIN(2,2)"), 2);
    EXPECT_EQ(Eval("MAX(2,2)"), 2);
    EXPECT_EQ(Eval("MAX(A,B)", 1, 2), 2);
    EXPECT_EQ(Eval("MAX(A,B)", 2, 1), 2);
    EXPECT_EQ(Eval("MIN(A,B)", 1, 2), 1);
    EXPECT_EQ(Eval("MIN(A,B)", 2, 1), 1);
}

TEST(ParserFunctionsTest, TrigonometryAndExponentials) {
    EXPECT_EQ(Eval("SIN(0)"), 0);
    EXPECT_EQ(Eval("COS(0)"), 1);
    EXPECT_NEAR(Eval("TAN(PI/4)"), 1, 1e-15);
    EXPECT_EQ(Eval("ARCTAN(1)"), std::atan(1.0));
    EXPECT_EQ(Eval("EXP(1)"), std::exp(1.0));
    EXPECT_EQ(Eval("LN(A)", 10), std::log(10.0));
    EXPECT_EQ(Eval("SQRT(16)"), 4);
    EXPECT_EQ(Eval("SINH(A)", 1.5), (std::exp(1.5) - std::exp(-1.5)) / 2);
    EXPECT_EQ(Eval("COSH(A)", 1.5), (std::exp(1.5) + std::exp(-1.5)) / 2);
    EXPECT_EQ(Eval("COSH(0)"), 1);
}

TEST(ParserFunctionsTest, SineAndCosineBeyondTheProcessorsReductionAreZero) {
    EXPECT_EQ(Eval("SIN(A)", 1e19), 0);
    EXPECT_EQ(Eval("COS(A)", -1e19), 0);
#ifndef _WIN32  // glibc's sine is exact this far out; MinGW's reduces with a 66-bit pi
    EXPECT_EQ(Eval("SIN(A)", 9.2e18), std::sin(9.2e18));
    EXPECT_EQ(Eval("COS(A)", 9.2e18), std::cos(9.2e18));
#else
    EXPECT_NE(Eval("SIN(A)", 9.2e18), 0);
    EXPECT_LE(std::fabs(Eval("COS(A)", 9.2e18)), 1);
#endif
}

TEST(ParserFunctionsTest, DomainFaults) {
    EXPECT_EQ(Fault("LN(0)"), FaultKind::LogarithmOfZeroOrLess);
    EXPECT_EQ(Fault("LN(A)", -1), FaultKind::LogarithmOfZeroOrLess);
    EXPECT_EQ(Fault("SQRT(A)", -1), FaultKind::SquareRootOfNegative);
    EXPECT_EQ(Eval("SQRT(-0)"), 0);
    EXPECT_EQ(Fault("SINH(1000)"), FaultKind::Overflow);
    EXPECT_EQ(Fault("COSH(-1000)"), FaultKind::Overflow);
}

TEST(ParserFunctionsTest, PhaseRoundsHalvesToEven) {
    const double twoPi = 2.0 * std::numbers::pi;
    EXPECT_EQ(Eval("PH(0)"), 0);
    const double quarter = 1.0;  // y = pi/2 rounds to 2
    EXPECT_EQ(Eval("PH(A)", quarter), (quarter * (std::numbers::pi / 2) - 2) * twoPi);
    // y = 0.5 and 2.5 round down to the even 0 and 2; 1.5 and -2.5 to 2 and -2.
    EXPECT_EQ(Eval("PH(A)", QuarterTurnsFor(0.5)), 0.5 * twoPi);
    EXPECT_EQ(Eval("PH(A)", QuarterTurnsFor(2.5)), 0.5 * twoPi);
    EXPECT_EQ(Eval("PH(A)", QuarterTurnsFor(1.5)), -0.5 * twoPi);
    EXPECT_EQ(Eval("PH(A)", QuarterTurnsFor(-2.5)), -0.5 * twoPi);
}

TEST(ParserFunctionsTest, RandomScalesTheTruncatedArgument) {
    TParser parser;
    parser.SeedRandom(7);
    parser.SetExpression("RND(A)");
    std::set<double> seen;
    for (const double a : {10.9, -10.9, 1000.0}) {
        parser.A() = a;
        for (int i = 0; i < 200; ++i) {
            const double value = parser.Value();
            const double bound = std::trunc(a);
            EXPECT_TRUE(bound > 0 ? (value >= 0 && value < bound) : (value <= 0 && value > bound))
                << value;
            seen.insert(value);
        }
    }
    EXPECT_GT(seen.size(), 590U);  // fresh numbers every time
    parser.A() = 0.99;
    EXPECT_EQ(parser.Value(), 0);

    TParser first;
    TParser second;
    first.SeedRandom(42);
    second.SeedRandom(42);
    first.SetExpression("RND(1000000)");
    second.SetExpression("RND(1000000)");
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(first.Value(), second.Value());
    }
}

}  // namespace
}  // namespace vekaton
