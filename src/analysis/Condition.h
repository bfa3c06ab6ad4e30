#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "analysis/ValueRef.h"

namespace vekaton {

enum class CompareOp { Less, LessEqual, Greater, GreaterEqual, Equal, NotEqual };

// One filter condition: the value at ref compared with a number ("1>=70", "18.0=1"). Values are
// compared at full precision, so "=" holds only for the exact value.
struct Condition {
    ValueRef ref;
    CompareOp op = CompareOp::Equal;
    double number = 0.0;

    bool Holds(double value) const {
        switch (op) {
            case CompareOp::Less:
                return value < number;
            case CompareOp::LessEqual:
                return value <= number;
            case CompareOp::Greater:
                return value > number;
            case CompareOp::GreaterEqual:
                return value >= number;
            case CompareOp::Equal:
                return value == number;
            case CompareOp::NotEqual:
                return value != number;
        }
        return false;
    }
    bool operator==(const Condition&) const = default;
};

struct ConditionParse {
    std::optional<Condition> condition;
    std::string error;  // what is wrong with the text, when condition is empty
};

// "POS" or "POS.BIT", one of < <= > >= = !=, then a number, blanks allowed between them.
ConditionParse ParseCondition(std::string_view text);
// The condition as ParseCondition reads it back ("1>=70").
std::string ConditionText(const Condition& condition);
std::string_view CompareOpText(CompareOp op);

}  // namespace vekaton
