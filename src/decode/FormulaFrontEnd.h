#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>

namespace vekaton {

class CompiledFormula;  // a formula text built once; owned by the front end's cache

enum class FormulaStatus {
    Ok,
    BadParser,        // the text cannot be built: the value is 0.0
    ArithmeticFault,  // the evaluation faulted: no value for these bytes
};

// Why a prepared formula could not be built: the exception's class name and message (with "\r"
// line breaks), both empty when it was built.
struct FormulaBuildError {
    std::string_view className;
    std::string_view message;
};

struct FormulaOutcome {
    double value = 0.0;
    FormulaStatus status = FormulaStatus::Ok;
    // True the first time this formula fails this way since it was last (re)set; the caller shows
    // `message` only then, so a faulty formula never floods the user with dialogs.
    bool report = false;
    // "Bad Parser", or the Parsing Error text; valid while the front end lives.
    std::string_view message;
    // An arithmetic fault's cause for the user ("division by zero", ...); empty otherwise.
    std::string_view cause;
};

// Glue between the decoder and the expression parser: loads A to E from the collected bytes,
// applies the "[INTEGER]"/"[UINTEGER]" prefix with the decoder's ValueWidth and evaluates.
// Each distinct text is built once and cached; evaluating a prepared formula allocates nothing.
class FormulaFrontEnd {
  public:
    FormulaFrontEnd();
    ~FormulaFrontEnd();
    FormulaFrontEnd(const FormulaFrontEnd&) = delete;
    FormulaFrontEnd& operator=(const FormulaFrontEnd&) = delete;

    // Never null; the pointer stays valid for the life of the front end.
    const CompiledFormula* Prepare(std::string_view formula);
    // Makes a formula report its faults again (the user changed the formula text).
    void ResetReports(const CompiledFormula* formula);

    FormulaOutcome Evaluate(const CompiledFormula& formula, const std::array<int, 5>& collected,
                            int valueWidth);
    // Prepare + Evaluate, for callers that hold only the text.
    FormulaOutcome EvaluateFormula(std::string_view formula, const std::array<int, 5>& collected,
                                   int valueWidth);
    FormulaBuildError BuildError(const CompiledFormula& formula) const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace vekaton
