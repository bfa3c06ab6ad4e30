#include "definitions/FormulaExpr.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "decode/ExpressionEvaluator.h"
#include "definitions/LookupFit.h"

namespace vekaton {
namespace {

// What the grammar sees a printed node as.
enum class Shape { Primary, NegativeNumber, Negation, Sum, Difference, Product, Quotient, Call };

Shape ShapeOf(const Expr& e) {
    switch (e.kind) {
        case ExprKind::Number:
            return e.number < 0.0 ? Shape::NegativeNumber : Shape::Primary;
        case ExprKind::Variable:
            return Shape::Primary;
        case ExprKind::Negate:
            return Shape::Negation;
        case ExprKind::Add:
            return Shape::Sum;
        case ExprKind::Subtract:
            return Shape::Difference;
        case ExprKind::Multiply:
            return Shape::Product;
        case ExprKind::Divide:
        case ExprKind::IntDiv:
        case ExprKind::Mod:
            return Shape::Quotient;
        case ExprKind::Min:
        case ExprKind::Max:
            return Shape::Call;
        case ExprKind::Lookup:
            break;
    }
    throw std::logic_error("a lookup table cannot be written as a formula");
}

bool IsDivOrMod(const Expr& e) {
    return e.kind == ExprKind::IntDiv || e.kind == ExprKind::Mod;
}

// Whether `child` may stand unbracketed as the left or right operand of `parent`, so that the
// grammar's first fitting split gives back this very tree. A negative number stands bare only
// at the far left, where it reads as a number.
bool StandsBare(const Expr& parent, const Expr& child, bool left) {
    const Shape shape = ShapeOf(child);
    if (shape == Shape::Primary || shape == Shape::Call) {
        return true;
    }
    if (IsDivOrMod(child)) {
        return false;  // bracketed for the reader: (ADIV4)MOD8
    }
    const Shape of = ShapeOf(parent);
    if (left) {
        switch (of) {
            case Shape::Sum:
            case Shape::Difference:
                return shape != Shape::Sum;
            case Shape::Product:
            case Shape::Quotient:
                return shape == Shape::Negation || shape == Shape::NegativeNumber ||
                       shape == Shape::Quotient;
            default:
                return false;
        }
    }
    switch (of) {
        case Shape::Sum:
            return shape == Shape::Sum || shape == Shape::Difference || shape == Shape::Product ||
                   shape == Shape::Quotient;
        case Shape::Difference:
        case Shape::Product:
            return shape == Shape::Product || shape == Shape::Quotient;
        default:
            return false;
    }
}

std::string NumberText(double value) {
    if (value == 0.0) {
        return "0";
    }
    char buffer[400];
    std::to_chars_result written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (written.ec != std::errc() || written.ptr - buffer > 40) {
        // Far from any real scale: the builder reads the exponent form too.
        written =
            std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    }
    std::string text(buffer, written.ptr);
    for (char& c : text) {
        if (c == 'e') {
            c = 'E';
        }
    }
    return text;
}

void Write(const Expr& e, std::string& out);

void WriteOperand(const Expr& parent, const Expr& child, bool left, std::string& out) {
    const bool bare = StandsBare(parent, child, left) &&
                      !(ShapeOf(child) == Shape::NegativeNumber && !(left && out.empty()));
    if (!bare) {
        out += '(';
    }
    Write(child, out);
    if (!bare) {
        out += ')';
    }
}

void Write(const Expr& e, std::string& out) {
    switch (e.kind) {
        case ExprKind::Number:
            out += NumberText(e.number);
            return;
        case ExprKind::Variable:
            out += e.variable;
            return;
        case ExprKind::Negate: {
            out += '-';
            const Shape shape = ShapeOf(*e.left);
            const bool bare = shape == Shape::Call || e.left->kind == ExprKind::Variable;
            out += bare ? "" : "(";
            Write(*e.left, out);
            out += bare ? "" : ")";
            return;
        }
        case ExprKind::Min:
        case ExprKind::Max:
            out += e.kind == ExprKind::Min ? "MIN(" : "MAX(";
            Write(*e.left, out);
            out += ',';
            Write(*e.right, out);
            out += ')';
            return;
        default:
            break;
    }
    const char* op = e.kind == ExprKind::Add        ? "+"
                     : e.kind == ExprKind::Subtract ? "-"
                     : e.kind == ExprKind::Multiply ? "*"
                     : e.kind == ExprKind::Divide   ? "/"
                     : e.kind == ExprKind::IntDiv   ? "DIV"
                     : e.kind == ExprKind::Mod      ? "MOD"
                                                    : nullptr;
    if (op == nullptr) {
        throw std::logic_error("a lookup table cannot be written as a formula");
    }
    WriteOperand(e, *e.left, true, out);
    out += op;
    // The right operand starts a fresh text for the negative-number rule: it is never leftmost.
    std::string right;
    right += ' ';
    WriteOperand(e, *e.right, false, right);
    out.append(right, 1, std::string::npos);
}

void CountEntries(const Expr& e, int level, std::vector<int>& entries) {
    if (e.kind == ExprKind::Number || e.kind == ExprKind::Variable) {
        return;
    }
    const int child = level + 1;
    if (static_cast<int>(entries.size()) <= child) {
        entries.resize(static_cast<std::size_t>(child) + 1, 0);
    }
    for (const ExprPtr& operand : {e.left, e.right}) {
        if (operand) {
            ++entries[static_cast<std::size_t>(child)];
            CountEntries(*operand, child, entries);
        }
    }
}

bool HasVariable(const Expr& e) {
    if (e.kind == ExprKind::Variable) {
        return true;
    }
    return (e.left && HasVariable(*e.left)) || (e.right && HasVariable(*e.right));
}

// a * x + b for a subtree, a = 0 for constants.
struct AffineForm {
    double a = 0.0;
    double b = 0.0;
};

bool FindAffineForm(const Expr& e, const Expr* x, AffineForm& out) {
    if (&e == x) {
        out = {1.0, 0.0};
        return true;
    }
    if (e.kind == ExprKind::Lookup) {
        return false;
    }
    if (!HasVariable(e) && !HasLookup(e)) {
        const auto value = EvaluateExpr(e, {});
        out = {0.0, value.value_or(0.0)};
        return value.has_value();
    }
    AffineForm l;
    AffineForm r;
    if (!e.left || !FindAffineForm(*e.left, x, l)) {
        return false;
    }
    if (e.kind == ExprKind::Negate) {
        out = {-l.a, -l.b};
        return true;
    }
    if (!e.right || !FindAffineForm(*e.right, x, r)) {
        return false;
    }
    switch (e.kind) {
        case ExprKind::Add:
            out = {l.a + r.a, l.b + r.b};
            return true;
        case ExprKind::Subtract:
            out = {l.a - r.a, l.b - r.b};
            return true;
        case ExprKind::Multiply:
            if (l.a != 0.0 && r.a != 0.0) {
                return false;
            }
            out = l.a == 0.0 ? AffineForm{l.b * r.a, l.b * r.b} : AffineForm{l.a * r.b, l.b * r.b};
            return true;
        case ExprKind::Divide:
            if (r.a != 0.0 || r.b == 0.0) {
                return false;
            }
            out = {l.a / r.b, l.b / r.b};
            return true;
        default:
            return false;
    }
}

}  // namespace

ExprPtr MakeNumber(double value) {
    auto e = std::make_shared<Expr>();
    e->kind = ExprKind::Number;
    e->number = value;
    return e;
}

ExprPtr MakeVariable(char name) {
    auto e = std::make_shared<Expr>();
    e->kind = ExprKind::Variable;
    e->variable = name;
    return e;
}

ExprPtr MakeNegate(ExprPtr operand) {
    auto e = std::make_shared<Expr>();
    e->kind = ExprKind::Negate;
    e->left = std::move(operand);
    return e;
}

ExprPtr MakeBinary(ExprKind kind, ExprPtr left, ExprPtr right) {
    auto e = std::make_shared<Expr>();
    e->kind = kind;
    e->left = std::move(left);
    e->right = std::move(right);
    return e;
}

ExprPtr MakeLookup(ExprPtr input, std::shared_ptr<const LookupPoints> table) {
    auto e = std::make_shared<Expr>();
    e->kind = ExprKind::Lookup;
    e->left = std::move(input);
    e->table = std::move(table);
    return e;
}

ExprPtr RawValueExpr(int bytes, bool lsbFirst, bool isSigned) {
    // Summed from the least significant byte up, so that the sum reads A*256+B without brackets.
    ExprPtr value;
    const char mostSignificant = static_cast<char>(lsbFirst ? 'A' + bytes - 1 : 'A');
    for (int i = bytes - 1; i >= 0; --i) {
        const char name = static_cast<char>(lsbFirst ? 'A' + bytes - 1 - i : 'A' + i);
        const double weight = std::ldexp(1.0, 8 * (bytes - 1 - i));
        ExprPtr term = MakeVariable(name);
        if (weight != 1.0) {
            term = MakeBinary(ExprKind::Multiply, term, MakeNumber(weight));
        }
        value = value ? MakeBinary(ExprKind::Add, term, value) : term;
    }
    if (!isSigned) {
        return value;
    }
    const ExprPtr sign =
        MakeBinary(ExprKind::IntDiv, MakeVariable(mostSignificant), MakeNumber(128.0));
    return MakeBinary(ExprKind::Subtract, value,
                      MakeBinary(ExprKind::Multiply, MakeNumber(std::ldexp(1.0, 8 * bytes)), sign));
}

std::size_t WrittenSize(const Expr& expr, std::size_t limit) {
    std::size_t size = 1;
    for (const ExprPtr& operand : {expr.left, expr.right}) {
        if (operand && size <= limit) {
            size += WrittenSize(*operand, limit - size);
        }
    }
    return size;
}

bool HasLookup(const Expr& expr) {
    return expr.kind == ExprKind::Lookup || (expr.left && HasLookup(*expr.left)) ||
           (expr.right && HasLookup(*expr.right));
}

std::string FormulaText(const Expr& expr) {
    std::string out;
    Write(expr, out);
    return out;
}

std::vector<int> LevelEntries(const Expr& expr) {
    std::vector<int> entries(1, 0);
    CountEntries(expr, 0, entries);
    return entries;
}

std::optional<double> EvaluateExpr(const Expr& e, const std::array<double, 5>& bytes) {
    if (e.kind == ExprKind::Number) {
        return e.number;
    }
    if (e.kind == ExprKind::Variable) {
        return bytes[static_cast<std::size_t>(e.variable - 'A')];
    }
    const auto a = EvaluateExpr(*e.left, bytes);
    if (!a) {
        return std::nullopt;
    }
    if (e.kind == ExprKind::Lookup) {
        return e.table->At(*a);  // the table itself, as its formula approximates it
    }
    if (e.kind == ExprKind::Negate) {
        return -*a;
    }
    const auto b = EvaluateExpr(*e.right, bytes);
    if (!b) {
        return std::nullopt;
    }
    const bool finite = std::isfinite(*a) && std::isfinite(*b);
    double r = 0.0;
    switch (e.kind) {
        case ExprKind::Add:
            r = *a + *b;
            break;
        case ExprKind::Subtract:
            r = *a - *b;
            break;
        case ExprKind::Multiply:
            r = *a * *b;
            break;
        case ExprKind::Divide:
            if (!finite || *b == 0.0) {
                return std::nullopt;
            }
            r = *a / *b;
            break;
        case ExprKind::IntDiv:
        case ExprKind::Mod: {
            int x = 0;
            int y = 0;
            if (!TruncToInt32(*a, x) || !TruncToInt32(*b, y) || y == 0 ||
                (x == std::numeric_limits<int>::min() && y == -1)) {
                return std::nullopt;
            }
            r = e.kind == ExprKind::IntDiv ? x / y : x % y;
            break;
        }
        case ExprKind::Min:
        case ExprKind::Max:
            if (!finite) {
                return std::nullopt;
            }
            r = e.kind == ExprKind::Min ? (*a < *b ? *a : *b) : (*a >= *b ? *a : *b);
            break;
        default:
            return std::nullopt;
    }
    if (!std::isfinite(r)) {
        return std::nullopt;
    }
    return r;
}

std::optional<std::pair<double, double>> AffineIn(const Expr& expr, const Expr* x) {
    AffineForm form;
    if (!FindAffineForm(expr, x, form) || form.a == 0.0 || !std::isfinite(form.a) ||
        !std::isfinite(form.b)) {
        return std::nullopt;
    }
    return std::make_pair(form.a, form.b);
}

}  // namespace vekaton
