#include <gtest/gtest.h>

#include <array>
#include <string>

#include "decode/FormulaFrontEnd.h"

namespace vekaton {
namespace {

using Bytes = std::array<int, 5>;

class FormulaFrontEndTest : public ::testing::Test {
  protected:
    double Value(std::string_view formula, const Bytes& bytes, int width = 0) {
        const FormulaOutcome outcome = formulas.EvaluateFormula(formula, bytes, width);
        EXPECT_EQ(outcome.status, FormulaStatus::Ok) << formula << ": " << outcome.message;
        return outcome.value;
    }

    FormulaFrontEnd formulas;
};

TEST_F(FormulaFrontEndTest, PlainFormulasSeeTheCollectedBytes) {
    EXPECT_EQ(Value("A*1", {200, 0, 0, 0, 0}), 200);
    EXPECT_EQ(Value("A*256+B", {0x12, 0x34, 0, 0, 0}), 4660);
    EXPECT_EQ(Value("A+B+C+D+E", {1, 2, 3, 4, 5}), 15);
    EXPECT_EQ(Value("X+Y+T+1", {1, 2, 3, 4, 5}), 1);
    EXPECT_EQ(Value("A*0.75-40", {100, 0, 0, 0, 0}), 35);
}

TEST_F(FormulaFrontEndTest, UnsignedPrefixCombinesTheBytesMostSignificantFirst) {
    EXPECT_EQ(Value("[UINTEGER]A", {0x12, 0x34, 0, 0, 0}, 2), 4660);
    EXPECT_EQ(Value("[UINTEGER]A", {0xFF, 0xFF, 0, 0, 0}, 2), 65535);
    EXPECT_EQ(Value("[UINTEGER]A", {0x12, 0x34, 0x56, 0x78, 0}, 4), 0x12345678);
    EXPECT_EQ(Value("[UINTEGER]A", {0xFF, 0xFF, 0xFF, 0xFF, 0}, 4), 4294967295.0);
    EXPECT_EQ(Value("[UINTEGER]A/8", {0x01, 0x00, 0, 0, 0}, 2), 32);
    EXPECT_EQ(Value("[uinteger]a", {0x12, 0x34, 0, 0, 0}, 2), 4660);
}

TEST_F(FormulaFrontEndTest, SignedPrefixGivesTwosComplementOfTheWidth) {
    EXPECT_EQ(Value("[INTEGER]A", {0x01, 0x00, 0, 0, 0}, 2), 256);
    EXPECT_EQ(Value("[INTEGER]A", {0x7F, 0xFF, 0, 0, 0}, 2), 32767);
    EXPECT_EQ(Value("[INTEGER]A", {0xFF, 0xFE, 0, 0, 0}, 2), -2);
    EXPECT_EQ(Value("[INTEGER]A", {0x80, 0x00, 0, 0, 0}, 2), -32768);
    EXPECT_EQ(Value("[INTEGER]A", {0xFF, 0xFF, 0xFF, 0xFF, 0}, 4), -1);
    EXPECT_EQ(Value("[INTEGER]A", {0x80, 0, 0, 0, 0}, 4), -2147483648.0);
    EXPECT_EQ(Value("[INTEGER]A", {0x7F, 0xFF, 0xFF, 0xFF, 0}, 4), 2147483647);
}

TEST_F(FormulaFrontEndTest, PrefixNeedsAWidthOfTwoOrFour) {
    for (const int width : {0, 1, 3, 5}) {
        EXPECT_EQ(Value("[INTEGER]A", {0xFF, 0xFE, 0, 0, 0}, width), 0xFF) << width;
        EXPECT_EQ(Value("[UINTEGER]A", {0x12, 0x34, 0, 0, 0}, width), 0x12) << width;
    }
    // Only A changes.
    EXPECT_EQ(Value("[UINTEGER]B", {0x12, 0x34, 0, 0, 0}, 2), 0x34);
}

TEST_F(FormulaFrontEndTest, OtherBracketedTextIsDropped) {
    EXPECT_EQ(Value("[FOO]A*2", {3, 0, 0, 0, 0}, 2), 6);
    EXPECT_EQ(Value("[]A", {3, 0, 0, 0, 0}), 3);
    EXPECT_EQ(Value("[INTEGER]", {3, 0, 0, 0, 0}, 2), 0);  // nothing left to evaluate
    const FormulaOutcome unclosed = formulas.EvaluateFormula("[INTEGER A", {3, 0, 0, 0, 0}, 2);
    EXPECT_EQ(unclosed.status, FormulaStatus::BadParser);
    const FormulaOutcome notFirst = formulas.EvaluateFormula(" [INTEGER]A", {3, 0, 0, 0, 0}, 2);
    EXPECT_EQ(notFirst.status, FormulaStatus::BadParser);
}

TEST_F(FormulaFrontEndTest, BadParserIsReportedOnceUntilReset) {
    const CompiledFormula* formula = formulas.Prepare("A *2");
    const FormulaOutcome first = formulas.Evaluate(*formula, {3, 0, 0, 0, 0}, 0);
    EXPECT_EQ(first.status, FormulaStatus::BadParser);
    EXPECT_EQ(first.value, 0.0);
    EXPECT_EQ(first.message, "Bad Parser");
    EXPECT_TRUE(first.report);
    const FormulaOutcome second = formulas.Evaluate(*formula, {3, 0, 0, 0, 0}, 0);
    EXPECT_EQ(second.status, FormulaStatus::BadParser);
    EXPECT_FALSE(second.report);
    // Another faulty text reports on its own.
    EXPECT_TRUE(formulas.EvaluateFormula("A+", {}, 0).report);
    formulas.ResetReports(formula);
    EXPECT_TRUE(formulas.Evaluate(*formula, {}, 0).report);
    formulas.ResetReports(nullptr);  // harmless
}

TEST_F(FormulaFrontEndTest, BuildErrorNamesTheExceptionClass) {
    const FormulaBuildError blanks = formulas.BuildError(*formulas.Prepare("A *2"));
    EXPECT_EQ(blanks.className, "EExpressionHasBlanks");
    EXPECT_EQ(blanks.message, "Expression has blanks");
    const FormulaBuildError syntax = formulas.BuildError(*formulas.Prepare("[INTEGER]A^B^C"));
    EXPECT_EQ(syntax.className, "ESyntaxError");
    EXPECT_EQ(syntax.message, "Error parsing expression:\rA^B\rC");
    const FormulaBuildError none = formulas.BuildError(*formulas.Prepare("A"));
    EXPECT_TRUE(none.className.empty());
    EXPECT_TRUE(none.message.empty());
}

TEST_F(FormulaFrontEndTest, ArithmeticFaultQuotesTheFormulaAndTheFirstTwoVariables) {
    const CompiledFormula* formula = formulas.Prepare("1/(a-A)");
    const FormulaOutcome first = formulas.Evaluate(*formula, {5, 7, 0, 0, 0}, 0);
    EXPECT_EQ(first.status, FormulaStatus::ArithmeticFault);
    EXPECT_EQ(first.message, "Parsing Error - \"1/(a-A)\", A=5, B=7");
    EXPECT_TRUE(first.report);
    const FormulaOutcome second = formulas.Evaluate(*formula, {6, 8, 0, 0, 0}, 0);
    EXPECT_EQ(second.message, "Parsing Error - \"1/(a-A)\", A=6, B=8");
    EXPECT_FALSE(second.report);
    formulas.ResetReports(formula);
    EXPECT_TRUE(formulas.Evaluate(*formula, {5, 7, 0, 0, 0}, 0).report);
    // The formula goes on working once its operands allow it.
    const FormulaOutcome good = formulas.EvaluateFormula("1/(A-B)", {6, 4, 0, 0, 0}, 0);
    EXPECT_EQ(good.status, FormulaStatus::Ok);
    EXPECT_EQ(good.value, 0.5);
}

TEST_F(FormulaFrontEndTest, FaultMessageShowsAAfterThePrefix) {
    const FormulaOutcome outcome =
        formulas.EvaluateFormula("[UINTEGER]A/(B-B)", {0x12, 0x34, 0, 0, 0}, 2);
    EXPECT_EQ(outcome.status, FormulaStatus::ArithmeticFault);
    EXPECT_EQ(outcome.message, "Parsing Error - \"A/(B-B)\", A=4660, B=52");
    const FormulaOutcome negative =
        formulas.EvaluateFormula("[INTEGER]LN(A)", {0xFF, 0xFE, 0, 0, 0}, 2);
    EXPECT_EQ(negative.message, "Parsing Error - \"LN(A)\", A=-2, B=254");
}

TEST_F(FormulaFrontEndTest, FaultMessageShowsBEvenWhenTheFormulaDoesNotReadIt) {
    const FormulaOutcome outcome = formulas.EvaluateFormula("A/0", {5, 7, 0, 0, 0}, 0);
    EXPECT_EQ(outcome.status, FormulaStatus::ArithmeticFault);
    EXPECT_EQ(outcome.message, "Parsing Error - \"A/0\", A=5, B=7");
}

TEST_F(FormulaFrontEndTest, ScaleAndOffsetFormulasApplyThePrefixAndReportFaults) {
    EXPECT_EQ(Value("[INTEGER]A*2", {0xFF, 0xFE, 0, 0, 0}, 2), -4);
    EXPECT_EQ(Value("[INTEGER]A*0.5-1", {0xFF, 0xFF, 0xFF, 0xFF, 0}, 4), -1.5);
    EXPECT_EQ(Value("[UINTEGER]A/8", {0xFF, 0xFF, 0xFF, 0xFF, 0}, 4), 536870911.875);
    EXPECT_EQ(Value("C*0.5+1", {9, 9, 10, 9, 9}), 6);
    EXPECT_EQ(Value("X*2+1", {9, 9, 9, 9, 9}), 1);  // X is not collected; it stays 0
    const FormulaOutcome overflow = formulas.EvaluateFormula("A*1E308+1E308", {255, 3, 0, 0, 0}, 0);
    EXPECT_EQ(overflow.status, FormulaStatus::ArithmeticFault);
    EXPECT_EQ(overflow.message, "Parsing Error - \"A*1E308+1E308\", A=255, B=3");
    EXPECT_TRUE(overflow.report);
    // The same formula recovers on the next frame.
    EXPECT_EQ(Value("A*1E308+1E308", {0, 3, 0, 0, 0}), 1e308);
}

TEST_F(FormulaFrontEndTest, EveryArithmeticFaultKeepsTheProgramGoing) {
    for (const char* formula :
         {"A/B", "ADIVB", "AMODB", "-2147483648DIV-1", "-2147483648MOD-1", "LN(B)", "SQRT(B-1)",
          "A*1E308*1E308", "EXP(A*1000)", "(A+1)^2000000000", "1E10DIV1", "(A-1)^-1",
          "A^5000000000", "(B-1)^0.5"}) {
        const FormulaOutcome outcome = formulas.EvaluateFormula(formula, {1, 0, 0, 0, 0}, 0);
        EXPECT_EQ(outcome.status, FormulaStatus::ArithmeticFault) << formula;
        EXPECT_TRUE(outcome.report) << formula;
    }
    // Large exponents of harmless bases stay quick and exact.
    EXPECT_EQ(Value("A^2000000000", {1, 0, 0, 0, 0}), 1);
}

TEST_F(FormulaFrontEndTest, ArithmeticFaultsNameTheirCause) {
    const auto cause = [this](std::string_view formula) {
        const FormulaOutcome outcome = formulas.EvaluateFormula(formula, {5, 0, 0, 0, 0}, 0);
        EXPECT_EQ(outcome.status, FormulaStatus::ArithmeticFault) << formula;
        return std::string(outcome.cause);
    };
    EXPECT_EQ(cause("A/0"), "division by zero");
    EXPECT_EQ(cause("AMODB"), "division by zero");
    EXPECT_EQ(cause("SQRT(B-A)"), "square root of a negative number");
    EXPECT_EQ(cause("LN(B)"), "logarithm of zero or less");
    EXPECT_EQ(cause("LN(B-A)"), "logarithm of zero or less");
    EXPECT_EQ(cause("A*1E308*1E308"), "result too large");
    EXPECT_EQ(cause("EXP(A*1000)"), "result too large");
    EXPECT_EQ(cause("A*1E308+1E308"), "result too large");  // the scale-and-offset path
    EXPECT_EQ(cause("-2147483648DIV-1"), "result too large");
    EXPECT_EQ(cause("(B-A)^0.5"), "result is not a number");
    EXPECT_EQ(cause("1E10DIV1"), "operand of DIV, MOD or ^ outside the whole-number range");
    EXPECT_TRUE(formulas.EvaluateFormula("A/1", {5, 0, 0, 0, 0}, 0).cause.empty());
    EXPECT_TRUE(formulas.EvaluateFormula("A/", {5, 0, 0, 0, 0}, 0).cause.empty());
}

TEST_F(FormulaFrontEndTest, EachTextIsBuiltOnce) {
    const CompiledFormula* first = formulas.Prepare("A*2");
    EXPECT_EQ(formulas.Prepare("A*2"), first);
    EXPECT_NE(formulas.Prepare("a*2"), first);
    EXPECT_NE(formulas.Prepare("[INTEGER]A*2"), first);
    EXPECT_EQ(formulas.Evaluate(*first, {4, 0, 0, 0, 0}, 0).value, 8);
    // Formulas do not disturb one another's cells.
    const CompiledFormula* other = formulas.Prepare("B+100");
    EXPECT_EQ(formulas.Evaluate(*other, {4, 1, 0, 0, 0}, 0).value, 101);
    EXPECT_EQ(formulas.Evaluate(*first, {5, 0, 0, 0, 0}, 0).value, 10);
}

TEST_F(FormulaFrontEndTest, EmptyFormulaIsZero) {
    const FormulaOutcome outcome = formulas.EvaluateFormula("", {9, 0, 0, 0, 0}, 0);
    EXPECT_EQ(outcome.status, FormulaStatus::Ok);
    EXPECT_EQ(outcome.value, 0.0);
    EXPECT_FALSE(outcome.report);
}

}  // namespace
}  // namespace vekaton
