#include "analysis/Condition.h"

#include <array>
#include <utility>

#include "analysis/AnalysisNumbers.h"
#include "common/FloatText.h"

namespace vekaton {

namespace {

// Two-character operators first, so that "<=" is never read as "<" followed by "=70".
constexpr std::array<std::pair<std::string_view, CompareOp>, 6> kOperators = {{
    {"<=", CompareOp::LessEqual},
    {">=", CompareOp::GreaterEqual},
    {"!=", CompareOp::NotEqual},
    {"<", CompareOp::Less},
    {">", CompareOp::Greater},
    {"=", CompareOp::Equal},
}};

}  // namespace

std::string_view CompareOpText(CompareOp op) {
    for (const auto& [text, each] : kOperators) {
        if (each == op) {
            return text;
        }
    }
    return "?";
}

ConditionParse ParseCondition(std::string_view text) {
    const std::string quoted = "'" + std::string(text) + "'";
    const auto at = text.find_first_of("<>=!");
    if (at == std::string_view::npos) {
        return {std::nullopt, "condition " + quoted +
                                  " has no comparison: write POS or POS.BIT, one of < <= > >= "
                                  "= !=, then a number (1>=70, 18.0=1)"};
    }
    const auto ref = ParseValueRef(text.substr(0, at));
    if (!ref) {
        return {std::nullopt, "condition " + quoted + ": '" + std::string(text.substr(0, at)) +
                                  "' is not a position (1 to 500) or POS.BIT (bit 0 to 7)"};
    }
    const std::string_view rest = text.substr(at);
    for (const auto& [symbol, op] : kOperators) {
        if (rest.substr(0, symbol.size()) != symbol) {
            continue;
        }
        const std::string_view number = rest.substr(symbol.size());
        const auto value = ParseFiniteNumber(number);
        if (!value) {
            return {std::nullopt, "condition " + quoted + ": '" + std::string(number) + "' after " +
                                      std::string(symbol) + " is not a number"};
        }
        return {Condition{*ref, op, *value}, {}};
    }
    return {std::nullopt, "condition " + quoted + ": the comparison must be one of < <= > >= = !="};
}

std::string ConditionText(const Condition& condition) {
    return ValueRefText(condition.ref) + std::string(CompareOpText(condition.op)) +
           ShortestFloatText(condition.number);
}

}  // namespace vekaton
