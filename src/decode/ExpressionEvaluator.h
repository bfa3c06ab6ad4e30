#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
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

// One integer comparison: with the sign shifted out, zero wraps to the top when one is
// subtracted, and infinities and NaNs (exponent all ones) already sit there.
inline bool IsZeroOrNotFinite(double x) {
    const std::uint64_t magnitude = std::bit_cast<std::uint64_t>(x) << 1U;
    return magnitude - 1U >= 0xFFDFFFFFFFFFFFFFULL;
}

// x*factor+addend with two roundings, as the multiplication and addition operations make it.
inline double ScaleAndOffsetValue(const ScaleAndOffset& form, double x) {
    const double scaled = x * form.factor;
    return scaled + form.addend;
}

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
    if (program.scaleAndOffset) {
        const double r =
            ScaleAndOffsetValue(*program.scaleAndOffset, cells[program.scaleAndOffset->variable]);
        if (!std::isfinite(r)) {
            return RunOperationsChecked(program, cells, state, value);
        }
        value = r;
        return FaultKind::None;
    }
    double r = 0.0;
    for (const Operation& op : program.operations) {
        const double a = cells[op.arg1];
        const auto second = [&] { return cells[op.arg2]; };
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
            case OpCode::AddToPrevious:
                r = r + cells[op.other];
                break;
            case OpCode::MultiplyPrevious:
                r = r * cells[op.other];
                break;
            case OpCode::SubtractFromPrevious:
                r = r - cells[op.other];
                break;
            case OpCode::SubtractPrevious:
                r = cells[op.other] - r;
                break;
            case OpCode::DividePrevious: {
                const double b = cells[op.other];
                if (IsZeroOrNotFinite(b)) {
                    return RunOperationsChecked(program, cells, state, value);
                }
                r = r / b;
                break;
            }
            case OpCode::DivideByPrevious:
                if (IsZeroOrNotFinite(r)) {
                    return RunOperationsChecked(program, cells, state, value);
                }
                r = cells[op.other] / r;
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
                if (IsZeroOrNotFinite(b)) {
                    return RunOperationsChecked(program, cells, state, value);
                }
                r = a / b;
                break;
            }
            case OpCode::SquareRoot:
                if (a < 0.0) {
                    return RunOperationsChecked(program, cells, state, value);
                }
                r = std::sqrt(a);  // carries an infinity or NaN on, as "+" does
                break;
            case OpCode::Absolute:
                r = std::fabs(a);
                break;
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
            default:
                // The builder makes no other code; saying so spares a range check per operation.
                __builtin_unreachable();
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
// What caused a fault, for the user: "division by zero", "square root of a negative number",
// "logarithm of zero or less", "result too large", ...
std::string_view FaultCause(FaultKind kind);

class ExpressionFault : public std::runtime_error {
  public:
    explicit ExpressionFault(FaultKind kind);
    FaultKind Kind() const { return kind_; }

  private:
    FaultKind kind_;
};

}  // namespace vekaton
