// Builds and evaluates arbitrary formula text with arbitrary variables. The first six bytes are
// the collected bytes A to E and the value width; the rest is the formula. Checks that every
// outcome is well formed and that the fast split search agrees with trying every occurrence.
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "decode/ExpressionBuilder.h"
#include "decode/ExpressionEvaluator.h"
#include "decode/FormulaFrontEnd.h"
#include "decode/Parser.h"
#include "decode/ParserErrors.h"
#include "decode/ParserFunctions.h"

namespace {

using namespace vekaton;

constexpr std::size_t kHeader = 6;
constexpr std::size_t kCrossCheckLength = 200;  // the exhaustive search is slow on long texts

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// One parser's tables, shared by both split searches.
struct Tables {
    Tables() {
        for (const char* name : {"A", "B", "C", "D", "E", "X", "Y", "T"}) {
            variables.Add(name, static_cast<std::uint16_t>(variables.Size()));
        }
        for (const auto& function : StandardUnaryFunctions()) {
            unary.Add(std::string(function.name), function.routine);
        }
        for (const auto& function : StandardBinaryFunctions()) {
            binary.Add(std::string(function.name), function.routine);
        }
    }
    ExpressionTables Get(bool exhaustive) const {
        return ExpressionTables{&variables, &unary, &binary, '.', exhaustive};
    }
    NameTable<std::uint16_t> variables;
    NameTable<UnaryFunction> unary;
    NameTable<BinaryFunction> binary;
};

std::string Describe(const ExpressionTables& tables, std::string_view text) {
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

void CheckFrontEnd(std::string_view text, const std::array<int, 5>& bytes, int width) {
    FormulaFrontEnd formulas;
    const CompiledFormula* formula = formulas.Prepare(text);
    Check(formula != nullptr && formulas.Prepare(text) == formula);
    const FormulaOutcome first = formulas.Evaluate(*formula, bytes, width);
    const FormulaOutcome again = formulas.Evaluate(*formula, bytes, width);
    Check(first.status == again.status && !again.report);
    switch (first.status) {
        case FormulaStatus::Ok:
            Check(std::isfinite(first.value) && !first.report);
            break;
        case FormulaStatus::BadParser:
            Check(first.value == 0.0 && first.report && first.message == "Bad Parser");
            Check(!formulas.BuildError(*formula).className.empty());
            break;
        case FormulaStatus::ArithmeticFault:
            Check(first.report && first.message.starts_with("Parsing Error - \""));
            break;
    }
}

// The unchecked run must agree with the run that checks every operation.
void CheckFastRun(const TParser& parser, std::string_view text, const std::array<int, 5>& bytes) {
    ExpressionProgram program;
    try {
        program = parser.Compile(text);
    } catch (const EMathParserError&) {
        return;
    }
    std::vector<double> fastCells = program.cells;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        // Spread the bytes over a wide range so that overflows happen.
        fastCells[i] = bytes[i] < 128 ? bytes[i] : std::ldexp(bytes[i] - 192, bytes[i] * 8 - 1024);
    }
    std::vector<double> checkedCells = fastCells;
    std::mt19937_64 generator(1);
    EvalState fastState{&generator};
    EvalState checkedState{&generator};
    double fastValue = 0.0;
    double checkedValue = 0.0;
    const FaultKind fast = RunOperations(program, fastCells.data(), fastState, fastValue);
    const FaultKind checked =
        RunOperationsChecked(program, checkedCells.data(), checkedState, checkedValue);
    Check(fast == checked);
    // RND draws differ between the runs; everything else is bit for bit.
    if (fast == FaultKind::None && text.find("RND") == std::string_view::npos &&
        text.find("rnd") == std::string_view::npos) {
        Check(std::memcmp(&fastValue, &checkedValue, sizeof fastValue) == 0);
    }
}

void CheckParser(std::string_view text, const std::array<int, 5>& bytes) {
    TParser parser;
    bool failed = false;
    parser.SetOnParserError([&](TCustomParser&, const std::exception&) { failed = true; });
    parser.A() = bytes[0];
    parser.B() = bytes[1];
    parser.C() = bytes[2];
    parser.SetExpression(text);
    Check(failed == parser.ParseError());
    CheckFastRun(parser, text, bytes);
    try {
        const double value = parser.Value();
        Check(std::isfinite(value) && (!failed || value == 0.0));
    } catch (const ExpressionFault&) {
        Check(!failed);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const Tables tables;
    if (size < kHeader) {
        return 0;
    }
    std::array<int, 5> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = data[i];
    }
    const int width = data[5] % 6;
    const std::string_view text(reinterpret_cast<const char*>(data + kHeader), size - kHeader);
    CheckFrontEnd(text, bytes, width);
    CheckParser(text, bytes);
    if (text.size() <= kCrossCheckLength) {
        Check(Describe(tables.Get(false), text) == Describe(tables.Get(true), text));
    }
    return 0;
}
