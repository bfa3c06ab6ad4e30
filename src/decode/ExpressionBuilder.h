#pragma once

#include <cstddef>
#include <string_view>

#include "decode/ExpressionGrammar.h"
#include "decode/ExpressionProgram.h"

namespace vekaton {

inline constexpr int kMaxNestingLevel = 20;  // levels below the root
inline constexpr int kMaxLevelEntries = 50;  // operands on one level
// Longer texts are refused as too complex: the validity test recurses once per nested piece,
// and a formula read from a damaged file must not exhaust the stack.
inline constexpr std::size_t kMaxExpressionLength = 4096;

// Builds a formula into its operation list, or throws one of the EMathParserError classes.
// Case and outer blanks are ignored; any other blank, a differing count of "(" and ")", a text
// that fits no form, more than 20 levels below the root or more than 50 operands on one level
// are faults.
ExpressionProgram BuildOperationList(std::string_view text, const ExpressionTables& tables);

}  // namespace vekaton
