#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <variant>

#include "definitions/FormulaExpr.h"

namespace vekaton {

// What a variable of an ADX equation stands for in our language.
struct EquationOperand {
    ExprPtr expr;
    // The raw bytes of an unsigned value, below 2^bits: "&" may mask it, written with DIV and MOD.
    bool unsignedRaw = false;
    int bits = 0;
};

// Gives the operand of a variable name as written in the equation, or why it cannot be had.
using EquationVariables =
    std::function<std::variant<EquationOperand, std::string>(std::string_view name)>;

// Far beyond any real equation, and beyond what a formula of ours can hold.
inline constexpr std::size_t kMaxEquationLength = 1024;

// Reads an ADX MATH equation: numbers, variables, + - * / with brackets and unary signs, and
// "&" with a constant mask on an unsigned raw value. Anything else, and "&" beside other
// operators without brackets (which programs read differently), is outside our language: the
// text then says where.
std::variant<ExprPtr, std::string> ParseAdxEquation(std::string_view equation,
                                                    const EquationVariables& variables);

// value & mask for an unsigned integer value below 2^bits (at most 31 bits), as a sum of
// ((value DIV 2^b) MOD 2^n) * 2^b over the runs of ones in the mask.
ExprPtr MaskExpr(const ExprPtr& value, std::uint32_t mask, int bits);

}  // namespace vekaton
