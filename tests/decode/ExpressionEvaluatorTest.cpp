#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "decode/ExpressionEvaluator.h"
#include "decode/Parser.h"

namespace vekaton {
namespace {

double Eval(std::string_view formula, double a = 0, double b = 0) {
    TParser parser;
    parser.A() = a;
    parser.B() = b;
    parser.SetExpression(formula);
    return parser.Value();
}

// The fault an evaluation raises, or FaultKind::None.
FaultKind Fault(std::string_view formula, double a = 0, double b = 0) {
    try {
        Eval(formula, a, b);
    } catch (const ExpressionFault& e) {
        return e.Kind();
    }
    return FaultKind::None;
}

// The stated method: multiply |n| times, then take the reciprocal for a negative n.
double Repeated(double base, int exponent) {
    double result = 1.0;
    for (int i = 0; i < std::abs(exponent); ++i) {
        result *= base;
    }
    return exponent < 0 ? 1.0 / result : result;
}

TEST(ExpressionEvaluatorTest, Operators) {
    EXPECT_EQ(Eval("A+B", 1.5, 2), 3.5);
    EXPECT_EQ(Eval("A-B", 1.5, 2), -0.5);
    EXPECT_EQ(Eval("A*B", 1.5, 2), 3);
    EXPECT_EQ(Eval("A/B", 1, 4), 0.25);
    EXPECT_EQ(Eval("-A", 1.5), -1.5);
    EXPECT_EQ(Eval("A^B", 2, 0.5), std::sqrt(2.0));
}

TEST(ExpressionEvaluatorTest, ModAndDivWorkOnTruncatedIntegers) {
    EXPECT_EQ(Eval("7MOD3"), 1);
    EXPECT_EQ(Eval("-7MOD3"), -1);  // the sign of the dividend
    EXPECT_EQ(Eval("7MOD-3"), 1);
    EXPECT_EQ(Eval("7.9DIV2"), 3);
    EXPECT_EQ(Eval("-7.9DIV2"), -3);  // toward zero
    EXPECT_EQ(Eval("7.9MOD2.9"), 1);  // 7 MOD 2
    EXPECT_EQ(Eval("2147483647.9DIV1"), 2147483647);
    EXPECT_EQ(Eval("-2147483648.9DIV1"), -2147483648.0);
    EXPECT_EQ(Eval("-2147483648DIV1"), -2147483648.0);
}

TEST(ExpressionEvaluatorTest, PowersMatchRepeatedMultiplicationBitForBit) {
    EXPECT_EQ(Eval("2^-1"), 0.5);
    EXPECT_EQ(Eval("A^0", 0), 1);
    EXPECT_EQ(Eval("A^1", 1.7), 1.7);
    for (const double base : {1.1, -0.7, 1.3, 1.0001}) {
        EXPECT_EQ(Eval("A^2", base), base * base);
        EXPECT_EQ(Eval("A^3", base), base * (base * base));
        EXPECT_EQ(Eval("A^4", base), (base * base) * (base * base));
        for (const int exponent : {5, 7, 13, -3, -9, 999, 1000, -1000}) {
            EXPECT_EQ(Eval("A^" + std::to_string(exponent), base), Repeated(base, exponent))
                << base << "^" << exponent;
        }
    }
}

TEST(ExpressionEvaluatorTest, HugeIntegerExponentsDoNotStall) {
    EXPECT_EQ(Eval("A^2000000000", 1), 1);
    EXPECT_EQ(Eval("A^2000000001", -1), -1);
    EXPECT_EQ(Eval("A^-2147483648", 1), 1);
    EXPECT_EQ(Eval("A^1023", 2), std::ldexp(1.0, 1023));
    EXPECT_EQ(Eval("A^-1022", 2), std::ldexp(1.0, -1022));
    EXPECT_EQ(Eval("A^2000000000", 0.5), 0);
    EXPECT_NEAR(Eval("A^1001", 1.001), std::pow(1.001, 1001), 1e-12 * std::pow(1.001, 1001));
    EXPECT_NEAR(Eval("A^20000", 1.00001), std::pow(1.00001, 20000), 1e-10);
    EXPECT_EQ(Fault("A^2000000000", 2), FaultKind::Overflow);
    EXPECT_EQ(Fault("A^1025", -2), FaultKind::Overflow);
    EXPECT_EQ(Eval("A^1023", -2), -std::ldexp(1.0, 1023));
}

TEST(ExpressionEvaluatorTest, DivisionByZeroFaults) {
    EXPECT_EQ(Fault("1/A", 0), FaultKind::DivisionByZero);
    EXPECT_EQ(Fault("A/B", 0, 0), FaultKind::DivisionByZero);
    EXPECT_EQ(Fault("ADIVB", 5, 0), FaultKind::DivisionByZero);
    EXPECT_EQ(Fault("AMODB", 5, 0.5), FaultKind::DivisionByZero);  // Trunc(0.5) is 0
    EXPECT_EQ(Fault("0^-1"), FaultKind::DivisionByZero);
    EXPECT_EQ(Fault("A^-3", 0), FaultKind::DivisionByZero);
}

TEST(ExpressionEvaluatorTest, IntegerFaults) {
    EXPECT_EQ(Fault("-2147483648DIV-1"), FaultKind::IntegerOverflow);
    EXPECT_EQ(Fault("-2147483648MOD-1"), FaultKind::IntegerOverflow);
    EXPECT_EQ(Fault("2147483648DIV1"), FaultKind::IntegerRange);
    EXPECT_EQ(Fault("1MOD-2147483649"), FaultKind::IntegerRange);
    EXPECT_EQ(Fault("A^5000000000", 1), FaultKind::IntegerRange);
    EXPECT_EQ(Fault("A^-1E10", 1), FaultKind::IntegerRange);
    EXPECT_EQ(Eval("-2147483647DIV-1"), 2147483647);
}

TEST(ExpressionEvaluatorTest, OverflowAndInvalidResultsFault) {
    EXPECT_EQ(Fault("1E308*10"), FaultKind::Overflow);
    EXPECT_EQ(Fault("A*(1E308*10)", 0), FaultKind::Overflow);  // an intermediate, even times 0
    EXPECT_EQ(Fault("-1E308-1E308"), FaultKind::Overflow);
    EXPECT_EQ(Fault("10^400"), FaultKind::Overflow);
    EXPECT_EQ(Fault("10^-400"), FaultKind::Overflow);  // the power overflows before 1/x
    EXPECT_EQ(Fault("1E200^2"), FaultKind::Overflow);
    EXPECT_EQ(Fault("0^-0.5"), FaultKind::Overflow);
    EXPECT_EQ(Fault("A^0.5", -1), FaultKind::InvalidOperation);
    EXPECT_EQ(Fault("EXP(1000)"), FaultKind::Overflow);
    EXPECT_EQ(Eval("EXP(-1000)"), 0);  // underflow is no fault
    EXPECT_EQ(Eval("1E-300*1E-300"), 0);
}

TEST(ExpressionEvaluatorTest, TruncCoversTheWhole32BitRange) {
    int value = 0;
    EXPECT_TRUE(TruncToInt32(-2147483648.999, value));
    EXPECT_EQ(value, INT_MIN);
    EXPECT_TRUE(TruncToInt32(2147483647.999, value));
    EXPECT_EQ(value, INT_MAX);
    EXPECT_TRUE(TruncToInt32(-0.9, value));
    EXPECT_EQ(value, 0);
    EXPECT_FALSE(TruncToInt32(-2147483649.0, value));
    EXPECT_FALSE(TruncToInt32(2147483648.0, value));
    EXPECT_FALSE(TruncToInt32(std::nan(""), value));
}

TEST(ExpressionEvaluatorTest, DivisionByAPowerOfTwoStaysExact) {
    TParser parser;
    const ExpressionProgram program = parser.Compile("A/4");
    EXPECT_EQ(program.operations.back().kind, NodeKind::Divide);
    const double tiny = std::numeric_limits<double>::denorm_min();
    for (const double a :
         {1.0, 3.0, -7.5, 0.1, 1e308, 3 * tiny, 5 * tiny, -0.0, 1.7976931348623157e308}) {
        EXPECT_EQ(Eval("A/4", a), a / 4) << a;
        if (std::fabs(a) < 1e300) {
            EXPECT_EQ(Eval("A/0.125", a), a / 0.125) << a;
        }
        EXPECT_EQ(Eval("A/-2", a), a / -2) << a;
        EXPECT_EQ(Eval("A/3", a), a / 3) << a;
    }
    EXPECT_EQ(Fault("A/0.125", 1e308), FaultKind::Overflow);
}

// The unchecked loop must find exactly the faults, and compute exactly the values, of the loop
// that checks every operation.
TEST(ExpressionEvaluatorTest, FastRunAgreesWithTheCheckedRun) {
    const std::vector<std::string> formulas = {
        "A*B-C/D",
        "(A+B)/(C-D)",
        "A^B+C^-2",
        "ADIVB+CMODD",
        "SQRT(A-B)*LN(C)",
        "MAX(A*1E300,B)*C",
        "MIN(A/B,C)-EXP(D)",
        "-A^3+B^4*C^5",
        "A*1E308*B-C",
        "HEAV(A/B)+ZERO(C*1E308*1E308)",
        "(A*B)^(C/D)",
        "SIN(A*B)/COS(C)",
        "A/B/C/D",
        "1/(A-B)+1/(C-D)",
        "(A-B)^1001",
        "ARCTAN(A*1E308*D)",
        // One variable scaled and offset, taken without the operation loop.
        "A",
        "A*-1",
        "A-0",
        "A+0",
        "0.75*B-40",
        "40+C/8",
        "D*1E308+1E308",
        "A/-0.5+0",
        // Operands taken from the previous result.
        "C-(A*B)",
        "C/(A*B)",
        "(A*B)/C",
        "(A*B)-C/D",
        "SQRT(A*B-C)+ABS(D-A)",
        "ABS(A)*SQRT(B)",
    };
    const std::vector<double> values = {0, 1, -1, 2, 0.5, -3.5, 1e308, -1e308, 1e-308, 255, 7};
    std::mt19937 random(5);
    TParser parser;
    for (const std::string& formula : formulas) {
        const ExpressionProgram program = parser.Compile(formula);
        for (int trial = 0; trial < 300; ++trial) {
            std::vector<double> fastCells = program.cells;
            for (int v = 0; v < 4; ++v) {
                fastCells[v] = values[random() % values.size()];
            }
            std::vector<double> checkedCells = fastCells;
            std::mt19937_64 generator(1);
            EvalState fastState{&generator};
            EvalState checkedState{&generator};
            double fastValue = -1;
            double checkedValue = -1;
            const FaultKind fast = RunOperations(program, fastCells.data(), fastState, fastValue);
            const FaultKind checked =
                RunOperationsChecked(program, checkedCells.data(), checkedState, checkedValue);
            ASSERT_EQ(fast, checked) << formula << " A=" << fastCells[0] << " B=" << fastCells[1]
                                     << " C=" << fastCells[2] << " D=" << fastCells[3];
            ASSERT_EQ(std::signbit(fastValue), std::signbit(checkedValue)) << formula;
            ASSERT_EQ(fastValue, checkedValue) << formula;
        }
    }
}

// The common shapes of a parameter formula skip the operation loop; others must not.
TEST(ExpressionEvaluatorTest, ScaleAndOffsetShapesAreRecognised) {
    TParser parser;
    for (const char* formula : {"A", "A*0.75-40", "0.75*A-40", "A/8", "A*2+1", "1+A*2", "A-40",
                                "40+A", "(B*256)", "E/4+3"}) {
        EXPECT_TRUE(parser.Compile(formula).scaleAndOffset.has_value()) << formula;
    }
    for (const char* formula : {"40-A", "A*A", "A*2*3", "A*2+B", "A/3", "-A", "2*3", "A+B",
                                "(A*2-1)*4", "SQRT(A)", "1"}) {
        EXPECT_FALSE(parser.Compile(formula).scaleAndOffset.has_value()) << formula;
    }
    const auto form = parser.Compile("C*0.75-40").scaleAndOffset;
    ASSERT_TRUE(form.has_value());
    EXPECT_EQ(form->variable, 2);
    EXPECT_EQ(form->factor, 0.75);
    EXPECT_EQ(form->addend, -40);
    // Without an offset, adding -0.0 keeps a negative zero.
    EXPECT_TRUE(std::signbit(Eval("A*-1", 0)));
    EXPECT_FALSE(std::signbit(Eval("A*-1+0", 0)));
}

TEST(ExpressionEvaluatorTest, FaultsCarryReadableTexts) {
    EXPECT_STREQ(ExpressionFault(FaultKind::DivisionByZero).what(), "Division by zero");
    EXPECT_STREQ(ExpressionFault(FaultKind::Overflow).what(), "Floating point overflow");
    EXPECT_STREQ(ExpressionFault(FaultKind::IntegerRange).what(), "Range check error");
}

}  // namespace
}  // namespace vekaton
