#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "decode/ExpressionBuilder.h"
#include "decode/Parser.h"
#include "decode/ParserErrors.h"
#include "decode/ParserFunctions.h"

namespace vekaton {
namespace {

double Eval(std::string_view formula, double a = 0, double b = 0, double c = 0) {
    TParser parser;
    parser.A() = a;
    parser.B() = b;
    parser.C() = c;
    parser.SetExpression(formula);
    return parser.Value();
}

// "ClassName: message" of the build failure, or "built".
std::string Outcome(std::string_view formula) {
    TParser parser;
    try {
        parser.Compile(formula);
    } catch (const EMathParserError& e) {
        return std::string(e.ClassName()) + ": " + e.what();
    }
    return "built";
}

std::vector<NodeKind> Kinds(std::string_view formula) {
    TParser parser;
    std::vector<NodeKind> kinds;
    for (const Operation& op : parser.Compile(formula).operations) {
        kinds.push_back(op.kind);
    }
    return kinds;
}

std::string Repeat(const std::string& unit, const std::string& separator, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += (i == 0 ? "" : separator) + unit;
    }
    return text;
}

std::string Nest(const std::string& function, const std::string& inner, int count) {
    std::string text = inner;
    for (int i = 0; i < count; ++i) {
        text = function + "(" + text + ")";
    }
    return text;
}

TEST(ExpressionBuilderTest, MinusAndQuotientsGroupToTheLeft) {
    EXPECT_EQ(Eval("A-B-C", 10, 3, 2), 5);
    EXPECT_EQ(Eval("8/4/2"), 1);
    EXPECT_EQ(Eval("100DIV7DIV2"), 7);  // (100 DIV 7) DIV 2, not 100 DIV 3
    EXPECT_EQ(Eval("100/10DIV3"), 3);   // (100/10) DIV 3
    EXPECT_EQ(Eval("7DIV2*5"), 15);
}

TEST(ExpressionBuilderTest, ProductBindsLooserThanQuotients) {
    EXPECT_EQ(Eval("7*5DIV2"), 14);  // 7*(5 DIV 2), not 35 DIV 2
    EXPECT_EQ(Eval("2*7MOD4"), 6);   // 2*(7 MOD 4), not 14 MOD 4
    EXPECT_EQ(Eval("7MOD4*2"), 6);
    EXPECT_EQ(Eval("2*3^2"), 18);
    EXPECT_EQ(Eval("2^3*2"), 16);
    EXPECT_EQ(Eval("A+B*C", 1, 2, 3), 7);
    EXPECT_EQ(Eval("A*B-C", 2, 3, 1), 5);
}

TEST(ExpressionBuilderTest, OperationsRunDeepestLevelFirst) {
    // (A+B) and the quotient sit on level 1, C-D on level 2, so C-D runs first, then the two
    // level-1 operations in slot order, then the root's product.
    EXPECT_EQ(Kinds("(A+B)*(C-D)/E"),
              (std::vector<NodeKind>{NodeKind::Subtract, NodeKind::Add, NodeKind::Divide,
                                     NodeKind::Multiply}));
    EXPECT_EQ(Eval("(A+B)*(C-D)/2", 1, 2, 7), 10.5);
}

TEST(ExpressionBuilderTest, LoneOperandIsOneOperationNamingItsCell) {
    TParser parser;
    const ExpressionProgram variable = parser.Compile("C");
    ASSERT_EQ(variable.operations.size(), 1U);
    EXPECT_EQ(variable.operations[0].kind, NodeKind::Variable);
    EXPECT_EQ(variable.operations[0].dest, 2);  // the parser's own cell for C
    const ExpressionProgram number = parser.Compile("((2.5))");
    ASSERT_EQ(number.operations.size(), 1U);
    EXPECT_EQ(number.operations[0].kind, NodeKind::Number);
    EXPECT_EQ(number.cells[number.operations[0].dest], 2.5);
}

TEST(ExpressionBuilderTest, NegationStandsOnlyFirst) {
    EXPECT_EQ(Eval("-A^2", 3), -9);
    EXPECT_EQ(Eval("-5^2"), -25);
    EXPECT_EQ(Eval("-A*B", 3, 5), -15);
    EXPECT_EQ(Eval("-A+B", 3, 5), 2);
    EXPECT_EQ(Eval("-(A+B)", 3, 5), -8);
    EXPECT_EQ(Eval("-SIN(0)+MAX(1,2)"), 2);
    EXPECT_EQ(Outcome("A*-B").rfind("ESyntaxError", 0), 0U);
    EXPECT_EQ(Outcome("A+-B").rfind("ESyntaxError", 0), 0U);
    EXPECT_EQ(Outcome("A/-B").rfind("ESyntaxError", 0), 0U);
    EXPECT_EQ(Outcome("--A").rfind("ESyntaxError", 0), 0U);
    // A negation may lead the sum on the right of a "+", and a signed number is no negation.
    EXPECT_EQ(Eval("A+-B+C", 1, 2, 4), 3);
    EXPECT_EQ(Eval("A*-2"), 0);
    EXPECT_EQ(Eval("A*-2", 3), -6);
    // "-2^2" on the right of "*" is accepted as a power and then built as the negation of 2^2.
    EXPECT_EQ(Eval("A*-2^2", 3), -12);
}

TEST(ExpressionBuilderTest, PowersCannotBeChained) {
    EXPECT_EQ(Outcome("A^B^C"), "ESyntaxError: Error parsing expression:\rA^B\rC");
    EXPECT_EQ(Eval("(A^B)^C", 2, 3, 2), 64);
    EXPECT_EQ(Eval("A^(B^C)", 2, 3, 2), 512);
}

TEST(ExpressionBuilderTest, WholeNumberExponentsPickMultiplications) {
    EXPECT_EQ(Kinds("A^2").back(), NodeKind::Square);
    EXPECT_EQ(Kinds("A^3").back(), NodeKind::Cube);
    EXPECT_EQ(Kinds("A^4").back(), NodeKind::FourthPower);
    EXPECT_EQ(Kinds("A^5").back(), NodeKind::IntegerPower);
    EXPECT_EQ(Kinds("A^0.5").back(), NodeKind::Power);
    EXPECT_EQ(Kinds("A^B").back(), NodeKind::Power);
    EXPECT_EQ(Kinds("A^-2").back(), NodeKind::IntegerPower);
    EXPECT_EQ(Kinds("A^2.0").back(), NodeKind::Square);
    EXPECT_EQ(Kinds("A^(3)").back(), NodeKind::Cube);
    EXPECT_EQ(Kinds("A^1E1").back(), NodeKind::IntegerPower);
    EXPECT_EQ(Kinds("A^PI").back(), NodeKind::Power);
    EXPECT_EQ(Kinds("A^SIN(B)").back(), NodeKind::Power);
}

TEST(ExpressionBuilderTest, FunctionCallsNeedTheirBrackets) {
    EXPECT_EQ(Outcome("MAX(A,B)"), "built");
    EXPECT_EQ(Outcome("SIN(A)"), "built");
    EXPECT_EQ(Outcome("SINA"), "ESyntaxError: Error parsing expression:\rSINA");
    EXPECT_EQ(Outcome("MAX(A)"), "ESyntaxError: Error parsing expression:\rMAX\r(A)");
    EXPECT_EQ(Outcome("SIN A"), "EExpressionHasBlanks: Expression has blanks");
    EXPECT_EQ(Outcome("SIN(A,B)").rfind("ESyntaxError", 0), 0U);
    EXPECT_EQ(Outcome("MAX(A,B,C)").rfind("ESyntaxError", 0), 0U);
    EXPECT_EQ(Outcome("FOO(A)").rfind("ESyntaxError", 0), 0U);
    EXPECT_EQ(Eval("MAX(MAX(A,B),C)", 1, 5, 3), 5);
    EXPECT_EQ(Eval("MIN(A,MAX(B,C))", 4, 1, 2), 2);
    EXPECT_EQ(Eval("SIN((A))+MAX((A),((B)))", 0, 7), 7);
}

TEST(ExpressionBuilderTest, BracketsAreCountedThenStripped) {
    EXPECT_EQ(Eval("((A))", 4), 4);
    EXPECT_EQ(Eval("((A))+B", 4, 1), 5);
    EXPECT_EQ(Outcome("(A"), "EMissMatchingBracket: Missing brackets in expression");
    EXPECT_EQ(Outcome(")A(").rfind("ESyntaxError", 0), 0U);
    EXPECT_EQ(Outcome("(A))+((B)").rfind("ESyntaxError", 0), 0U);
    EXPECT_EQ(Outcome("()").rfind("ESyntaxError", 0), 0U);
    EXPECT_EQ(Outcome("(A)(B)").rfind("ESyntaxError", 0), 0U);
}

TEST(ExpressionBuilderTest, CaseAndOuterBlanksAreIgnored) {
    EXPECT_EQ(Eval("  a*2 ", 3), 6);
    EXPECT_EQ(Eval("sin(a)+max(b,c)+7mod3", 0, 1, 2), 3);
    EXPECT_EQ(Outcome("A *2"), "EExpressionHasBlanks: Expression has blanks");
    // Only character 32 is a blank.
    EXPECT_EQ(Outcome("\tA").rfind("ESyntaxError", 0), 0U);
    EXPECT_EQ(Outcome("   "), "ESyntaxError: Error parsing expression:\r");
}

TEST(ExpressionBuilderTest, SyntaxErrorQuotesTheLastSplitTried) {
    EXPECT_EQ(Outcome("A+"), "ESyntaxError: Error parsing expression:\rA+");
    EXPECT_EQ(Outcome("A*-B"), "ESyntaxError: Error parsing expression:\rA\r-B");
    EXPECT_EQ(Outcome("A?B"), "ESyntaxError: Error parsing expression:\rA?B");
}

TEST(ExpressionBuilderTest, TwentyLevelsBelowTheRootAtMost) {
    EXPECT_EQ(Eval(Nest("SIN", "A", 20), 0), 0);
    EXPECT_EQ(Outcome(Nest("SIN", "A", 21)),
              "ETooManyNestings: Expression contains too many nestings");
    // Each "+" puts its right side one level deeper; each "-" its left side.
    EXPECT_EQ(Eval(Repeat("A", "+", 21), 1), 21);
    EXPECT_EQ(Outcome(Repeat("A", "+", 22)),
              "ETooManyNestings: Expression contains too many nestings");
    EXPECT_EQ(Eval(Repeat("A", "-", 21), 1), -19);
    EXPECT_EQ(Outcome(Repeat("A", "-", 22)),
              "ETooManyNestings: Expression contains too many nestings");
    // Brackets add no level.
    EXPECT_EQ(Eval(Nest("", Nest("SIN", "A", 20), 30), 0), 0);
}

// A balanced tree of MAX calls with 2^depth operands on its deepest level.
std::string MaxTree(int depth) {
    return depth == 0 ? "A" : Nest("MAX", MaxTree(depth - 1) + "," + MaxTree(depth - 1), 1);
}

TEST(ExpressionBuilderTest, FiftyOperandsOnOneLevelAtMost) {
    EXPECT_EQ(Eval(MaxTree(5), 2), 2);
    EXPECT_EQ(Outcome(MaxTree(6)), "EExpressionTooComplex: Expression is too complex");
    // 32 + 16 + 2 operands on level 6 fit; one more does not.
    const std::string fifty =
        "MAX(" + MaxTree(5) + ",MAX(" + MaxTree(4) + "," + Nest("SIN", "MAX(A,A)", 3) + "))";
    EXPECT_EQ(Outcome(fifty), "built");
    const std::string fiftyOne = "MAX(" + MaxTree(5) + ",MAX(" + MaxTree(4) + ",MAX(" +
                                 Nest("SIN", "A", 3) + "," + Nest("SIN", "MAX(A,A)", 2) + ")))";
    EXPECT_EQ(Outcome(fiftyOne), "EExpressionTooComplex: Expression is too complex");
}

TEST(ExpressionBuilderTest, OverlongTextIsTooComplex) {
    const std::string nested = std::string(2047, '(') + "A" + std::string(2047, ')');
    EXPECT_EQ(Eval(nested, 6), 6);
    EXPECT_EQ(Outcome("(" + nested + ")"), "EExpressionTooComplex: Expression is too complex");
}

TEST(ExpressionBuilderTest, DeepestTextsOfTheLongestLengthAreRefusedCleanly) {
    // Each shape makes the validity test recurse once per piece, about 2,000 deep.
    EXPECT_EQ(Outcome(Repeat("A", "-", 2048)),
              "ETooManyNestings: Expression contains too many nestings");
    EXPECT_EQ(Outcome(Repeat("A", "+", 2048)),
              "ETooManyNestings: Expression contains too many nestings");
    EXPECT_EQ(Outcome(Repeat("-(", "", 1365) + "A" + std::string(1365, ')')),
              "ETooManyNestings: Expression contains too many nestings");
    EXPECT_EQ(Outcome(Nest("SIN", "A", 819)),
              "ETooManyNestings: Expression contains too many nestings");
    EXPECT_EQ(Outcome(Repeat("A*", "", 2047) + "A").rfind("E", 0), 0U);
    EXPECT_EQ(Outcome(Repeat("A^", "", 2047) + "A").rfind("ESyntaxError", 0), 0U);
    EXPECT_EQ(Outcome(Repeat("MAX(A,", "", 580) + "A" + std::string(580, ')')),
              "ETooManyNestings: Expression contains too many nestings");
}

TEST(ExpressionBuilderTest, ExceptionClassesShareTheirBase) {
    EXPECT_THROW(TParser().Compile("A B"), EExpressionHasBlanks);
    EXPECT_THROW(TParser().Compile("(A"), EMissMatchingBracket);
    EXPECT_THROW(TParser().Compile("A+"), ESyntaxError);
    EXPECT_THROW(TParser().Compile(Nest("SIN", "A", 21)), ETooManyNestings);
    EXPECT_THROW(TParser().Compile(MaxTree(6)), EExpressionTooComplex);
    EXPECT_THROW(TParser().Compile("A+"), EMathParserError);
    EXPECT_THROW(TParser().Compile("A+"), std::runtime_error);
    const EParserInternalError internal;
    EXPECT_STREQ(internal.what(), "TParser internal error");
    EXPECT_STREQ(internal.ClassName(), "EParserInternalError");
}

// Random formulas and near-formulas: the fast split search must agree with trying every
// operator occurrence in turn, on the built operations and on every failure.
std::string Describe(const ExpressionTables& tables, const std::string& text) {
    try {
        const ExpressionProgram program = BuildOperationList(text, tables);
        std::string description;
        for (const Operation& op : program.operations) {
            description += std::to_string(static_cast<int>(op.kind)) + ":" +
                           std::to_string(op.arg1) + "," + std::to_string(op.arg2) + ">" +
                           std::to_string(op.dest) + " ";
        }
        for (const double cell : program.cells) {
            description += std::to_string(cell) + ";";
        }
        return description;
    } catch (const EMathParserError& e) {
        return std::string(e.ClassName()) + e.what();
    }
}

TEST(ExpressionBuilderTest, FastSplitSearchAgreesWithTryingEveryOccurrence) {
    NameTable<std::uint16_t> variables;
    NameTable<UnaryFunction> unary;
    NameTable<BinaryFunction> binary;
    for (const char* name : {"A", "B", "C", "D", "E", "X", "Y", "T"}) {
        variables.Add(name, static_cast<std::uint16_t>(variables.Size()));
    }
    for (const auto& function : StandardUnaryFunctions()) {
        unary.Add(std::string(function.name), function.routine);
    }
    for (const auto& function : StandardBinaryFunctions()) {
        binary.Add(std::string(function.name), function.routine);
    }
    const ExpressionTables fast{&variables, &unary, &binary, '.', false};
    const ExpressionTables exhaustive{&variables, &unary, &binary, '.', true};

    std::mt19937 random(20240611);
    const std::vector<std::string> leaves = {"A",   "E",    "2",  "0.5", "PI",
                                             "-PI", "1E-2", "-3", "+4",  ".5"};
    const std::vector<std::string> operators = {"+", "-", "*", "/", "^", "DIV", "MOD"};
    const std::string noise = "+-*/^()AE,.";
    std::function<std::string(int)> generate = [&](int depth) -> std::string {
        const auto choice = random() % 10;
        if (depth > 4 || choice < 3) {
            return leaves[random() % leaves.size()];
        }
        switch (choice) {
            case 3:
                return "(" + generate(depth + 1) + ")";
            case 4:
                return "-" + generate(depth + 1);
            case 5:
                return "SIN(" + generate(depth + 1) + ")";
            case 6:
                return "MAX(" + generate(depth + 1) + "," + generate(depth + 1) + ")";
            default:
                return generate(depth + 1) + operators[random() % operators.size()] +
                       generate(depth + 1);
        }
    };
    int built = 0;
    for (int i = 0; i < 20000; ++i) {
        std::string text = generate(0);
        if (i % 3 == 0) {
            text[random() % text.size()] = noise[random() % noise.size()];
        }
        const std::string expected = Describe(exhaustive, text);
        ASSERT_EQ(Describe(fast, text), expected) << text;
        built += expected.rfind("E", 0) != 0 ? 1 : 0;
    }
    EXPECT_GT(built, 5000);  // the comparison covered plenty of real formulas
}

}  // namespace
}  // namespace vekaton
