// `vekaton-cli eval`: evaluates one formula exactly as a frame position would.
#include <algorithm>
#include <array>
#include <ostream>
#include <string>

#include "cli/CliArguments.h"
#include "cli/CliCommands.h"
#include "common/FloatText.h"
#include "common/IntConversion.h"
#include "decode/FormulaFrontEnd.h"

namespace vekaton::cli {
namespace {

constexpr int kMaxWidth = 500;  // the most bytes one parameter can span

struct EvalRequest {
    std::string formula;
    std::array<int, 5> collected{};
    int width = 0;
};

// Reads "A=v" to "E=v" into the collected bytes; an empty string when it worked.
std::string ReadVariable(const std::string& operand, EvalRequest& request,
                         std::array<bool, 5>& seen) {
    if (operand.size() < 3 || operand[1] != '=' || operand[0] < 'A' || operand[0] > 'E') {
        return "unexpected argument '" + operand + "' (variables are A=v to E=v)";
    }
    const int index = operand[0] - 'A';
    if (seen[index]) {
        return std::string("variable ") + operand[0] + " given twice";
    }
    const auto value = TryStrToInt(std::string_view(operand).substr(2));
    if (!value || *value < 0 || *value > 255) {
        return "'" + operand + "': a collected byte is a whole number from 0 to 255";
    }
    seen[index] = true;
    request.collected[index] = *value;
    return {};
}

// Fills the request from the arguments; an empty string when they were good.
std::string ReadRequest(const std::vector<std::string>& args, EvalRequest& request) {
    ArgumentReader reader(args);
    bool optionsEnded = false;
    bool haveFormula = false;
    std::array<bool, 5> seen{};
    while (reader.Next()) {
        const std::string& name = reader.Name();
        if (!optionsEnded && !reader.IsOperand()) {
            if (name == "--") {
                optionsEnded = true;
            } else if (name == "--width") {
                if (const auto width = reader.IntValue(0, kMaxWidth)) {
                    request.width = *width;
                }
            } else {
                reader.FailUnknown();
            }
            continue;
        }
        if (!haveFormula) {
            request.formula = name;
            haveFormula = true;
            continue;
        }
        std::string problem = ReadVariable(name, request, seen);
        if (!problem.empty()) {
            return problem;
        }
    }
    if (!reader.Ok()) {
        return reader.Error();
    }
    if (!haveFormula) {
        return "no formula given";
    }
    return {};
}

// Messages break lines with "\r", as message boxes do; a terminal wants "\n".
std::string TerminalLines(std::string_view text) {
    std::string lines(text);
    std::replace(lines.begin(), lines.end(), '\r', '\n');
    return lines;
}

}  // namespace

int RunEval(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    EvalRequest request;
    const std::string problem = ReadRequest(args, request);
    if (!problem.empty()) {
        return UsageError(err, *FindSubcommand("eval"), problem);
    }
    FormulaFrontEnd formulas;
    const CompiledFormula* formula = formulas.Prepare(request.formula);
    const FormulaOutcome outcome = formulas.Evaluate(*formula, request.collected, request.width);
    switch (outcome.status) {
        case FormulaStatus::Ok:
            out << ShortestFloatText(outcome.value) << '\n';
            return 0;
        case FormulaStatus::BadParser: {
            const FormulaBuildError error = formulas.BuildError(*formula);
            err << error.className << ": " << TerminalLines(error.message) << '\n';
            return kExitBuildFailed;
        }
        case FormulaStatus::ArithmeticFault:
            // The first line is the window's message as it always was; the second says why.
            err << TerminalLines(outcome.message) << '\n' << "Cause: " << outcome.cause << '\n';
            return kExitArithmeticFault;
    }
    return kExitArithmeticFault;
}

}  // namespace vekaton::cli
