#include "definitions/AdxEquation.h"

#include <cctype>
#include <charconv>
#include <cmath>

#include "definitions/AdxFields.h"

namespace vekaton {
namespace {

constexpr int kMaxBracketDepth = 64;

struct Term {
    EquationOperand operand;
    bool compound = false;  // an unbracketed + - * / at this level
};

bool IsNumber(const ExprPtr& e, double value) {
    return e->kind == ExprKind::Number && e->number == value;
}

ExprPtr Combine(ExprKind kind, ExprPtr left, ExprPtr right);

// Sums and products as the language writes them without brackets: (a+b)+c as a+(b+c),
// (a+b)-c as a+(b-c), (a*b)*c as a*(b*c). The value may differ in its last bit at most.
ExprPtr Regroup(ExprKind kind, const ExprPtr& left, const ExprPtr& right) {
    // (a-b)-c and (a-b)+c with numbers b and c: one number, as in "X * 1.35 - 40 - 32".
    if ((kind == ExprKind::Add || kind == ExprKind::Subtract) && left->kind == ExprKind::Subtract &&
        left->right->kind == ExprKind::Number && right->kind == ExprKind::Number) {
        const double c = kind == ExprKind::Add ? right->number : -right->number;
        return Combine(ExprKind::Add, left->left, MakeNumber(c - left->right->number));
    }
    if ((kind == ExprKind::Add || kind == ExprKind::Subtract) && left->kind == ExprKind::Add) {
        return MakeBinary(ExprKind::Add, left->left, Combine(kind, left->right, right));
    }
    if (kind == ExprKind::Multiply && left->kind == ExprKind::Multiply) {
        return MakeBinary(ExprKind::Multiply, left->left,
                          Combine(ExprKind::Multiply, left->right, right));
    }
    return MakeBinary(kind, left, right);
}

// Folds constants and drops the neutral operations ADX files are full of ("X * 1 + 0"),
// and writes "+ -40" as "-40".
ExprPtr Combine(ExprKind kind, ExprPtr left, ExprPtr right) {
    if (left->kind == ExprKind::Number && right->kind == ExprKind::Number) {
        const ExprPtr folded = MakeBinary(kind, left, right);
        if (const auto value = EvaluateExpr(*folded, {})) {
            return MakeNumber(*value);
        }
        return folded;
    }
    switch (kind) {
        case ExprKind::Add:
            if (IsNumber(right, 0.0)) {
                return left;
            }
            if (IsNumber(left, 0.0)) {
                return right;
            }
            if (right->kind == ExprKind::Number && right->number < 0.0) {
                return MakeBinary(ExprKind::Subtract, left, MakeNumber(-right->number));
            }
            break;
        case ExprKind::Subtract:
            if (IsNumber(right, 0.0)) {
                return left;
            }
            if (right->kind == ExprKind::Number && right->number < 0.0) {
                return MakeBinary(ExprKind::Add, left, MakeNumber(-right->number));
            }
            break;
        case ExprKind::Multiply:
            if (IsNumber(right, 1.0)) {
                return left;
            }
            if (IsNumber(left, 1.0)) {
                return right;
            }
            break;
        case ExprKind::Divide:
            if (IsNumber(right, 1.0)) {
                return left;
            }
            break;
        default:
            break;
    }
    return Regroup(kind, left, right);
}

class EquationParser {
  public:
    EquationParser(std::string_view text, const EquationVariables& variables)
        : text_(text), variables_(variables) {}

    ExprPtr Whole() {
        Term term = And(0);
        Skip();
        if (pos_ < text_.size()) {
            Fail(text_[pos_] == ')'   ? "a ')' without its '('"
                 : text_[pos_] == '^' ? "'^', a power in some programs and exclusive or in others,"
                                      : "an unexpected character");
        }
        return term.operand.expr;
    }

    struct Failure {
        std::string message;
    };

  private:
    [[noreturn]] void Fail(const std::string& what) const {
        const std::string rest = Clipped(text_.substr(pos_, 40), 12);
        throw Failure{what + (rest.empty() ? " at its end" : " at \"" + rest + "\"")};
    }

