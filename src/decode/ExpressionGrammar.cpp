#include "decode/ExpressionGrammar.h"

#include <algorithm>

#include "decode/ExpressionNumber.h"

namespace vekaton {
namespace {

constexpr int kOperatorKinds = 7;  // Add .. Power
constexpr int kCommaKind = kOperatorKinds;
constexpr int kKindCount = kOperatorKinds + 1;
constexpr int kDenseLimit = 128;  // longest text whose memo is a dense table

constexpr FormSet kPrimary = Forms(Form::Number) | Forms(Form::Variable) | Forms(Form::Bracketed);
constexpr FormSet kFunctions = Forms(Form::Function1) | Forms(Form::Function2);
constexpr FormSet kQuotients = Forms(Form::Div) | Forms(Form::Mod) | Forms(Form::Divide);
constexpr FormSet kProductLeft =
    kPrimary | Forms(Form::Negation) | kQuotients | Forms(Form::Power) | kFunctions;
constexpr FormSet kProductRight =
    kPrimary | Forms(Form::Multiply) | kQuotients | Forms(Form::Power) | kFunctions;
constexpr FormSet kSumLeft = kProductLeft | Forms(Form::Subtract) | Forms(Form::Multiply);
constexpr FormSet kAddRight = kProductRight | Forms(Form::Add) | Forms(Form::Subtract);
constexpr FormSet kQuotientRight = kPrimary | Forms(Form::Power) | kFunctions;
constexpr FormSet kPowerOperand = kPrimary | kFunctions;
constexpr FormSet kNegatable =
    Forms(Form::Bracketed) | Forms(Form::Variable) | Forms(Form::Power) | kFunctions;

// The kinds each operator accepts on its left and right.
FormSet LeftKinds(Form op) {
    switch (op) {
        case Form::Add:
        case Form::Subtract:
            return kSumLeft;
        case Form::Power:
            return kPowerOperand;
        default:
            return kProductLeft;
    }
}

FormSet RightKinds(Form op) {
    switch (op) {
        case Form::Add:
            return kAddRight;
        case Form::Subtract:
        case Form::Multiply:
            return kProductRight;
        case Form::Power:
            return kPowerOperand;
        default:
            return kQuotientRight;
    }
}

// The order FitsAny tries the forms in: cheap tests first (the answer does not depend on it).
constexpr Form kTryOrder[] = {Form::Variable,  Form::Number,    Form::Bracketed, Form::Negation,
                              Form::Function1, Form::Function2, Form::Power,     Form::Divide,
                              Form::Mod,       Form::Div,       Form::Multiply,  Form::Subtract,
                              Form::Add};

// Validity's own order, for Valid().
constexpr Form kValidityOrder[] = {Form::Number,   Form::Variable, Form::Negation,  Form::Add,
                                   Form::Subtract, Form::Multiply, Form::Div,       Form::Mod,
                                   Form::Divide,   Form::Power,    Form::Function2, Form::Function1,
                                   Form::Bracketed};

}  // namespace

ExpressionGrammar::ExpressionGrammar(std::string_view text, const ExpressionTables& tables)
    : text_(text), tables_(tables), occurrences_(kKindCount) {
    const int length = static_cast<int>(text.size());
    depth_.resize(length + 1);
    nextOpen_.resize(length + 1);
    int depth = 0;
    for (int i = 0; i < length; ++i) {
        depth_[i] = depth;
        const char c = text[i];
        depth += c == '(' ? 1 : c == ')' ? -1 : 0;
    }
    depth_[length] = depth;
    nextOpen_[length] = length;
    for (int i = length - 1; i >= 0; --i) {
        nextOpen_[i] = text[i] == '(' ? i : nextOpen_[i + 1];
    }
    for (int kind = 0; kind < kKindCount; ++kind) {
        const std::string_view pattern =
            kind == kCommaKind
                ? std::string_view(",")
                : OperatorText(static_cast<Form>(kind + static_cast<int>(Form::Add)));
        for (std::size_t at = text.find(pattern); at != std::string_view::npos;
             at = text.find(pattern, at + 1)) {
            occurrences_[kind].emplace_back(depth_[at], static_cast<int>(at));
        }
        std::sort(occurrences_[kind].begin(), occurrences_[kind].end());
    }
    fast_ = FastPathHolds(tables);
    if (fast_) {
        PrepareFastPath();
    }
    width_ = length + 1;
    if (length <= kDenseLimit) {
        denseMemo_.assign(static_cast<std::size_t>(width_) * width_, 0);
    }
}

std::string_view ExpressionGrammar::OperatorText(Form form) {
    switch (form) {
        case Form::Add:
            return "+";
        case Form::Subtract:
            return "-";
        case Form::Multiply:
            return "*";
        case Form::Div:
            return "DIV";
        case Form::Mod:
            return "MOD";
        case Form::Divide:
            return "/";
        case Form::Power:
            return "^";
        default:
            return {};
    }
}

std::uint32_t& ExpressionGrammar::Memo(int begin, int end) {
    const auto key = static_cast<std::uint32_t>(begin) * static_cast<std::uint32_t>(width_) +
                     static_cast<std::uint32_t>(end);
    if (!denseMemo_.empty()) {
        return denseMemo_[key];
    }
    return sparseMemo_[key];
}

template <typename Visit>
bool ExpressionGrammar::ForEachTopLevel(int kind, int begin, int end, int length,
                                        Visit visit) const {
    const auto& list = occurrences_[kind];
    const int depth = depth_[begin];
    auto at = std::upper_bound(list.begin(), list.end(), std::make_pair(depth, begin));
    for (; at != list.end() && at->first == depth && at->second + length < end; ++at) {
        if (visit(at->second)) {
            return true;
        }
    }
    return false;
}

bool ExpressionGrammar::Valid(int begin, int end) {
    if (begin >= end || !Balanced(begin, end)) {
        return false;
    }
    const std::uint32_t known = (Memo(begin, end) >> (2 * kValidSlot)) & 3U;
    if (known != kUnknown) {
        return known == kYes;
    }
    bool valid = false;
    for (const Form form : kValidityOrder) {
        if (Fits(begin, end, form)) {
            valid = true;
            break;
        }
    }
    Memo(begin, end) |= (valid ? kYes : kNo) << (2 * kValidSlot);
    return valid;
}

bool ExpressionGrammar::Fits(int begin, int end, Form form) {
    if (begin >= end || !Balanced(begin, end)) {
        return false;
    }
    const int slot = static_cast<int>(form);
    const std::uint32_t known = (Memo(begin, end) >> (2 * slot)) & 3U;
    if (known != kUnknown) {
        return known == kYes;
    }
    const bool fits = Compute(begin, end, form);
    Memo(begin, end) |= (fits ? kYes : kNo) << (2 * slot);
    return fits;
}

bool ExpressionGrammar::FitsAny(int begin, int end, FormSet forms) {
    if (fast_ && RuledOut(begin, end, forms)) {
        return false;
    }
    for (const Form form : kTryOrder) {
        if ((forms & Forms(form)) != 0 && Fits(begin, end, form)) {
            return true;
        }
    }
    return false;
}

std::optional<double> ExpressionGrammar::Number(int begin, int end) const {
    return ParseNumberLiteral(text_.substr(begin, end - begin), tables_.decimalSeparator);
}

bool ExpressionGrammar::Compute(int begin, int end, Form form) {
    switch (form) {
        case Form::Number:
            return Number(begin, end).has_value();
        case Form::Variable:
            return tables_.variables->Find(text_.substr(begin, end - begin)) != nullptr;
        case Form::Negation:
            // A signed number is a number, and "--A" is nothing.
            return text_[begin] == '-' && FitsAny(begin + 1, end, kNegatable);
        case Form::Add:
        case Form::Subtract:
        case Form::Multiply:
        case Form::Div:
        case Form::Mod:
        case Form::Divide:
        case Form::Power:
            return ComputeOperator(begin, end, form);
        case Form::Function1:
            return ComputeFunction1(begin, end);
        case Form::Function2:
            return ComputeFunction2(begin, end);
        case Form::Bracketed:
            return end - begin >= 2 && text_[begin] == '(' && text_[end - 1] == ')' &&
                   Valid(begin + 1, end - 1);
        case Form::Count:
            break;
    }
    return false;
}

bool ExpressionGrammar::ComputeOperator(int begin, int end, Form op) {
    return FindSplit(begin, end, op) >= 0;
}

bool ExpressionGrammar::AcceptsSplit(int begin, int end, Form op, int at) {
    const int length = static_cast<int>(OperatorText(op).size());
    return at > begin && at + length < end && depth_[at] == depth_[begin] &&
           FitsAny(begin, at, LeftKinds(op)) && FitsAny(at + length, end, RightKinds(op));
}

int ExpressionGrammar::FindSplit(int begin, int end, Form op) {
    if (fast_) {
        const int at = CandidateSplit(begin, end, op);
        return at >= 0 && AcceptsSplit(begin, end, op, at) ? at : -1;
    }
    const int length = static_cast<int>(OperatorText(op).size());
    int found = -1;
    // Only occurrences at the text's own bracket depth leave both sides with equal counts of
    // "(" and ")"; the others could never split it.
    ForEachTopLevel(KindOf(op), begin, end, length, [&](int at) {
        if (AcceptsSplit(begin, end, op, at)) {
            found = at;
            return true;
        }
        return false;
    });
    return found;
}

bool ExpressionGrammar::ComputeFunction1(int begin, int end) {
    const int open = nextOpen_[begin];
    if (open >= end || open == begin ||
        tables_.unaryFunctions->Find(text_.substr(begin, open - begin)) == nullptr) {
        return false;
    }
    return Fits(open, end, Form::Bracketed);
}

bool ExpressionGrammar::ComputeFunction2(int begin, int end) {
    const int open = nextOpen_[begin];
    if (open >= end || open == begin || text_[end - 1] != ')' ||
        tables_.binaryFunctions->Find(text_.substr(begin, open - begin)) == nullptr) {
        return false;
    }
    return FindComma(begin, end) >= 0;
}

int ExpressionGrammar::FindComma(int begin, int end) {
    const int open = nextOpen_[begin];
    const int innerBegin = open + 1;
    const int innerEnd = end - 1;
    if (innerBegin >= innerEnd) {
        return -1;
    }
    int found = -1;
    // A comma with a valid expression on each side lies at the arguments' own depth; as valid
    // text holds no comma at its own depth, only the first such comma can split.
    if (fast_) {
        ForEachTopLevel(kCommaKind, innerBegin, innerEnd, 1, [&](int at) {
            found = Valid(innerBegin, at) && Valid(at + 1, innerEnd) ? at : -1;
            return true;
        });
        return found;
    }
    ForEachTopLevel(kCommaKind, innerBegin, innerEnd, 1, [&](int at) {
        if (Valid(innerBegin, at) && Valid(at + 1, innerEnd)) {
            found = at;
            return true;
        }
        return false;
    });
    return found;
}

}  // namespace vekaton
