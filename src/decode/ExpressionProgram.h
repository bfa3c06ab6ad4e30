#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <vector>

namespace vekaton {

// Node kinds of the expression tree; an operation carries the kind of the node it computes.
enum class NodeKind : std::uint8_t {
    Variable = 0,
    Number = 1,
    Negation = 2,
    Add = 3,
    Subtract = 4,
    Multiply = 5,
    Divide = 6,
    Mod = 7,
    Div = 8,
    IntegerPower = 9,  // whole exponent other than 2, 3 and 4
    Power = 10,        // real exponent
    Square = 11,
    Cube = 12,
    FourthPower = 13,
    Function1 = 14,
    Function2 = 15,
};

// What the evaluator does for an operation, chosen once the tree is built: mostly the node's
// own kind, but a division by a power of two becomes the (bit-identical) multiplication by its
// exact reciprocal, which costs a fraction of the time.
enum class OpCode : std::uint8_t {
    None,  // a lone variable or number: the cell already holds the value
    Negate,
    Add,
    Subtract,
    Multiply,
    Divide,
    Mod,
    Div,
    IntegerPower,
    Power,
    Square,
    Cube,
    FourthPower,
    Function1,
    Function2,
    SquareRoot,  // the standard SQRT and ABS, run inline instead of called
    Absolute,
    // The same arithmetic with one operand the previous operation's result, taken from the
    // register rather than from the cell it was just stored in (which would wait for the store).
    // The other operand is cell `other`.
    AddToPrevious,         // previous + other
    MultiplyPrevious,      // previous * other
    SubtractFromPrevious,  // previous - other
    SubtractPrevious,      // other - previous
    DividePrevious,        // previous / other
    DivideByPrevious,      // other / previous
};

// Why an evaluation stopped. Every fault stops the run; no value is produced.
enum class FaultKind : std::uint8_t {
    None,
    DivisionByZero,         // "/", DIV or MOD by zero
    InvalidOperation,       // a result that is not a number
    Overflow,               // a result or intermediate beyond the 64-bit float range
    IntegerRange,           // Trunc of a value outside the 32-bit integer range
    IntegerOverflow,        // -2147483648 DIV or MOD -1
    SquareRootOfNegative,   // SQRT of x < 0
    LogarithmOfZeroOrLess,  // LN of x <= 0
};

// What a function routine may touch besides its arguments: the owner's random generator and
// the place to report a domain fault.
struct EvalState {
    std::mt19937_64* random = nullptr;
    FaultKind fault = FaultKind::None;
};

using UnaryFunction = double (*)(double x, EvalState& state);
using BinaryFunction = double (*)(double a, double b, EvalState& state);

// One step of a built expression. Operands and the result are indices into a cell array whose
// first cells are the parser's variables, so a changed variable needs no rebuild.
struct Operation {
    UnaryFunction unary = nullptr;    // kind Function1
    BinaryFunction binary = nullptr;  // kind Function2
    std::uint16_t arg1 = 0;
    std::uint16_t arg2 = 0;  // not read by one-operand kinds
    std::uint16_t dest = 0;
    std::uint16_t other = 0;  // the cell operand of the *Previous codes
    NodeKind kind = NodeKind::Variable;
    OpCode code = OpCode::None;
    // Bit 0: arg1 is the previous operation's result; bit 1: arg2 is.
    std::uint8_t fromPrevious = 0;
};

// One variable times a constant plus a constant (A*0.75-40, A/8, 40+A, A): the shape most
// parameters take, run without the operation loop. Subtracting c is adding -c and "no offset"
// adds -0.0, both exact in IEEE arithmetic, so the value matches the operations bit for bit.
struct ScaleAndOffset {
    std::uint16_t variable = 0;
    double factor = 1.0;
    double addend = -0.0;
};

// A built expression: the operations ordered deepest tree level first (then by slot within a
// level), so every operand is computed before it is read; the last one yields the value.
struct ExpressionProgram {
    std::vector<Operation> operations;
    // Initial contents of every cell: variables (zero here, set by the caller), number
    // constants, and the result cells the operations fill.
    std::vector<double> cells;
    std::uint16_t variableCount = 0;
    // Bit i set when an operation may read variable cell i (i < 8); callers that fill the
    // variables afresh for every run need fill only these.
    std::uint8_t variablesRead = 0;
    std::optional<ScaleAndOffset> scaleAndOffset;

    bool Empty() const { return operations.empty(); }
    std::uint16_t ResultCell() const { return operations.back().dest; }
};

}  // namespace vekaton
