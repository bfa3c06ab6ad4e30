#pragma once

#include <cmath>
#include <stdexcept>
#include <string_view>

#include "decode/ExpressionProgram.h"

namespace vekaton {

// Runs a built expression once over every operation, checking each result; returns the first
// fault, or FaultKind::None with the value stored. Allocates nothing.
FaultKind RunOperationsChecked(const ExpressionProgram& program, double* cells, EvalState& state,
                               double& value);

// Trunc: toward zero to a 32-bit integer; false when the value lies outside that range.
inline bool TruncToInt32(double value, int& result) {
    // Everything strictly between -2^31 - 1 and 2^31 truncates into range; NaN fails both.
    if (!(value > -2147483649.0 && value < 2147483648.0)) {
        return false;
    }
    result = static_cast<int>(value);
    return true;
}

// `base` raised to a whole exponent by repeated multiplication, the reciprocal for a negative
// exponent. Beyond 1000 in magnitude the result comes by squaring, so huge exponents cost
// microseconds rather than seconds. Reports overflow and division by zero through `fault`.
double IntegerPower(double base, int exponent, FaultKind& fault);

// Runs a built expression once over `cells`, which hold program.cells with the variables set
// by the caller. Allocates nothing. On success returns FaultKind::None and stores the value;
// on an arithmetic fault returns its kind (the value is left alone).
//
// The common case skips the per-operation checks: "+", "-", "*" and negation carry a value that
// is infinite or not a number on to their parent, every operation that could hide one (a
// division, a function, a power, DIV and MOD) checks its operands, and the final value is
// checked. So a fault is always noticed; the checked run then names the first one exactly.
[[gnu::always_inline]] inline FaultKind RunOperations(const ExpressionProgram& program,
                                                      double* cells, EvalState& state,
                                                      double& value) {
    double r = 0.0;
    for (const Operation& op : program.operations) {
        // The previous result still sits in a register; reading its cell back would wait for
        // the store to land.
        const double a = (op.fromPrevious & 1U) != 0 ? r : cells[op.arg1];
        const auto second = [&] { return (op.fromPrevious & 2U) != 0 ? r : cells[op.arg2]; };
        switch (op.code) {
            case OpCode::None:
                r = a;
                continue;
            case OpCode::Negate:
                r = -a;
                break;
            case OpCode::Add:
                r = a + second();
                break;
            case OpCode::Subtract:
                r = a - second();
                break;
            case OpCode::Multiply:
                r = a * second();
                break;
            case OpCode::Square:
                r = a * a;
                break;
            case OpCode::Cube:
                r = a * (a * a);
                break;
            case OpCode::FourthPower:
                r = (a * a) * (a * a);
                break;
            case OpCode::Divide: {
                const double b = second();
                if (b == 0.0 || !std::isfinite(b)) {
                    return RunOperationsChecked(program, cells, state, value);
                }
                r = a / b;
                break;
            }
            case OpCode::Function1:
                if (!std::isfinite(a)) {
                    return RunOperationsChecked(program, cells, state, value);
                }
                r = op.unary(a, state);
                if (state.fault != FaultKind::None) {
                    state.fault = FaultKind::None;
                    return RunOperationsChecked(program, cells, state, value);
                }
                break;
            case OpCode::Function2: {
                const double b = second();
                if (!std::isfinite(a) || !std::isfinite(b)) {
                    return RunOperationsChecked(program, cells, state, value);
                }
                r = op.binary(a, b, state);
                if (state.fault != FaultKind::None) {
                    state.fault = FaultKind::None;
                    return RunOperationsChecked(program, cells, state, value);
                }
                break;
            }
            case OpCode::Mod:
            case OpCode::Div: {
                int left = 0;
                int right = 0;
                // Trunc refuses values that are infinite or not a number.
                if (!TruncToInt32(a, left) || !TruncToInt32(second(), right) || right == 0 ||
                    (left == -2147483647 - 1 && right == -1)) {
                    return RunOperationsChecked(program, cells, state, value);
                }
                r = op.code == OpCode::Mod ? left % right : left / right;
                break;
            }
            case OpCode::IntegerPower: {
                int exponent = 0;
                FaultKind fault = FaultKind::None;
                if (!std::isfinite(a) || !TruncToInt32(second(), exponent)) {
                    return RunOperationsChecked(program, cells, state, value);
                }
                r = IntegerPower(a, exponent, fault);
                if (fault != FaultKind::None) {
                    return RunOperationsChecked(program, cells, state, value);
                }
                break;
            }
            case OpCode::Power: {
                const double b = second();
                if (!std::isfinite(a) || !std::isfinite(b)) {
                    return RunOperationsChecked(program, cells, state, value);
                }
                r = std::pow(a, b);
                break;
            }
        }
        cells[op.dest] = r;
    }
    if (!std::isfinite(r)) {
        return RunOperationsChecked(program, cells, state, value);
    }
    value = r;
    return FaultKind::None;
}

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
