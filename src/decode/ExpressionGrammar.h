#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "decode/ExpressionProgram.h"
#include "decode/ParserTables.h"

namespace vekaton {

// What a formula may name and how it writes numbers.
struct ExpressionTables {
    const NameTable<std::uint16_t>* variables = nullptr;  // name -> variable cell
    const NameTable<UnaryFunction>* unaryFunctions = nullptr;
    const NameTable<BinaryFunction>* binaryFunctions = nullptr;
    char decimalSeparator = '.';
    // Tries every occurrence of an operator in turn instead of the one occurrence that can be
    // accepted; the same answers, slower. For cross-checking the fast path.
    bool exhaustiveSplits = false;
};

// The forms a piece of formula text can take. Validity tries them in this order; the tree
// classifies nodes in its own order (see ExpressionBuilder).
enum class Form : std::uint8_t {
    Number,
    Variable,
    Negation,
    Add,
    Subtract,
    Multiply,
    Div,
    Mod,
    Divide,
    Power,
    Function2,
    Function1,
    Bracketed,
    Count,
};

using FormSet = std::uint32_t;
constexpr FormSet Forms(Form form) {
    return FormSet{1} << static_cast<unsigned>(form);
}

// The validity test of one prepared (upper-case, blank-free) formula text, over substrings
// [begin, end). Each substring's answer for each form is remembered: tried naively, the
// operator splits take exponential time (a 16-term chain A-A-...-A costs millions of checks).
class ExpressionGrammar {
  public:
    ExpressionGrammar(std::string_view text, const ExpressionTables& tables);

    std::string_view Text() const { return text_; }
    bool Valid(int begin, int end);
    bool Fits(int begin, int end, Form form);
    bool FitsAny(int begin, int end, FormSet forms);

    // The operator's text ("+", "DIV", ...) for the operator forms Add to Power.
    static std::string_view OperatorText(Form form);
    // The first accepted split of an operator form: the operator's position, or -1.
    int FindSplit(int begin, int end, Form op);
    // For a text that fits Function2: the accepted comma, or -1.
    int FindComma(int begin, int end);
    // The first "(" at or after `from` (the text's length when there is none).
    int FirstOpen(int from) const { return nextOpen_[from]; }
    std::optional<double> Number(int begin, int end) const;

  private:
    enum : std::uint32_t { kUnknown = 0, kNo = 1, kYes = 2 };
    static constexpr int kValidSlot = static_cast<int>(Form::Count);

    bool Compute(int begin, int end, Form form);
    bool ComputeOperator(int begin, int end, Form op);
    bool AcceptsSplit(int begin, int end, Form op, int at);
    // The one occurrence of an operator that can split [begin, end), or -1 (fast path only).
    int CandidateSplit(int begin, int end, Form op) const;
    // Whether a "+" or "-" at `at` follows an operand within [begin, end), so it can only be
    // a binary operator, never a sign.
    bool FollowsOperand(int at, int begin) const;
    // Whether [begin, end) holds a binary "+" (or, unless plusOnly, "-") at its own depth.
    bool HasBinarySign(int begin, int end, bool plusOnly) const;
    // Whether [begin, end) holds, at its own depth and wholly inside it, a "*" / one of "/",
    // DIV, MOD / a "^".
    bool HasProduct(int begin, int end) const;
    bool HasQuotient(int begin, int end) const;
    bool HasPower(int begin, int end) const;
    // True when no text of the given kinds could be [begin, end), judged by the operators at
    // its own depth alone (fast path only).
    bool RuledOut(int begin, int end, FormSet forms) const;
    static bool FastPathHolds(const ExpressionTables& tables);
    void PrepareFastPath();
    // Index of an operator form (Add to Power) among the occurrence lists.
    static int KindOf(Form op) { return static_cast<int>(op) - static_cast<int>(Form::Add); }
    bool ComputeFunction1(int begin, int end);
    bool ComputeFunction2(int begin, int end);
    bool Balanced(int begin, int end) const { return depth_[begin] == depth_[end]; }
    std::uint32_t& Memo(int begin, int end);
    // Calls visit(position) for the occurrences of an operator (or comma) that lie at the
    // bracket depth of `begin`, after `begin` and with something after them before `end`, left
    // to right, until visit returns true.
    template <typename Visit>
    bool ForEachTopLevel(int kind, int begin, int end, int length, Visit visit) const;

    std::string_view text_;
    ExpressionTables tables_;
    std::vector<int> depth_;     // "(" minus ")" before each position
    std::vector<int> nextOpen_;  // first "(" at or after each position
    // Occurrences by kind (operators in Form order from Add, then the comma) as (depth,
    // position) pairs, sorted.
    std::vector<std::vector<std::pair<int, int>>> occurrences_;
    // Fast path: "+" and "-" that follow an operand in the whole text, the "+" among them, and
    // the "/", DIV and MOD together; (depth, position) pairs, sorted.
    std::vector<std::pair<int, int>> binarySigns_;
    std::vector<std::pair<int, int>> binaryPlus_;
    std::vector<std::pair<int, int>> quotients_;
    bool fast_ = false;
    std::vector<std::uint32_t> denseMemo_;  // (length+1)^2 slots for short texts
    std::unordered_map<std::uint32_t, std::uint32_t> sparseMemo_;
    int width_ = 0;
};

}  // namespace vekaton
