#pragma once

#include <stdexcept>
#include <string_view>

#include "decode/ExpressionProgram.h"

namespace vekaton {

// Runs a built expression once over `cells`, which hold program.cells with the variables set
// by the caller. Allocates nothing. On success returns FaultKind::None and stores the value;
// on an arithmetic fault stops at once and returns its kind (the value is left alone).
FaultKind RunOperations(const ExpressionProgram& program, double* cells, EvalState& state,
                        double& value);

// Trunc: toward zero to a 32-bit integer; false when the value lies outside that range.
bool TruncToInt32(double value, int& result);

// `base` raised to a whole exponent by repeated multiplication, the reciprocal for a negative
// exponent. Beyond 1000 in magnitude the result comes by squaring, so huge exponents cost
// microseconds rather than seconds. Reports overflow and division by zero through `fault`.
double IntegerPower(double base, int exponent, FaultKind& fault);

// The text an arithmetic fault is reported with when it reaches a caller as an exception.
std::string_view FaultText(FaultKind kind);

class ExpressionFault : public std::runtime_error {
  public:
    explicit ExpressionFault(FaultKind kind);
    FaultKind Kind() const { return kind_; }

  private:
    FaultKind kind_;
};

}  // namespace vekaton
