#include "decode/Parser.h"

#include <chrono>
#include <cstdint>
#include <stdexcept>

#include "decode/ExpressionBuilder.h"
#include "decode/ExpressionEvaluator.h"
#include "decode/ExpressionNumber.h"
#include "decode/ParserFunctions.h"

namespace vekaton {

namespace {

// RND needs no cryptographic seed; the clock and the object's address differ between parsers
// and runs, and cost nothing next to opening the system's entropy source.
std::uint64_t RandomSeed(const void* owner) {
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    return static_cast<std::uint64_t>(ticks) ^ reinterpret_cast<std::uintptr_t>(owner);
}

}  // namespace

TCustomParser::TCustomParser() : random_(RandomSeed(this)) {}

TCustomParser::~TCustomParser() = default;

void TCustomParser::AddVariable(std::string name) {
    const auto cell = static_cast<std::uint16_t>(variables_.Size());
    if (variables_.Add(std::move(name), cell)) {
        // Variable cells lead the cell array; a built expression's cells follow them.
        cells_.insert(cells_.begin() + cell, 0.0);
    }
}

void TCustomParser::AddFunctionOneParam(std::string name, UnaryFunction routine) {
    if (!unaryFunctions_.Add(name, routine)) {
        throw std::invalid_argument("Duplicate function " + name);
    }
}

void TCustomParser::AddFunctionTwoParam(std::string name, BinaryFunction routine) {
    if (!binaryFunctions_.Add(name, routine)) {
        throw std::invalid_argument("Duplicate function " + name);
    }
}

ExpressionTables TCustomParser::Tables() const {
    ExpressionTables tables;
    tables.variables = &variables_;
    tables.unaryFunctions = &unaryFunctions_;
    tables.binaryFunctions = &binaryFunctions_;
    tables.decimalSeparator = pascalNumberformat_ ? '.' : LocaleDecimalSeparator();
    return tables;
}

ExpressionProgram TCustomParser::Compile(std::string_view text) const {
    return BuildOperationList(text, Tables());
}

void TCustomParser::SetExpression(std::string_view text) {
    program_.reset();
    cells_.resize(variables_.Size());
    expression_ = std::string(text);
    parseError_ = false;
    if (expression_.empty()) {
        return;
    }
    try {
        ExpressionProgram program = Compile(expression_);
        cells_.insert(cells_.end(), program.cells.begin() + program.variableCount,
                      program.cells.end());
        program_ = std::move(program);
    } catch (const std::exception& e) {
        parseError_ = true;
        if (!onParserError_) {
            throw;
        }
        onParserError_(*this, e);
    }
}

double TCustomParser::Value() {
    if (!program_) {
        return 0.0;
    }
    double value = 0.0;
    const FaultKind fault = Run(*program_, cells_.data(), value);
    if (fault != FaultKind::None) {
        throw ExpressionFault(fault);
    }
    return value;
}

double& TCustomParser::Variable(std::string_view name) {
    const std::uint16_t* cell = variables_.Find(name);
    if (cell == nullptr) {
        throw std::out_of_range("Unknown variable " + std::string(name));
    }
    return cells_[*cell];
}

double TCustomParser::Variable(std::string_view name) const {
    const std::uint16_t* cell = variables_.Find(name);
    if (cell == nullptr) {
        throw std::out_of_range("Unknown variable " + std::string(name));
    }
    return cells_[*cell];
}

TParser::TParser() {
    for (const char* name : {"A", "B", "C", "D", "E", "X", "Y", "T"}) {
        AddVariable(name);
    }
    for (const NamedUnaryFunction& function : StandardUnaryFunctions()) {
        AddFunctionOneParam(std::string(function.name), function.routine);
    }
    for (const NamedBinaryFunction& function : StandardBinaryFunctions()) {
        AddFunctionTwoParam(std::string(function.name), function.routine);
    }
}

}  // namespace vekaton
