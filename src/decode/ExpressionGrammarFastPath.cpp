// The fast split search: with the parser's own names, each operator form has at most one
// occurrence that can split a text, and the operators at a text's own depth rule out most
// operand kinds at once. Cross-checked against trying every occurrence by the tests and the
// fuzz target (ExpressionTables::exhaustiveSplits).
#include <algorithm>
#include <string_view>

#include "decode/ExpressionGrammar.h"

namespace vekaton {

void ExpressionGrammar::PrepareFastPath() {
    const int length = static_cast<int>(text_.size());
    for (int at = 0; at < length; ++at) {
        if ((text_[at] == '+' || text_[at] == '-') && FollowsOperand(at, 0)) {
            binarySigns_.emplace_back(depth_[at], at);
            if (text_[at] == '+') {
                binaryPlus_.emplace_back(depth_[at], at);
            }
        }
    }
    std::sort(binarySigns_.begin(), binarySigns_.end());
    std::sort(binaryPlus_.begin(), binaryPlus_.end());
    for (const Form quotient : {Form::Div, Form::Mod, Form::Divide}) {
        const auto& list = occurrences_[KindOf(quotient)];
        quotients_.insert(quotients_.end(), list.begin(), list.end());
    }
    std::sort(quotients_.begin(), quotients_.end());
}

bool ExpressionGrammar::FastPathHolds(const ExpressionTables& tables) {
    if (tables.exhaustiveSplits) {
        return false;
    }
    const auto letters = [](std::string_view name) {
        return !name.empty() &&
               std::all_of(name.begin(), name.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
    };
    // Single-letter variables and function names that cannot make up a DIV or MOD with a
    // neighbouring operator keep every operator occurrence a real operator.
    const auto harmless = [&](std::string_view name) {
        return letters(name) && name.find("DIV") == std::string_view::npos &&
               name.find("MOD") == std::string_view::npos && !name.starts_with("IV") &&
               !name.starts_with('V');
    };
    for (const auto& [name, cell] : tables.variables->Entries()) {
        if (name.size() != 1 || !letters(name)) {
            return false;
        }
    }
    for (const auto& entry : tables.unaryFunctions->Entries()) {
        if (!harmless(entry.first)) {
            return false;
        }
    }
    for (const auto& entry : tables.binaryFunctions->Entries()) {
        if (!harmless(entry.first)) {
            return false;
        }
    }
    return true;
}

bool ExpressionGrammar::FollowsOperand(int at, int begin) const {
    if (at <= begin) {
        return false;
    }
    const char before = text_[at - 1];
    if (std::string_view("*/^+-(,").find(before) != std::string_view::npos) {
        return false;
    }
    // The sign of a number's exponent, as in 1E-5.
    if (before == 'E' && at - 2 >= begin &&
        ((text_[at - 2] >= '0' && text_[at - 2] <= '9') ||
         text_[at - 2] == tables_.decimalSeparator)) {
        return false;
    }
    if (at - 3 >= begin) {
        const std::string_view word = text_.substr(at - 3, 3);
        if (word == "DIV" || word == "MOD") {
            return false;
        }
    }
    return true;
}

// Operators at a text's own depth show the loosest form it can take: only sums hold a binary
// "+", only sums and differences a binary sign, only those and products a "*", only those and
// quotients a "/", DIV or MOD, and only those, powers and negations a "^". Refusing early spares
// the recursion through every shorter piece of a long chain.
bool ExpressionGrammar::RuledOut(int begin, int end, FormSet forms) const {
    const auto allows = [&](FormSet wanted) { return (forms & wanted) != 0; };
    if (allows(Forms(Form::Add))) {
        return false;
    }
    if (allows(Forms(Form::Subtract))) {
        return HasBinarySign(begin, end, true);
    }
    if (HasBinarySign(begin, end, false)) {
        return true;
    }
    if (allows(Forms(Form::Multiply))) {
        return false;
    }
    if (HasProduct(begin, end)) {
        return true;
    }
    if (allows(Forms(Form::Div) | Forms(Form::Mod) | Forms(Form::Divide))) {
        return false;
    }
    if (HasQuotient(begin, end)) {
        return true;
    }
    return !allows(Forms(Form::Power) | Forms(Form::Negation)) && HasPower(begin, end);
}

bool ExpressionGrammar::HasProduct(int begin, int end) const {
    const auto& list = occurrences_[KindOf(Form::Multiply)];
    const auto at =
        std::upper_bound(list.begin(), list.end(), std::make_pair(depth_[begin], begin));
    return at != list.end() && at->first == depth_[begin] && at->second < end;
}

bool ExpressionGrammar::HasPower(int begin, int end) const {
    const auto& list = occurrences_[KindOf(Form::Power)];
    const auto at =
        std::upper_bound(list.begin(), list.end(), std::make_pair(depth_[begin], begin));
    return at != list.end() && at->first == depth_[begin] && at->second < end;
}

bool ExpressionGrammar::HasQuotient(int begin, int end) const {
    const int depth = depth_[begin];
    // A DIV or MOD that runs past the end is no operator of this text ("A*D" of "A*DIVB").
    for (auto at =
             std::upper_bound(quotients_.begin(), quotients_.end(), std::make_pair(depth, begin));
         at != quotients_.end() && at->first == depth && at->second < end; ++at) {
        if (at->second + (text_[at->second] == '/' ? 1 : 3) <= end) {
            return true;
        }
    }
    return false;
}

bool ExpressionGrammar::HasBinarySign(int begin, int end, bool plusOnly) const {
    const int depth = depth_[begin];
    // Near the start a sign's context is cut by `begin`; further on it is the text's.
    for (int at = begin + 1; at <= begin + 2 && at < end; ++at) {
        if (depth_[at] == depth && (text_[at] == '+' || (!plusOnly && text_[at] == '-')) &&
            FollowsOperand(at, begin)) {
            return true;
        }
    }
    const auto& list = plusOnly ? binaryPlus_ : binarySigns_;
    const auto at = std::lower_bound(list.begin(), list.end(), std::make_pair(depth, begin + 3));
    return at != list.end() && at->first == depth && at->second < end;
}

// Each operator's operand kinds leave one possible occurrence: the left operand of "*" holds no
// top-level "*", so only the first "*" can split; the right operand of "/", DIV and MOD holds
// none of the three, so only the last of them can; neither operand of "^" holds a "^"; a "+" or
// "-" after an operand is binary, the left operand of "+" holds no binary "+" and the right
// operand of "-" no binary sign at all. (A sign after an operator belongs to a number or a
// negation and never splits, as its left side would end in an operator.)
int ExpressionGrammar::CandidateSplit(int begin, int end, Form op) const {
    const int depth = depth_[begin];
    const auto firstAfter = [&](const std::vector<std::pair<int, int>>& list, int from) {
        const auto at = std::lower_bound(list.begin(), list.end(), std::make_pair(depth, from));
        return at != list.end() && at->first == depth && at->second < end ? at->second : -1;
    };
    const auto lastBefore = [&](const std::vector<std::pair<int, int>>& list, int limit, int from) {
        auto at = std::lower_bound(list.begin(), list.end(), std::make_pair(depth, limit));
        while (at != list.begin()) {
            --at;
            if (at->first != depth || at->second < from) {
                return -1;
            }
            return at->second;
        }
        return -1;
    };
    const auto signHere = [&](int at, bool plusOnly) {
        return at < end && depth_[at] == depth &&
               (text_[at] == '+' || (!plusOnly && text_[at] == '-')) && FollowsOperand(at, begin);
    };
    switch (op) {
        case Form::Multiply:
        case Form::Power:
            return firstAfter(occurrences_[KindOf(op)], begin + 1);
        case Form::Add:
            // Near the start a sign's context is cut by `begin`; further on it is the text's.
            for (int at = begin + 1; at <= begin + 2; ++at) {
                if (signHere(at, true)) {
                    return at;
                }
            }
            return firstAfter(binaryPlus_, begin + 3);
        case Form::Subtract: {
            int at = lastBefore(binarySigns_, end, begin + 3);
            for (int near = begin + 2; at < 0 && near >= begin + 1; --near) {
                if (signHere(near, false)) {
                    at = near;
                }
            }
            return at >= 0 && text_[at] == '-' ? at : -1;
        }
        case Form::Div:
        case Form::Mod:
        case Form::Divide: {
            // The last quotient operator lying wholly inside the text.
            auto at =
                std::lower_bound(quotients_.begin(), quotients_.end(), std::make_pair(depth, end));
            while (at != quotients_.begin()) {
                --at;
                if (at->first != depth || at->second <= begin) {
                    return -1;
                }
                const int length = text_[at->second] == '/' ? 1 : 3;
                if (at->second + length <= end) {
                    const std::string_view found = text_.substr(at->second, length);
                    return found == OperatorText(op) ? at->second : -1;
                }
            }
            return -1;
        }
        default:
            return -1;
    }
}

}  // namespace vekaton
