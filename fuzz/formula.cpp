// Builds and evaluates arbitrary formula text with arbitrary variables. The first six bytes are
// the collected bytes A to E and the value width; the rest is the formula. Checks that every
// outcome is well formed, that the fast split search agrees with trying every occurrence, and
// that the unchecked evaluation agrees with the one that checks every operation.
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
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
constexpr std::size_t kParserCheckLength = 64;

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// The standard tables, as the parser holds them.
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

struct Built {
    std::optional<ExpressionProgram> program;
    std::string error;  // class name and message
};

Built Build(const ExpressionTables& tables, std::string_view text) {
    Built built;
    try {
        built.program = BuildOperationList(text, tables);
    } catch (const EMathParserError& e) {
        built.error = std::string(e.ClassName()) + e.what();
    }
    return built;
}

bool SameOperation(const Operation& a, const Operation& b) {
    return a.kind == b.kind && a.code == b.code && a.arg1 == b.arg1 && a.arg2 == b.arg2 &&
           a.dest == b.dest && a.unary == b.unary && a.binary == b.binary &&
           a.fromPrevious == b.fromPrevious && a.other == b.other;
}

bool SameBuild(const Built& a, const Built& b) {
    if (a.program.has_value() != b.program.has_value() || a.error != b.error) {
        return false;
    }
    if (!a.program) {
        return true;
    }
    const ExpressionProgram& x = *a.program;
    const ExpressionProgram& y = *b.program;
    if (x.operations.size() != y.operations.size() || x.cells.size() != y.cells.size() ||
        x.variablesRead != y.variablesRead ||
        x.scaleAndOffset.has_value() != y.scaleAndOffset.has_value()) {
        return false;
    }
    for (std::size_t i = 0; i < x.operations.size(); ++i) {
        if (!SameOperation(x.operations[i], y.operations[i])) {
            return false;
        }
    }
    return std::memcmp(x.cells.data(), y.cells.data(), x.cells.size() * sizeof(double)) == 0;
}

bool HasRandom(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return upper.find("RND") != std::string::npos;
}

// The unchecked run must agree with the run that checks every operation.
void CheckFastRun(const ExpressionProgram& program, std::string_view text,
                  const std::array<int, 5>& bytes) {
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
    Check(fast != FaultKind::None || std::isfinite(fastValue));
    Check(checked != FaultKind::None || std::isfinite(checkedValue));
    // RND draws differ between the runs, and a draw can decide a fault (4MODRND(A) divides by
    // zero when the draw truncates to 0); everything else agrees bit for bit.
    if (HasRandom(text)) {
        return;
    }
    Check(fast == checked);
    if (fast == FaultKind::None) {
        Check(std::memcmp(&fastValue, &checkedValue, sizeof fastValue) == 0);
    }
}

FormulaOutcome CheckFrontEnd(std::string_view text, const std::array<int, 5>& bytes, int width) {
    FormulaFrontEnd formulas;
    const CompiledFormula* formula = formulas.Prepare(text);
    Check(formula != nullptr && formulas.Prepare(text) == formula);
    const FormulaOutcome first = formulas.Evaluate(*formula, bytes, width);
    const FormulaOutcome again = formulas.Evaluate(*formula, bytes, width);
    // RND draws a new number each time, so a second evaluation may fault where the first did
    // not (4MODRND(A) divides by zero only when the draw truncates to 0).
    Check((first.status == again.status || HasRandom(text)) &&
          !(again.report && again.status == first.status));
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
    return first;
}

// The parser's own properties: the event fires exactly for a failed build. Without a prefix
// or a random draw, the front end's shortcuts must give exactly the parser's outcome.
void CheckParser(std::string_view text, const std::array<int, 5>& bytes,
                 const FormulaOutcome& frontEnd) {
    TParser parser;
    bool failed = false;
    parser.SetOnParserError([&](TCustomParser&, const std::exception&) { failed = true; });
    double* variables[] = {&parser.A(), &parser.B(), &parser.C(), &parser.D(), &parser.E()};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        *variables[i] = bytes[i];
    }
    parser.SetExpression(text);
    Check(failed == parser.ParseError());
    const bool comparable = !text.starts_with('[') && !HasRandom(text);
    try {
        const double value = parser.Value();
        Check(std::isfinite(value) && (!failed || value == 0.0));
        if (comparable && !failed) {
            Check(frontEnd.status == FormulaStatus::Ok &&
                  std::memcmp(&value, &frontEnd.value, sizeof value) == 0);
        }
    } catch (const ExpressionFault&) {
        Check(!failed);
        Check(!comparable || frontEnd.status == FormulaStatus::ArithmeticFault);
    }
    Check(!comparable || failed == (frontEnd.status == FormulaStatus::BadParser));
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
    const FormulaOutcome frontEnd = CheckFrontEnd(text, bytes, width);
    const Built fast = Build(tables.Get(false), text);
    if (fast.program) {
        CheckFastRun(*fast.program, text, bytes);
    }
    if (text.size() <= kCrossCheckLength) {
        Check(SameBuild(fast, Build(tables.Get(true), text)));
    }
    if (text.size() <= kParserCheckLength) {
        CheckParser(text, bytes, frontEnd);
    }
    return 0;
}
