#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/CliCommands.h"

namespace vekaton::cli {
namespace {

struct EvalRun {
    int code = -1;
    std::string out;
    std::string err;
};

EvalRun Eval(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    EvalRun run;
    run.code = RunEval(args, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

TEST(EvalCommandTest, PrintsTheShortestFloatText) {
    const struct {
        std::vector<std::string> args;
        std::string out;
    } cases[] = {
        {{"A*256+B", "A=18", "B=52"}, "4660\n"},
        {{"1/2"}, "0.5\n"},
        {{"PI"}, "3.141592653589793\n"},
        {{"0.1*3"}, "0.30000000000000004\n"},
        {{"A-B", "A=0", "B=9"}, "-9\n"},
        {{"C+D+E", "C=1", "D=0x10", "E=$20"}, "49\n"},
        {{"A*1E300*1E5"}, "0\n"},
        {{"2^100"}, "1.2676506002282294e+30\n"},
    };
    for (const auto& [args, expected] : cases) {
        const EvalRun run = Eval(args);
        EXPECT_EQ(run.code, 0) << args[0];
        EXPECT_EQ(run.out, expected) << args[0];
        EXPECT_EQ(run.err, "") << args[0];
    }
}

TEST(EvalCommandTest, WidthFeedsThePrefixes) {
    EXPECT_EQ(Eval({"--width", "2", "[UINTEGER]A", "A=0x12", "B=0x34"}).out, "4660\n");
    EXPECT_EQ(Eval({"--width=4", "[INTEGER]A", "A=255", "B=255", "C=255", "D=255"}).out, "-1\n");
    EXPECT_EQ(Eval({"[INTEGER]A", "A=255", "B=254"}).out, "255\n");  // width 0
    EXPECT_EQ(Eval({"[INTEGER]A", "--width", "2", "A=255", "B=254"}).out, "-2\n");
}

TEST(EvalCommandTest, DoubleDashLetsAFormulaBeginWithMinus) {
    const EvalRun run = Eval({"--", "-A^2", "A=3"});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, "-9\n");
    EXPECT_EQ(Eval({"--width", "2", "--", "-[UINTEGER]A"}).code, 2);
}

TEST(EvalCommandTest, BuildFailuresNameTheClassWithExitCode2) {
    EvalRun run = Eval({"A *2"});
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "EExpressionHasBlanks: Expression has blanks\n");
    run = Eval({"A^B^C"});
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.err, "ESyntaxError: Error parsing expression:\nA^B\nC\n");
    EXPECT_EQ(Eval({"(A"}).err, "EMissMatchingBracket: Missing brackets in expression\n");
}

TEST(EvalCommandTest, ArithmeticFaultsPrintTheParsingErrorWithExitCode3) {
    EvalRun run = Eval({"1/(A-A)", "A=5", "B=7"});
    EXPECT_EQ(run.code, 3);
    EXPECT_EQ(run.out, "");
    // The first line is the window's message as it stands; the second names the cause.
    EXPECT_EQ(run.err, "Parsing Error - \"1/(A-A)\", A=5, B=7\nCause: division by zero\n");
    run = Eval({"--width", "2", "[UINTEGER]SQRT(-A)", "A=1"});
    EXPECT_EQ(run.code, 3);
    EXPECT_EQ(run.err,
              "Parsing Error - \"SQRT(-A)\", A=256, B=0\nCause: square root of a negative "
              "number\n");
    EXPECT_EQ(Eval({"A/0", "A=5"}).err,
              "Parsing Error - \"A/0\", A=5, B=0\nCause: division by zero\n");
    EXPECT_EQ(Eval({"LN(A)"}).err,
              "Parsing Error - \"LN(A)\", A=0, B=0\nCause: logarithm of zero or less\n");
    EXPECT_EQ(Eval({"EXP(A*1000)", "A=9"}).err,
              "Parsing Error - \"EXP(A*1000)\", A=9, B=0\nCause: result too large\n");
}

TEST(EvalCommandTest, BadArgumentsPrintUsageWithExitCode64) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"--width"},
        {"--width", "x", "A"},
        {"--width", "-1", "A"},
        {"--width", "501", "A"},
        {"-A^2", "A=3"},
        {"--bogus", "A"},
        {"A", "Q=1"},
        {"A", "A=256"},
        {"A", "A=-1"},
        {"A", "A=1", "A=2"},
        {"A", "A="},
        {"A", "B"},
        {"--"},
    };
    for (const auto& args : bad) {
        const EvalRun run = Eval(args);
        EXPECT_EQ(run.code, kExitUsage) << (args.empty() ? "(none)" : args.back());
        EXPECT_NE(run.err.find("usage: vekaton-cli eval [--width N] FORMULA"), std::string::npos);
        EXPECT_EQ(run.out, "");
    }
}

}  // namespace
}  // namespace vekaton::cli
