#pragma once

#include <span>
#include <string_view>

#include "decode/ExpressionProgram.h"

namespace vekaton {

struct NamedUnaryFunction {
    std::string_view name;
    UnaryFunction routine;
};

struct NamedBinaryFunction {
    std::string_view name;
    BinaryFunction routine;
};

// The functions of one argument, in the order the parser enters them: TAN, SIN, COS, SINH,
// COSH, ARCTAN, EXP, LN, SQRT, ABS, HEAV, SIGN, ZERO, PH, RND.
std::span<const NamedUnaryFunction> StandardUnaryFunctions();
// The standard routine of that (upper-case) name, or null.
UnaryFunction StandardUnaryFunction(std::string_view name);
// MAX and MIN.
std::span<const NamedBinaryFunction> StandardBinaryFunctions();

}  // namespace vekaton