    void Skip() {
        while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) {
            ++pos_;
        }
    }
    bool Accept(char c) {
        Skip();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    Term And(int depth) {
        Term left = Sum(depth);
        while (Accept('&')) {
            const std::size_t at = pos_ - 1;
            Term right = Sum(depth);
            if (left.compound || right.compound) {
                pos_ = at;
                Fail("'&' beside + - * / without brackets, which programs read differently,");
            }
            left = Mask(left, right, at);
        }
        return left;
    }

    Term Mask(const Term& left, const Term& right, std::size_t at) {
        const Term* value = &left;
        const Term* mask = &right;
        if (!value->operand.unsignedRaw) {
            std::swap(value, mask);
        }
        const ExprPtr& m = mask->operand.expr;
        const bool constantMask = m->kind == ExprKind::Number && m->number >= 0.0 &&
                                  m->number <= 4294967295.0 && m->number == std::trunc(m->number);
        if (!value->operand.unsignedRaw || !constantMask || value->operand.bits > 31) {
            pos_ = at;
            Fail(
                "'&' other than a whole-number mask on the raw bytes of an unsigned value of at "
                "most 31 bits");
        }
        Term result;
        result.operand = value->operand;
        result.operand.expr = MaskExpr(value->operand.expr, static_cast<std::uint32_t>(m->number),
                                       value->operand.bits);
        return result;
    }

    Term Sum(int depth) {
        Term left = Product(depth);
        for (;;) {
            ExprKind kind = ExprKind::Add;
            if (Accept('+')) {
                kind = ExprKind::Add;
            } else if (Accept('-')) {
                kind = ExprKind::Subtract;
            } else {
                return left;
            }
            const Term right = Product(depth);
            left = Arithmetic(kind, left, right);
        }
    }

    Term Product(int depth) {
        Term left = Unary(depth);
        for (;;) {
            ExprKind kind = ExprKind::Multiply;
            if (Accept('*')) {
                kind = ExprKind::Multiply;
            } else if (Accept('/')) {
                kind = ExprKind::Divide;
            } else {
                return left;
            }
            const Term right = Unary(depth);
            left = Arithmetic(kind, left, right);
        }
    }

    static Term Arithmetic(ExprKind kind, const Term& left, const Term& right) {
        Term term;
        term.compound = true;
        term.operand.expr = Combine(kind, left.operand.expr, right.operand.expr);
        return term;
    }

    Term Unary(int depth) {
        if (depth >= kMaxBracketDepth) {
            Fail("signs and brackets nested too deep");
        }
        if (Accept('-')) {
            Term term = Unary(depth + 1);
            const ExprPtr& e = term.operand.expr;
            term.operand = {e->kind == ExprKind::Number ? MakeNumber(-e->number) : MakeNegate(e)};
            term.compound = true;
            return term;
        }
        if (Accept('+')) {
            return Unary(depth + 1);
        }
        return Primary(depth);
    }

    Term Primary(int depth) {
        Skip();
        if (pos_ >= text_.size()) {
            Fail("a missing operand");
        }
        const char c = text_[pos_];
        if (c == '(') {
            if (depth >= kMaxBracketDepth) {
                Fail("brackets nested too deep");
            }
            ++pos_;
            Term inner = And(depth + 1);
            if (!Accept(')')) {
                Fail("a '(' without its ')'");
            }
            inner.compound = false;
            return inner;
        }
        if (std::isdigit(static_cast<unsigned char>(c)) || c == '.') {
            return Number();
        }
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            const std::size_t start = pos_;
            while (pos_ < text_.size() &&
                   (std::isalnum(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '_')) {
                ++pos_;
            }
            const std::string_view name = text_.substr(start, pos_ - start);
            Skip();
            if (pos_ < text_.size() && text_[pos_] == '(') {
                pos_ = start;
                Fail("a function, which our formulas cannot take over,");
            }
            auto operand = variables_(name);
            if (auto* problem = std::get_if<std::string>(&operand)) {
                throw Failure{*problem};
            }
            return Term{std::get<EquationOperand>(operand), false};
        }
        Fail("a character outside the formula language");
    }

    Term Number() {
        const std::size_t start = pos_;
        while (pos_ < text_.size() &&
               (std::isdigit(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '.')) {
            ++pos_;
        }
        if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
            std::size_t after = pos_ + 1;
            if (after < text_.size() && (text_[after] == '+' || text_[after] == '-')) {
                ++after;
            }
            if (after < text_.size() && std::isdigit(static_cast<unsigned char>(text_[after]))) {
                pos_ = after;
                while (pos_ < text_.size() &&
                       std::isdigit(static_cast<unsigned char>(text_[pos_]))) {
                    ++pos_;
                }
            }
        }
        if (pos_ < text_.size() && (std::isalpha(static_cast<unsigned char>(text_[pos_])))) {
            Fail("a number written in a way our formulas do not read");
        }
        const auto value = ParseAdxReal(text_.substr(start, pos_ - start));
        if (!value) {
            pos_ = start;
            Fail("a number that cannot be read");
        }
        return Term{{MakeNumber(*value)}, false};
    }

    std::string_view text_;
    const EquationVariables& variables_;
    std::size_t pos_ = 0;
};

}  // namespace

ExprPtr MaskExpr(const ExprPtr& value, std::uint32_t mask, int bits) {
    const std::uint32_t all = bits >= 32 ? 0xFFFFFFFFU : (1U << static_cast<unsigned>(bits)) - 1U;
    mask &= all;
    if (mask == all) {
        return value;
    }
    ExprPtr sum;
    for (int bit = 0; bit < bits;) {
        if ((mask >> static_cast<unsigned>(bit) & 1U) == 0) {
            ++bit;
            continue;
        }
        int length = 0;
        while (bit + length < bits && (mask >> static_cast<unsigned>(bit + length) & 1U) != 0) {
            ++length;
        }
        ExprPtr run = value;
        if (bit > 0) {
            run = MakeBinary(ExprKind::IntDiv, run, MakeNumber(std::ldexp(1.0, bit)));
        }
        if (bit + length < bits) {
            run = MakeBinary(ExprKind::Mod, run, MakeNumber(std::ldexp(1.0, length)));
        }
        if (bit > 0) {
            run = MakeBinary(ExprKind::Multiply, run, MakeNumber(std::ldexp(1.0, bit)));
        }
        sum = sum ? MakeBinary(ExprKind::Add, sum, run) : run;
        bit += length;
    }
    return sum ? sum : MakeNumber(0.0);
}

std::variant<ExprPtr, std::string> ParseAdxEquation(std::string_view equation,
                                                    const EquationVariables& variables) {
    if (equation.size() > kMaxEquationLength) {
        return "it is longer than the " + std::to_string(kMaxEquationLength) +
               " characters any formula of ours could take over";
    }
    try {
        return EquationParser(equation, variables).Whole();
    } catch (const EquationParser::Failure& failure) {
        return failure.message;
    }
}

}  // namespace vekaton
