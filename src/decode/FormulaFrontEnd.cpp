#include "decode/FormulaFrontEnd.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "common/MessageText.h"
#include "decode/ExpressionProgram.h"
#include "decode/Parser.h"
#include "decode/ParserErrors.h"

namespace vekaton {
namespace {

constexpr std::string_view kBadParser = "Bad Parser";
constexpr std::string_view kParsingErrorLead = "Parsing Error - \"";
constexpr std::string_view kParsingErrorA = "\", A=";
constexpr std::string_view kParsingErrorB = ", B=";
constexpr std::size_t kNumberRoom = 32;  // the longest shortest-form double is 24 characters

enum class Prefix { None, Integer, UnsignedInteger, Other };

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Appends a number in the shortest form that reads back the same, without allocating.
void AppendNumber(std::string& text, double value) {
    char buffer[kNumberRoom];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value == 0.0 ? 0.0 : value);
    text.append(buffer, result.ptr);
}

}  // namespace

// One formula text, built once. The report flag and the fault message change as it is
// evaluated, which the caller sees as a const object.
class CompiledFormula {
  public:
    Prefix prefix = Prefix::None;
    std::string expressionText;                // the formula after its prefix
    std::optional<ExpressionProgram> program;  // none for an empty expression or a failed build
    const ScaleAndOffset* scaleAndOffset = nullptr;  // the program's, when it has that shape
    std::string errorClass;                          // empty when the build succeeded
    std::string errorMessage;
    mutable std::vector<double> cells;
    mutable bool reported = false;
    mutable std::string faultMessage;  // reserved at build time, so a fault allocates nothing
};

namespace {

// A as the formula sees it: the first collected byte, or with an "[INTEGER]"/"[UINTEGER]" prefix
// at width 2 or 4 the bytes combined, the first the most significant.
double VariableA(const CompiledFormula& formula, const std::array<int, 5>& collected,
                 int valueWidth) {
    if ((formula.prefix != Prefix::Integer && formula.prefix != Prefix::UnsignedInteger) ||
        (valueWidth != 2 && valueWidth != 4)) {
        return collected[0];
    }
    std::uint32_t combined = 0;
    for (int i = 0; i < valueWidth; ++i) {
        combined = (combined << 8U) | (static_cast<std::uint32_t>(collected[i]) & 0xFFU);
    }
    if (formula.prefix == Prefix::UnsignedInteger) {
        return combined;
    }
    if (valueWidth == 4) {
        return static_cast<std::int32_t>(combined);  // two's complement
    }
    return static_cast<std::int16_t>(combined);
}

}  // namespace

struct FormulaFrontEnd::Impl {
    TParser parser;
    std::map<std::string, std::unique_ptr<CompiledFormula>, std::less<>> cache;

    std::unique_ptr<CompiledFormula> Build(std::string_view formula);
};

std::unique_ptr<CompiledFormula> FormulaFrontEnd::Impl::Build(std::string_view formula) {
    auto compiled = std::make_unique<CompiledFormula>();
    std::string_view expression = formula;
    // "[...]" up to the first "]" is a prefix; without a "]" the text is built whole and fails.
    if (!formula.empty() && formula.front() == '[') {
        const auto close = formula.find(']');
        if (close != std::string_view::npos) {
            std::string prefix(formula.substr(0, close + 1));
            for (char& c : prefix) {
                c = Upper(c);
            }
            compiled->prefix = prefix == "[INTEGER]"    ? Prefix::Integer
                               : prefix == "[UINTEGER]" ? Prefix::UnsignedInteger
                                                        : Prefix::Other;
            expression = formula.substr(close + 1);
        }
    }
    compiled->expressionText = std::string(expression);
    if (!expression.empty()) {
        try {
            compiled->program = parser.Compile(expression);
            compiled->cells = compiled->program->cells;
            if (compiled->program->scaleAndOffset) {
                compiled->scaleAndOffset = &*compiled->program->scaleAndOffset;
            }
        } catch (const EMathParserError& e) {
            compiled->errorClass = e.ClassName();
            compiled->errorMessage = e.what();
        } catch (const std::exception& e) {
            compiled->errorClass = "Exception";
            compiled->errorMessage = e.what();
        }
    }
    compiled->faultMessage.reserve(kParsingErrorLead.size() + expression.size() +
                                   kParsingErrorA.size() + kParsingErrorB.size() + 2 * kNumberRoom);
    return compiled;
}

