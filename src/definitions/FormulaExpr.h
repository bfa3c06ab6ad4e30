#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vekaton {

// A formula of our language as a tree, for formulas made from another program's definitions:
// written out in the grammar's own terms, measured against the builder's limits and evaluated
// as the evaluator does, so that what is written can be checked against what was meant.
enum class ExprKind {
    Number,
    Variable,  // A to E
    Negate,
    Add,
    Subtract,
    Multiply,
    Divide,
    IntDiv,  // DIV
    Mod,     // MOD
    Min,
    Max,
    Lookup,  // a table applied to `left`: only before LookupFormula has replaced it
};

struct LookupPoints;  // LookupFit.h

struct Expr;
using ExprPtr = std::shared_ptr<const Expr>;

struct Expr {
    ExprKind kind = ExprKind::Number;
    double number = 0.0;
    char variable = 'A';
    ExprPtr left;   // the operand of Negate and Lookup, the first of the others
    ExprPtr right;  // the second operand
    std::shared_ptr<const LookupPoints> table;  // Lookup only
};

ExprPtr MakeNumber(double value);
ExprPtr MakeVariable(char name);
ExprPtr MakeNegate(ExprPtr operand);
ExprPtr MakeBinary(ExprKind kind, ExprPtr left, ExprPtr right);
ExprPtr MakeLookup(ExprPtr input, std::shared_ptr<const LookupPoints> table);

// The byte variables of a raw integer of `bytes` bytes (1 to 4), most significant first unless
// lsbFirst: A, A*256+B, ... Signed values subtract 2^(8*bytes) when the top bit is set, which
// the language writes with DIV: A-256*(ADIV128).
ExprPtr RawValueExpr(int bytes, bool lsbFirst, bool isSigned);

// The number of nodes of the tree written out, a subtree counted wherever it stands; stops
// counting past `limit`. Trees that share subtrees (a value read twice through links) can stand
// for formulas far longer than themselves.
std::size_t WrittenSize(const Expr& expr, std::size_t limit);

// Whether the tree holds a Lookup node.
bool HasLookup(const Expr& expr);

// The formula text: no blanks, numbers in plain decimals, brackets where the grammar needs them
// to read the tree back as it is, and around DIV and MOD inside other operations for the reader.
std::string FormulaText(const Expr& expr);

// Operands the builder enters on each level below the root: [level], level 0 unused.
std::vector<int> LevelEntries(const Expr& expr);

// The value with A to E as given, or nothing where the evaluator reports an arithmetic fault.
// A Lookup node gives the table's own value, interpolated.
std::optional<double> EvaluateExpr(const Expr& expr, const std::array<double, 5>& bytes);

// If the tree is a * x + b in the subtree `x` (compared by identity) with a != 0, a and b.
std::optional<std::pair<double, double>> AffineIn(const Expr& expr, const Expr* x);

}  // namespace vekaton
