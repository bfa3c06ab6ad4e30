#include "decode/ExpressionBuilder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "decode/ParserErrors.h"
#include "decode/ParserFunctions.h"

namespace vekaton {
namespace {

// Operator forms in the order the tree classifies a node, with the kinds they produce.
struct OperatorForm {
    Form form;
    NodeKind kind;
};
constexpr OperatorForm kTreeOperators[] = {
    {Form::Add, NodeKind::Add},           {Form::Subtract, NodeKind::Subtract},
    {Form::Multiply, NodeKind::Multiply}, {Form::Div, NodeKind::Div},
    {Form::Mod, NodeKind::Mod},           {Form::Divide, NodeKind::Divide},
    {Form::Power, NodeKind::Power},
};

std::string Prepare(std::string_view text) {
    std::string prepared(text);
    std::transform(prepared.begin(), prepared.end(), prepared.begin(), [](char c) {
        return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    });
    const auto first = prepared.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    const auto last = prepared.find_last_not_of(' ');
    prepared = prepared.substr(first, last - first + 1);
    if (prepared.find(' ') != std::string::npos) {
        throw EExpressionHasBlanks();
    }
    if (std::count(prepared.begin(), prepared.end(), '(') !=
        std::count(prepared.begin(), prepared.end(), ')')) {
        throw EMissMatchingBracket();
    }
    if (prepared.size() > kMaxExpressionLength) {
        throw EExpressionTooComplex();
    }
    return prepared;
}

// Walks the tree depth first, left operand before right, giving each node its level and
// index, and files each operator's operation in the slot of its first child.
class TreeBuilder {
  public:
    TreeBuilder(ExpressionGrammar& grammar, const ExpressionTables& tables)
        : grammar_(grammar), tables_(tables) {
        cells_.assign(tables.variables->Size(), 0.0);
        constant_.assign(cells_.size(), false);
    }

    ExpressionProgram Build(int begin, int end) {
        levelEntries_[0] = 1;  // the root
        const std::uint16_t cell = Visit(begin, end, 0);
        ExpressionProgram program;
        for (int level = kMaxNestingLevel; level >= 1; --level) {
            program.operations.insert(program.operations.end(), levelOperations_[level].begin(),
                                      levelOperations_[level].end());
        }
        if (program.operations.empty()) {
            // A lone number or variable: one operation that only names its cell.
            Operation only;
            only.kind = cell < tables_.variables->Size() ? NodeKind::Variable : NodeKind::Number;
            only.arg1 = cell;
            only.dest = cell;
            program.operations.push_back(only);
        }
        program.cells = std::move(cells_);
        program.variableCount = static_cast<std::uint16_t>(tables_.variables->Size());
        for (std::size_t i = 0; i < program.operations.size(); ++i) {
            Operation& op = program.operations[i];
            ChooseCode(op, program.cells);
            if (i > 0 && op.code != OpCode::None) {
                const std::uint16_t previous = program.operations[i - 1].dest;
                op.fromPrevious = static_cast<std::uint8_t>((op.arg1 == previous ? 1U : 0U) |
                                                            (op.arg2 == previous ? 2U : 0U));
                UsePreviousResult(op);
            }
        }
        for (const Operation& op : program.operations) {
            for (const std::uint16_t operand : {op.arg1, op.arg2}) {
                if (operand < program.variableCount && operand < 8) {
                    program.variablesRead =
                        static_cast<std::uint8_t>(program.variablesRead | (1U << operand));
                }
            }
        }
        program.scaleAndOffset = FindScaleAndOffset(program);
        return program;
    }

  private:
    struct Range {
        int begin;
        int end;
    };

    std::uint16_t NewCell(double value, bool constant = false) {
        cells_.push_back(value);
        constant_.resize(cells_.size());
        constant_.back() = constant;
        return static_cast<std::uint16_t>(cells_.size() - 1);
    }

