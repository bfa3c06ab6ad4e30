#include "decode/ExpressionEvaluator.h"

#include <climits>
#include <cmath>
#include <string>

namespace vekaton {
namespace {

constexpr int kRepeatedMultiplicationLimit = 1000;

// Trunc(a) DIV/MOD Trunc(b) on 32-bit integers, faulting where the processor would trap.
FaultKind IntegerOperands(double a, double b, int& left, int& right) {
    if (!TruncToInt32(a, left) || !TruncToInt32(b, right)) {
        return FaultKind::IntegerRange;
    }
    if (right == 0) {
        return FaultKind::DivisionByZero;
    }
    if (left == INT_MIN && right == -1) {
        return FaultKind::IntegerOverflow;
    }
    return FaultKind::None;
}

}  // namespace

double IntegerPower(double base, int exponent, FaultKind& fault) {
    const unsigned magnitude =
        exponent < 0 ? 0U - static_cast<unsigned>(exponent) : static_cast<unsigned>(exponent);
    double result = 1.0;
    if (magnitude <= kRepeatedMultiplicationLimit) {
        for (unsigned i = 0; i < magnitude; ++i) {
            result *= base;
        }
    } else {
        double square = base;
        for (unsigned rest = magnitude;;) {
            if ((rest & 1U) != 0) {
                result *= square;
            }
            rest >>= 1U;
            if (rest == 0) {
                break;
            }
            square *= square;
        }
    }
    if (std::isinf(result)) {
        fault = FaultKind::Overflow;
        return 0.0;
    }
    if (exponent < 0) {
        if (result == 0.0) {
            fault = FaultKind::DivisionByZero;
            return 0.0;
        }
        result = 1.0 / result;
    }
    return result;
}

FaultKind RunOperationsChecked(const ExpressionProgram& program, double* cells, EvalState& state,
                               double& value) {
    for (const Operation& op : program.operations) {
        const double a = cells[op.arg1];
        double r = 0.0;
        switch (op.code) {
            case OpCode::None:
                continue;  // the cell already holds the value
            case OpCode::Negate:
                r = -a;
                break;
            case OpCode::AddToPrevious:
            case OpCode::Add:
                r = a + cells[op.arg2];
                break;
            case OpCode::SubtractFromPrevious:
            case OpCode::SubtractPrevious:
            case OpCode::Subtract:
                r = a - cells[op.arg2];
                break;
            case OpCode::MultiplyPrevious:
            case OpCode::Multiply:
                r = a * cells[op.arg2];
                break;
            case OpCode::DividePrevious:
            case OpCode::DivideByPrevious:
            case OpCode::Divide: {
                const double b = cells[op.arg2];
                if (b == 0.0) {
                    return FaultKind::DivisionByZero;
                }
                r = a / b;
                break;
            }
            case OpCode::Mod:
            case OpCode::Div: {
                int left = 0;
                int right = 0;
                const FaultKind fault = IntegerOperands(a, cells[op.arg2], left, right);
                if (fault != FaultKind::None) {
                    return fault;
                }
                // C++ division truncates toward zero and the remainder takes the dividend's sign.
                r = op.code == OpCode::Mod ? left % right : left / right;
                break;
            }
            case OpCode::IntegerPower: {
                int exponent = 0;
                if (!TruncToInt32(cells[op.arg2], exponent)) {
                    return FaultKind::IntegerRange;
                }
                FaultKind fault = FaultKind::None;
                r = IntegerPower(a, exponent, fault);
                if (fault != FaultKind::None) {
                    return fault;
                }
                break;
            }
            case OpCode::Power:
                r = std::pow(a, cells[op.arg2]);
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
            case OpCode::SquareRoot:
            case OpCode::Absolute:
            case OpCode::Function1:
                r = op.unary(a, state);
                if (state.fault != FaultKind::None) {
                    return state.fault;
                }
                break;
            case OpCode::Function2:
                r = op.binary(a, cells[op.arg2], state);
                if (state.fault != FaultKind::None) {
                    return state.fault;
                }
                break;
        }
        if (!std::isfinite(r)) {
            return std::isnan(r) ? FaultKind::InvalidOperation : FaultKind::Overflow;
        }
        cells[op.dest] = r;
    }
    value = cells[program.ResultCell()];
    return FaultKind::None;
}

std::string_view FaultText(FaultKind kind) {
    switch (kind) {
        case FaultKind::None:
            break;
        case FaultKind::DivisionByZero:
            return "Division by zero";
        case FaultKind::InvalidOperation:
        case FaultKind::SquareRootOfNegative:
        case FaultKind::LogarithmOfZeroOrLess:
            return "Invalid floating point operation";
        case FaultKind::Overflow:
            return "Floating point overflow";
        case FaultKind::IntegerRange:
            return "Range check error";
        case FaultKind::IntegerOverflow:
            return "Integer overflow";
    }
    return "No fault";
}

std::string_view FaultCause(FaultKind kind) {
    switch (kind) {
        case FaultKind::None:
            break;
        case FaultKind::DivisionByZero:
            return "division by zero";
        case FaultKind::SquareRootOfNegative:
            return "square root of a negative number";
        case FaultKind::LogarithmOfZeroOrLess:
            return "logarithm of zero or less";
        case FaultKind::Overflow:
        case FaultKind::IntegerOverflow:
            return "result too large";
        case FaultKind::IntegerRange:
            return "operand of DIV, MOD or ^ outside the whole-number range";
        case FaultKind::InvalidOperation:
            return "result is not a number";
    }
    return "no fault";
}

ExpressionFault::ExpressionFault(FaultKind kind)
    : std::runtime_error(std::string(FaultText(kind))), kind_(kind) {}

}  // namespace vekaton