FormulaFrontEnd::FormulaFrontEnd() : impl_(std::make_unique<Impl>()) {}

FormulaFrontEnd::~FormulaFrontEnd() = default;

const CompiledFormula* FormulaFrontEnd::Prepare(std::string_view formula) {
    const auto found = impl_->cache.find(formula);
    if (found != impl_->cache.end()) {
        return found->second.get();
    }
    auto compiled = impl_->Build(formula);
    const CompiledFormula* result = compiled.get();
    impl_->cache.emplace(std::string(formula), std::move(compiled));
    return result;
}

void FormulaFrontEnd::ResetReports(const CompiledFormula* formula) {
    if (formula != nullptr) {
        formula->reported = false;
    }
}

namespace {

// A formula that was not built: "Bad Parser" (value 0.0), or an empty one, worth 0.0.
[[gnu::noinline]] FormulaOutcome NotBuilt(const CompiledFormula& formula) {
    FormulaOutcome outcome;
    if (!formula.errorClass.empty()) {
        outcome.status = FormulaStatus::BadParser;
        outcome.message = kBadParser;
        outcome.report = !formula.reported;
        formula.reported = true;
    }
    return outcome;
}

// The Parsing Error report; rare, so kept out of the way of the evaluation.
[[gnu::noinline]] FormulaOutcome Faulted(const CompiledFormula& formula,
                                         const std::array<int, 5>& collected, int valueWidth,
                                         FaultKind fault) {
    FormulaOutcome outcome;
    outcome.status = FormulaStatus::ArithmeticFault;
    outcome.cause = FaultCause(fault);
    std::string& message = formula.faultMessage;
    message.clear();
    message += kParsingErrorLead;
    message += QuoteText(formula.expressionText);  // a formula may be a whole line of a file
    message += kParsingErrorA;
    AppendNumber(message, VariableA(formula, collected, valueWidth));
    message += kParsingErrorB;
    AppendNumber(message, collected[1]);
    outcome.message = message;
    outcome.report = !formula.reported;
    formula.reported = true;
    return outcome;
}

// Runs the operation loop. Out of line, so the registers it needs are not saved and restored
// for the scale-and-offset formulas, which never get here.
[[gnu::noinline]] FormulaOutcome RunProgram(TParser& parser, const CompiledFormula& formula,
                                            const std::array<int, 5>& collected, int valueWidth) {
    if (!formula.program) {
        return NotBuilt(formula);
    }
    // Only the variables the formula reads are stored: fewer conversions, and each a plain
    // store the next load can take straight from the store buffer.
    double* cells = formula.cells.data();
    const unsigned read = formula.program->variablesRead;
    if ((read & 1U) != 0) {
        cells[0] = VariableA(formula, collected, valueWidth);
    }
    for (std::size_t i = 1; i < collected.size(); ++i) {
        if ((read & (1U << i)) != 0) {
            cells[i] = collected[i];
        }
    }
    // The value goes through a local, not the returned object: copying an object that was just
    // written piecewise would stall on the store buffer.
    double value = 0.0;
    if (const FaultKind fault = parser.Run(*formula.program, cells, value);
        fault != FaultKind::None) {
        return Faulted(formula, collected, valueWidth, fault);
    }
    FormulaOutcome outcome;
    outcome.value = value;
    return outcome;
}

}  // namespace

FormulaOutcome FormulaFrontEnd::Evaluate(const CompiledFormula& formula,
                                         const std::array<int, 5>& collected, int valueWidth) {
    if (const ScaleAndOffset* form = formula.scaleAndOffset) {
        const std::uint16_t v = form->variable;
        const double x = v == 0                 ? VariableA(formula, collected, valueWidth)
                         : v < collected.size() ? collected[v]
                                                : formula.cells[v];
        FormulaOutcome outcome;
        outcome.value = ScaleAndOffsetValue(*form, x);
        if (std::isfinite(outcome.value)) {
            return outcome;
        }
    }
    return RunProgram(impl_->parser, formula, collected, valueWidth);
}

FormulaOutcome FormulaFrontEnd::EvaluateFormula(std::string_view formula,
                                                const std::array<int, 5>& collected,
                                                int valueWidth) {
    return Evaluate(*Prepare(formula), collected, valueWidth);
}

FormulaBuildError FormulaFrontEnd::BuildError(const CompiledFormula& formula) const {
    return {formula.errorClass, formula.errorMessage};
}

}  // namespace vekaton