    // 2^k with an exactly representable 2^-k: dividing by it and multiplying by its reciprocal
    // give the same correctly rounded result for every dividend.
    static bool HasExactReciprocal(double divisor) {
        int exponent = 0;
        const double reciprocal = 1.0 / divisor;
        return std::isfinite(divisor) && divisor != 0.0 &&
               std::fabs(std::frexp(divisor, &exponent)) == 0.5 && std::isfinite(reciprocal) &&
               std::fabs(std::frexp(reciprocal, &exponent)) == 0.5;
    }

    // Picks the code that reads the previous result from the register, where there is one.
    static void UsePreviousResult(Operation& op) {
        const bool first = op.fromPrevious == 1U;
        const bool second = op.fromPrevious == 2U;
        if (!first && !second) {
            return;  // neither, or both: an operation on one cell twice
        }
        op.other = first ? op.arg2 : op.arg1;
        switch (op.code) {
            case OpCode::Add:
                op.code = OpCode::AddToPrevious;
                return;
            case OpCode::Multiply:
                op.code = OpCode::MultiplyPrevious;
                return;
            case OpCode::Subtract:
                op.code = first ? OpCode::SubtractFromPrevious : OpCode::SubtractPrevious;
                return;
            case OpCode::Divide:
                op.code = first ? OpCode::DividePrevious : OpCode::DivideByPrevious;
                return;
            default:
                return;
        }
    }

    void ChooseCode(Operation& op, std::vector<double>& cells) {
        switch (op.kind) {
            case NodeKind::Variable:
            case NodeKind::Number:
                op.code = OpCode::None;
                return;
            case NodeKind::Negation:
                op.code = OpCode::Negate;
                return;
            case NodeKind::Add:
                op.code = OpCode::Add;
                return;
            case NodeKind::Subtract:
                op.code = OpCode::Subtract;
                return;
            case NodeKind::Multiply:
                op.code = OpCode::Multiply;
                return;
            case NodeKind::Divide:
                op.code = OpCode::Divide;
                if (constant_[op.arg2] && HasExactReciprocal(cells[op.arg2])) {
                    cells.push_back(1.0 / cells[op.arg2]);
                    op.arg2 = static_cast<std::uint16_t>(cells.size() - 1);
                    op.code = OpCode::Multiply;
                }
                return;
            case NodeKind::Mod:
                op.code = OpCode::Mod;
                return;
            case NodeKind::Div:
                op.code = OpCode::Div;
                return;
            case NodeKind::IntegerPower:
                op.code = OpCode::IntegerPower;
                return;
            case NodeKind::Power:
                op.code = OpCode::Power;
                return;
            case NodeKind::Square:
                op.code = OpCode::Square;
                return;
            case NodeKind::Cube:
                op.code = OpCode::Cube;
                return;
            case NodeKind::FourthPower:
                op.code = OpCode::FourthPower;
                return;
            case NodeKind::Function1:
                op.code = op.unary == StandardUnaryFunction("SQRT")  ? OpCode::SquareRoot
                          : op.unary == StandardUnaryFunction("ABS") ? OpCode::Absolute
                                                                     : OpCode::Function1;
                return;
            case NodeKind::Function2:
                op.code = OpCode::Function2;
                return;
        }
        throw EParserInternalError();
    }

    void MakeChild(int level) {
        if (level > kMaxNestingLevel) {
            throw ETooManyNestings();
        }
        if (levelEntries_[level] == kMaxLevelEntries) {
            throw EExpressionTooComplex();
        }
        ++levelEntries_[level];
    }

