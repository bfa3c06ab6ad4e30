#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "decode/ExpressionEvaluator.h"
#include "decode/ExpressionGrammar.h"
#include "decode/ExpressionProgram.h"
#include "decode/ParserTables.h"

namespace vekaton {

class TCustomParser;

// Called with the parser and the exception when a build fails; the exception is then
// swallowed. Without a handler the exception reaches whoever assigned the expression.
using TParserExceptionEvent = std::function<void(TCustomParser& sender, const std::exception& e)>;

// Holds the formula variables, the name tables and one built expression. Assigning the
// expression builds it; reading the value runs it once.
class TCustomParser {
  public:
    TCustomParser();
    virtual ~TCustomParser();
    TCustomParser(const TCustomParser&) = delete;
    TCustomParser& operator=(const TCustomParser&) = delete;

    // 0.0 with no built expression; throws ExpressionFault on an arithmetic fault.
    double Value();

    const std::string& Expression() const { return expression_; }
    void SetExpression(std::string_view text);

    // True (the default): numbers use "." whatever the locale; false: the locale's separator.
    bool PascalNumberformat() const { return pascalNumberformat_; }
    void SetPascalNumberformat(bool on) { pascalNumberformat_ = on; }

    // True after the last build failed.
    bool ParseError() const { return parseError_; }

    const TParserExceptionEvent& OnParserError() const { return onParserError_; }
    void SetOnParserError(TParserExceptionEvent handler) { onParserError_ = std::move(handler); }

    // A variable's cell by name; throws std::out_of_range for a name not in the table.
    double& Variable(std::string_view name);
    double Variable(std::string_view name) const;

    // Builds a text with this parser's tables and number format, leaving Expression alone;
    // throws the EMathParserError classes. For callers that keep built expressions.
    ExpressionProgram Compile(std::string_view text) const;
    // Runs a program compiled by this parser over `cells` (program.cells with the variables
    // set), using this parser's random generator. Allocates nothing.
    [[gnu::always_inline]] FaultKind Run(const ExpressionProgram& program, double* cells,
                                         double& value) {
        EvalState state;
        state.random = &random_;
        return RunOperations(program, cells, state, value);
    }

    void SeedRandom(std::uint64_t seed) { random_.seed(seed); }

  protected:
    // Entered by the derived parser's constructor. A repeated variable name is ignored; a
    // repeated function name is refused with std::invalid_argument.
    void AddVariable(std::string name);
    void AddFunctionOneParam(std::string name, UnaryFunction routine);
    void AddFunctionTwoParam(std::string name, BinaryFunction routine);

  private:
    ExpressionTables Tables() const;

    std::vector<double> cells_;  // the variables, then the built expression's own cells
    std::string expression_;
    bool pascalNumberformat_ = true;
    bool parseError_ = false;
    std::optional<ExpressionProgram> program_;
    NameTable<std::uint16_t> variables_;
    NameTable<UnaryFunction> unaryFunctions_;
    NameTable<BinaryFunction> binaryFunctions_;
    TParserExceptionEvent onParserError_;
    std::mt19937_64 random_;
};

// The parser of the formulas: variables A, B, C, D, E, X, Y, T and the standard functions.
class TParser : public TCustomParser {
  public:
    TParser();

    double& A() { return Variable("A"); }
    double& B() { return Variable("B"); }
    double& C() { return Variable("C"); }
    double& D() { return Variable("D"); }
    double& E() { return Variable("E"); }
    double& X() { return Variable("X"); }
    double& Y() { return Variable("Y"); }
    double& T() { return Variable("T"); }
};

}  // namespace vekaton
