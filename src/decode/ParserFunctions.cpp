#include "decode/ParserFunctions.h"

#include <array>
#include <cmath>
#include <numbers>

namespace vekaton {
namespace {

// The processor's sine and cosine reduce arguments only below 2^63 in magnitude; beyond that
// the functions give 0.0.
constexpr double kTrigonometricLimit = 9223372036854775808.0;

double Tan(double x, EvalState&) {
    return std::tan(x);
}

double Sin(double x, EvalState&) {
    return std::fabs(x) < kTrigonometricLimit ? std::sin(x) : 0.0;
}

double Cos(double x, EvalState&) {
    return std::fabs(x) < kTrigonometricLimit ? std::cos(x) : 0.0;
}

double Sinh(double x, EvalState&) {
    return (std::exp(x) - std::exp(-x)) / 2.0;
}

double Cosh(double x, EvalState&) {
    return (std::exp(x) + std::exp(-x)) / 2.0;
}

double ArcTan(double x, EvalState&) {
    return std::atan(x);
}

double Exp(double x, EvalState&) {
    return std::exp(x);
}

double Ln(double x, EvalState& state) {
    if (!(x > 0.0)) {
        state.fault = FaultKind::LogarithmOfZeroOrLess;
        return 0.0;
    }
    return std::log(x);
}

double Sqrt(double x, EvalState& state) {
    if (x < 0.0) {
        state.fault = FaultKind::SquareRootOfNegative;
        return 0.0;
    }
    return std::sqrt(x);
}

double Abs(double x, EvalState&) {
    return std::fabs(x);
}

double Heav(double x, EvalState&) {
    return x >= 0.0 ? 1.0 : 0.0;
}

double Sign(double x, EvalState&) {
    return x > 0.0 ? 1.0 : x < 0.0 ? -1.0 : 0.0;
}

double Zero(double x, EvalState&) {
    return x == 0.0 ? 0.0 : 1.0;
}

// Nearest integer, halves to the even neighbour, whatever the processor's rounding mode.
double RoundHalfEven(double y) {
    const double below = std::floor(y);
    const double fraction = y - below;
    if (fraction < 0.5) {
        return below;
    }
    if (fraction > 0.5) {
        return below + 1.0;
    }
    return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

// The phase of x quarter turns, folded into half a turn either side: (y - Round(y)) * 2pi.
double Ph(double x, EvalState&) {
    const double y = x * (std::numbers::pi / 2.0);
    return (y - RoundHalfEven(y)) * (2.0 * std::numbers::pi);
}

double Rnd(double x, EvalState& state) {
    // 53 random bits give a uniform double in [0, 1).
    const double r = static_cast<double>((*state.random)() >> 11U) * 0x1.0p-53;
    return std::trunc(x) * r;
}

double Max(double a, double b, EvalState&) {
    return a >= b ? a : b;
}

double Min(double a, double b, EvalState&) {
    return a < b ? a : b;
}

constexpr std::array<NamedUnaryFunction, 15> kUnary = {{
    {"TAN", Tan},
    {"SIN", Sin},
    {"COS", Cos},
    {"SINH", Sinh},
    {"COSH", Cosh},
    {"ARCTAN", ArcTan},
    {"EXP", Exp},
    {"LN", Ln},
    {"SQRT", Sqrt},
    {"ABS", Abs},
    {"HEAV", Heav},
    {"SIGN", Sign},
    {"ZERO", Zero},
    {"PH", Ph},
    {"RND", Rnd},
}};

constexpr std::array<NamedBinaryFunction, 2> kBinary = {{
    {"MAX", Max},
    {"MIN", Min},
}};

}  // namespace

std::span<const NamedUnaryFunction> StandardUnaryFunctions() {
    return kUnary;
}

UnaryFunction StandardUnaryFunction(std::string_view name) {
    for (const NamedUnaryFunction& function : kUnary) {
        if (function.name == name) {
            return function.routine;
        }
    }
    return nullptr;
}

std::span<const NamedBinaryFunction> StandardBinaryFunctions() {
    return kBinary;
}

}  // namespace vekaton