    // Classifies the node [begin, end) at `level` and builds its subtree; returns the cell
    // that holds its value.
    std::uint16_t Visit(int begin, int end, int level) {
        // A bracketed operand stands for its inner text.
        while (grammar_.Fits(begin, end, Form::Bracketed)) {
            ++begin;
            --end;
        }
        const std::string_view text = grammar_.Text().substr(begin, end - begin);
        if (grammar_.Fits(begin, end, Form::Variable)) {
            return *tables_.variables->Find(text);
        }
        if (grammar_.Fits(begin, end, Form::Number)) {
            return NewCell(*grammar_.Number(begin, end), true);
        }
        Operation op;
        if (grammar_.Fits(begin, end, Form::Negation)) {
            op.kind = NodeKind::Negation;
            return Emit(op, level, {begin + 1, end}, std::nullopt);
        }
        for (const OperatorForm& candidate : kTreeOperators) {
            const int at = grammar_.FindSplit(begin, end, candidate.form);
            if (at < 0) {
                continue;
            }
            const int length =
                static_cast<int>(ExpressionGrammar::OperatorText(candidate.form).size());
            const Range right{at + length, end};
            op.kind = candidate.kind == NodeKind::Power ? PowerKind(right) : candidate.kind;
            return Emit(op, level, {begin, at}, right);
        }
        const int open = grammar_.FirstOpen(begin);
        if (grammar_.Fits(begin, end, Form::Function1)) {
            op.kind = NodeKind::Function1;
            op.unary = *tables_.unaryFunctions->Find(text.substr(0, open - begin));
            return Emit(op, level, {open, end}, std::nullopt);
        }
        if (grammar_.Fits(begin, end, Form::Function2)) {
            const int comma = grammar_.FindComma(begin, end);
            op.kind = NodeKind::Function2;
            op.binary = *tables_.binaryFunctions->Find(text.substr(0, open - begin));
            return Emit(op, level, {open + 1, comma}, Range{comma + 1, end - 1});
        }
        ThrowSyntaxError(begin, end);
    }

    // A whole-number exponent picks a multiplication kind; anything else is a real power.
    NodeKind PowerKind(Range exponent) {
        while (grammar_.Fits(exponent.begin, exponent.end, Form::Bracketed)) {
            ++exponent.begin;
            --exponent.end;
        }
        if (!grammar_.Fits(exponent.begin, exponent.end, Form::Number)) {
            return NodeKind::Power;
        }
        const double value = *grammar_.Number(exponent.begin, exponent.end);
        if (value != std::trunc(value)) {
            return NodeKind::Power;
        }
        if (value == 2.0) {
            return NodeKind::Square;
        }
        if (value == 3.0) {
            return NodeKind::Cube;
        }
        if (value == 4.0) {
            return NodeKind::FourthPower;
        }
        return NodeKind::IntegerPower;
    }

    std::uint16_t Emit(Operation op, int level, Range left, std::optional<Range> right) {
        const int childLevel = level + 1;
        MakeChild(childLevel);
        auto& slots = levelOperations_[childLevel];
        const std::size_t slot = slots.size();
        slots.push_back(op);
        if (right) {
            MakeChild(childLevel);
        }
        const std::uint16_t arg1 = Visit(left.begin, left.end, childLevel);
        std::uint16_t arg2 = arg1;
        if (right) {
            arg2 = Visit(right->begin, right->end, childLevel);
        } else if (IsBinary(op.kind)) {
            throw EParserInternalError();
        }
        Operation& filed = levelOperations_[childLevel][slot];
        filed.arg1 = arg1;
        filed.arg2 = arg2;
        filed.dest = NewCell(0.0);
        return filed.dest;
    }

