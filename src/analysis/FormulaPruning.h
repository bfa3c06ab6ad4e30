#pragma once

#include <span>

#include "analysis/ValueRef.h"

namespace vekaton {

class ParameterTable;

// Clears the formulas whose results no value in `used` can depend on, so that playing a long
// log evaluates a handful of formulas a frame instead of every one. Kept: the formulas of every
// byte of each used value (its first position to its last), and of every multi-byte value (one
// may run into the next frame and complete at a used position). Nothing is cleared when a
// formula draws random numbers (RND), whose sequence the formulas share. The values in `used`
// come out exactly as with the whole table.
void PruneUnusedFormulas(ParameterTable& table, std::span<const ValueRef> used);

}  // namespace vekaton