    // Recognises x*k, k*x, x/2^n (already a multiplication by the reciprocal), each optionally
    // followed by +c, c+ or -c, and x+c, c+x, x-c and a lone x.
    static std::optional<ScaleAndOffset> FindScaleAndOffset(const ExpressionProgram& program) {
        const auto& ops = program.operations;
        const auto isVariable = [&](std::uint16_t cell) { return cell < program.variableCount; };
        const auto isConstant = [&](std::uint16_t cell) {
            return !isVariable(cell) && std::none_of(ops.begin(), ops.end(), [&](const auto& op) {
                return op.dest == cell;
            });
        };
        // The constant beside `operand` in a two-operand step, if the other one is a constant.
        const auto constantBeside = [&](const Operation& op,
                                        std::uint16_t operand) -> std::optional<double> {
            if (op.arg1 == operand && isConstant(op.arg2)) {
                return program.cells[op.arg2];
            }
            if (op.arg2 == operand && isConstant(op.arg1)) {
                return program.cells[op.arg1];
            }
            return std::nullopt;
        };
        if (ops.empty() || ops.size() > 2) {
            return std::nullopt;
        }
        ScaleAndOffset form;
        std::size_t next = 0;
        std::uint16_t carried = 0;  // the cell the offset step must read
        const Operation& first = ops.front();
        if (first.code == OpCode::None) {
            if (!isVariable(first.arg1) || ops.size() != 1) {
                return std::nullopt;
            }
            form.variable = first.arg1;
            return form;
        }
        if (first.code == OpCode::Multiply) {
            const bool variableFirst = isVariable(first.arg1);
            form.variable = variableFirst ? first.arg1 : first.arg2;
            const auto factor = constantBeside(first, form.variable);
            if (!isVariable(form.variable) || !factor) {
                return std::nullopt;
            }
            form.factor = *factor;
            carried = first.dest;
            next = 1;
        }
        if (next == ops.size()) {
            return form;
        }
        const Operation& offset = ops[next];
        if (next == 0) {
            form.variable = isVariable(offset.arg1) ? offset.arg1 : offset.arg2;
            carried = form.variable;
            if (!isVariable(carried)) {
                return std::nullopt;
            }
        }
        if (next + 1 != ops.size()) {
            return std::nullopt;
        }
        const auto addend = constantBeside(offset, carried);
        if (!addend) {
            return std::nullopt;
        }
        if (offset.code == OpCode::Add || offset.code == OpCode::AddToPrevious) {
            form.addend = *addend;
        } else if ((offset.code == OpCode::Subtract ||
                    offset.code == OpCode::SubtractFromPrevious) &&
                   offset.arg1 == carried) {
            form.addend = -*addend;
        } else {
            return std::nullopt;
        }
        return form;
    }

    static bool IsBinary(NodeKind kind) {
        return kind != NodeKind::Negation && kind != NodeKind::Function1;
    }

    // Reports a node that fits no form, quoting the parts of the last split that was tried.
    [[noreturn]] void ThrowSyntaxError(int begin, int end) const {
        const std::string_view text = grammar_.Text().substr(begin, end - begin);
        std::string left = kUnsetPart;
        std::string right = kUnsetPart;
        const auto setParts = [&](std::size_t leftEnd, std::size_t rightBegin) {
            left = std::string(text.substr(0, leftEnd));
            right = std::string(text.substr(rightBegin));
        };
        for (const OperatorForm& candidate : kTreeOperators) {
            const std::string_view op = ExpressionGrammar::OperatorText(candidate.form);
            for (std::size_t at = text.find(op, 1); at != std::string_view::npos;
                 at = text.find(op, at + 1)) {
                if (at + op.size() < text.size()) {
                    setParts(at, at + op.size());
                }
            }
        }
        const std::size_t open = text.find('(');
        if (open != std::string_view::npos && open != 0) {
            setParts(open, open);
            if (text.back() == ')' && tables_.binaryFunctions->Find(text.substr(0, open))) {
                for (std::size_t comma = text.find(',', open + 2);
                     comma != std::string_view::npos && comma + 2 < text.size();
                     comma = text.find(',', comma + 1)) {
                    left = std::string(text.substr(open + 1, comma - open - 1));
                    right = std::string(text.substr(comma + 1, text.size() - comma - 2));
                }
            }
        }
        throw ESyntaxError(std::string(text), left, right);
    }

    ExpressionGrammar& grammar_;
    const ExpressionTables& tables_;
    std::vector<double> cells_;
    std::vector<bool> constant_;  // which cells hold number constants
    std::array<int, kMaxNestingLevel + 1> levelEntries_{};
    std::array<std::vector<Operation>, kMaxNestingLevel + 1> levelOperations_;
};

}  // namespace

ExpressionProgram BuildOperationList(std::string_view text, const ExpressionTables& tables) {
    const std::string prepared = Prepare(text);
    ExpressionGrammar grammar(prepared, tables);
    int begin = 0;
    int end = static_cast<int>(prepared.size());
    while (grammar.Fits(begin, end, Form::Bracketed)) {
        ++begin;
        --end;
    }
    TreeBuilder builder(grammar, tables);
    return builder.Build(begin, end);
}

}  // namespace vekaton
